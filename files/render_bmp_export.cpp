#include "files/render_bmp_export.h"
#include "files/record_stream.h"
#include "files/safe_save.h"
#include "model/plan_document.h"
#include "render3d/high_quality_render.h"
#include "render3d/render_window.h"
#include "shell/app_globals.h"
#include <windows.h>
#include <stdlib.h>
#include <string.h>

namespace {

constexpr int kFinalRenderCommand = 5285;
constexpr uint32_t kHeadersSize = 54;

void PutU16(uint8_t* at, uint16_t value)
{
    at[0] = (uint8_t)value;
    at[1] = (uint8_t)(value >> 8);
}

void PutU32(uint8_t* at, uint32_t value)
{
    PutU16(at, (uint16_t)value);
    PutU16(at + 2, (uint16_t)(value >> 16));
}

// The file and info headers, little-endian as Windows writes them.
void FillHeaders(uint8_t* headers, int32_t width, int32_t height, uint32_t imageSize)
{
    memset(headers, 0, kHeadersSize);
    headers[0] = 'B';
    headers[1] = 'M';
    PutU32(headers + 2, kHeadersSize + imageSize);
    PutU32(headers + 10, kHeadersSize);
    PutU32(headers + 14, 40);
    PutU32(headers + 18, (uint32_t)width);
    PutU32(headers + 22, (uint32_t)height);
    PutU16(headers + 26, 1);
    PutU16(headers + 28, 24);
    PutU32(headers + 34, imageSize);
}

// The window's pixels as GDI sees them: a white bitmap with the window copied onto it.
void CopyWindowPixels(int32_t width, int32_t height, uint8_t* image)
{
    HDC windowDC = GetDC(renderWindow);
    if (!windowDC)
        return;
    HDC memory = CreateCompatibleDC(windowDC);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDC, width, height);
    if (memory && bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        PatBlt(memory, 0, 0, width, height, WHITENESS);
        BitBlt(memory, 0, 0, width, height, windowDC, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        GetDIBits(memory, bitmap, 0, (UINT)height, image, &info, DIB_RGB_COLORS);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(renderWindow, windowDC);
}

} // namespace

uint32_t RenderBmpImageSize(int32_t width, int32_t height)
{
    return (uint32_t)((width * 24 + 31) & ~31) / 8 * (uint32_t)height;
}

void ExportRenderBmp(const char* path)
{
    if (!activeDocument || !activeDocument->settings || !path || !renderWindow || !frameWindow)
        return;
    // The render's own pixels are kept as it is presented: a copy of an OpenGL window
    // through GDI does not see them on every platform.
    FreeCapturedRender();
    renderCaptureRequested = 1;
    SendMessageA(frameWindow, WM_COMMAND, kFinalRenderCommand, 0);
    renderCaptureRequested = 0;

    RECT client;
    GetClientRect(renderWindow, &client);
    const int32_t width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) {
        FreeCapturedRender();
        return;
    }
    const uint32_t imageSize = RenderBmpImageSize(width, height);
    uint8_t* image = static_cast<uint8_t*>(calloc((size_t)imageSize + 100, 1));
    if (!image) {
        FreeCapturedRender();
        MessageBeep(0);
        return;
    }
    if (capturedRender.pixels && capturedRender.width == width && capturedRender.height == height)
        memcpy(image, capturedRender.pixels, imageSize);
    else
        CopyWindowPixels(width, height, image);
    FreeCapturedRender();

    uint8_t headers[kHeadersSize];
    FillHeaders(headers, width, height, imageSize);
    const bool saved = SaveFileSafely(path, [&] {
        WriteBytes(headers, kHeadersSize);
        WriteBytes(image, imageSize);
    });
    free(image);
    if (!saved)
        MessageBeep(0);
}
