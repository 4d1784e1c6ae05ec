#include "openings3d/shaped_windows.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model3d/array_objects.h"
#include "openings3d/arch_points.h"
#include "openings3d/opening_parts.h"
#include <initializer_list>

namespace {

const float kHalfPi = 1.5707963267948966f;
// The frame stands this far in front of each wall face.
const float kFrameOffset = 2.0f;

// A point of an outline: along the wall from the start end, height above the sill line.
struct SH {
    float s;
    float h;
};

// The opening as the shaped frames read it.
struct Shape {
    OpeningBasis b;
    PlanPoint2 start;   // the end the outline starts from
    float angle;        // along the wall from it
    float full;         // the opening's length in the plan
    float half;
    float sill;         // y of the sill line under the start end
    float endSill;      // y of the sill line under the other end
    float nx;           // the offset to the front face
    float nz;
    float W;
    float H;
    float cw;
};

// Swapping ends (the hinge-side byte) mirrors the styles that have a handed shape.
bool StartShape(PlanObject* object, bool handed, Shape* shape)
{
    OpeningBasis& b = shape->b;
    if (!ReadOpeningBasis(object, &b))
        return false;
    PlanPoint2 p0 = {b.p0[0], b.p0[2]};
    PlanPoint2 p1 = {b.p1[0], b.p1[2]};
    float y0 = b.p0[1];
    float y1 = b.p1[1];
    if (handed && b.record->hingeSide) {
        PlanPoint2 p = p0;
        p0 = p1;
        p1 = p;
        float y = y0;
        y0 = y1;
        y1 = y;
    }
    shape->angle = PlanAngle(p0, p1, &shape->full);
    shape->half = shape->full / 2.0f;
    shape->sill = y0 - b.lift;
    shape->endSill = y1 - b.lift;
    shape->W = b.record->width;
    shape->H = b.record->height;
    shape->cw = b.casing;
    shape->nx = 0.0f;
    shape->nz = 0.0f;
    OffsetPointPolar(shape->angle + kHalfPi, b.halfThickness + kFrameOffset, &shape->nx,
                     &shape->nz);
    shape->start = {p0.x + shape->nx, p0.z + shape->nz};
    return true;
}

// The outline of one frame; created open and closed once filled, as the solid wants.
class ShapeOutline : public ArchOutline {
public:
    ShapeOutline(const Shape& shape, uint16_t type)
        : ArchOutline(shape.b.object, type, 0, shape.start, shape.angle), sill_(shape.sill)
    {
    }
    void At(float s, float h) { Add(s, sill_ - h); }
    void Points(std::initializer_list<SH> points)
    {
        for (const SH& p : points)
            At(p.s, p.h);
    }

private:
    float sill_;
};

// Pushes the outline through the wall, gives it the window's finish and makes it the
// record's whole part list.
bool FinishShape(const Shape& shape, ShapeOutline& outline)
{
    PlanObject* part = outline.Release();
    if (!part)
        return false;
    part->buildFlag = 0;
    part->closed = 1;
    PlanObject* solid = ConvertOutlineToSolid(part, 2.0f * shape.nx, 2.0f * shape.nz);
    if (!solid)
        return false;
    PaintWithOpeningFinish(solid, shape.b.object);
    ReplaceOpeningParts(shape.b.record, solid);
    FinishOpeningPart(solid);
    return true;
}

float OneWhenZero(float value)
{
    return value == 0.0f ? 1.0f : value;
}

// Straight jambs below an arch: the height left under the arch's rise, or 1.0 when the
// rise is taller than the window.
float JambsUnder(float height, float rise)
{
    return rise > height ? 1.0f : height - rise;
}

} // namespace

bool BuildArchTopWindowFrame(PlanObject* object, int style)
{
    Shape shape;
    if (!StartShape(object, true, &shape))
        return false;
    const float W = shape.W;
    const float r = OneWhenZero(W / 2.0f);
    const float ro = r + shape.cw;
    const bool round = style == 601 || style == 604;
    const float k = round ? 1.0f : 0.5f;
    const float ko = round ? 1.0f : (ro / r) * 0.5f;
    float hr = 0.0f;
    if (style == 603)
        hr = JambsUnder(shape.H, W / 4.0f);
    else if (style == 604)
        hr = JambsUnder(shape.H, W / 2.0f);
    const bool onJambs = style == 603 || style == 604;
    const float spring = shape.sill - hr;

    ShapeOutline outline(shape, ObjCurvedFrame);
    if (onJambs)
        outline.At(0.0f, 0.0f);
    outline.AddArchDown(shape.half, r, k, spring);
    if (onJambs) {
        outline.Add(shape.full, shape.endSill);
        outline.At(shape.half + ro, 0.0f);
    }
    outline.AddArchUp(shape.half, ro, ko, spring);
    if (onJambs)
        outline.At(shape.half - ro, 0.0f);
    return FinishShape(shape, outline);
}

bool BuildHalfArchWindowFrame(PlanObject* object, int style)
{
    Shape shape;
    if (!StartShape(object, true, &shape))
        return false;
    const float W = shape.W;
    const float r = OneWhenZero(W);
    const float ro = r + shape.cw;
    const bool round = style == 605 || style == 606 || style == 609 || style == 610;
    const float k = round ? 1.0f : 0.5f;
    const float ko = round ? 1.0f : (ro / r) * 0.5f;
    const bool onJambs = style >= 605 && style <= 608;
    float hr = 0.0f;
    if (style == 605 || style == 606)
        hr = JambsUnder(shape.H, W);
    else if (style == 607 || style == 608)
        hr = JambsUnder(shape.H, W / 2.0f);
    // A quarter arch centred over the far end.
    const float centre = shape.half + W / 2.0f;
    const float spring = shape.sill - hr;

    ShapeOutline outline(shape, ObjCurvedFrame);
    if (onJambs)
        outline.At(0.0f, 0.0f);
    outline.AddArc(centre, r, k, spring, 180, 100);
    outline.AddCrown(centre, r, k, spring);
    outline.At(shape.full, 0.0f);
    outline.At(shape.full + shape.cw, 0.0f);
    outline.At(shape.full + shape.cw, hr + ro * ko);
    outline.AddCrown(centre, ro, ko, spring);
    outline.AddArc(centre, ro, ko, spring, 100, 180);
    if (onJambs)
        outline.At(centre - ro, 0.0f);
    return FinishShape(shape, outline);
}

bool BuildCutCornerWindowFrame(PlanObject* object, int style)
{
    Shape shape;
    if (!StartShape(object, true, &shape))
        return false;
    const float W = shape.W;
    const float cw = shape.cw;
    const float c = OneWhenZero(style == 613 ? W / 4.0f : W / 2.0f);
    const float h = shape.H < c ? c + 1.0f : shape.H;
    ShapeOutline outline(shape, ObjOpeningFrame);
    if (style == 613)
        outline.Points({{0, 0}, {0, h - c}, {c, h}, {W - c, h}, {W, h - c}, {W, 0},
                        {W + cw, 0}, {W + cw, h - c + cw / 2}, {W - c + cw / 2, h + cw},
                        {c - cw / 2, h + cw}, {-cw, h - c + cw / 2}, {-cw, 0}});
    else
        outline.Points({{0, 0}, {0, h - c}, {c, h}, {W, h}, {W, 0}, {W + cw, 0},
                        {W + cw, h + cw}, {c - cw / 2, h + cw}, {-cw, h - c + cw / 2},
                        {-cw, 0}});
    return FinishShape(shape, outline);
}

bool BuildSlopedTopWindowFrame(PlanObject* object, int style)
{
    Shape shape;
    if (!StartShape(object, true, &shape))
        return false;
    const float W = shape.W;
    const float cw = shape.cw;
    ShapeOutline outline(shape, ObjOpeningFrame);
    if (style == 616 || style == 617) {
        // A standing triangle as high as it is wide.
        outline.Points({{0, 0}, {W, W}, {W, 0}, {W + cw, 0}, {W + cw, W + 2.5f * cw},
                        {-1.5f * cw, 0}});
    } else {
        const float h = shape.H < W ? W + 1.0f : shape.H;
        outline.Points({{0, 0}, {0, h - W}, {W, h}, {W, 0}, {W + cw, 0},
                        {W + cw, h + 2.5f * cw}, {-cw, h - W + cw / 2}, {-cw, 0}});
    }
    return FinishShape(shape, outline);
}

bool BuildGableWindowFrame(PlanObject* object, int style)
{
    Shape shape;
    if (!StartShape(object, false, &shape))
        return false;
    const float W = shape.W;
    const float cw = shape.cw;
    ShapeOutline outline(shape, ObjOpeningFrame);
    if (style == 618) {
        outline.Points({{0, 0}, {W / 2, W / 2}, {W, 0}, {W + 1.5f * cw, 0},
                        {W / 2, W / 2 + 1.5f * cw}, {-1.5f * cw, 0}});
    } else {
        const float h = shape.H < W / 2 ? W / 2 + 1.0f : shape.H;
        outline.Points({{0, 0}, {0, h - W / 2}, {W / 2, h}, {W, h - W / 2}, {W, 0},
                        {W + cw, 0}, {W + cw, h - W / 2 + cw / 2}, {W / 2, h + 1.5f * cw},
                        {-cw, h - W / 2 + cw / 2}, {-cw, 0}});
    }
    return FinishShape(shape, outline);
}

bool BuildParallelogramWindowFrame(PlanObject* object, int)
{
    Shape shape;
    if (!StartShape(object, true, &shape))
        return false;
    const float W = shape.W;
    const float cw = shape.cw;
    const float k = OneWhenZero(W / 4.0f);
    ShapeOutline outline(shape, ObjOpeningFrame);
    outline.Points({{0, 0}, {k, W}, {W, W}, {W - k, 0}, {W - k + 1.25f * cw, 0},
                    {W + 1.5f * cw, W + cw}, {k - cw, W + cw}, {-1.25f * cw, 0}});
    return FinishShape(shape, outline);
}

bool BuildOctagonWindowFrame(PlanObject* object, int)
{
    Shape shape;
    if (!StartShape(object, false, &shape))
        return false;
    const float W = shape.W;
    const float cw = shape.cw;
    const float c = OneWhenZero(0.3f * W);
    // Joined at the middle of the bottom; the frame runs cw below the sill line too.
    ShapeOutline outline(shape, ObjOpeningFrame);
    outline.Points({{W / 2, 0}, {c, 0}, {0, c}, {0, W - c}, {c, W}, {W - c, W}, {W, W - c},
                    {W, c}, {W - c, 0}, {W / 2, 0},
                    {W / 2, -cw}, {W - c + cw / 2, -cw}, {W + cw, c - cw / 2},
                    {W + cw, W - c + cw / 2}, {W - c + cw / 2, W + cw}, {c - cw / 2, W + cw},
                    {-cw, W - c + cw / 2}, {-cw, c - cw / 2}, {c - cw / 2, -cw}, {W / 2, -cw}});
    return FinishShape(shape, outline);
}

namespace {

// A point of the round window's circle of radius r about (half, r above the sill).
void AddCirclePoint(ShapeOutline& outline, const Shape& shape, float centreRise, float r, int q)
{
    float across = 0.0f;
    float rise = 0.0f;
    ArchOffsets(r, q, &across, &rise);
    float s = (q >= 91 && q <= 269) ? shape.half - across : shape.half + across;
    float h = q > 180 ? centreRise - rise : centreRise + rise;
    outline.At(s, h);
}

} // namespace

bool BuildOvalWindowFrame(PlanObject* object, int)
{
    Shape shape;
    if (!StartShape(object, false, &shape))
        return false;
    const float r = OneWhenZero(shape.W / 2.0f);
    const float ro = r + shape.cw;
    ShapeOutline outline(shape, ObjCurvedFrame);
    // Inner circle clockwise from the bottom: 270 down to 190, 180 to 100, 90 to 10,
    // then 360 down to 270, which closes it.
    for (int q = 270; q >= 190; q -= 10)
        AddCirclePoint(outline, shape, r, r, q);
    for (int q = 180; q >= 100; q -= 10)
        AddCirclePoint(outline, shape, r, r, q);
    for (int q = 90; q >= 10; q -= 10)
        AddCirclePoint(outline, shape, r, r, q);
    for (int q = 360; q >= 270; q -= 10)
        AddCirclePoint(outline, shape, r, r, q);
    // Outer circle the other way round, joined to the inner one at the bottom.
    for (int q = 270; q <= 360; q += 10)
        AddCirclePoint(outline, shape, r, ro, q);
    for (int q = 10; q <= 270; q += 10)
        AddCirclePoint(outline, shape, r, ro, q);
    return FinishShape(shape, outline);
}
