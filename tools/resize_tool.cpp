#include "tools/resize_tool.h"
#include <cmath>
#include <initializer_list>
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "planview/selection_marks.h"
#include "shell/camera_presets.h"
#include "shell/measurement_bar.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

const float kLeastSize = 10.0f;
const float kNarrowHalf = 4.0f;

struct ResizeState {
    float box[6];           // the selection's 3D box at the press
    float viewRect[4];      // its view rectangle
    float minimum[3];       // least factor magnitude per axis
    uint16_t savedViewPlane;
    bool ctrlDrag;
} state;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

void PlaneAxes(uint16_t plane, int* first, int* second)
{
    *first = plane == 3 ? 2 : 0;
    *second = plane == 2 ? 2 : 1;
}

bool InPresetView(int view)
{
    return view == ViewTop || view == ViewLeft || view == ViewRight || view == ViewFront ||
           view == ViewBack;
}

// The grabbed side of each shown axis: the press moves onto the nearer side, the other
// one is fixed.
void GrabSides(int a1, int a2)
{
    DragTransform& drag = planMouseState.drag;
    for (int axis : {a1, a2}) {
        const float lo = state.box[BoxMinSlotOfAxis(axis)];
        const float hi = state.box[BoxMinSlotOfAxis(axis) + 3];
        const float middle = (hi - lo) / 2.0f + lo;
        if (drag.start[axis] <= middle) {
            drag.centre[axis] = hi;
            drag.start[axis] = lo;
        } else {
            drag.centre[axis] = lo;
            drag.start[axis] = hi;
        }
        // A selection flat along the axis has no least size there: it keeps factor 1.
        const float extent = drag.centre[axis] - drag.start[axis];
        state.minimum[axis] = extent != 0.0f ? std::fabs(kLeastSize / extent) : 0.0f;
    }
    for (int axis : {a1, a2}) {
        const float lo = state.box[BoxMinSlotOfAxis(axis)];
        const float hi = state.box[BoxMinSlotOfAxis(axis) + 3];
        const float middle = (hi - lo) / 2.0f + lo;
        if (drag.start[axis] > middle - kNarrowHalf && drag.start[axis] < middle + kNarrowHalf) {
            drag.centre[axis] = middle;
            drag.current[axis] = drag.start[axis];
            break;
        }
    }
    if (state.ctrlDrag && Settings()->viewPlane == 1)
        drag.current[0] = drag.start[0];
}

void Factors(int a1, int a2, float factors[3])
{
    const DragTransform& drag = planMouseState.drag;
    for (int i = 0; i < 3; ++i)
        factors[i] = 1.0f;
    for (int axis : {a1, a2}) {
        float f = ScaleRatio(drag.start[axis], drag.current[axis], drag.centre[axis]);
        if (!std::isfinite(f))
            f = 1.0f;
        if (std::fabs(f) < state.minimum[axis])
            f = f < 0.0f ? -state.minimum[axis] : state.minimum[axis];
        if (f == 0.0f)
            f = 1.0f;
        factors[axis] = f;
    }
    if (ShiftHeld()) {
        if (std::fabs(factors[a1]) <= std::fabs(factors[a2]))
            factors[a1] = 1.0f;
        else
            factors[a2] = 1.0f;
    }
    if (state.ctrlDrag)
        factors[0] = 1.0f;
}

void ShowScaledSize(const float factors[3])
{
    const PlanSettings* settings = Settings();
    const float width = (state.box[kBoxMaxX] - state.box[kBoxMinX]) * factors[0];
    const float depth = (state.box[kBoxMaxZ] - state.box[kBoxMinZ]) * factors[2];
    const float height = (state.box[kBoxMaxY] - state.box[kBoxMinY]) * factors[1];
    ShowSizeReadout(PlanLengthToUnits(std::fabs(width), settings, 0), PlanLengthToUnits(std::fabs(depth), settings, 0),
                    PlanLengthToUnits(std::fabs(height), settings, 0));
}

void InvalidateSelectionView(const float* rect)
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

void DrawFeedback(PlanObject* object, int16_t event, const float factors[3])
{
    if (!activePlanPane)
        return;
    HDC dc = GetDC(activePlanPane);
    if (!dc)
        return;
    const DragTransform& drag = planMouseState.drag;
    const int view = GetCameraPresetCommand();
    const bool pointEditing = currentToolId == kPointEditToolId;
    if (!(pointEditing && !InPresetView(view))) {
        float scaled[6];
        for (int i = 0; i < 3; ++i) {
            const int axis = i == 0 ? 1 : i == 1 ? 0 : 2;   // box order: height, x, z
            for (int k : {i, i + 3})
                scaled[k] = (state.box[k] - drag.centre[axis]) * factors[axis] + drag.centre[axis];
        }
        DrawDottedBoundingBox(dc, scaled);
    }
    if (!InPresetView(view)) {
        bool differs = pointEditing || object->type == ObjLine;
        for (int i = 0; i < 4 && !differs; ++i)
            differs = std::trunc(state.viewRect[i]) != std::trunc(object->box2D[i]);
        if (differs) {
            RECT client;
            GetClientRect(activePlanPane, &client);
            DPtoLP(dc, reinterpret_cast<POINT*>(&client), 2);
            uint32_t flags = DrawSelectedOnly | DrawXorPreview | DrawPreviewScale | DrawPreviewSelectedPoints;
            if (event == kToolPress)
                flags |= DrawRed;
            if (ShiftHeld())
                flags |= DrawPreviewConstrain;
            RedrawPlan(dc, activeDocument->firstFloor, &client, flags, &planMouseState.drag);
        }
    }
    ReleaseDC(activePlanPane, dc);
}

}  // namespace

void ResizeSelection(float, float, int16_t event)
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = Settings();
    if (!settings)
        return;
    if (event == kToolPress) {
        state = {};
        for (float& f : undoRecord.resizeFactors)
            f = 1.0f;
        ResetExtentBox(state.box);
        GetAllFloorsBoxExtents3D(document->firstFloor, 1, state.box, 0);
        ResetExtentRect(state.viewRect);
        GetAllFloorsViewExtents(document->firstFloor, 1, state.viewRect, 0, 1);
        state.ctrlDrag = CtrlHeld() && GetCameraPresetCommand() != ViewTop;
        if (state.ctrlDrag) {
            state.savedViewPlane = settings->viewPlane;
            settings->viewPlane = 1;
        }
    }
    int a1, a2;
    PlaneAxes(settings->viewPlane, &a1, &a2);
    GrabSides(a1, a2);
    float factors[3];
    Factors(a1, a2, factors);
    PlanObject* object = planMouseState.object;
    if (object) {
        ShowScaledSize(factors);
        DrawFeedback(object, event, factors);
    }
    if (event != kToolRelease)
        return;
    if (object)
        InvalidateSelectionView(state.viewRect);
    undoAvailable = 1;
    TransformRecord record = {};
    for (int i = 0; i < 3; ++i) {
        record.scale[i] = factors[i];
        record.centre[i] = planMouseState.drag.centre[i];
    }
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    ForEachFloorObject(document->firstFloor, 1, Resize, &record);
    SetCursor(previous);
    // The undo keeps every factor and the whole fixed point: a height scaled in a side
    // view comes back too.
    for (int i = 0; i < 3; ++i) {
        undoRecord.resizeFactors[i] = factors[i];
        undoRecord.resizeFixedPoint[i] = record.centre[i];
        planMouseState.resizeFactors[i] = factors[i];
    }
    float after[4];
    ResetExtentRect(after);
    GetAllFloorsViewExtents(document->firstFloor, 1, after, 0, 1);
    InvalidateSelectionView(after);
    ShowScaledSize(factors);
    ReleaseToolCapture();
    if (state.ctrlDrag)
        settings->viewPlane = state.savedViewPlane;
}
