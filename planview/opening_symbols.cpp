#include "planview/opening_symbols.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "planview/dimension_lines.h"
#include "planview/output_routing.h"
#include "planview/symbol_lines.h"
#include "shell/camera_presets.h"
#include "tools/shape_tools.h"     // ComputeArcPoints, the swing's arc
#include <math.h>

namespace {

const float kPi = 3.14159265358979f;
const float kQuarterTurn = kPi / 2.0f;
const double kRadiansToDegrees = 57.29577951308232;
const uint16_t kSwingCounterClockwise = 4;

// What every opening symbol reads: the jambs J1 and J2 on the wall's centre line, the
// record and half the wall's thickness.
struct Opening {
    const OpeningRecord* record;
    PlanPoint j1, j2;
    float halfWall;
};

bool ReadOpening(const PlanObject* object, Opening* opening)
{
    const PlanSettings* settings = activeDocument ? activeDocument->settings : nullptr;
    if (!settings || !object || !object->link || !object->owner || !object->firstVertex ||
        !object->firstVertex->next)
        return false;
    const PlanVertex* first = object->firstVertex;
    opening->record = static_cast<const OpeningRecord*>(object->link);
    opening->j1 = {first->position[0], first->position[2]};
    opening->j2 = {first->next->position[0], first->next->position[2]};
    opening->halfWall = UnitsToPlanLength(object->owner->size, settings, 0) / 2.0f;
    return true;
}

// The jambs ordered by the hinge side: hinge side set gives H = J1 (reversed: H = J2).
void HingeOrder(const Opening& o, bool reversed, PlanPoint* h, PlanPoint* k)
{
    const bool first = (o.record->hingeSide != 0) != reversed;
    *h = first ? o.j1 : o.j2;
    *k = first ? o.j2 : o.j1;
}

bool IsSwinging(uint16_t style)
{
    return style == 501 || (style >= 506 && style <= 509);
}

PlanPoint Rounded(PlanPoint p)
{
    return {static_cast<float>(static_cast<long>(p.x + 0.5f)),
            static_cast<float>(static_cast<long>(p.z + 0.5f))};
}

// The rectangle across the wall from H to K reaching reach beyond the centre line on
// each side, in the order the cut and the window draw it; its long edges are 0-1 and
// 2-3.
void AcrossWall(PlanPoint h, PlanPoint k, float reach, PlanPoint corners[4])
{
    const float theta = DirectionTo(h, k);
    const float back = DirectionTo(k, h);
    corners[0] = PolarFrom(h, theta + kQuarterTurn, reach);
    corners[1] = PolarFrom(k, back - kQuarterTurn, reach);
    corners[2] = PolarFrom(k, back + kQuarterTurn, reach);
    corners[3] = PolarFrom(h, theta - kQuarterTurn, reach);
}

// A rectangle across the wall, filled with the background colour and outlined with the
// pen colour; a DXF export gets its two long edges.
void DrawWallOpening(HDC dc, const PlanPoint corners[4], COLORREF outline)
{
    if (exportDxf2D || exportDxf3D) {
        DrawPlanSegment(dc, corners[0], corners[1]);
        DrawPlanSegment(dc, corners[2], corners[3]);
    }
    ScopedBrush brush(dc, PlanBackgroundColour());
    ScopedPen pen(dc, PS_SOLID, 1, outline);
    DrawPlanPolygon(dc, corners, 4);
}

} // namespace

void DrawDoorSwing(HDC dc, PlanPoint h, PlanPoint k, PlanPoint e, float theta, float w,
                   uint16_t flags, COLORREF colour)
{
    (void)k;
    // A circle of radius w - 3 about the hinge.
    const float box[4] = {static_cast<float>(static_cast<long>(h.z - w) + 3),
                          static_cast<float>(static_cast<long>(h.x - w) + 3),
                          static_cast<float>(static_cast<long>(h.z + w) - 3),
                          static_cast<float>(static_cast<long>(h.x + w) - 3)};
    float a = DirectionTo(h, e);
    double start = theta * kRadiansToDegrees;
    if (start < 0.0)
        start += 360.0;

    // The leaf from 5 units off the hinge to w + 5 along the open direction.
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(a, w + 5.0f, &dx, &dz);
    const PlanPoint f = {h.x + static_cast<float>(static_cast<long>(dx)),
                         h.z + static_cast<float>(static_cast<long>(dz))};
    float reach = 0.0f;
    const float towardHinge = DirectionTo(f, h, &reach);
    const PlanPoint g = PolarFrom(f, towardHinge, reach - 5.0f);

    // The sweep from the closed position, counter-clockwise with the swing-sense bit,
    // else clockwise.
    float closed = theta;
    if (a > kPi)
        a -= 2.0f * kPi;
    if (closed > kPi)
        closed -= 2.0f * kPi;
    double sweep = (a - closed) * kRadiansToDegrees;
    if (sweep < 0.0)
        sweep += 360.0;
    if (!(flags & kSwingCounterClockwise))
        sweep -= 360.0;
    const long r = static_cast<long>(sweep + 0.5);
    if (!((r >= -179 && r <= -3) || (r >= 3 && r <= 180)))
        return;
    uint32_t count = 0;
    ComputeArcPoints(dc, box, static_cast<float>(start), static_cast<float>(sweep), 2, 0.0f,
                     nullptr, nullptr, nullptr, 1, &count, 0);
    ScopedPen pen(dc, PS_SOLID, 1, colour);
    DrawPlanSegment(dc, g, f);
}

void DrawDoorCommon(HDC dc, PlanObject* door)
{
    Opening o;
    if (!ReadOpening(door, &o))
        return;
    const uint16_t style = o.record->style;
    PlanPoint h, k;
    HingeOrder(o, false, &h, &k);
    float w = 0.0f;
    const float theta = DirectionTo(h, k, &w);
    const float back = DirectionTo(k, h);
    const COLORREF line = PlanLineColour();

    // The wall cut open 3 units beyond each face.
    PlanPoint cut[4];
    AcrossWall(h, k, o.halfWall + 3.0f, cut);
    DrawWallOpening(dc, cut, PlanBackgroundColour());

    ScopedPen dotted(dc, PS_DOT, 1, line);
    switch (style) {
    case 500: case 504: case 505:
        DrawPlanSegment(dc, PolarFrom(h, theta + kQuarterTurn, o.halfWall),
                        PolarFrom(k, back - kQuarterTurn, o.halfWall));
        DrawPlanSegment(dc, PolarFrom(h, theta - kQuarterTurn, o.halfWall),
                        PolarFrom(k, back + kQuarterTurn, o.halfWall));
        break;
    case 502: case 510: case 511:
        break;
    default:
        DrawPlanSegment(dc, h, k);
        break;
    }
    if (IsSwinging(style)) {
        // The leaf's end in whole plan units: the hinge rounded, the offset truncated.
        const PlanPoint hinge = Rounded(h);
        float dx = 0.0f, dz = 0.0f;
        OffsetPointPolar(theta + o.record->swingAngle, w, &dx, &dz);
        const PlanPoint e = {hinge.x + static_cast<float>(static_cast<long>(dx)),
                             hinge.z + static_cast<float>(static_cast<long>(dz))};
        DrawDoorSwing(dc, hinge, Rounded(k), e, theta, w, o.record->flags, line);
    }
}

void DrawGarageDoorTrack(HDC dc, PlanObject* door)
{
    Opening o;
    if (!ReadOpening(door, &o))
        return;
    const float alpha = DirectionTo(o.j1, o.j2);
    const float side = o.record->hingeSide == 0 ? alpha - kQuarterTurn : alpha + kQuarterTurn;
    const PlanPoint j1d = PolarFrom(o.j1, side, o.record->height);
    const PlanPoint j2d = PolarFrom(o.j2, side, o.record->height);
    ScopedPen dashed(dc, PS_DASH, 1, PlanLineColour());
    DrawPlanSegment(dc, o.j1, j1d);
    DrawPlanSegment(dc, o.j2, j2d);
    DrawPlanSegment(dc, j1d, j2d);
}

void DrawGlazedSlidingPanels(HDC dc, PlanObject* door)
{
    Opening o;
    if (!ReadOpening(door, &o))
        return;
    PlanPoint h, k;
    HingeOrder(o, true, &h, &k);
    float w = 0.0f;
    const float theta = DirectionTo(h, k, &w);
    const float t = o.halfWall;
    auto plus = [&](PlanPoint p) { return PolarFrom(p, theta + kQuarterTurn, t); };
    auto minus = [&](PlanPoint p) { return PolarFrom(p, theta - kQuarterTurn, t); };
    ScopedPen pen(dc, PS_SOLID, 1, PlanLineColour());
    // One panel on the + side over the first half, one on the - side over the middle.
    const PlanPoint m = PolarFrom(h, theta, w / 2.0f);
    DrawPlanSegment(dc, plus(m), m);
    DrawPlanSegment(dc, plus(m), plus(h));
    DrawPlanSegment(dc, m, h);
    DrawPlanSegment(dc, plus(h), h);
    const PlanPoint q1 = PolarFrom(h, theta, w / 4.0f);
    const PlanPoint q3 = PolarFrom(h, theta, 3.0f * w / 4.0f);
    DrawPlanSegment(dc, minus(q1), q1);
    DrawPlanSegment(dc, minus(q1), minus(q3));
    DrawPlanSegment(dc, q1, q3);
    DrawPlanSegment(dc, minus(q3), q3);
}

void DrawPocketSlidingDoor(HDC dc, PlanObject* door)
{
    Opening o;
    if (!ReadOpening(door, &o))
        return;
    PlanPoint h, k;
    HingeOrder(o, false, &h, &k);
    float w = 0.0f;
    const float theta = DirectionTo(h, k, &w);
    const float back = DirectionTo(k, h);
    const float q = o.halfWall * 0.5f;   // a quarter of the wall's thickness
    auto plus = [&](PlanPoint p) { return PolarFrom(p, theta + kQuarterTurn, q); };
    auto minus = [&](PlanPoint p) { return PolarFrom(p, theta - kQuarterTurn, q); };
    {
        // The pocket inside the wall beyond the hinge jamb, light on the filled wall.
        ScopedPen pocket(dc, PS_SOLID, 1, PlanBackgroundColour());
        const PlanPoint p = PolarFrom(h, back, w / 2.0f);
        DrawPlanSegment(dc, plus(p), minus(p));
        DrawPlanSegment(dc, plus(p), plus(h));
        DrawPlanSegment(dc, minus(p), minus(h));
    }
    ScopedPen panel(dc, PS_SOLID, 1, PlanLineColour());
    const PlanPoint m = PolarFrom(h, theta, w / 2.0f);
    DrawPlanSegment(dc, plus(m), minus(m));
    DrawPlanSegment(dc, plus(m), plus(h));
    DrawPlanSegment(dc, minus(m), minus(h));
}

void DrawFoldingDoor(HDC dc, PlanObject* door)
{
    Opening o;
    if (!ReadOpening(door, &o))
        return;
    float w = 0.0f;
    const float alpha = DirectionTo(o.j1, o.j2, &w);
    const float side = o.record->hingeSide == 0 ? alpha - kQuarterTurn : alpha + kQuarterTurn;
    const PlanPoint f = PolarFrom(o.j1, alpha, 0.8f * w);
    const PlanPoint apex = PolarFrom(PolarFrom(o.j1, alpha, 0.4f * w), side, 0.2f * w);
    ScopedPen pen(dc, PS_SOLID, 1, PlanLineColour());
    DrawPlanSegment(dc, o.j1, apex);
    DrawPlanSegment(dc, apex, f);
}

void DrawDoorSymbol(HDC dc, PlanObject* door, const RECT*, uint32_t, const DragTransform*)
{
    Opening o;
    if (!ReadOpening(door, &o))
        return;
    DrawDoorCommon(dc, door);
    switch (o.record->style) {
    case 502: DrawGlazedSlidingPanels(dc, door); break;
    case 503: DrawGarageDoorTrack(dc, door); break;
    case 510: DrawPocketSlidingDoor(dc, door); break;
    case 511: DrawFoldingDoor(dc, door); break;
    default: break;
    }
}

void DrawWindowSymbol(HDC dc, PlanObject* window, const RECT*, uint32_t, const DragTransform*)
{
    Opening o;
    if (!ReadOpening(window, &o) || GetCameraPresetCommand() != ViewTop || perspectiveOn)
        return;
    // A framed blank across the wall, 4 units beyond each face, whatever the style.
    PlanPoint frame[4];
    AcrossWall(o.j2, o.j1, o.halfWall + 4.0f, frame);
    DrawWallOpening(dc, frame, PlanLineColour());
}
