#include "openings3d/arched_frames.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model3d/array_objects.h"
#include "openings3d/arched_leaf.h"
#include "openings3d/arch_points.h"
#include "openings3d/opening_parts.h"

namespace {

const float kHalfPi = 1.5707963267948966f;
const float kLiningCasing = 0.4f;
const float kCasingOffset = 2.1f;

bool IsRoundArch(int style)
{
    return style == 504 || style == 506;
}

} // namespace

bool BuildArchedDoorFrame(PlanObject* object, int style)
{
    OpeningBasis b;
    if (!ReadOpeningBasis(object, &b))
        return false;
    OpeningRecord* record = b.record;
    const PlanPoint2 p0 = {b.p0[0], b.p0[2]};
    const PlanPoint2 p1 = {b.p1[0], b.p1[2]};
    float full = 0.0f;
    const float a = PlanAngle(p0, p1, &full);
    const float half = full / 2.0f;
    const float cw = b.casing;
    const float kA = IsRoundArch(style) ? 1.0f : 0.5f;
    // The jambs are measured before a zero width gets its token radius.
    const float jambs = record->height - (record->width / 2.0f) * kA;
    const float r = record->width != 0.0f ? record->width / 2.0f : 1.0f;
    const float ro = record->width / 2.0f + cw;
    const float ko = IsRoundArch(style) ? 1.0f : (ro / r) * kA;
    const bool lining = record->casingWidth < kLiningCasing;
    const float offset = lining ? b.halfThickness : b.halfThickness + kCasingOffset;
    const float base = b.p0[1] - b.lift;

    float nx = 0.0f;
    float nz = 0.0f;
    OffsetPointPolar(a + kHalfPi, offset, &nx, &nz);
    ArchOutline outline(object, ObjCurvedFrame, lining ? 0 : 1, {p0.x + nx, p0.z + nz}, a);
    if (!outline.part())
        return false;
    outline.Add(0.0f, b.p0[1] - b.lift);
    outline.AddArchDown(half, r, kA, base - jambs);
    outline.Add(full, b.p1[1] - b.lift);
    if (!lining) {
        outline.Add(half + ro, base);
        outline.AddArchUp(half, ro, ko, base - jambs);
        outline.Add(half - ro, base);
    }
    PlanObject* part = outline.Release();
    if (!part)
        return false;
    if (lining)
        part->buildFlag = 0;
    PlanObject* solid = ConvertOutlineToSolid(part, 2.0f * nx, 2.0f * nz);
    if (!solid)
        return false;
    if (lining)
        PaintAsLining(solid);
    else
        PaintWithOpeningFinish(solid, object);
    ReplaceOpeningParts(record, solid);
    if (style == 506 || style == 507)
        BuildArchedDoorLeaf(object, record);
    FinishOpeningPart(solid);
    return true;
}
