#pragma once

#include <functional>

namespace engine {

constexpr int kEndOk = 1;
constexpr int kEndCancel = 2;
constexpr int kEndFailed = -1;

// The wizard's page loop: the operating-system page, then a fresh settings
// page for every visit, driven by the end codes. Each callable shows its page
// once and returns the end code.
void RunPageSequence(const std::function<int()>& showOsPage,
                     const std::function<int()>& showSettingsPage);

}  // namespace engine
