#include "tools/curved_stair_tool.h"
#include "model/object_copies.h"
#include "model/outline_offsets.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/direction_arrow.h"
#include "model3d/rebuild_driver.h"
#include "model3d/stairs.h"
#include "planview/input_gdi.h"
#include "planview/plan_redraw.h"
#include "tools/drawing_elements.h"
#include "tools/plan_mouse_state.h"
#include "tools/point_mapping.h"
#include "tools/shape_tools.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

const uint16_t kPlanView = 2;
const float kQuarterSweep = -90.0f;
const uint32_t kCurvedStairStyle = 801;
const int16_t kDeckStairToolId = 7605;
const uint32_t kStairTexture = 2206;
const uint32_t kDeckStairSideTexture = 2207;
const uint32_t kBuildingStairSideTexture = 1700;
const uint32_t kDeckCategory = 64;
const uint32_t kFloorPlanCategory = 2;
const ColourTriple kUnset = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};

// The walking line from the press p to the pointer q: its box and start angle in the plan.
struct WalkingLine {
    float box[4] = {};
    float start = 0.0f;
    bool drawn = false;
};

void ComputeWalkingLine(const float* p, const float* q, WalkingLine* line)
{
    ComputeQuarterArcBox(static_cast<int16_t>(planMouseState.modifiers), p[0], p[2], q[0], q[2],
                         line->box, &line->start);
}

void DrawWalkingLine(HDC dc, WalkingLine* line, float height)
{
    uint32_t count = 0;
    ComputeArcPoints(dc, line->box, line->start, kQuarterSweep, kPlanView, height, nullptr,
                     nullptr, nullptr, 1, &count, 0);
    line->drawn = !line->drawn;
}

// The second phase: the arc follows the pointer until a button press (one off the pane is
// left for its own work). Returns the last
// current point in q (the press itself when the pointer never moved).
void TrackStairEnd(HDC dc, const float* p, float* q, WalkingLine* line)
{
    // From the drag's end, the first read of the pointer a move (as the dimension's).
    POINT previousCursor = ProjectToPane(planMouseState.dragEnd);
    POINT cursor = GetCursorLogicalPos();
    // A press on the pane ends it where it was made; one elsewhere leaves it as it stands.
    for (bool placed = false, looked = false; !placed; looked = true) {
        MSG message;
        const LoopClick click = looked ? PeekLoopClickOrKey(activePlanPane, &message) : LoopClick::None;
        placed = click == LoopClick::Elsewhere || click == LoopClick::ScrollBar ||
                 (click == LoopClick::Here && message.message != WM_KEYDOWN);
        if (click == LoopClick::Here && placed)
            LoopClickPoint(activePlanPane, message, &cursor);
        else if (placed)
            cursor = previousCursor;
        else if (looked)
            cursor = GetCursorLogicalPos();
        if (cursor.x == previousCursor.x && cursor.y == previousCursor.y && !ShiftKeyToggled())
            continue;
        previousCursor = cursor;
        if (line->drawn)
            DrawWalkingLine(dc, line, p[1]);
        RecordShiftKey();
        MapPlanPointToModel(cursor.x, cursor.y, &q[0], &q[1], &q[2], 1, nullptr, 1);
        ClampPlanPoint(p, q);
        ComputeWalkingLine(p, q, line);
        DrawWalkingLine(dc, line, p[1]);
    }
    if (line->drawn)
        DrawWalkingLine(dc, line, p[1]);
}

PlanObject* MakeStair(HDC dc, PlanDocument* document, const float* p, const float* q,
                      const WalkingLine& line, int16_t toolId)
{
    PlanSettings* settings = document->settings;
    PlanFloor* floor = document->currentFloor;
    PointArrays arrays;
    uint32_t count = 0;
    if (!MakeArcArrays(dc, line.box, line.start, kQuarterSweep, kPlanView, p[1], &arrays, &count))
        return nullptr;
    PlanObject* stair = CreateSurfaceFromArrays(arrays.items[0], nullptr, arrays.items[1],
                                                arrays.items[2], nullptr, nullptr,
                                                static_cast<int32_t>(count), floor, 1);
    if (!stair)
        return nullptr;
    const bool deck = toolId == kDeckStairToolId;
    stair->type = ObjStair;
    stair->subType = kCurvedStairStyle;
    stair->category = deck ? kDeckCategory : kFloorPlanCategory;
    stair->colourA = kUnset;
    stair->colourB = kUnset;
    stair->imageId1 = kStairTexture;
    stair->colour3 = kUnset;
    stair->imageId2 = deck ? kDeckStairSideTexture : kBuildingStairSideTexture;
    stair->colour4 = kUnset;
    stair->parameters[0] = settings->stairWidth;
    stair->parameters[1] = settings->stairRiserHeight;
    stair->parameters[2] = settings->stairTreadDepth;
    stair->parameters[3] = settings->stairRailingHeight;
    stair->parameters[4] = floor->height;
    stair->offsetSide = settings->stairRailingFirstSide ? 1 : 0;
    stair->value4 = settings->stairRailingSecondSide ? 1 : 0;
    for (PlanVertex* vertex = stair->firstVertex; vertex; vertex = vertex->next) {
        vertex->faceTextureA = 0;
        vertex->faceTextureB = 0;
        vertex->faceColourA = kUnset;
        vertex->faceColourB = kUnset;
    }
    ClearObjectVertexSlopes(stair);
    // The arc runs from its end angle back: in two quadrants that is from the pointer,
    // and the walking line must climb from the first click.
    if ((p[0] < q[0] && q[2] < p[2]) || (q[0] < p[0] && p[2] < q[2]))
        ReverseObjectPoints(stair);
    RecomputeObject(stair);
    RebuildStair(stair);
    BuildObject3D(stair);
    return stair;
}

}  // namespace

void HandleCurvedStairTool(int32_t, int32_t, float, float, float, int16_t event)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings || event != kToolRelease)
        return;
    HDC dc = activePlanPane ? GetDC(activePlanPane) : nullptr;
    float p[3] = {planMouseState.dragStart[0], planMouseState.dragStart[1], planMouseState.dragStart[2]};
    // The current point starts at the press: a second click before any move makes nothing.
    float q[3] = {p[0], p[1], p[2]};
    WalkingLine line;
    TrackStairEnd(dc, p, q, &line);
    for (int i = 0; i < 3; ++i)
        planMouseState.dragEnd[i] = q[i];
    PlanObject* stair = nullptr;
    if (dc && document->currentFloor && !SameWholePoint(p, q))
        stair = MakeStair(dc, document, p, q, line, currentToolId);
    if (stair) {
        pendingObject = stair;
        undoAvailable = 1;
        InvalidatePlanView();
    }
    if (dc)
        ReleaseDC(activePlanPane, dc);
    ReleaseToolCapture();
}
