#include "Platform.h"

namespace engine {

const char* const kNoArm64DriverText =
    "This package holds no printer driver for ARM64 Windows, and its x64 driver cannot "
    "serve there. Nothing was installed.";

TargetChoice ChooseTarget(const Wow64Answer& wow64, const NativeMachineAnswer& native) {
    // IsWow64Process says yes for an x86 process on ARM64 too; only the
    // native machine tells the two apart.
    if (native.functionExists && native.succeeded && native.nativeMachine == kMachineArm64) {
        return TargetChoice::UnsupportedArm64;
    }
    if (wow64.functionExists && wow64.flag == 1) return TargetChoice::X64;
    return TargetChoice::X86;
}

TargetChoice ChooseTarget(ISystemServices& sys) {
    const NativeMachineAnswer native = sys.IsWow64Process2();
    const Wow64Answer wow64 = sys.IsWow64Process();
    return ChooseTarget(wow64, native);
}

}  // namespace engine
