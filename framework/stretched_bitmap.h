// A bitmap resource drawn at another size, smoothly: the picture of a dialog fills its
// control at every display scale from the one bitmap the program carries.
#pragma once
#include <windows.h>

// Bitmap resource `id` (24 bits a pixel) resampled to `width` x `height` pixels by
// bilinear interpolation, as a DIB section the caller deletes. Null when the resource
// cannot be loaded, is of another depth, or the bitmap cannot be made.
HBITMAP StretchedBitmap(UINT id, int width, int height);
