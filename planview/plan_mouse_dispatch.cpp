#include "planview/plan_mouse_dispatch.h"
#include "model/plan_document.h"
#include "palette/tool_windows.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "tools/tool_state.h"

// The tool dispatch of a press is not built yet: a press only makes its pane current.
void DispatchPlanInput(HDC paneDC, int, HWND pane, UINT, LPARAM)
{
    if (!paneDC || !pane)
        return;
    activePlanPane = pane;
    activeDocument = reinterpret_cast<PlanDocument*>(GetWindowLongPtrA(pane, 0));
}

namespace {

// The tools that stay current after a gesture unless the revert is forced.
bool StaysCurrent(int tool)
{
    switch (tool) {
    case 200: case 201: case 202: case 203: case 205: case 400: case 401: case 406:
    case 7505: case 7506:
        return true;
    default:
        return (tool >= 7051 && tool <= 7054) || (tool >= 7100 && tool <= 7117);
    }
}

} // namespace

void RevertToSelectTool(int force)
{
    if (!highlightedPane || (!force && StaysCurrent(currentToolId)))
        return;
    HWND select = FindToolButton(frameWindow ? GetDlgItem(frameWindow, GeneralToolPaneId) : nullptr, 200);
    if (!select)
        return;
    HWND old = highlightedPane;
    highlightedPane = select;
    currentToolId = 200;
    RedrawWindow(old, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RedrawWindow(select, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (activePlanPane)
        SetClassLongPtrA(activePlanPane, GCLP_HCURSOR,
                         reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)));
}
