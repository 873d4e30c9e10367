// Pictures of windows as they are on the screen, kept as PNG files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace uitest {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // top row first, three bytes a pixel
};

// The smallest rectangle that holds all the windows, within the screen.
RECT AreaOf(std::initializer_list<HWND> windows);
// The screen's pixels in `area`; empty when they could not be read.
Picture CaptureScreen(const RECT& area);

// What is on the screen where the window is, frame and caption included.
// Empty (0 × 0) when it cannot be read.
Picture CaptureWindow(HWND window);

// Number of different colours; a picture of nothing has one or two.
size_t ColourCount(const Picture& picture);

// Writes an 8-bit RGB PNG (uncompressed deflate blocks). False on failure.
bool WritePng(const Picture& picture, const std::string& path);

}  // namespace uitest
