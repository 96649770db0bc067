#include "framework/stretched_bitmap.h"

#include "framework/app.h"

namespace {

// Bytes of one row of a 24-bit DIB: rows are padded to whole four-byte words.
int Stride(int width) { return (width * 3 + 3) & ~3; }

// The source pixel position for each output position, in 1/256 of a pixel, with pixel
// centres matched and the edges held, so that a picture scaled up keeps its borders.
__attribute__((noinline)) int SourcePosition(int out, int outSize, int inSize) {
    int p = ((2 * out + 1) * inSize * 128) / outSize - 128;
    if (p < 0) return 0;
    return p > (inSize - 1) * 256 ? (inSize - 1) * 256 : p;
}

// Writes `out` (outW x outH) from `in` (inW x inH), both 24-bit rows in the same order:
// each pixel the four nearest source pixels, weighed by how near they are.
void Resample(const BYTE* in, int inW, int inH, BYTE* out, int outW, int outH) {
    for (int y = 0; y < outH; ++y) {
        int sy = SourcePosition(y, outH, inH), fy = sy & 255;
        const BYTE* row0 = in + (sy >> 8) * Stride(inW);
        const BYTE* row1 = row0 + (fy ? Stride(inW) : 0);
        BYTE* target = out + y * Stride(outW);
        for (int x = 0; x < outW; ++x) {
            int sx = SourcePosition(x, outW, inW), fx = sx & 255;
            int at = (sx >> 8) * 3, next = fx ? 3 : 0;
            int w[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
            for (int c = 0; c < 3; ++c, ++at)
                *target++ = static_cast<BYTE>((row0[at] * w[0] + row0[at + next] * w[1] + row1[at] * w[2] +
                                               row1[at + next] * w[3] + 32768) >> 16);
        }
    }
}

}  // namespace

HBITMAP StretchedBitmap(UINT id, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    HANDLE loaded = LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!loaded) return nullptr;
    HBITMAP source = static_cast<HBITMAP>(loaded);
    DIBSECTION in;
    HBITMAP stretched = nullptr;
    if (GetObjectA(source, sizeof in, &in) == sizeof in && in.dsBm.bmBitsPixel == 24 && in.dsBm.bmBits) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = in.dsBmih.biHeight < 0 ? -height : height;  // rows in the source's order
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        stretched = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (stretched)
            Resample(static_cast<const BYTE*>(in.dsBm.bmBits), in.dsBm.bmWidth, in.dsBm.bmHeight,
                     static_cast<BYTE*>(bits), width, height);
    }
    DeleteObject(source);
    return stretched;
}
