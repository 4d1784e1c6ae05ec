#pragma once
#include <stdint.h>

// The render saved as a picture: the final render is run, then the render window's
// client area is written as a 24-bit BMP (rows bottom-up, each padded to 4 bytes,
// pixels in blue, green, red order). The file is written through the safe save, so an
// existing file is replaced only by a complete picture. Nothing without an active
// document with settings, a path, the render window or the frame; a beep when the file
// cannot be written.
void ExportRenderBmp(const char* path);

// Bytes of the image of a picture width pixels wide and height high: rows of
// ((width x 24 + 31) AND NOT 31) / 8 bytes.
uint32_t RenderBmpImageSize(int32_t width, int32_t height);
