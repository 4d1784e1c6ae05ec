#include "render3d/render_screen.h"
#include "render3d/render_window.h"
#include <GL/gl.h>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif

HWND renderScreenWindow = nullptr;

namespace {

constexpr char kScreenClass[] = "RenderScreenClass";

std::shared_ptr<ViewFrame> shownFrame;

// The frame at the top left, unscaled; what it leaves uncovered (a larger client whose
// frame is not yet drawn, or none at all) in the render window's background colour.
void PaintScreen(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!dc)
        return;
    RECT client;
    GetClientRect(window, &client);
    const ViewFrame* frame = shownFrame.get();
    if (frame && frame->width > 0 && frame->height > 0) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = frame->width;
        info.bmiHeader.biHeight = frame->height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, (DWORD)frame->width, (DWORD)frame->height, 0, 0, 0,
                          (UINT)frame->height, frame->pixels.data(), &info, DIB_RGB_COLORS);
        ExcludeClipRect(dc, 0, 0, frame->width, frame->height);
    }
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
    EndPaint(window, &paint);
}

LRESULT CALLBACK ScreenWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST:
        // The render window takes the presses, the cursor and the drops.
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_SETFOCUS:
        if (HWND parent = GetParent(window))
            SetFocus(parent);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintScreen(window);
        return 0;
    case WM_DESTROY:
        if (renderScreenWindow == window) {
            renderScreenWindow = nullptr;
            shownFrame.reset();
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterScreenClass(HINSTANCE instance)
{
    WNDCLASSA existing;
    if (GetClassInfoA(instance, kScreenClass, &existing))
        return true;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ScreenWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = kScreenClass;
    return RegisterClassA(&wc) != 0;
}

} // namespace

void CreateRenderScreen(HWND renderWindow)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RECT client = {0, 0, 0, 0};
    if (!renderWindow || !RegisterScreenClass(instance) || !GetClientRect(renderWindow, &client))
        return;
    shownFrame.reset();
    renderScreenWindow = CreateWindowExA(0, kScreenClass, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                         client.bottom, renderWindow, nullptr, instance, nullptr);
}

void FitRenderScreen(HWND renderWindow)
{
    RECT client = {0, 0, 0, 0};
    if (renderScreenWindow && GetClientRect(renderWindow, &client))
        SetWindowPos(renderScreenWindow, nullptr, 0, 0, client.right, client.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

std::shared_ptr<ViewFrame> ShowDrawnFrame()
{
    RECT client = {0, 0, 0, 0};
    if (!renderWindow || !renderScreenWindow || !RenderViewShown() || !GetClientRect(renderWindow, &client))
        return nullptr;
    GLint drawn[4];
    glGetIntegerv(GL_VIEWPORT, drawn);
    if (drawn[0] != 0 || drawn[1] != 0 || drawn[2] != client.right || drawn[3] != client.bottom ||
        !RenderSurfaceFitsClient())
        return nullptr;
    // The buffer of the frame shown is read into again when nothing else holds it.
    std::shared_ptr<ViewFrame> frame = shownFrame.use_count() == 1 ? shownFrame : std::make_shared<ViewFrame>();
    frame->width = client.right;
    frame->height = client.bottom;
    frame->pixels.resize((size_t)client.right * (size_t)client.bottom * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, client.right, client.bottom, GL_BGRA, GL_UNSIGNED_BYTE, frame->pixels.data());
    ShowViewFrame(frame);
    return frame;
}

void ShowViewFrame(std::shared_ptr<ViewFrame> frame)
{
    shownFrame = std::move(frame);
    // Painted at once, as a navigation shows its frames without handling messages: the
    // paint itself, not a second round through the window system's update, and the end of
    // the paint hands the picture to the display.
    if (renderScreenWindow) {
        InvalidateRect(renderScreenWindow, nullptr, FALSE);
        PaintScreen(renderScreenWindow);
    }
}

std::shared_ptr<ViewFrame> ShownViewFrame()
{
    return shownFrame;
}
