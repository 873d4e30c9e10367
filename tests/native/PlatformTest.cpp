#include <string>

#include <gtest/gtest.h>

#include "FakeServices.h"
#include "Platform.h"

namespace {

using engine::TargetChoice;

constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kMachineI386 = 0x014C;

const char* Name(TargetChoice c) {
    switch (c) {
    case TargetChoice::X86: return "x86";
    case TargetChoice::X64: return "x64";
    case TargetChoice::UnsupportedArm64: return "unsupported ARM64";
    }
    return "?";
}

struct TargetCase {
    const char* name;
    engine::Wow64Answer wow64;
    engine::NativeMachineAnswer native;
    TargetChoice expected;
};

const TargetCase kTargetCases[] = {
    {"no IsWow64Process", {false, 0}, {false, false, 0}, TargetChoice::X86},
    {"32-bit Windows", {true, 0}, {false, false, 0}, TargetChoice::X86},
    {"WOW64", {true, 1}, {false, false, 0}, TargetChoice::X64},
    {"flag other than 1", {true, 2}, {false, false, 0}, TargetChoice::X86},
    {"flag -1", {true, -1}, {false, false, 0}, TargetChoice::X86},
    {"flag 1 but no function", {false, 1}, {false, false, 0}, TargetChoice::X86},
    {"ARM64 native", {true, 1}, {true, true, engine::kMachineArm64}, TargetChoice::UnsupportedArm64},
    {"ARM64 native, flag 0", {true, 0}, {true, true, engine::kMachineArm64},
     TargetChoice::UnsupportedArm64},
    {"IsWow64Process2 failed", {true, 1}, {true, false, engine::kMachineArm64}, TargetChoice::X64},
    {"AMD64 native under WOW64", {true, 1}, {true, true, kMachineAmd64}, TargetChoice::X64},
    {"x86 native", {true, 0}, {true, true, kMachineI386}, TargetChoice::X86},
};

TEST(ChooseTarget, Table) {
    for (const TargetCase& c : kTargetCases) {
        EXPECT_STREQ(Name(engine::ChooseTarget(c.wow64, c.native)), Name(c.expected)) << c.name;
    }
}

TEST(ChooseTarget, AsksTheSystem) {
    for (const TargetCase& c : kTargetCases) {
        fake::FakeServices sys;
        sys.wow64 = c.wow64;
        sys.native = c.native;
        EXPECT_STREQ(Name(engine::ChooseTarget(sys)), Name(c.expected)) << c.name;
        EXPECT_TRUE(sys.Called("IsWow64Process2")) << c.name;
        EXPECT_TRUE(sys.Called("IsWow64Process")) << c.name;
    }
}

TEST(ChooseTarget, Arm64MessageSaysNothingWasInstalled) {
    const std::string text = engine::kNoArm64DriverText;
    EXPECT_NE(text.find("ARM64"), std::string::npos) << text;
    EXPECT_NE(text.find("Nothing was installed"), std::string::npos) << text;
}

}  // namespace
