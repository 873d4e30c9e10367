// Pictures of the screen the test shares with the program (the Wine virtual
// desktop of the X prefix), written as PNG files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace remote {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // top row first, three bytes a pixel

    // How many different colours it holds: a picture of one or two colours
    // shows no window.
    size_t ColourCount() const;
};

// The smallest rectangle that holds all the windows, within the screen.
RECT AreaOf(std::initializer_list<HWND> windows);
// The screen's pixels in `area`; empty when they could not be read.
Picture CaptureScreen(const RECT& area);
bool WritePng(const Picture& picture, const std::string& path);

}  // namespace remote
