#include "support/window_pixels.h"
#include <stdint.h>

namespace vtest {

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

std::vector<COLORREF> ClientPixels(HWND window, int width)
{
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right < width ? client.right : width, h = client.bottom;
    std::vector<COLORREF> pixels;
    if (w <= 0 || h <= 0)
        return pixels;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    POINT origin = {0, 0};   // the client corner in the window DC's logical units
    DPtoLP(dc, &origin, 1);
    BitBlt(memory, 0, 0, w, h, dc, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < w * h; ++i)
        pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return pixels;
}

} // namespace vtest
