#include "openings3d/sills_and_bars.h"
#include "model/object_copies.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model3d/array_objects.h"
#include "openings3d/opening_parts.h"

namespace {

const float kHalfPi = 1.5707963267948966f;
const int16_t kSlidingGlassDoor = 502;
// The glazing-bar dialog offers 0 to 4 bars each way.
const int16_t kMostBars = 4;
// The sill reaches this far beyond each wall face.
const float kSillBeyondFace = 3.0f;

int16_t BarCount(uint16_t stored)
{
    int16_t count = (int16_t)stored;
    if (count < 0)
        return 0;
    return count > kMostBars ? kMostBars : count;
}

// One bar from its four corners (x, y, z); false when a vertex could not be allocated.
bool AddBar(PlanObject* object, OpeningRecord* record, const float (*corners)[3])
{
    PlanObject* bar = CreateOpeningPart(object, ObjGlazingBars, 1);
    if (!bar)
        return true;  // this bar is skipped, the grid goes on
    for (int i = 0; i < 4; ++i) {
        if (!AddPartPoint(bar, corners[i][0], corners[i][1], corners[i][2])) {
            FreeObject(bar);
            return false;
        }
    }
    bar->rows = 1;
    ReverseObjectRows(bar);
    PaintWithOpeningFinish(bar, object);
    FinishOpeningPart(bar);
    AppendOpeningPart(record, bar);
    return true;
}

struct Overhangs {
    float atStart;
    float atEnd;
};

Overhangs SillOverhangs(int style, float cw, float width)
{
    if (style >= 614 && style <= 617)
        return {1.75f * cw, 1.25f * cw};
    if (style == 618)
        return {1.75f * cw, 1.75f * cw};
    if (style == 620 || style == 621)
        return {1.5f * cw, 1.5f * cw - 0.25f * width};
    return {1.25f * cw, 1.25f * cw};
}

} // namespace

void BuildGlazingBarGrid(PlanObject* object, OpeningRecord* record, const float* c0,
                         const float* c1, const float* c2, const float* c3)
{
    if (!object || !record || !c0 || !c1 || !c2 || !c3 || !object->owner)
        return;
    const int16_t across = BarCount(record->glazingBarsAcross);
    const int16_t down = BarCount(record->glazingBarsDown);
    float w = 1.0f;
    if ((int16_t)record->style == kSlidingGlassDoor)
        w = 3.0f;
    else if ((across == 1 && down == 0) || (across == 0 && down == 1))
        w = 2.0f;

    if (down > 0) {
        float span = c0[1] - c1[1];
        if (span < 0.0f)
            span = -span;
        float step = span / (down + 1);
        for (int i = 1; i <= down; ++i) {
            float p = step * i;
            const float corners[4][3] = {{c0[0], c0[1] - (p - w), c0[2]},
                                         {c0[0], c0[1] - p - w, c0[2]},
                                         {c3[0], c0[1] - (p + w), c3[2]},
                                         {c3[0], c0[1] - p + w, c3[2]}};
            if (!AddBar(object, record, corners))
                return;
        }
    }
    if (across >= 1) {
        float distance = 0.0f;
        const PlanPoint2 start = {c0[0], c0[2]};
        float a = PlanAngle(start, {c3[0], c3[2]}, &distance);
        float step = distance / (across + 1);
        for (int i = 1; i <= across; ++i) {
            float p = step * i;
            PlanPoint2 first = PointAlong(start, a, p - w);
            PlanPoint2 second = PointAlong(start, a, p + w);
            first.z -= 0.5f;
            second.z -= 0.5f;
            const float corners[4][3] = {{first.x, c0[1], first.z},
                                         {first.x, c1[1], first.z},
                                         {second.x, c2[1], second.z},
                                         {second.x, c3[1], second.z}};
            if (!AddBar(object, record, corners))
                return;
        }
    }
}

void BuildWindowSill(PlanObject* object, int style)
{
    OpeningBasis b;
    if (!ReadOpeningBasis(object, &b))
        return;
    OpeningRecord* record = b.record;
    Overhangs over = SillOverhangs(style, b.casing, record->width);
    PlanPoint2 p0 = {b.p0[0], b.p0[2]};
    PlanPoint2 p1 = {b.p1[0], b.p1[2]};
    float y0 = b.p0[1] - b.lift;
    if (record->hingeSide) {
        PlanPoint2 swap = p0;
        p0 = p1;
        p1 = swap;
        y0 = b.p1[1] - b.lift;
    }
    float a = PlanAngle(p0, p1, nullptr);
    float thickness = OpeningPlanLength(0.75f * record->casingWidth);
    float nx = 0.0f;
    float nz = 0.0f;
    OffsetPointPolar(a + kHalfPi, b.halfThickness + kSillBeyondFace, &nx, &nz);
    PlanPoint2 face = {p0.x + nx, p0.z + nz};
    PlanPoint2 from = PointAlong(face, a, -over.atStart);
    PlanPoint2 to = PointAlong(face, a, record->width + over.atEnd);

    PlanObject* outline = CreateOpeningPart(object, ObjOpeningFrame, 0);
    if (!outline)
        return;
    if (!AddPartPoint(outline, from.x, y0 + thickness, from.z) ||
        !AddPartPoint(outline, from.x, y0, from.z) || !AddPartPoint(outline, to.x, y0, to.z) ||
        !AddPartPoint(outline, to.x, y0 + thickness, to.z)) {
        FreeObject(outline);
        return;
    }
    outline->closed = 1;
    outline->buildFlag = 0;
    outline->rows = 1;
    PlanObject* sill = ConvertOutlineToSolid(outline, 2.0f * nx, 2.0f * nz);
    if (!sill)
        return;
    PaintWithOpeningFinish(sill, object);
    AppendOpeningPart(record, sill);
    FinishOpeningPart(sill);
}

void MirrorOpeningOutline(PlanObject* object, int mode)
{
    if (!object || !object->link || !IsOpeningType(object->type))
        return;
    OpeningRecord* record = static_cast<OpeningRecord*>(object->link);
    PlanObject* frame = record->parts;
    if (!frame || frame->vertexCount < 4)
        return;
    // The first quarter of an extruded frame is the hole's outline on the front face.
    const int axis = mode == 0 ? 1 : 0;
    uint32_t n = frame->vertexCount / 4;
    float low = 30000.0f;
    float high = -30000.0f;
    uint32_t i = 0;
    for (const PlanVertex* v = frame->firstVertex; v && i < n; v = v->next, ++i) {
        low = v->position[axis] < low ? v->position[axis] : low;
        high = v->position[axis] > high ? v->position[axis] : high;
    }
    float centre = (low + high) / 2.0f;
    for (PlanObject* part = frame; part; part = part->next) {
        for (PlanVertex* v = part->firstVertex; v; v = v->next) {
            v->position[axis] = 2.0f * centre - v->position[axis];
            v->inTangent[axis] = -v->inTangent[axis];
            v->outTangent[axis] = -v->outTangent[axis];
        }
        UpdateObjectExtents(part);
    }
}
