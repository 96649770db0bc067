#include "screenshot.h"

#include <algorithm>

#include "winutil.h"

namespace uid {

void make_painted(HWND hwnd, DWORD settle_ms) {
    DWORD_PTR ignored;
    // Only force a synchronous repaint if the owner thread answers at all:
    // RDW_UPDATENOW sends WM_PAINT and would block on a hung program.
    if (SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000, &ignored))
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(settle_ms);
}

Image capture_screen_rect(const RECT& rc) {
    Image img;
    img.width = std::max<LONG>(0, rc.right - rc.left);
    img.height = std::max<LONG>(0, rc.bottom - rc.top);
    if (img.width == 0 || img.height == 0) throw CommandError("empty rectangle to capture");
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, img.width, img.height);
    HGDIOBJ old = SelectObject(mem, bmp);
    BOOL ok = BitBlt(mem, 0, 0, img.width, img.height, screen, rc.left, rc.top, SRCCOPY | CAPTUREBLT);
    SelectObject(mem, old);

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = img.width;
    bi.bmiHeader.biHeight = -img.height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint8_t> bgra(size_t(img.width) * img.height * 4);
    int lines = ok ? GetDIBits(mem, bmp, 0, img.height, bgra.data(), &bi, DIB_RGB_COLORS) : 0;
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    if (!ok || lines != img.height) throw CommandError("screen capture failed (error " + dec(GetLastError()) + ")");

    img.bgr.resize(size_t(img.width) * img.height * 3);
    for (size_t i = 0, n = size_t(img.width) * img.height; i < n; ++i) {
        img.bgr[i * 3 + 0] = bgra[i * 4 + 0];
        img.bgr[i * 3 + 1] = bgra[i * 4 + 1];
        img.bgr[i * 3 + 2] = bgra[i * 4 + 2];
    }
    return img;
}

std::wstring to_windows_path(const std::string& path) {
    std::wstring w = widen(path);
    if (!w.empty() && w[0] == L'/') {
        std::replace(w.begin(), w.end(), L'/', L'\\');
        w = L"Z:" + w;
    }
    return w;
}

void write_bmp(const Image& img, const std::wstring& path) {
    const int row = (img.width * 3 + 3) & ~3;
    const DWORD image_size = DWORD(row) * img.height;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    fh.bfType = 0x4D42;  // "BM"
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + image_size;
    ih.biSize = sizeof ih;
    ih.biWidth = img.width;
    ih.biHeight = img.height;  // bottom-up, the usual layout
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = image_size;
    ih.biXPelsPerMeter = ih.biYPelsPerMeter = 3780;  // 96 dpi

    std::vector<uint8_t> data;
    data.reserve(fh.bfSize);
    data.insert(data.end(), reinterpret_cast<uint8_t*>(&fh), reinterpret_cast<uint8_t*>(&fh) + sizeof fh);
    data.insert(data.end(), reinterpret_cast<uint8_t*>(&ih), reinterpret_cast<uint8_t*>(&ih) + sizeof ih);
    for (int y = img.height - 1; y >= 0; --y) {
        const uint8_t* src = img.pixel(0, y);
        data.insert(data.end(), src, src + img.width * 3);
        data.insert(data.end(), size_t(row - img.width * 3), 0);
    }

    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        throw CommandError("cannot create '" + narrow(path) + "' (error " + dec(GetLastError()) + ")");
    DWORD written = 0;
    BOOL ok = WriteFile(f, data.data(), (DWORD)data.size(), &written, nullptr);
    CloseHandle(f);
    if (!ok || written != data.size()) throw CommandError("cannot write '" + narrow(path) + "'");
}

Reply cmd_screenshot(HWND hwnd, const std::string& path) {
    require_window(hwnd);
    if (path.empty()) throw CommandError("screenshot needs a path");
    make_painted(hwnd, 200);
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    // Keep to the virtual screen: nothing outside it can be captured.
    RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    RECT clipped;
    if (!IntersectRect(&clipped, &rc, &screen)) throw CommandError("window " + hex_hwnd(hwnd) + " is off screen");
    Image img = capture_screen_rect(clipped);
    std::wstring wpath = to_windows_path(path);
    write_bmp(img, wpath);
    return Reply().add(dec(img.width)).add(dec(img.height));
}

}  // namespace uid
