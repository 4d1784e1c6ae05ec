#include "support_shell.h"
#include "shell/app_globals.h"
#include "render3d/render_window.h"
#include "support/test_support.h"

namespace shelltest {

void SetFrameClientSize(HWND frame, int width, int height)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        RECT window, client;
        GetWindowRect(frame, &window);
        GetClientRect(frame, &client);
        int dw = width - (client.right - client.left);
        int dh = height - (client.bottom - client.top);
        if (dw == 0 && dh == 0)
            return;
        SetWindowPos(frame, nullptr, 0, 0, (window.right - window.left) + dw, (window.bottom - window.top) + dh,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void SizeRenderClient(int width, int height)
{
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, (DWORD)GetWindowLongA(renderWindow, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongA(renderWindow, GWL_EXSTYLE));
    MoveWindow(renderWindow, 0, 28, frame.right - frame.left, frame.bottom - frame.top, TRUE);
    vtest::PumpMessages();
}

RECT ChildPlacement(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    RECT placement = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    return placement;
}

std::string ClassNameOf(HWND window)
{
    char name[256] = {0};
    GetClassNameA(window, name, sizeof name);
    return name;
}

} // namespace shelltest
