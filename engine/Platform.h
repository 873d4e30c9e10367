#pragma once

#include "Install.h"
#include "SystemServices.h"

namespace engine {

constexpr uint16_t kMachineArm64 = 0xAA64;

enum class TargetChoice { X86, X64, UnsupportedArm64 };

// Which driver build fits the machine: x64 under WOW64 (flag exactly 1),
// x86 otherwise; none on ARM64, where the x64 driver cannot serve.
TargetChoice ChooseTarget(const Wow64Answer& wow64, const NativeMachineAnswer& native);
TargetChoice ChooseTarget(ISystemServices& sys);

// The message for a machine this package has no driver for.
extern const char* const kNoArm64DriverText;

}  // namespace engine
