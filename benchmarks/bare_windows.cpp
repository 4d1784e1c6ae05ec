// The floor under the program's start-up: a program with none of the program's code.
// With no argument it makes one hidden window, destroys it and quits; with the path of a
// window description (road_speed.exe --describe) it makes the frame's windows and
// tooltip tools bare (window_replica.h), destroys them and quits.
#include "window_replica.h"
#include <commctrl.h>

namespace {

LRESULT CALLBACK OneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateOneWindow(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OneWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BareOneWindow";
    if (!RegisterClassA(&wc))
        return nullptr;
    return CreateWindowExA(0, "BareOneWindow", "Bare", WS_OVERLAPPEDWINDOW, 1, 1, 640, 480, nullptr, nullptr,
                           instance, nullptr);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (!commandLine || !commandLine[0]) {
        HWND window = CreateOneWindow(instance);
        if (!window)
            return 1;
        DestroyWindow(window);
    } else {
        ReplicaTree tree;
        if (!ReadReplicaTree(&tree, commandLine))
            return 1;
        // The same common controls as the program's start-up.
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        DestroyReplica(tree, CreateReplica(tree));
        PostQuitMessage(0);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
