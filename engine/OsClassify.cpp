#include "OsClassify.h"

namespace engine {

int32_t g_osType = kOsUnknown;

namespace {
constexpr uint32_t kPlatformWindows = 1;  // VER_PLATFORM_WIN32_WINDOWS
constexpr uint32_t kPlatformNT = 2;       // VER_PLATFORM_WIN32_NT
constexpr uint32_t kVersionInfoExSize = 156;
constexpr uint32_t kVersionInfoSize = 148;
}  // namespace

int32_t ClassifyVersion(uint32_t platformId, uint32_t major, uint32_t minor, int32_t current) {
    if (platformId == kPlatformWindows) {
        if (major == 4 && minor == 0) return kOsWin95;
        if (major == 4 && (minor == 10 || minor == 90)) return kOsWin98;
        return current;
    }
    if (platformId == kPlatformNT) {
        int32_t result = current;
        if (major <= 4) result = kOsNT4;
        if (major == 5 && minor <= 2) result = kOsWin2000 + static_cast<int32_t>(minor);
        if (major == 6 && minor <= 2) result = kOsVista + static_cast<int32_t>(minor);
        // Later versions (6.3, 10.0) stay unrecognised.
        return result;
    }
    return kOsWin2000;
}

void ClassifyOs(ISystemServices& sys) {
    OsVersion version;
    // Systems that predate the extended record reject its size.
    if (!sys.GetVersionEx(kVersionInfoExSize, &version) &&
        !sys.GetVersionEx(kVersionInfoSize, &version)) {
        return;
    }
    g_osType = ClassifyVersion(version.dwPlatformId, version.dwMajorVersion,
                               version.dwMinorVersion, g_osType);
}

int OsRadioButtonId(int32_t osType) {
    switch (osType) {
    case kOsWin95: return 1000;
    case kOsWin98: return 1001;
    case kOsNT4: return 1002;
    case kOsWin2000: return 1003;
    case kOsWinXP: return 1004;
    case kOsWin2003: return 1011;
    case kOsVista: return 1020;
    case kOsWin7: return 1005;
    case kOsWin8: return 1006;
    default: return 0;
    }
}

bool ShowsCompletion(int32_t osType) {
    return osType >= kOsNT4 && osType <= kOsWin8;
}

}  // namespace engine
