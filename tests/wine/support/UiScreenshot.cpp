#include "UiScreenshot.h"

#include <cstdio>
#include <set>

namespace uitest {
namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBigEndian(out, Crc32(typed.data(), typed.size()));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out = {0x78, 0x01};
    const size_t kBlock = 65535;
    size_t offset = 0;
    do {
        size_t length = raw.size() - offset < kBlock ? raw.size() - offset : kBlock;
        bool last = offset + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<long>(offset), raw.begin() + static_cast<long>(offset + length));
        offset += length;
    } while (offset < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, (b << 16) | a);
    return out;
}

}  // namespace

RECT AreaOf(std::initializer_list<HWND> windows) {
    RECT area = {};
    bool first = true;
    for (HWND window : windows) {
        RECT rect;
        if (!window || !GetWindowRect(window, &rect)) continue;
        if (first) {
            area = rect;
            first = false;
        } else {
            UnionRect(&area, &area, &rect);
        }
    }
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&area, &area, &screen);
    return area;
}

Picture CaptureScreen(const RECT& area) {
    Picture picture;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return picture;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (copied) {
        const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
        const auto* source = static_cast<const uint8_t*>(bits);
        picture.width = width;
        picture.height = height;
        picture.rgb.reserve(static_cast<size_t>(width) * height * 3);
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = source + stride * y;
            for (int x = 0; x < width; ++x) {
                // The DIB holds blue, green, red.
                picture.rgb.push_back(row[x * 3 + 2]);
                picture.rgb.push_back(row[x * 3 + 1]);
                picture.rgb.push_back(row[x * 3]);
            }
        }
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

Picture CaptureWindow(HWND window) {
    RECT rect;
    if (!::GetWindowRect(window, &rect)) return Picture();
    return CaptureScreen(rect);
}

size_t ColourCount(const Picture& picture) {
    std::set<uint32_t> colours;
    for (size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
        colours.insert((uint32_t{picture.rgb[i]} << 16) | (uint32_t{picture.rgb[i + 1]} << 8) | picture.rgb[i + 2]);
    }
    return colours.size();
}

bool WritePng(const Picture& picture, const std::string& path) {
    if (picture.width <= 0 || picture.height <= 0) return false;
    std::vector<uint8_t> raw;
    const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);  // filter: none
        auto row = picture.rgb.begin() + static_cast<long>(rowBytes * static_cast<size_t>(y));
        raw.insert(raw.end(), row, row + static_cast<long>(rowBytes));
    }
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(picture.width));
    PutBigEndian(header, static_cast<uint32_t>(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter set, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});

    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace uitest
