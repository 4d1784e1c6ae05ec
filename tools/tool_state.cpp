#include "tools/tool_state.h"
#include "model/plan_document.h"
#include <cstring>
#include <cstddef>
#include "model/object_extents.h"
#include "planview/plan_redraw.h"
#include "tools/plan_mouse_state.h"
#include "tools/undo.h"

short currentToolId = -1;
short previousToolId = 0;
uint32_t mouseCaptured = 0;
uint8_t toolDragActive = 0;
PlanObject* pendingObject = nullptr;
uint8_t returnToWallTool = 0;
int savedDrawMode = R2_COPYPEN;
PlanMouseState planMouseState = {};

void ReleaseToolCapture()
{
    mouseCaptured = 0;
    ReleaseCapture();
}

void CopyHitPart(PlanMouseState* target, const PlanMouseState* source)
{
    if (target && source && target != source)
        memcpy(target, source, offsetof(PlanMouseState, modifiers));
}

void InvalidateViewExtents(const float* extents)
{
    if (!activePlanPane || extents[kRectMinX] > extents[kRectMaxX])
        return;
    POINT corners[2] = {{static_cast<LONG>(extents[kRectMinX] + 0.5f), static_cast<LONG>(extents[kRectMinY] + 0.5f)},
                        {static_cast<LONG>(extents[kRectMaxX] + 0.5f), static_cast<LONG>(extents[kRectMaxY] + 0.5f)}};
    HDC dc = GetDC(activePlanPane);
    if (dc) {
        LPtoDP(dc, corners, 2);
        ReleaseDC(activePlanPane, dc);
    }
    RECT rect = {corners[0].x - 5, corners[0].y - 5, corners[1].x + 5, corners[1].y + 5};
    InvalidateRect(activePlanPane, &rect, TRUE);
}

void InvalidateObjectView(PlanObject* object)
{
    if (!object || !activePlanPane)
        return;
    float extents[4];
    ResetExtentRect(extents);
    AddObjectViewExtents(object, 0, extents, 0, 1);
    InvalidateViewExtents(extents);
}

void CompleteCreation(PlanObject* object)
{
    if (object) {
        pendingObject = object;
        undoAvailable = 1;
        // The whole pane: the length labels of a new shape's segments lie beside its
        // box, and a repaint of the box alone would leave them out until the next one.
        InvalidatePlanView();
    }
    ReleaseToolCapture();
}
