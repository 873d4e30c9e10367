#pragma once

#include "App.h"

// The wizard: the operating-system page, then the printer settings page,
// back and forth by their end codes.
class CInstallerApp : public ui::App {
public:
    CInstallerApp() = default;
    ~CInstallerApp() override = default;

    bool InitInstance() override;
};
