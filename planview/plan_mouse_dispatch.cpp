#include "planview/plan_mouse_dispatch.h"
#include "model/plan_document.h"
#include "palette/tool_windows.h"
#include "tools/tool_state.h"

// The tool dispatch of a press is not built yet: a press only makes its pane current.
void DispatchPlanInput(HDC paneDC, int, HWND pane, UINT, LPARAM)
{
    if (!paneDC || !pane)
        return;
    activePlanPane = pane;
    activeDocument = reinterpret_cast<PlanDocument*>(GetWindowLongPtrA(pane, 0));
}

// The palette's button swap is not built yet: only the tool id changes.
void RevertToSelectTool(int force)
{
    if (force && highlightedPane)
        currentToolId = 200;
}
