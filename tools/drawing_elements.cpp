#include "tools/drawing_elements.h"
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "tools/marquee.h"
#include "tools/shape_tools.h"

namespace {

// The indexes of the two shown coordinates of a view plane.
void PlaneAxes(uint16_t viewPlane, int* across, int* down)
{
    *across = 0;
    *down = 2;
    if (viewPlane == 1) {
        *down = 1;
    } else if (viewPlane == 3) {
        *across = 2;
        *down = 1;
    }
}

}  // namespace

void ToViewPlane(uint16_t viewPlane, const float* point, float* a, float* b)
{
    int across, down;
    PlaneAxes(viewPlane, &across, &down);
    *a = point[across];
    *b = point[down];
}

void FromViewPlane(uint16_t viewPlane, float a, float b, const float* third, float* point)
{
    int across, down;
    PlaneAxes(viewPlane, &across, &down);
    const int other = 3 - across - down;
    point[other] = third[other];
    point[across] = a;
    point[down] = b;
}

float ThirdCoordinate(uint16_t viewPlane, const float* point)
{
    int across, down;
    PlaneAxes(viewPlane, &across, &down);
    return point[3 - across - down];
}

float RoundWhole(float value)
{
    return std::trunc(value + 0.5f);
}

void RoundPoint(const float* point, float* rounded)
{
    for (int i = 0; i < 3; ++i)
        rounded[i] = RoundWhole(point[i]);
}

bool SameWholePoint(const float* a, const float* b)
{
    for (int i = 0; i < 3; ++i) {
        const int16_t first = static_cast<int16_t>(static_cast<int32_t>(a[i] + 0.5f));
        const int16_t second = static_cast<int16_t>(static_cast<int32_t>(b[i] + 0.5f));
        if (first != second)
            return false;
    }
    return true;
}

void ComputeQuarterArcBox(int16_t modifiers, float sA, float sB, float qA, float qB, float box[4],
                          float* startDegrees)
{
    int32_t rect[4];
    ComputeRubberBandBox(modifiers, sA, sB, qA, qB, box, rect, 0, 0);
    float& top = box[0];
    float& left = box[1];
    float& bottom = box[2];
    float& right = box[3];
    // The box grows away from the press, so that its centre is the corner the two points
    // do not share and both lie on the ellipse.
    if (qA >= sA)
        right = 2.0f * right - left;
    else
        left = 2.0f * left - right;
    if (qB >= sB)
        top = 2.0f * top - bottom;
    else
        bottom = 2.0f * bottom - top;
    if (qA >= sA)
        *startDegrees = qB >= sB ? -90.0f : -180.0f;
    else
        *startDegrees = qB >= sB ? 0.0f : 90.0f;
}

bool MakeArcArrays(HDC dc, const float box[4], float startDegrees, float sweepDegrees,
                   uint16_t viewPlane, float third, PointArrays* arrays, uint32_t* count)
{
    *count = 0;
    uint32_t points = 0;
    ComputeArcPoints(dc, box, startDegrees, sweepDegrees, viewPlane, third, nullptr, nullptr,
                     nullptr, 0, &points, 0);
    if (points == 0 || !arrays->Allocate(static_cast<int32_t>(points), 3))
        return false;
    ComputeArcPoints(dc, box, startDegrees, sweepDegrees, viewPlane, third,
                     reinterpret_cast<float(*)[3]>(arrays->items[0]),
                     reinterpret_cast<float(*)[3]>(arrays->items[1]),
                     reinterpret_cast<float(*)[3]>(arrays->items[2]), 0, &points, 0);
    if (points == 0)
        return false;
    arrays->items[1][0] = {0.0f, 0.0f, 0.0f};
    arrays->items[2][points - 1] = {0.0f, 0.0f, 0.0f};
    *count = points;
    return true;
}

PlanObject* MakeDrawingElement(const Point3f* points, const Point3f* inTangents,
                               const Point3f* outTangents, int32_t count, uint32_t shapeKind,
                               uint8_t closed)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings || !document->currentFloor || !points)
        return nullptr;
    if (count < (closed ? 3 : 2))
        return nullptr;
    PlanObject* element =
        closed ? CreateSolidFromArrays(points, nullptr, inTangents, outTangents, nullptr, nullptr,
                                       count, document->currentFloor, 1)
               : CreateSurfaceFromArrays(points, nullptr, inTangents, outTangents, nullptr, nullptr,
                                         count, document->currentFloor, 1);
    if (!element)
        return nullptr;
    element->type = ObjDrawingElement;
    element->subType = shapeKind;
    element->category = document->settings->activeCategory;
    return element;
}

POINT ProjectToPane(const float* point)
{
    float x = point[0], y = point[1], z = point[2];
    TransformPointToView(&x, &y, &z, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    if (perspectiveOn)
        ApplyPerspective(&x, &y, &z, viewerDistance, 0.0f, 0.0f, 0.0f);
    const POINT projected = {static_cast<int16_t>(static_cast<int32_t>(x + 0.5f)),
                             static_cast<int16_t>(static_cast<int32_t>(y + 0.5f))};
    return projected;
}

void PostPointerMoveToPane(POINT logical)
{
    if (!activePlanPane)
        return;
    POINT client = logical;
    if (HDC dc = GetDC(activePlanPane)) {
        LPtoDP(dc, &client, 1);
        ReleaseDC(activePlanPane, dc);
    }
    PostMessageA(activePlanPane, WM_MOUSEMOVE, 0,
                 MAKELPARAM(static_cast<int16_t>(client.x), static_cast<int16_t>(client.y)));
}
