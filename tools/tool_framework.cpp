#include "tools/tool_framework.h"
#include "shell/frame_window.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "palette/tool_windows.h"
#include "planview/input_gdi.h"
#include "planview/selection.h"
#include "tools/arc_tools.h"
#include "tools/curved_stair_tool.h"
#include "tools/dimension_tool.h"
#include "tools/door_tool.h"
#include "tools/drawing_tools.h"
#include "tools/exterior_wall_tools.h"
#include "tools/fixture_tools.h"
#include "tools/floor_stair_deck_tools.h"
#include "tools/freehand_roof_tools.h"
#include "tools/landscape_tools.h"
#include "tools/marquee.h"
#include "tools/plan_mouse_state.h"
#include "tools/point_mapping.h"
#include "tools/resize_tool.h"
#include "tools/roof_tool.h"
#include "tools/rotate_tool.h"
#include "tools/select_drag.h"
#include "tools/shape_tools.h"
#include "tools/text_editing.h"
#include "tools/tool_state.h"
#include "tools/undo.h"
#include "tools/viewpoint_tool.h"
#include "tools/wall_tool.h"
#include "tools/window_tool.h"
#include "tools/wiring_tools.h"

void (*toolEventTap)(int32_t, int32_t, float, float, float, int16_t, int16_t) = nullptr;

namespace {

const COLORREF kRubberBandRed = RGB(255, 0, 0);

// The object under the pointer at the press, or null on empty space.
PlanObject* ObjectUnderPointer()
{
    return planMouseState.hit ? planMouseState.object : nullptr;
}

// Points dragged over empty space stay inside the plan extents and on the drag start's
// side of the locked limit planes; a point on an object keeps the object's depth.
void MapDragPoint(int32_t x, int32_t y, float* point, const float* reference)
{
    MapPlanPointToModel(x, y, &point[0], &point[1], &point[2], 1, &planMouseState, 1);
    if (!ObjectUnderPointer())
        ClampPlanPoint(reference ? reference : point, point);
}

void SetCurrentPoint(const float* point)
{
    DragTransform& drag = planMouseState.drag;
    float distance = 0.0f;
    for (int i = 0; i < 3; ++i)
        drag.current[i] = point[i];
    drag.currentAngle = AngleBetweenPoints(drag.centre[0], drag.centre[1], point[0], point[1], &distance);
}

bool IsHandledAsWhole(int16_t tool, PlanObject* object)
{
    if (!object)
        return false;
    const PlanObject* kind = (object->type == ObjGroup && object->firstChild) ? object->firstChild : object;
    return !IsPointEditable(tool, kind);
}

// A handle of a selected object's box resizes it, unless the object is one that is only
// moved: lines, plants, piers, sprinklers and sub-type 89.
bool PressStartsResize(int16_t tool)
{
    PlanObject* object = planMouseState.object;
    if (tool != kSelectToolId || !planMouseState.boxHandleHit || !IsHandledAsWhole(tool, object))
        return false;
    const PlanObject* kind = (object->type == ObjGroup && object->firstChild) ? object->firstChild : object;
    switch (kind->type) {
    case ObjLine:
    case ObjPlant:
    case ObjPier:
    case ObjSprinkler:
        return false;
    default:
        return kind->subType != 89;
    }
}

uint16_t RoofStyleOfTool(int16_t tool)
{
    switch (tool) {
    case 7300: return 2;
    case 7301: return 1;
    case 7302: return 3;
    case 7303: return 4;
    case 7304: return 5;
    case 7305: return 6;
    default: return 7;   // 7307
    }
}

// Wall-mounted fixtures: placed on the wall section under the pointer.
bool IsWallFixtureTool(int16_t tool)
{
    switch (tool) {
    case 7100: case 7101: case 7103: case 7105: case 7106: case 7107:
    case 7112: case 7113: case 7114: case 7115: case 7116:
    case 7200: case 7201: case 7202: case 7203: case 7204: case 7205: case 7206: case 7207:
    case 7209: case 7210: case 7407:
        return true;
    default:
        return false;
    }
}

bool IsFreeFixtureTool(int16_t tool)
{
    switch (tool) {
    case 7102: case 7104: case 7109: case 7110: case 7111: case 7117: case 7208: case 7211:
    case 7401: case 7402: case 7403: case 7404: case 7405: case 7406:
        return true;
    default:
        return false;
    }
}

}  // namespace

void ReturnFromViewpointTool()
{
    currentToolId = (previousToolId > 0 && previousToolId != kViewpointToolId) ? previousToolId
                                                                               : kSelectToolId;
    if (activePlanPane)
        SetClassLongPtrA(activePlanPane, GCLP_HCURSOR,
                         reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)));
    // The palette shows which tool is current: its button and the viewpoint tool's are
    // repainted (an invalidated strip repaints none of its buttons).
    ShowCurrentToolButton();
}

PaneXorState::PaneXorState()
{
    dc = activePlanPane ? GetDC(activePlanPane) : nullptr;
    if (!dc)
        return;
    previousMode = SetROP2(dc, R2_NOTXORPEN);
    redPen = CreatePen(PS_SOLID, 0, kRubberBandRed);
    if (redPen)
        previousPen = SelectObject(dc, redPen);
}

PaneXorState::~PaneXorState()
{
    if (!dc)
        return;
    SetROP2(dc, previousMode);
    if (previousPen)
        SelectObject(dc, previousPen);
    if (redPen)
        DeleteObject(redPen);
    ReleaseDC(activePlanPane, dc);
}

void RecordShiftKey()
{
    if (CurrentInput().KeyState(VK_SHIFT) & 0x8000)
        planMouseState.modifiers |= kModifierShift;
    else
        planMouseState.modifiers &= static_cast<uint16_t>(~kModifierShift);
}

uint8_t ShiftKeyToggled()
{
    const bool down = (CurrentInput().KeyState(VK_SHIFT) & 0x8000) != 0;
    return down != ShiftHeld() ? 1 : 0;
}

bool FollowPointer(POINT* cursor, POINT* previous, bool looked, bool* placed)
{
    if (looked) {
        *cursor = *previous;
        *placed = PeekPlacingPress(activePlanPane, cursor);
        if (!*placed)
            *cursor = GetCursorLogicalPos();
    }
    if (cursor->x == previous->x && cursor->y == previous->y && !ShiftKeyToggled())
        return false;
    *previous = *cursor;
    return true;
}

bool ShiftHeld()
{
    return (planMouseState.modifiers & kModifierShift) != 0;
}

bool CtrlHeld()
{
    return (planMouseState.modifiers & kModifierCtrl) != 0;
}

void HandlePlanButtonDown(int32_t x, int32_t y)
{
    PlanMouseState& state = planMouseState;
    // An undone creation left from the last gesture is discarded now that a new one begins.
    BeginUndoableGesture();
    state.pressPixelX = x;
    state.pressPixelY = y;
    state.vertexDeselected = 0;
    for (float& factor : state.resizeFactors)
        factor = 1.0f;
    RecordShiftKey();
    if (CurrentInput().KeyState(VK_CONTROL) & 0x8000)
        state.modifiers |= kModifierCtrl;
    else
        state.modifiers &= static_cast<uint16_t>(~kModifierCtrl);

    PaneXorState pane;
    float point[3] = {0.0f, 0.0f, 0.0f};
    MapDragPoint(x, y, point, nullptr);
    DragTransform& drag = state.drag;
    for (int i = 0; i < 3; ++i) {
        state.dragStart[i] = point[i];
        drag.start[i] = point[i];
        drag.current[i] = point[i];
        drag.centre[i] = 0.0f;
    }
    if (PlanObject* object = ObjectUnderPointer())
        GetObjectCentre2D(object, &drag.centre[0], &drag.centre[1]);
    float distance = 0.0f;
    drag.startAngle = AngleBetweenPoints(drag.centre[0], drag.centre[1], point[0], point[1], &distance);
    drag.currentAngle = drag.startAngle;
    DispatchToolEvent(x, y, point[0], point[1], point[2], kToolPress);
}

void HandlePlanMouseMove(int32_t newX, int32_t newY, int32_t previousX, int32_t previousY, int32_t,
                         int32_t)
{
    float previous[3] = {0.0f, 0.0f, 0.0f};
    float next[3] = {0.0f, 0.0f, 0.0f};
    MapDragPoint(previousX, previousY, previous, planMouseState.dragStart);
    MapDragPoint(newX, newY, next, planMouseState.dragStart);
    if (newX == previousX && newY == previousY && !ShiftKeyToggled())
        return;

    PaneXorState pane;
    SetCurrentPoint(previous);
    DispatchToolEvent(previousX, previousY, previous[0], previous[1], previous[2], kToolMove);

    // The pane clears the tool-button hover and the status help when messages flow
    // again: it gets the pointer's place as a plain mouse move, queued for after the drag.
    if (activePlanPane && IsMouseButtonDown()) {
        POINT client = {newX, newY};
        HDC dc = GetDC(activePlanPane);
        if (dc) {
            LPtoDP(dc, &client, 1);
            ReleaseDC(activePlanPane, dc);
        }
        PostMessageA(activePlanPane, WM_MOUSEMOVE, 0,
                     MAKELPARAM(static_cast<int16_t>(client.x), static_cast<int16_t>(client.y)));
    }

    // Shift is read between the erase and the draw: the erase repeats the old constraint.
    RecordShiftKey();
    SetCurrentPoint(next);
    DispatchToolEvent(newX, newY, next[0], next[1], next[2], kToolMove);
}

void HandlePlanButtonUp(int32_t, int32_t, int32_t lastX, int32_t lastY, int32_t, int32_t)
{
    PaneXorState pane;
    savedDrawMode = pane.PreviousMode();
    float point[3] = {0.0f, 0.0f, 0.0f};
    MapDragPoint(lastX, lastY, point, planMouseState.dragStart);
    for (int i = 0; i < 3; ++i)
        planMouseState.dragEnd[i] = point[i];
    SetCurrentPoint(point);
    DispatchToolEvent(lastX, lastY, point[0], point[1], point[2], kToolRelease);
}

void DispatchToolEvent(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return;
    PlanSettings* settings = document->settings;
    settings->modified = 1;
    if (currentToolId == -1)
        return;
    int16_t tool = currentToolId;
    if (PressStartsResize(tool)) {
        tool = kResizeToolId;
        document->lastEditKind = 9;
    }
    if (toolEventTap)
        toolEventTap(wx, wy, x, y, z, event, tool);
    const bool hit = planMouseState.hit != 0;

    if (IsWallFixtureTool(tool)) {
        HandleWallFixtureTool(x, y, z, event, tool);
        return;
    }
    if (IsFreeFixtureTool(tool)) {
        HandleFreeFixtureTool(x, z, event, tool);
        return;
    }
    switch (tool) {
    case kSelectToolId:
    case kPointEditToolId:
        if (hit)
            DragSelection(x, y, z, event);
        else
            TrackMarqueeSelection(wx, wy, x, y, z, event);
        return;
    case kResizeToolId:
        if (hit)
            ResizeSelection(x, y, event);
        else
            TrackMarqueeSelection(wx, wy, x, y, z, event);
        return;
    case kRotateToolId:
        if (hit)
            RotateSelection(x, y, z, event);
        else
            TrackMarqueeSelection(wx, wy, x, y, z, event);
        return;
    case 202: HandleDimensionTool(x, y, z, event); return;
    case 203: HandleTextTool(x, y, z, event); return;
    case kViewpointToolId:
        if (HandleViewpointTool(wx, wy, x, y, z, event) && event == kToolRelease)
            ReturnFromViewpointTool();
        return;
    case 7000:
    case 7050: HandleExteriorWallTool(wx, wy, x, y, z, event); return;
    case 7001: HandleBeamTool(wx, wy, x, y, z, event); return;
    case 7002: HandlePierTool(wx, wy, x, y, z, event); return;
    case 7003: HandleTensionCableTool(wx, wy, x, y, z, event); return;
    case 7004: HandleSlopeArrowTool(wx, wy, x, y, z, event); return;
    case 7051:
    case 7507: HandleWallTool(wx, wy, x, y, z, event); return;
    case 7052:
    case 7053: HandleDoorTool(x, y, z, event); return;
    case 7054: HandleWindowTool(x, y, z, event); return;
    case 7055:
    case 7604: HandleStraightStairTool(wx, wy, x, y, z, event); return;
    case 7056:
    case 7605: HandleCurvedStairTool(wx, wy, x, y, z, event); return;
    case 7057:
    case 7602: HandleStraightRailingTool(wx, wy, x, y, z, event); return;
    case 7058:
    case 7603: HandleCurvedRailingTool(wx, wy, x, y, z, event); return;
    case 7059:
    case 7060: HandleFloorTool(wx, wy, x, y, z, event); return;
    case 7108: HandleWiringTool(wx, wy, x, y, z, event); return;
    case 7300: case 7301: case 7302: case 7303: case 7304: case 7305: case 7307:
        settings->roofStyle = RoofStyleOfTool(tool);
        HandleRoofTool(wx, wy, x, y, z, event);
        return;
    case 7306: HandleFreehandRoofTool(wx, wy, x, y, z, event); return;
    case 7400: HandleAirDuctTool(wx, wy, x, y, z, event); return;
    case 7500: HandleLotTool(wx, wy, x, y, z, event); return;
    case 7501: HandleFillZoneTool(wx, wy, x, y, z, event); return;
    case 7502: HandlePathTool(wx, wy, x, y, z, event); return;
    case 7503: HandleFillTool(wx, wy, x, y, z, event); return;
    case 7504: HandleFenceTool(wx, wy, x, y, z, event); return;
    case 7505: HandlePicketFenceTool(wx, wy, x, y, z, event); return;
    case 7506: HandleGateTool(x, y, z, event); return;
    case 7508: HandleSprinklerTool(wx, wy, x, y, z, event); return;
    case 7509: HandleSlopedLotTool(wx, wy, x, y, z, event); return;
    case 7510:
    case 7511: HandleTopographyTool(wx, wy, x, y, z, event); return;
    case 7600:
    case 7601: HandleDeckTool(wx, wy, x, y, z, event); return;
    case 7700: HandleRectangleTool(wx, wy, x, y, z, event); return;
    case 7701: HandleOvalTool(wx, wy, x, y, z, event); return;
    case 7702: HandleLineTool(wx, wy, x, y, z, event); return;
    case 7703:
    case 7707: HandlePolygonTool(wx, wy, x, y, z, event); return;
    case 7704:
    case 7705: HandleArcTool(wx, wy, x, y, z, event, tool); return;
    case 7706: HandleMultigonTool(wx, wy, x, y, z, event); return;
    default:
        // Pan, zoom and the palette and view buttons are not gestures of a plan tool.
        if (event == kToolRelease)
            ReleaseToolCapture();
        return;
    }
}
