#include "tools/rotate_tool.h"
#include <cmath>
#include <initializer_list>
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "planview/plan_redraw.h"
#include "shell/measurement_bar.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

const double kDegreesPerRadian = 57.29577951308232;

struct RotateState {
    float box[6];
    float viewRect[4];
} state;

void PlaneAxes(uint16_t plane, int* first, int* second)
{
    *first = plane == 3 ? 2 : 0;
    *second = plane == 2 ? 2 : 1;
}

// In the plan the pointer goes onto the nearer axis through the centre, or onto a
// diagonal.
void SnapAboutCentre(const float* centre, float* point)
{
    const float ax = std::fabs(point[0] - centre[0]);
    const float az = std::fabs(point[2] - centre[2]);
    if (ax <= az / 2.0f || az <= ax / 2.0f) {
        if (ax <= az)
            point[0] = centre[0];
        else
            point[2] = centre[2];
    } else {
        point[2] = point[2] - centre[2] < 0.0f ? centre[2] - ax : centre[2] + ax;
    }
}

void InvalidateViewRect(const float* rect)
{
    if (!activePlanPane || rect[kRectMinX] > rect[kRectMaxX])
        return;
    POINT corners[2] = {{static_cast<LONG>(rect[kRectMinX]), static_cast<LONG>(rect[kRectMinY])},
                        {static_cast<LONG>(rect[kRectMaxX] + 0.5f), static_cast<LONG>(rect[kRectMaxY] + 0.5f)}};
    HDC dc = GetDC(activePlanPane);
    if (dc) {
        LPtoDP(dc, corners, 2);
        ReleaseDC(activePlanPane, dc);
    }
    RECT r = {corners[0].x - 5, corners[0].y - 5, corners[1].x + 5, corners[1].y + 5};
    InvalidateRect(activePlanPane, &r, TRUE);
}

void DrawImage(int16_t event)
{
    if (!activePlanPane)
        return;
    HDC dc = GetDC(activePlanPane);
    if (!dc)
        return;
    RECT client;
    GetClientRect(activePlanPane, &client);
    DPtoLP(dc, reinterpret_cast<POINT*>(&client), 2);
    uint32_t flags = DrawSelectedOnly | DrawXorPreview | DrawPreviewRotate | DrawPreviewSelectedPoints;
    if (event == kToolPress)
        flags |= DrawRed;
    if (ShiftHeld())
        flags |= DrawPreviewConstrain;
    RedrawPlan(dc, activeDocument->firstFloor, &client, flags, &planMouseState.drag);
    ReleaseDC(activePlanPane, dc);
}

}  // namespace

void RotateSelection(float x, float y, float z, int16_t event)
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = document ? document->settings : nullptr;
    if (!settings)
        return;
    DragTransform& drag = planMouseState.drag;
    if (event == kToolPress) {
        ShowSizeReadout(0.0f, 0.0f, 0.0f);
        ResetExtentBox(state.box);
        GetAllFloorsBoxExtents3D(document->firstFloor, 1, state.box, 0);
        ResetExtentRect(state.viewRect);
        GetAllFloorsViewExtents(document->firstFloor, 1, state.viewRect, 0, 1);
    }
    const uint16_t plane = settings->viewPlane;
    int a1, a2;
    PlaneAxes(plane, &a1, &a2);
    float centre[3] = {0.0f, 0.0f, 0.0f};
    for (int axis : {a1, a2}) {
        const int low = BoxMinSlotOfAxis(axis);
        centre[axis] = (state.box[low + 3] - state.box[low]) / 2.0f + state.box[low];
    }
    float point[3] = {x, y, z};
    if (plane == 2 && !ShiftHeld())
        SnapAboutCentre(centre, point);
    for (int i = 0; i < 3; ++i)
        drag.centre[i] = centre[i];
    float distance = 0.0f;
    const float angle = AngleBetweenPoints(centre[a1], centre[a2], point[a1], point[a2], &distance);
    if (event == kToolPress)
        drag.startAngle = angle;
    drag.currentAngle = angle;
    const float turn = AngleDifference(drag.startAngle, angle);
    if (plane == 2) {
        // The readout rounds: a snapped turn that comes out a hair short of its step
        // must not lose a degree, nor a hair short of a full turn read 360.
        double degrees = turn * kDegreesPerRadian;
        if (degrees < 0.0)
            degrees += 360.0;
        if (degrees >= 359.5)
            degrees -= 360.0;
        ShowAngleReadout(static_cast<float>(degrees));
    }
    if (planMouseState.object)
        DrawImage(event);
    if (event != kToolRelease)
        return;
    if (plane == 2) {
        planMouseState.dragEnd[0] = point[0];
        planMouseState.dragEnd[2] = point[2];
    }
    const float* start = planMouseState.dragStart;
    const float* end = planMouseState.dragEnd;
    if (start[0] != end[0] || start[1] != end[1] || start[2] != end[2]) {
        InvalidateViewRect(state.viewRect);
        undoAvailable = 1;
        // The undo turns back about the same centre.
        undoRecord.rotateAngle = turn;
        for (int i = 0; i < 3; ++i)
            undoRecord.rotateCentre[i] = centre[i];
        TransformRecord record = {};
        record.angle = turn;
        for (int i = 0; i < 3; ++i)
            record.centre[i] = centre[i];
        HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        ForEachFloorObject(document->firstFloor, 1, Rotate, &record);
        SetCursor(previous);
        float after[4];
        ResetExtentRect(after);
        GetAllFloorsViewExtents(document->firstFloor, 1, after, 0, 1);
        InvalidateViewRect(after);
    }
    ReleaseToolCapture();
    InvalidatePlanView();
    ShowAngleReadout(32000.0f);
}
