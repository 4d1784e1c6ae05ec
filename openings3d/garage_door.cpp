#include "openings3d/garage_door.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model3d/generator_limits.h"
#include "openings3d/opening_parts.h"
#include <math.h>

namespace {

const float kHalfPi = 1.5707963267948966f;
const float kFaceOffset = 2.0f;

// Whole panels of about the size across the length: + 0.5 truncated, at least 1 and
// never more than a generator lays in one call.
int32_t PanelCount(float length, float panel)
{
    float count = length / panel + 0.5f;
    if (!(count >= 1.0f))
        return 1;
    if (count >= (float)kMaxGeneratedPieces)
        return kMaxGeneratedPieces;
    return (int32_t)count;
}

struct GarageDoor {
    OpeningBasis basis;
    PlanPoint2 p0;
    float angle;
    float sx;       // m: unit vector across the wall
    float sz;
    float bottom;   // yg: the sill line
};

// A rib along the door from s0 to s1 (distances from P0), between the heights z0 and
// z1 above the sill line, 2.0 either side of the wall's middle plane.
PartResult AddRib(const GarageDoor& door, float s0, float s1, float z0, float z1)
{
    PlanPoint2 s = PointAlong(door.p0, door.angle, s0);
    PlanPoint2 e = PointAlong(door.p0, door.angle, s1);
    const float dx = kFaceOffset * door.sx;
    const float dz = kFaceOffset * door.sz;
    const PlanPoint2 corners[4] = {
        {s.x + dx, s.z + dz}, {s.x - dx, s.z - dz}, {e.x - dx, e.z - dz}, {e.x + dx, e.z + dz}};
    return AddTwoLevelPart(door.basis, ObjDoorLeafMember, corners, 4, door.bottom - z0,
                           door.bottom - z1);
}

} // namespace

void BuildGarageDoor(PlanObject* object, OpeningRecord* record)
{
    if (!object || !record || (int16_t)record->style != 503)
        return;
    GarageDoor door;
    if (!ReadOpeningBasis(object, &door.basis) || door.basis.record != record)
        return;
    const OpeningBasis& b = door.basis;
    door.p0 = {b.p0[0], b.p0[2]};
    const PlanPoint2 p1 = {b.p1[0], b.p1[2]};
    float W = 0.0f;
    door.angle = PlanAngle(door.p0, p1, &W);
    door.bottom = b.p0[1] - b.lift;
    const float dh = record->height;
    const float r4 = OpeningPlanLength(4.0f);
    const float r8 = OpeningPlanLength(8.0f);
    const float r24 = OpeningPlanLength(24.0f);
    const float r21 = OpeningPlanLength(21.0f);
    const int32_t columns = PanelCount(W, r24);
    const float columnWidth = W / columns;
    const int32_t sections = PanelCount(dh, r21);
    const float sectionHeight = dh / sections;
    door.sx = 0.0f;
    door.sz = 0.0f;
    OffsetPointPolar(door.angle + kHalfPi, 1.0f, &door.sx, &door.sz);

    for (int32_t i = 1; i < columns; ++i)
        if (AddRib(door, i * columnWidth - r4 / 2, i * columnWidth + r4 / 2, 0.0f, dh) ==
            PartResult::OutOfMemory)
            return;
    for (int32_t i = 1; i < sections; ++i)
        if (AddRib(door, 0.0f, W, i * sectionHeight - r8 / 2, i * sectionHeight + r8 / 2) ==
            PartResult::OutOfMemory)
            return;
    // Edge ribs half as wide and half as tall as the inner ones: even margins all round.
    const float edges[4][4] = {{0.0f, r4 / 2, 0.0f, dh},
                               {W - r4 / 2, W, 0.0f, dh},
                               {0.0f, W, 0.0f, r8 / 2},
                               {0.0f, W, dh - r8 / 2, dh}};
    for (const auto& e : edges)
        if (AddRib(door, e[0], e[1], e[2], e[3]) == PartResult::OutOfMemory)
            return;
    const PlanPoint2 panel[2] = {door.p0, p1};
    AddTwoLevelPart(b, ObjLeafPanel, panel, 2, door.bottom - dh, door.bottom);
}
