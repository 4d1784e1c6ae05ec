#include "model3d/direction_arrow.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "planview/output_routing.h"

namespace {

constexpr float kStrokeLength = 50.0f;
constexpr float kStrokeSpread = 0.4363323129985824f;  // 25 degrees

// +0.5 and truncation into the 16 bits of the screen road.
int16_t ScreenCoordinate(float v)
{
    float r = v + 0.5f;
    if (!(r == r))
        return 0;
    if (r > 32767.0f)
        return 32767;
    if (r < -32768.0f)
        return -32768;
    return static_cast<int16_t>(r);
}

} // namespace

PlanVertex* ReverseVertexRun(PlanVertex* first, int32_t n)
{
    if (!first || !first->next)
        return nullptr;
    PlanVertex* reversed = nullptr;
    PlanVertex* current = first;
    for (int32_t i = 0; i < n && current; ++i) {
        PlanVertex* next = current->next;
        current->next = reversed;
        if (reversed)
            reversed->previous = current;
        reversed = current;
        current = next;
    }
    if (!reversed)
        return nullptr;
    reversed->previous = nullptr;
    first->next = nullptr;
    return reversed;
}

void ReverseObjectPoints(PlanObject* object)
{
    if (!object)
        return;
    // The whole chain, whatever its stored count says: vertices cut off the end would
    // be lost.
    PlanVertex* head = ReverseVertexRun(object->firstVertex, CountVertexChain(object));
    if (!head)
        return;
    head->previous = nullptr;
    object->firstVertex = head;
}

void DrawDirectionArrow(HDC dc, PlanObject*, float x1, float y1, float x2, float y2)
{
    if (!dc || !activeDocument || !activeDocument->settings)
        return;
    float distance = 0.0f;
    float angle = AngleBetweenPoints(x1, y1, x2, y2, &distance);
    float length = ZoomFloat(kStrokeLength);
    float ends[2][2];
    const float spreads[2] = {angle + kStrokeSpread, angle - kStrokeSpread};
    for (int k = 0; k < 2; ++k) {
        float dx, dy;
        OffsetPointPolar(spreads[k], length, &dx, &dy);
        ends[k][0] = x1 + dx;
        ends[k][1] = y1 + dy;
    }
    for (int k = 0; k < 2; ++k) {
        if (planOutputMode == 1 && planDC) {
            PrintMoveTo(x1, y1);
            PrintLineTo(ends[k][0], ends[k][1]);
        } else {
            MoveTo16(dc, ScreenCoordinate(x1), ScreenCoordinate(y1));
            LineTo(dc, ScreenCoordinate(ends[k][0]), ScreenCoordinate(ends[k][1]));
        }
    }
}
