#include "support/frame_fixtures.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/startup.h"

namespace vtest {

HWND StartShell()
{
    if (!InitStartupState(GetModuleHandleA(nullptr), nullptr))
        return nullptr;
    if (!RegisterWindowClasses(GetModuleHandleA(nullptr)))
        return nullptr;
    PrepareFrameResources();
    return CreateFrameWindow();
}

void UnregisterShellClasses()
{
    for (const char* name : windowClassNames)
        UnregisterClassA(name, GetModuleHandleA(nullptr));
}

int TakeQuitMessage()
{
    MSG msg;
    int code = -1;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            code = static_cast<int>(msg.wParam);
    }
    return code;
}

void StopShell()
{
    if (frameWindow && IsWindow(frameWindow))
        DestroyWindow(frameWindow);
    frameWindow = nullptr;
    TakeQuitMessage();
    if (frameMenu) {
        DestroyMenu(frameMenu);
        frameMenu = nullptr;
    }
    UnregisterShellClasses();
}

void ForgetDocumentChanges()
{
    if (!mdiClientWindow)
        return;
    for (HWND child = GetWindow(mdiClientWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (PlanDocument* document = GetWindowDocument(child))
            if (document->settings)
                document->settings->modified = 0;
}

} // namespace vtest
