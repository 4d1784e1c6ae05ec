#include "planview/plan_mouse_dispatch.h"
#include "dialogs/common_values.h"
#include "model/object_edit.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "palette/tool_windows.h"
#include "planview/drag_zoom_camera.h"
#include "planview/hit_testing.h"
#include "planview/input_gdi.h"
#include "planview/measuring_line.h"
#include "planview/plan_background.h"
#include "planview/plan_context_menus.h"
#include "planview/plan_pane.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "planview/selection_marks.h"
#include "render3d/render_window.h"
#include "render3d/selvith_window.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/measurement_bar.h"
#include "tools/plan_mouse_state.h"
#include "tools/point_mapping.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"
#include <initializer_list>
#include <string.h>

POINT lastClickDevicePoint = {0, 0};
float selectionViewExtents[4] = {0.0f, 0.0f, 0.0f, 0.0f};
float selectionBox3D[6] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
float selectionSize[3] = {0.0f, 0.0f, 0.0f};
uint8_t cameraDragActive = 0;

namespace {

const int16_t kPanTool = 204;
const int16_t kZoomTool = 205;
const int16_t kTextTool = 203;
const int16_t kGateTool = 7506;

void ReleaseHeldCapture()
{
    if (mouseCaptured)
        ReleaseToolCapture();
}

void Capture(HWND pane)
{
    SetCapture(pane);
    mouseCaptured = 1;
}

bool IsOpeningTool(int16_t tool)
{
    return tool == 7052 || tool == 7053 || tool == 7054;
}

bool IsWallFixtureTool(int16_t tool)
{
    return tool == 7100 || tool == 7101 || tool == 7103 || tool == 7105 || tool == 7106 ||
           tool == 7107 || (tool >= 7112 && tool <= 7116) || (tool >= 7200 && tool <= 7207) ||
           tool == 7209 || tool == 7210 || tool == 7407;
}

// The hand tool: the plan follows the cursor while a button is held.
void PanDrag(HWND pane)
{
    PlanDocument* document = activeDocument;
    if (!frameWindow || !document->horizontalScrollBar || !document->verticalScrollBar)
        return;
    POINT previous = {0, 0};
    GetCursorLogicalPosInWindow(frameWindow, &previous);
    while (IsMouseButtonDown()) {
        POINT now = previous;
        GetCursorLogicalPosInWindow(frameWindow, &now);
        if (now.x != previous.x)
            ScrollPlanViewRepaint(document->horizontalScrollBar, pane, 0,
                                  static_cast<int16_t>(previous.x - now.x), 1);
        if (now.y != previous.y)
            ScrollPlanViewRepaint(document->verticalScrollBar, pane, 1,
                                  static_cast<int16_t>(previous.y - now.y), 1);
        previous = now;
    }
}

// The zoom tool: the clicked point is brought to the middle of the pane, the cursor put
// there, and the drag zooms about it.
void ZoomClick(HDC dc, HWND pane, POINT device)
{
    PlanDocument* document = activeDocument;
    RECT client;
    GetClientRect(pane, &client);
    const int width = client.right - client.left, height = client.bottom - client.top;
    // The click's offset from the middle, in logical units (one a pixel).
    ScrollPlanView(document->horizontalScrollBar, pane, 0, static_cast<int16_t>(device.x - width / 2),
                   width, 0);
    ScrollPlanView(document->verticalScrollBar, pane, 1, static_cast<int16_t>(device.y - height / 2),
                   height, 0);
    POINT centre = {width / 2, height / 2};
    ClientToScreen(pane, &centre);
    CurrentInput().MoveCursor(centre.x, centre.y);
    (void)dc;
    DragZoomView();
    document->settings->modified = 1;
}

void CameraDrag(HWND pane, int part)
{
    if (!selvithWindow || !IsWindowVisible(selvithWindow)) {
        if (frameWindow)
            SendMessageA(frameWindow, WM_COMMAND, 5258, 0);
        InvalidateRect(pane, nullptr, TRUE);
        UpdateWindow(pane);
    }
    cameraDragActive = 1;
    if (part == 1)
        AimCameraDrag();
    else
        MoveCameraDrag();
    cameraDragActive = 0;
    if (renderWindow)
        InvalidateRect(renderWindow, nullptr, FALSE);
    if (activeDocument && activeDocument->settings)
        activeDocument->settings->modified = 1;
}

// Selects what a vertex or segment press picked, by the rules of the object's type.
void SelectPickedPoints(PlanMouseState* hit, uint8_t mode, bool segment)
{
    PlanObject* object = hit->object;
    if (segment)
        SelectSegmentOrObject(hit->vertexA, hit->vertexB, object, mode, 1);
    else
        SelectPointOrObject(hit->vertexA, object, mode, 1);
    if (!object)
        return;
    if (object->type == ObjWallElement) {
        SelectObjectAndDrawHandles(object, mode, 1);
    } else if (object->type == ObjFreehandRoof) {
        if (mode == kSelectSelect && object->firstChild)
            SelectObjectAndDrawHandles(object->firstChild, mode, 1);
    } else if (object->type == ObjFreehandRoofPart && !segment) {
        SelectObjectAndDrawHandles(object, mode, 1);
        DrawObjectOutlineXor(object);
    }
}

// The size readout and the drag extents of the selection after a press.
void UpdateSelectionReadout(const PlanMouseState& hit, float* viewExtents, float* box)
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = document->settings;
    if (hit.object && hit.object->type == ObjWall)
        ShowLengthReadout(0.0f);
    ResetExtentBox(box);
    GetAllFloorsBoxExtents3D(document->firstFloor, 1, box, 0);
    const bool empty = box[0] >= 30000.0f || box[1] >= 30000.0f || box[2] >= 30000.0f ||
                       box[3] <= -30000.0f || box[4] <= -30000.0f || box[5] <= -30000.0f;
    // The box is min y, x, z then max y, x, z: width across (x), height (y), depth (z).
    const float width = empty ? 0.0f : PlanLengthToUnits(box[4] - box[1], settings, 1);
    const float height = empty ? 0.0f : PlanLengthToUnits(box[3] - box[0], settings, 1);
    const float depth = empty ? 0.0f : PlanLengthToUnits(box[5] - box[2], settings, 1);
    selectionSize[0] = width;
    selectionSize[1] = height;
    selectionSize[2] = depth;
    if (!hit.object || hit.object->type != ObjWall)
        ShowSizeReadout(width, depth, height);
    ResetExtentRect(viewExtents);
    GetAllFloorsViewExtents(document->firstFloor, 1, viewExtents, 0, 0);
}

} // namespace

int AcceptPlanPoint(HWND, int32_t, int32_t)
{
    return 1;
}

int HitTestCameraMarker(int32_t x, int32_t y)
{
    PlanSettings* settings = activeDocument ? activeDocument->settings : nullptr;
    if (!settings)
        return 0;
    float mx = 0.0f, my = 0.0f, mz = 0.0f;
    MapPlanPointToModel(x, y, &mx, &my, &mz, 0, nullptr, 1);
    TransformPointToView(&mx, &my, &mz, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    const POINT p = {static_cast<LONG>(mx + 0.5f), static_cast<LONG>(my + 0.5f)};
    float qx = settings->cameraX, qy = 0.0f, qz = settings->cameraZ;
    TransformPointToView(&qx, &qy, &qz, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    const POINT q = {static_cast<LONG>(qx), static_cast<LONG>(qy)};
    if (p.x >= q.x - 5 && p.x < q.x + 5 && p.y >= q.y - 5 && p.y < q.y + 5)
        return 2;
    const float degreesToRadiansF = 3.14159265f / 180.0f;
    const float corners[3][2] = {{90.0f, 20.0f}, {130.0f, 10.0f}, {50.0f, 10.0f}};
    POINT triangle[3];
    for (int i = 0; i < 3; ++i) {
        float dx = 0.0f, dy = 0.0f;
        OffsetPointPolar((settings->cameraHeading + corners[i][0]) * degreesToRadiansF, corners[i][1],
                         &dx, &dy);
        triangle[i] = {static_cast<LONG>(static_cast<float>(q.x) + dx),
                       static_cast<LONG>(static_cast<float>(q.y) + dy)};
    }
    HRGN region = CreatePolygonRgn(triangle, 3, ALTERNATE);
    if (!region)
        return 0;
    const int inside = PtInRegion(region, p.x, p.y) ? 1 : 0;
    DeleteObject(region);
    return inside;
}

void DispatchPlanInput(HDC paneDC, int, HWND pane, UINT message, LPARAM point)
{
    if (!paneDC || !pane)
        return;
    activePlanPane = pane;
    activeDocument = reinterpret_cast<PlanDocument*>(GetWindowLongPtrA(pane, 0));
    if (!activeDocument || !activeDocument->settings)
        return;
    const POINT device = {static_cast<int16_t>(LOWORD(point)), static_cast<int16_t>(HIWORD(point))};
    if (currentToolId == kPanTool) {
        Capture(pane);
        PanDrag(pane);
        ReleaseHeldCapture();
        InvalidatePlanView();
        return;
    }
    if (currentToolId == kZoomTool) {
        Capture(pane);
        ZoomClick(paneDC, pane, device);
        ReleaseHeldCapture();
        return;
    }
    lastClickDevicePoint = device;
    POINT press = device;
    DPtoLP(paneDC, &press, 1);
    Capture(pane);
    const int part = HitTestCameraMarker(press.x, press.y);
    if (part) {
        CameraDrag(pane, part);
        ReleaseHeldCapture();
        return;
    }
    HandlePlanToolMouse(paneDC, pane, press.x, press.y, message);
    ReleaseHeldCapture();
}

void HandlePlanToolMouse(HDC paneDC, HWND pane, int32_t x, int32_t y, UINT message)
{
    PlanDocument* document = activeDocument;
    if (!paneDC || !pane || !document || currentToolId == -1)
        return;
    PlanFloor* first = document->firstFloor;
    if (!document->settings || !first) {
        ReleaseHeldCapture();
        return;
    }
    uint8_t part[2] = {0, 0};
    if (HitTestMeasuringLine({x, y}, part)) {
        DragMeasuringLine(paneDC, pane, part[0]);
        ReleaseHeldCapture();
        return;
    }
    const SHORT shiftState = CurrentInput().KeyState(VK_SHIFT);
    const bool shift = (shiftState & 0x8000) != 0;
    const uint8_t mode = shift ? kSelectToggle : kSelectSelect;
    if (currentToolId == kTextTool)
        ForEachFloorSelection(first, kDropEmptyTextCode, nullptr);
    else
        DeactivateDocumentChild();

    PlanMouseState hit = {};
    hit.x = x;
    hit.y = y;
    hit.shiftState = shiftState;
    bool keepTool = false;
    bool drag = true;

    if (currentToolId != kSelectToolId && currentToolId != kRotateToolId) {
        static const int16_t openings[] = {ObjDoor, ObjWindow};
        static const int16_t fixtures[] = {ObjWallElement};
        static const int16_t walls[] = {ObjWall};
        static const int16_t fences[] = {ObjPicketFence};
        if (IsOpeningTool(currentToolId) || IsWallFixtureTool(currentToolId)) {
            const bool opening = IsOpeningTool(currentToolId);
            PlanMouseState picked = hit;
            if (PickObjectAtPoint(first, &picked, 0, opening ? openings : fixtures, opening ? 2 : 1) &&
                picked.object) {
                // A press on an existing one selects it with the select tool.
                RevertToSelectTool(1);
                SetSelectionAllFloors(first, kSelectDeselect, 1);
                SelectObjectAndDrawHandles(picked.object, kSelectSelect, 1);
                SetCursor(LoadCursorA(nullptr, IDC_ARROW));
                hit = picked;
                hit.hit = 1;
            } else {
                hit.hit = PickObjectAtPoint(first, &hit, 0, walls, 1) ? 1 : 0;
            }
        } else if (currentToolId == kGateTool) {
            // A picket fence's size holds its gate width, not a pen: the press must find
            // the section it lies on, not an end handle widened across the section.
            hit.hit = PickObjectAtPoint(first, &hit, 0, fences, 1, 1) ? 1 : 0;
        } else {
            SetSelectionAllFloors(first, kSelectDeselect, 1);
        }
    } else {
        static const int16_t parts[] = {ObjDoor, ObjWindow, ObjWallElement, ObjDeckSteps};
        bool found = PickObjectAtPoint(first, &hit, 0, parts, 4);
        if (!found)
            found = PickObjectAtPoint(first, &hit, 1, nullptr, 0) ||
                    PickObjectAtPoint(first, &hit, 0, nullptr, 0);
        hit.hit = found ? 1 : 0;
        PlanObject* object = hit.object;
        if (!found) {
            if (!shift)
                SetSelectionAllFloors(first, kSelectDeselect, 1);
            keepTool = true;
            if (message == WM_RBUTTONDOWN) {
                ReleaseHeldCapture();
                ShowEmptyPlanMenu(pane);
                return;
            }
        } else {
            if (hit.bodyHit && object) {
                const bool selected = IsAnyPointSelected(object);
                if (!shift && !selected) {
                    SetSelectionAllFloors(first, kSelectDeselect, 1);
                    keepTool = true;
                }
                if (!selected || shift) {
                    PlanObject* top = GetTopLevelObject(object);
                    SelectObjectAndDrawHandles(top ? top : object, mode, 1);
                    drag = false;
                }
            } else if (hit.vertexHit && hit.vertexA) {
                const bool selected = hit.vertexA->selected != 0;
                if (!shift && !selected) {
                    SetSelectionAllFloors(first, kSelectDeselect, 1);
                    keepTool = true;
                }
                if (!selected || shift) {
                    SelectPickedPoints(&hit, mode, false);
                    drag = false;
                }
            } else if (hit.segmentHit && hit.vertexA && hit.vertexB) {
                const bool selected = hit.vertexA->selected && hit.vertexB->selected;
                if (!shift && !selected) {
                    SetSelectionAllFloors(first, kSelectDeselect, 1);
                    keepTool = true;
                }
                if (!selected || shift) {
                    SelectPickedPoints(&hit, mode, true);
                    drag = false;
                }
            }
            // A press that changed the selection runs no gesture: the last drag's undo
            // would move what that drag did not, so nothing is left to undo.
            if (!drag)
                CancelPendingObject();
            if (message == WM_LBUTTONDBLCLK) {
                ReleaseHeldCapture();
                OpenObjectDialog(pane, object, &hit);
                drag = false;
            } else if (message == WM_RBUTTONDOWN) {
                ReleaseHeldCapture();
                ShowObjectContextMenu(pane, object, &hit);
                return;
            }
        }
    }

    float viewExtents[4], box[6];
    UpdateSelectionReadout(hit, viewExtents, box);
    if (!drag) {
        ReleaseHeldCapture();
    } else {
        memcpy(selectionViewExtents, viewExtents, sizeof viewExtents);
        memcpy(selectionBox3D, box, sizeof box);
        document->lastEditKind = GetToolUndoCode(currentToolId);
        undoAvailable = 0;
        pendingObject = nullptr;
        document->lastEditUndone = 0;
        const uint16_t modifiers = planMouseState.modifiers;
        CopyHitPart(&planMouseState, &hit);
        planMouseState.modifiers = modifiers;
        TrackToolDrag(paneDC, pane, x, y);
        if (activeDocument == document && (document->lastEditKind < 0 || !undoAvailable))
            CancelPendingObject();
    }
    if (activeDocument == document)
        RefreshWorkingElevationValue(document);
    if (!keepTool)
        RevertToSelectTool(0);
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
    // The release counts where it was made: a loaded machine may read the pointer well
    // after the button came up, on its way to the next press, or first look at the button
    // once it is already up, with no move seen. The tool follows the pointer there before
    // the release, which it takes at the last point it was moved to. Its message, held to
    // the pane by the capture, is left for the message loop.
    MSG release;
    if (CurrentInput().PeekQueue(&release, pane, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE | PM_NOYIELD) &&
        LoopClickPoint(pane, release, &current) && (current.x != previous.x || current.y != previous.y)) {
        HandlePlanMouseMove(current.x, current.y, previous.x, previous.y, x, y);
        previous = current;
    }
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

void RevertToSelectTool(int force)
{
    if (!highlightedPane)
        return;
    if (!force) {
        const int16_t tool = currentToolId;
        const bool stays = tool == 200 || tool == 201 || tool == 202 || tool == 203 || tool == 205 ||
                           tool == 400 || tool == 401 || tool == 406 || (tool >= 7051 && tool <= 7054) ||
                           (tool >= 7100 && tool <= 7117) || tool == 7505 || tool == 7506;
        if (stays)
            return;
    }
    HWND button = FindSelectToolButton(frameToolWindows[0]);
    if (!button)
        return;
    HWND old = highlightedPane;
    highlightedPane = button;
    currentToolId = 200;
    for (HWND redraw : {old, button}) {
        InvalidateRect(redraw, nullptr, TRUE);
        UpdateWindow(redraw);
    }
    if (activePlanPane)
        SetClassLongPtrA(activePlanPane, GCLP_HCURSOR,
                         reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)));
}
