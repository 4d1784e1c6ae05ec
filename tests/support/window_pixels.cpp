#include "support/window_pixels.h"
#include "support/test_support.h"
#include <stdint.h>

namespace vtest {

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

std::vector<COLORREF> ClientPixels(HWND window, int width, HDC source)
{
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right < width ? client.right : width, h = client.bottom;
    std::vector<COLORREF> pixels;
    if (w <= 0 || h <= 0)
        return pixels;
    HDC dc = source ? source : GetDC(window);
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

int PixelsARepaintChanges(HWND window)
{
    std::vector<COLORREF> shown[2];
    for (int i = 0; i < 2; ++i) {
        if (i)
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages();
        // Its children's pixels too, and never those of other tests' windows laid over it.
        shown[i] = ClientPixels(window, INT_MAX, GetDCEx(window, nullptr, DCX_CACHE));
    }
    int changed = 0;
    for (size_t i = 0; i < shown[0].size() && i < shown[1].size(); ++i)
        changed += shown[0][i] != shown[1][i];
    return changed;
}

namespace {
unsigned focusChanges = 0;
LRESULT CALLBACK CountFocusChanges(int code, WPARAM wParam, LPARAM lParam)
{
    const UINT message = reinterpret_cast<const CWPSTRUCT*>(lParam)->message;
    if (code >= 0 && (message == WM_ACTIVATE || message == WM_NCACTIVATE || message == WM_SETFOCUS || message == WM_KILLFOCUS))
        ++focusChanges;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

FocusChanges::FocusChanges()
    : hook(SetWindowsHookExA(WH_CALLWNDPROC, &CountFocusChanges, nullptr, GetCurrentThreadId())), first(focusChanges)
{
}

FocusChanges::~FocusChanges() { UnhookWindowsHookEx(hook); }

bool FocusChanges::Any() const { return focusChanges != first; }

} // namespace vtest
