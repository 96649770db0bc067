// Screen capture of a window's rectangle and 24-bit BMP output.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "protocol.h"

namespace uid {

// Top-down rows of B, G, R bytes, no padding.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> bgr;
    const uint8_t* pixel(int x, int y) const { return &bgr[(size_t(y) * width + x) * 3]; }
};

// Asks the window (and its children) to repaint now, unless its thread does
// not answer, then waits a little for the pixels to reach the screen.
void make_painted(HWND hwnd, DWORD settle_ms);

// Copies a rectangle of the screen (GetDC(NULL) + BitBlt).
Image capture_screen_rect(const RECT& rc);

// "/tmp/x.bmp" -> "Z:\tmp\x.bmp"; Windows paths are kept.
std::wstring to_windows_path(const std::string& path);
void write_bmp(const Image& img, const std::wstring& path);

Reply cmd_screenshot(HWND hwnd, const std::string& path);

}  // namespace uid
