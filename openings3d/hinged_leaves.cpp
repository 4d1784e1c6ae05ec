#include "openings3d/hinged_leaves.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include <initializer_list>
#include <math.h>

namespace {

const float kPi = 3.14159265358979f;
const float kHalfPi = 1.5707963267948966f;
const float kDegreesPerRadian = 57.29577951308232f;
// The leaf stands 2.0 above the sill line and ends 1.0 below the head.
const float kLeafAboveSill = 2.0f;
const float kLeafShorter = 3.0f;
const float kRectangularInset = 1.0f;
const float kHalfThickness = 2.0f;
const float kHalfBar = 1.0f;
const uint16_t kSwingSense = 4;

float AngleInHalfTurn(float angle)
{
    return angle > kPi ? angle - 2.0f * kPi : angle;
}

PlanPoint2 Snapped(PlanPoint2 p)
{
    return {(float)SnapToWhole16(p.x), (float)SnapToWhole16(p.z)};
}

enum class Kind { Box, VerticalBar, HorizontalBar, Panel };

// One member of a leaf. Boxes run from one along position to another between two
// height fractions; a vertical bar is centred at the fraction c of the glazed width
// from the hinge stile; a horizontal bar lies at the fraction g of the glazed height;
// the panel surface spans H to F between two height fractions.
struct Member {
    Kind kind;
    LeafAlong from;
    LeafAlong to;
    float low;
    float high;
    float at;
};

const LeafAlong H = LeafAlong::Hinge;
const LeafAlong HS = LeafAlong::HingeStile;
const LeafAlong FS = LeafAlong::FreeStile;
const LeafAlong F = LeafAlong::Free;
const LeafAlong MH = LeafAlong::MuntinNearHinge;
const LeafAlong MF = LeafAlong::MuntinNearFree;

const Member kStandardLeaf[] = {
    {Kind::Box, H, HS, 0.0f, 1.0f, 0},     {Kind::Box, F, FS, 0.0f, 1.0f, 0},
    {Kind::Box, FS, HS, 0.0f, 0.11f, 0},   {Kind::Box, FS, HS, 0.40f, 0.49f, 0},
    {Kind::Box, FS, HS, 0.78f, 0.84f, 0},  {Kind::Box, FS, HS, 0.94f, 1.0f, 0},
    {Kind::Box, MH, MF, 0.11f, 0.40f, 0},  {Kind::Box, MH, MF, 0.49f, 0.78f, 0},
    {Kind::Box, MH, MF, 0.84f, 0.94f, 0},  {Kind::Panel, H, F, 0.0f, 1.0f, 0},
};

const Member kFrenchLeaf[] = {
    {Kind::Box, H, HS, 0.0f, 1.0f, 0},           {Kind::Box, F, FS, 0.0f, 1.0f, 0},
    {Kind::Box, FS, HS, 0.0f, 0.11f, 0},         {Kind::Box, FS, HS, 0.94f, 1.0f, 0},
    {Kind::VerticalBar, H, F, 0.11f, 0.94f, 0.33f}, {Kind::VerticalBar, H, F, 0.11f, 0.94f, 0.66f},
    {Kind::HorizontalBar, H, F, 0.11f, 0.94f, 0.2f}, {Kind::HorizontalBar, H, F, 0.11f, 0.94f, 0.4f},
    {Kind::HorizontalBar, H, F, 0.11f, 0.94f, 0.6f}, {Kind::HorizontalBar, H, F, 0.11f, 0.94f, 0.8f},
};

const Member kGlazedLeaf[] = {
    {Kind::Box, H, HS, 0.0f, 1.0f, 0},             {Kind::Box, F, FS, 0.0f, 1.0f, 0},
    {Kind::Box, FS, HS, 0.0f, 0.11f, 0},           {Kind::Box, FS, HS, 0.40f, 0.49f, 0},
    {Kind::Box, FS, HS, 0.94f, 1.0f, 0},
    {Kind::VerticalBar, H, F, 0.49f, 0.94f, 0.33f}, {Kind::VerticalBar, H, F, 0.49f, 0.94f, 0.66f},
    {Kind::HorizontalBar, H, F, 0.49f, 0.94f, 0.33f}, {Kind::HorizontalBar, H, F, 0.49f, 0.94f, 0.66f},
    {Kind::Box, MH, MF, 0.11f, 0.40f, 0},          {Kind::Panel, H, F, 0.0f, 0.49f, 0},
};

PartResult AddMember(const DoorLeaf& leaf, float height, const Member& m)
{
    const float yLow = leaf.lowerEdge - m.low * height;
    const float yHigh = leaf.lowerEdge - m.high * height;
    switch (m.kind) {
    case Kind::Box:
        return AddLeafBox(leaf, m.from, m.to, yLow, yHigh);
    case Kind::VerticalBar: {
        PlanPoint2 p = LeafPoint(leaf, LeafAlong::HingeStile);
        float c = (0.86f * leaf.length - 0.14f * leaf.length) * m.at;
        const PlanPoint2 bar[2] = {PointAlong(p, leaf.along, c - kHalfBar),
                                   PointAlong(p, leaf.along, c + kHalfBar)};
        return AddTwoLevelPart(leaf.basis, ObjDoorLeafMember, bar, 2, yLow, yHigh);
    }
    case Kind::HorizontalBar: {
        const PlanPoint2 bar[2] = {LeafPoint(leaf, LeafAlong::HingeStile),
                                   LeafPoint(leaf, LeafAlong::FreeStile)};
        float y = yLow + (yHigh - yLow) * m.at;
        return AddTwoLevelPart(leaf.basis, ObjDoorLeafMember, bar, 2, y + kHalfBar,
                               y - kHalfBar);
    }
    case Kind::Panel: {
        const PlanPoint2 panel[2] = {leaf.hinge, leaf.free};
        return AddTwoLevelPart(leaf.basis, ObjLeafPanel, panel, 2, yHigh, yLow);
    }
    }
    return PartResult::Skipped;
}

template <size_t N>
void BuildLeaf(PlanObject* door, OpeningRecord* record, int16_t style, const Member (&members)[N])
{
    if (!door || !record || (int16_t)record->style != style)
        return;
    DoorLeaf leaf;
    if (!StartDoorLeaf(door, record, kRectangularInset, &leaf))
        return;
    const float height = record->height - kLeafShorter;
    for (const Member& m : members)
        if (AddMember(leaf, height, m) == PartResult::OutOfMemory)
            return;
}

} // namespace

bool StartDoorLeaf(PlanObject* door, OpeningRecord* record, float inset, DoorLeaf* leaf)
{
    if (!door || !record || door->link != record || !isfinite(record->swingAngle))
        return false;
    if (!ReadOpeningBasis(door, &leaf->basis))
        return false;
    const OpeningBasis& b = leaf->basis;
    PlanPoint2 a = {b.p1[0], b.p1[2]};
    PlanPoint2 other = {b.p0[0], b.p0[2]};
    if (record->hingeSide) {
        a = {b.p0[0], b.p0[2]};
        other = {b.p1[0], b.p1[2]};
    }
    float wallAngle = PlanAngle(a, other, &leaf->width);
    leaf->hinge = Snapped(PointAlong(a, wallAngle, inset));
    leaf->free = Snapped(PointAlong(leaf->hinge, wallAngle + record->swingAngle, leaf->width));
    leaf->along = PlanAngle(leaf->hinge, leaf->free, &leaf->length);
    leaf->back = PlanAngle(leaf->free, leaf->hinge, nullptr);

    float sweep = (AngleInHalfTurn(leaf->along) - AngleInHalfTurn(wallAngle)) * kDegreesPerRadian;
    if (sweep < 0.0f)
        sweep += 360.0f;
    if (!(record->flags & kSwingSense))
        sweep -= 360.0f;
    int16_t t = SnapToWhole16(sweep);
    if (!((t >= 3 && t <= 180) || (t >= -179 && t <= -3)))
        return false;

    leaf->sideX = 0.0f;
    leaf->sideZ = 0.0f;
    OffsetPointPolar(leaf->along - kHalfPi, 1.0f, &leaf->sideX, &leaf->sideZ);
    leaf->lowerEdge = b.p0[1] - kLeafAboveSill - b.lift;
    return true;
}

PlanPoint2 LeafPoint(const DoorLeaf& leaf, LeafAlong at)
{
    const float L = leaf.length;
    switch (at) {
    case LeafAlong::Hinge:
        return leaf.hinge;
    case LeafAlong::HingeStile:
        return PointAlong(leaf.hinge, leaf.along, 0.14f * L);
    case LeafAlong::FreeStile:
        return PointAlong(leaf.free, leaf.back, 0.14f * L);
    case LeafAlong::Free:
        return PointAlong(leaf.hinge, leaf.along, L);
    case LeafAlong::MuntinNearHinge:
        return PointAlong(PointAlong(leaf.hinge, leaf.along, L / 2.0f), leaf.back, 0.07f * L);
    case LeafAlong::MuntinNearFree:
        return PointAlong(PointAlong(leaf.hinge, leaf.along, L / 2.0f), leaf.along, 0.07f * L);
    }
    return leaf.hinge;
}

PartResult AddLeafBox(const DoorLeaf& leaf, LeafAlong from, LeafAlong to, float yLow,
                      float yHigh)
{
    const PlanPoint2 s = LeafPoint(leaf, from);
    const PlanPoint2 e = LeafPoint(leaf, to);
    const float dx = kHalfThickness * leaf.sideX;
    const float dz = kHalfThickness * leaf.sideZ;
    const PlanPoint2 corners[4] = {
        {s.x + dx, s.z + dz}, {e.x + dx, e.z + dz}, {e.x - dx, e.z - dz}, {s.x - dx, s.z - dz}};
    return AddTwoLevelPart(leaf.basis, ObjDoorLeafMember, corners, 4, yLow, yHigh);
}

void BuildStandardDoorLeaf(PlanObject* door, OpeningRecord* record)
{
    BuildLeaf(door, record, 501, kStandardLeaf);
}

void BuildFrenchDoorLeaf(PlanObject* door, OpeningRecord* record)
{
    BuildLeaf(door, record, 508, kFrenchLeaf);
}

void BuildGlazedDoorLeaf(PlanObject* door, OpeningRecord* record)
{
    BuildLeaf(door, record, 509, kGlazedLeaf);
}
