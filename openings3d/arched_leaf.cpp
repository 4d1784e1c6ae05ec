#include "openings3d/arched_leaf.h"
#include "model/plan_object.h"
#include "openings3d/arch_points.h"
#include "openings3d/hinged_leaves.h"

namespace {

// The arched leaf hangs 3.0 inside the hinge end, where a rectangular one hangs 1.0.
const float kArchedInset = 3.0f;
const float kLeafShorter = 3.0f;
const float kStile = 0.14f;
const float kFaceOffset = 2.0f;
const float kThickness = 4.0f;

float OneWhenZero(float value)
{
    return value == 0.0f ? 1.0f : value;
}

// A box member between two fractions of the straight part's height.
struct Rail {
    LeafAlong from;
    LeafAlong to;
    float low;
    float high;
};

const Rail kStraightMembers[] = {
    {LeafAlong::FreeStile, LeafAlong::HingeStile, 0.0f, 0.11f},
    {LeafAlong::FreeStile, LeafAlong::HingeStile, 0.40f, 0.49f},
    {LeafAlong::FreeStile, LeafAlong::HingeStile, 0.78f, 0.84f},
    {LeafAlong::FreeStile, LeafAlong::HingeStile, 0.94f, 1.0f},
    {LeafAlong::MuntinNearHinge, LeafAlong::MuntinNearFree, 0.11f, 0.40f},
    {LeafAlong::MuntinNearHinge, LeafAlong::MuntinNearFree, 0.49f, 0.78f},
    {LeafAlong::MuntinNearHinge, LeafAlong::MuntinNearFree, 0.84f, 0.94f},
};

// Finishes an arched part and appends it; false when it ran out of memory.
PartResult Append(const DoorLeaf& leaf, PlanObject* part)
{
    if (!part)
        return PartResult::OutOfMemory;
    PaintWithOpeningFinish(part, leaf.basis.object);
    FinishOpeningPart(part);
    AppendOpeningPart(leaf.basis.record, part);
    return PartResult::Built;
}

} // namespace

void BuildArchedDoorLeaf(PlanObject* door, OpeningRecord* record)
{
    if (!door || !record)
        return;
    const int16_t style = (int16_t)record->style;
    if (style != 506 && style != 507)
        return;
    DoorLeaf leaf;
    if (!StartDoorLeaf(door, record, kArchedInset, &leaf))
        return;
    const bool round = style == 506;
    const float R = OneWhenZero(record->width / 2.0f);
    const float ri = OneWhenZero((leaf.width - 2.0f * kStile * leaf.width) / 2.0f);
    const float ki = round ? 1.0f : 0.5f;
    const float ko = round ? 1.0f : (R / ri) * 0.5f;
    const float hs = record->height - R * ko - kLeafShorter;
    const float yb = leaf.lowerEdge;
    const float spring = yb - hs;
    const float centre = leaf.width / 2.0f;

    for (const Rail& rail : kStraightMembers)
        if (AddLeafBox(leaf, rail.from, rail.to, yb - rail.low * hs, yb - rail.high * hs) ==
            PartResult::OutOfMemory)
            return;
    if (AddLeafBox(leaf, LeafAlong::MuntinNearHinge, LeafAlong::MuntinNearFree, spring,
                   spring - ri * ki) == PartResult::OutOfMemory)
        return;

    {
        // The panel surface: one arched outline in the middle plane.
        ArchOutline panel(door, ObjLeafPanel, 1, leaf.free, leaf.back);
        if (panel.part()) {
            panel.AddPlan(leaf.free, yb);
            panel.AddArchDown(centre, R, ko, spring);
            panel.AddPlan(leaf.hinge, yb);
            if (Append(leaf, panel.Release()) == PartResult::OutOfMemory)
                return;
        }
    }

    // Stiles and head: up the inside of the free stile, over the inner arch, down the
    // hinge stile's inside and up its outside, back over the outer arch; the row is
    // repeated on the other face.
    const float dx = kFaceOffset * leaf.sideX;
    const float dz = kFaceOffset * leaf.sideZ;
    auto front = [dx, dz](PlanPoint2 p) { return PlanPoint2{p.x + dx, p.z + dz}; };
    ArchOutline profile(door, ObjDoorLeafMember, 1, front(leaf.free), leaf.back);
    if (!profile.part())
        return;
    profile.AddPlan(front(LeafPoint(leaf, LeafAlong::FreeStile)), yb);
    profile.AddArchDown(centre, ri, ki, spring);
    profile.AddPlan(front(LeafPoint(leaf, LeafAlong::HingeStile)), yb);
    profile.AddPlan(front(leaf.hinge), yb);
    profile.AddArchUp(centre, R, ko, spring);
    profile.AddPlan(front(leaf.free), yb);
    PlanObject* part = profile.Release();
    if (!part)
        return;
    const int32_t perRow = (int32_t)part->vertexCount;
    PlanVertex* v = part->firstVertex;
    for (int32_t i = 0; i < perRow && v; ++i, v = v->next) {
        if (!AddPartPoint(part, v->position[0] - kThickness * leaf.sideX, v->position[1],
                          v->position[2] - kThickness * leaf.sideZ)) {
            FreeObject(part);
            return;
        }
    }
    part->rows = 2;
    Append(leaf, part);
}
