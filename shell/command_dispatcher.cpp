#include "shell/command_dispatcher.h"
#include "shell/app_globals.h"
#include "shell/document_commands.h"
#include "shell/frame_window.h"
#include "shell/message_box.h"
#include "shell/printing.h"
#include "palette/tool_windows.h"
#include "tools/tool_state.h"
#include "model/plan_document.h"
#include "model/object_operations.h"
#include "planview/plan_background.h"

const char* const noPlanQuestion =
    "Non sono aperte finestre di disegno. Per usare questa opzione occorre aprire un disegno "
    "esistente oppure creare un nuovo disegno. Creare un nuovo disegno?";

// The commands that need no open plan.
static bool ServedWithoutPlan(int command)
{
    switch (command) {
    case FrameCommandQuit:
    case FrameCommandNew:
    case FrameCommandOpen:
    case FrameCommandCloseAll:
    case 5221:
    case 5222:
    case 5223:
    case FrameCommandStartModeLoad:
        return true;
    }
    return false;
}

static void InvertButton(HWND button)
{
    RECT rect;
    GetClientRect(button, &rect);
    OffsetRect(&rect, 1, 1);
    HDC dc = GetDC(button);
    if (!dc)
        return;
    InvertRect(dc, &rect);
    ReleaseDC(button, dc);
}

// A command given while the text tool is editing first returns to the pointer tool.
static void LeaveTextEditing(PlanDocument* document)
{
    HWND generalPane = frameToolWindows[0];
    if (!highlightedPane || currentToolId != 203 || !generalPane)
        return;
    HWND button = GetWindow(generalPane, GW_CHILD);
    if (button)
        button = GetWindow(button, GW_HWNDLAST);
    for (int step = 0; step < 6 && button; ++step)
        button = GetWindow(button, GW_HWNDPREV);
    if (!button)
        return;
    InvertButton(highlightedPane);
    InvertButton(button);
    highlightedPane = button;
    currentToolId = 200;
    if (activePlanPane)
        SetClassLongPtrA(activePlanPane, GCLP_HCURSOR,
                         reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)));
    DeactivateDocumentChild();
    if (document)
        ForEachFloorObject(document->firstFloor, 0, SuspendTextEditors, nullptr);
}

uint32_t HandleFrameCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!window)
        return 0;
    int command = LOWORD(wParam);

    if ((!activeDocument || !activePlanPane) && !ServedWithoutPlan(command)) {
        if (ShowMessageBox(nullptr, noPlanQuestion, applicationTitle,
                           MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) == IDYES)
            PostMessageA(window, WM_COMMAND, FrameCommandNew, 0);
        return 0;
    }

    PlanDocument* document = activeDocument;
    LeaveTextEditing(document);

    switch (command) {
    case FrameCommandQuit:
        SendMessageA(window, WM_CLOSE, 0, 0);
        return 1;
    case FrameCommandNew:
        NewDocumentCommand(window);
        return 1;
    case FrameCommandCloseAll:
        CloseAllDocumentsCommand();
        return 1;
    case FrameCommandStartModeLoad:
        StartModeLoadCommand(window);
        return 1;
    case FrameCommandPrintFitToPage:
        PrintPlanFitToPage(hInstance, window);
        if (activePlanPane) {
            BringWindowToTop(activePlanPane);
            SetFocus(activePlanPane);
        }
        return 1;
    case FrameCommandPrintToScale:
        PrintPlanToScale(hInstance, window);
        return 1;
    case 0:
        return 0;
    default: {
        // What the frame does not serve goes to the active document window unchanged.
        HWND child = mdiClientWindow
            ? reinterpret_cast<HWND>(SendMessageA(mdiClientWindow, WM_MDIGETACTIVE, 0, 0))
            : nullptr;
        if (child && IsWindow(child))
            SendMessageA(child, WM_COMMAND, wParam, lParam);
        return 0;
    }
    }
}
