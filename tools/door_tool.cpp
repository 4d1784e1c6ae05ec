#include "tools/door_tool.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/wall_openings.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/segment_dimensions.h"
#include "shell/camera_presets.h"
#include "tools/plan_mouse_state.h"
#include "tools/point_mapping.h"
#include "tools/tool_state.h"

namespace {
// An opening keeps this clear of each end of its segment.
const float kSegmentMargin = 3.0f;
// ... and this clear of the span while it is dragged, when it fits.
const float kSpanClearance = 5.0f;
const float kSideProbe = 100.0f;
const uint16_t kWindowTypeCode = 17;

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

float Whole(float value)
{
    return static_cast<float>(static_cast<int32_t>(value + 0.5f));
}

// The pane's DC, inverting, and the grid snap of a section drag, put back at its end.
class SectionDrag {
public:
    explicit SectionDrag(PlanSettings* settings) : settings(settings)
    {
        snapX = settings->snapStepX;
        snapY = settings->snapStepY;
        settings->snapStepX = 1.0f;
        settings->snapStepY = 1.0f;
        dc = activePlanPane ? GetDC(activePlanPane) : nullptr;
        if (!dc)
            return;
        widePen = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
        thinPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        dottedPen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
        previousPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        previousMode = SetROP2(dc, R2_NOTXORPEN);
    }
    ~SectionDrag()
    {
        if (dc) {
            SetROP2(dc, previousMode);
            if (previousPen)
                SelectObject(dc, previousPen);
            ReleaseDC(activePlanPane, dc);
        }
        for (HPEN pen : {widePen, thinPen, dottedPen})
            if (pen)
                DeleteObject(pen);
        settings->snapStepX = snapX;
        settings->snapStepY = snapY;
    }
    SectionDrag(const SectionDrag&) = delete;
    SectionDrag& operator=(const SectionDrag&) = delete;

    // The opening between its ends at the base height, the jambs up the storey height,
    // and the dimensions of the openings along the segment.
    void Draw(const float* first, const float* second, float base, float storey, uint16_t typeCode)
    {
        if (!dc)
            return;
        Line(widePen, first[0], base, first[1], second[0], base, second[1]);
        if (typeCode == kWindowTypeCode)
            Line(thinPen, first[0], base, first[1], second[0], base, second[1]);
        Line(dottedPen, first[0], base, first[1], first[0], base - storey, first[1]);
        Line(dottedPen, second[0], base, second[1], second[0], base - storey, second[1]);
        const float middle[2] = {(first[0] + second[0]) / 2.0f, (first[1] + second[1]) / 2.0f};
        SelectObject(dc, thinPen ? static_cast<HGDIOBJ>(thinPen) : GetStockObject(BLACK_PEN));
        DrawOpeningDimensions(dc, wall, start, end, 1, middle, moving);
    }

    PlanObject* wall = nullptr;
    PlanVertex* start = nullptr;
    PlanVertex* end = nullptr;
    PlanObject* moving = nullptr;

private:
    void Line(HPEN pen, float x1, float y1, float z1, float x2, float y2, float z2)
    {
        if (pen)
            SelectObject(dc, pen);
        DrawWorldLine(dc, x1, y1, z1, x2, y2, z2, 1);
    }

    PlanSettings* settings;
    float snapX = 1.0f;
    float snapY = 1.0f;
    HDC dc = nullptr;
    HPEN widePen = nullptr;
    HPEN thinPen = nullptr;
    HPEN dottedPen = nullptr;
    HGDIOBJ previousPen = nullptr;
    int previousMode = R2_COPYPEN;
};

// In the side views a placed opening follows the pointer along the view's axis: the
// point is where the wall line crosses a line through the pointer.
void FollowSideView(const PlanVertex* start, const PlanVertex* end, float* x, float* z)
{
    const int view = GetCameraPresetCommand();
    const float sx = start->position[0], sz = start->position[2];
    const float ex = end->position[0], ez = end->position[2];
    float ix = *x, iz = *z;
    if (view == ViewLeft || view == ViewRight)
        IntersectLines(sx, sz, ex, ez, *x - kSideProbe, *z, *x + kSideProbe, *z, &ix, &iz);
    else if (view == ViewFront || view == ViewBack)
        IntersectLines(sx, sz, ex, ez, *x, *z - kSideProbe, *x, *z + kSideProbe, &ix, &iz);
    else
        return;
    if (ix != kNoIntersection || iz != kNoIntersection) {
        *x = ix;
        *z = iz;
    }
}

// The opening's ends for the pointer at (x, z): the drag rule, and for an opening too
// wide to keep 5.0 inside the span, a place that keeps both ends on the section.
void PlaceOnSection(const PlanVertex* start, const PlanVertex* end, float width, float low,
                    float high, float x, float z, float* first, float* second, uint8_t resizeFirst,
                    uint8_t resizeSecond)
{
    ComputeOpeningPositions(start, end, width, low, high, x, z, first, second, resizeSecond,
                            resizeFirst);
    if (resizeFirst || resizeSecond || width <= high - low - 2.0f * kSpanClearance)
        return;
    const float sx = start->position[0], sz = start->position[2];
    float length = 0.0f;
    const float angle = AngleBetweenPoints(sx, sz, end->position[0], end->position[2], &length);
    float along = Distance2D(sx, sz, x, z) - width / 2.0f;
    const float most = high - width > low ? high - width : low;
    if (along > most)
        along = most;
    if (along < low)
        along = low;
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(angle, along, &dx, &dz);
    first[0] = sx + dx;
    first[1] = sz + dz;
    OffsetPointPolar(angle, along + width, &dx, &dz);
    second[0] = sx + dx;
    second[1] = sz + dz;
}

}  // namespace

// Not built yet: a release only ends the gesture.
void HandleDoorTool(float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

float GetWallSectionSpan(float, float, const PlanVertex* segmentStart,
                         const PlanVertex* segmentEnd, float* low, float* high)
{
    float length = 0.0f;
    if (segmentStart && segmentEnd)
        length = Distance2D(segmentStart->position[0], segmentStart->position[2],
                            segmentEnd->position[0], segmentEnd->position[2]);
    if (low)
        *low = kSegmentMargin;
    if (high)
        *high = length - kSegmentMargin;
    return length - 2.0f * kSegmentMargin;
}

bool DrawOpeningPreviewXor(PlanObject* wall, PlanVertex* segmentStart, PlanVertex* segmentEnd,
                           const float* parameters, float, float low, float high, float pointerX,
                           float pointerZ, float* firstEnd, float* secondEnd, uint8_t resizeFirst,
                           uint8_t resizeSecond, uint16_t typeCode, OpeningRecord* existing,
                           PlanObject* existingObject, uint8_t)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || !wall || !segmentStart || !segmentEnd || !parameters || !firstEnd || !secondEnd)
        return false;
    const float width = parameters[0];
    const PlanFloor* floor = activeDocument->currentFloor;
    const float storey = UnitsToPlanLength(floor ? floor->height : kDefaultFloorHeight, settings, 0);
    const float base = segmentStart->position[1];
    // A placed opening keeps the pointer's offset from its centre.
    const float sx = segmentStart->position[0], sz = segmentStart->position[2];
    float length = 0.0f;
    const float angle =
        AngleBetweenPoints(sx, sz, segmentEnd->position[0], segmentEnd->position[2], &length);
    // A grabbed end follows the pointer itself: the offset from the centre would put it
    // half a width beyond.
    const float offset = existing && !resizeFirst && !resizeSecond
                             ? Distance2D(sx, sz, pointerX, pointerZ) - existing->distanceFromStart
                             : 0.0f;
    auto place = [&](float x, float z) {
        if (existing) {
            FollowSideView(segmentStart, segmentEnd, &x, &z);
            float dx = 0.0f, dz = 0.0f;
            OffsetPointPolar(angle, Distance2D(sx, sz, x, z) - offset, &dx, &dz);
            x = sx + dx;
            z = sz + dz;
        }
        PlaceOnSection(segmentStart, segmentEnd, width, low, high, x, z, firstEnd, secondEnd,
                       resizeFirst, resizeSecond);
    };

    SectionDrag drag(settings);
    drag.wall = wall;
    drag.start = segmentStart;
    drag.end = segmentEnd;
    drag.moving = existingObject;
    place(pointerX, pointerZ);
    drag.Draw(firstEnd, secondEnd, base, storey, typeCode);
    bool moved = false;
    float lastX = Whole(pointerX);
    float lastZ = Whole(pointerZ);
    while (IsMouseButtonDown()) {
        const POINT cursor = GetCursorLogicalPos();
        float x = 0.0f, y = 0.0f, z = 0.0f;
        MapPlanPointToModel(cursor.x, cursor.y, &x, &y, &z, 1, &planMouseState, 1);
        x = Whole(x);
        z = Whole(z);
        if (x == lastX && z == lastZ)
            continue;
        lastX = x;
        lastZ = z;
        drag.Draw(firstEnd, secondEnd, base, storey, typeCode);
        place(x, z);
        drag.Draw(firstEnd, secondEnd, base, storey, typeCode);
        moved = true;
    }
    drag.Draw(firstEnd, secondEnd, base, storey, typeCode);
    return moved;
}
