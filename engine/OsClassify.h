#pragma once

#include <cstdint>

#include "SystemServices.h"

namespace engine {

// Classification of the running Windows version, 0 to 9.
enum OsType : int32_t {
    kOsUnknown = 0,
    kOsWin95 = 1,
    kOsWin98 = 2,
    kOsNT4 = 3,
    kOsWin2000 = 4,
    kOsWinXP = 5,
    kOsWin2003 = 6,
    kOsVista = 7,
    kOsWin7 = 8,
    kOsWin8 = 9,
};

extern int32_t g_osType;

// The classification for one version record; `current` is returned where
// no rule matches.
int32_t ClassifyVersion(uint32_t platformId, uint32_t major, uint32_t minor, int32_t current);

// Asks the system (156-byte record, then 148-byte) and updates g_osType;
// leaves it unchanged when both calls fail.
void ClassifyOs(ISystemServices& sys);

// Radio button id for a classification, 0 for none.
int OsRadioButtonId(int32_t osType);

// Whether the wizard says "Completed!" for this classification.
bool ShowsCompletion(int32_t osType);

}  // namespace engine
