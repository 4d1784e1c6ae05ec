#include "planview/plan_mouse_dispatch.h"
#include "model/plan_document.h"
#include "palette/tool_windows.h"
#include "planview/hit_testing.h"
#include "planview/input_gdi.h"
#include "planview/selection.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

bool IsOpeningTool(int16_t tool)
{
    return tool >= 7052 && tool <= 7054;
}

bool IsWallFixtureTool(int16_t tool)
{
    switch (tool) {
    case 7100: case 7101: case 7103: case 7105: case 7106: case 7107: case 7112: case 7113:
    case 7114: case 7115: case 7116: case 7200: case 7201: case 7202: case 7203: case 7204:
    case 7205: case 7206: case 7207: case 7209: case 7210: case 7407:
        return true;
    default:
        return false;
    }
}

}  // namespace

void DispatchPlanInput(HDC paneDC, int, HWND pane, UINT message, LPARAM point)
{
    if (!paneDC || !pane)
        return;
    activePlanPane = pane;
    activeDocument = reinterpret_cast<PlanDocument*>(GetWindowLongPtrA(pane, 0));
    if (!activeDocument || !activeDocument->settings)
        return;
    // Pan, zoom and the camera marker are not built yet: every press goes to the tools.
    if (currentToolId == 204 || currentToolId == 205)
        return;
    POINT press = {static_cast<int16_t>(LOWORD(point)), static_cast<int16_t>(HIWORD(point))};
    DPtoLP(paneDC, &press, 1);
    SetCapture(pane);
    mouseCaptured = 1;
    HandlePlanToolMouse(paneDC, pane, press.x, press.y, message);
    if (mouseCaptured)
        ReleaseToolCapture();
}

// Only the hit and the drag are built yet: no menus, dialogs or selection rules beyond
// the pointer tools' pick.
void HandlePlanToolMouse(HDC paneDC, HWND pane, int32_t x, int32_t y, UINT)
{
    PlanDocument* document = activeDocument;
    if (!paneDC || !pane || !document || currentToolId == -1 || !document->settings ||
        !document->firstFloor)
        return;
    PlanMouseState hit = {};
    hit.x = x;
    hit.y = y;
    hit.shiftState = static_cast<int16_t>(CurrentInput().KeyState(VK_SHIFT));
    const bool shift = (hit.shiftState & 0x8000) != 0;
    if (currentToolId == 200 || currentToolId == 201) {
        // Openings and deck steps lie on their owners: they are asked first.
        const int16_t openings[4] = {16, 17, 56, 53};
        hit.hit = (PickObjectAtPoint(document->firstFloor, &hit, 0, openings, 4) ||
                   PickObjectAtPoint(document->firstFloor, &hit, 0, nullptr, 0))
                      ? 1
                      : 0;
        if (!hit.hit && !shift)
            SetSelectionAllFloors(document->firstFloor, kSelectDeselect, 1);
    } else if (IsOpeningTool(currentToolId) || IsWallFixtureTool(currentToolId)) {
        // A press on a placed opening selects it instead; otherwise the wall under the
        // pointer is the one to place on.
        const int16_t placed[2] = {currentToolId <= 7054 ? int16_t(16) : int16_t(56), int16_t(17)};
        const int16_t walls[1] = {12};
        if (PickObjectAtPoint(document->firstFloor, &hit, 0, placed, currentToolId <= 7054 ? 2 : 1)) {
            RevertToSelectTool(1);
            SetSelectionAllFloors(document->firstFloor, kSelectDeselect, 1);
            SelectObjectAndDrawHandles(hit.object, kSelectSelect, 1);
            return;
        }
        hit.hit = PickObjectAtPoint(document->firstFloor, &hit, 0, walls, 1) ? 1 : 0;
    } else if (currentToolId == 7506) {
        const int16_t pickets[1] = {25};
        hit.hit = PickObjectAtPoint(document->firstFloor, &hit, 0, pickets, 1) ? 1 : 0;
    } else {
        SetSelectionAllFloors(document->firstFloor, kSelectDeselect, 1);
    }
    document->lastEditKind = GetToolUndoCode(currentToolId);
    undoAvailable = 0;
    pendingObject = nullptr;
    document->lastEditUndone = 0;
    const uint16_t modifiers = planMouseState.modifiers;
    CopyHitPart(&planMouseState, &hit);
    planMouseState.modifiers = modifiers;
    TrackToolDrag(paneDC, pane, x, y);
    if (document->lastEditKind < 0 || !undoAvailable)
        CancelPendingObject();
}

void TrackToolDrag(HDC, HWND pane, int32_t x, int32_t y)
{
    HandlePlanButtonDown(x, y);
    POINT current = {x, y};
    POINT previous = current;
    while (IsMouseButtonDown()) {
        previous = current;
        GetCursorLogicalPosInWindow(pane, &current);
        HandlePlanMouseMove(current.x, current.y, previous.x, previous.y, x, y);
    }
    previous = current;
    GetCursorLogicalPosInWindow(pane, &current);
    HandlePlanButtonUp(current.x, current.y, previous.x, previous.y, x, y);
}

int16_t GetToolUndoCode(int16_t toolId)
{
    switch (toolId) {
    case 200: return 7;
    case 216: return 8;
    case 201: return 11;
    case 7700: return 13;
    case 7701: return 14;
    case 7703: return 15;
    case 7706: return 16;
    case 7704: return 17;
    case 7702: return 18;
    case 7707: return 19;
    case 7051: return 20;
    case 7300:
    case 7301: return 21;
    default: return -1;
    }
}

// The palette's button swap is not built yet: only the tool id changes.
void RevertToSelectTool(int force)
{
    if (force && highlightedPane)
        currentToolId = 200;
}
