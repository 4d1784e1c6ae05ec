#include "openings3d/opening_parts.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/texture_coords.h"
#include "model/units.h"
#include <math.h>
#include <string.h>

namespace {

const ColourTriple kLiningGrey = {53456, 53456, 53456};

bool Finite3(const float* v)
{
    return isfinite(v[0]) && isfinite(v[1]) && isfinite(v[2]);
}

} // namespace

float OpeningPlanLength(float units)
{
    return UnitsToPlanLength(units, activeDocument ? activeDocument->settings : nullptr, 0);
}

int16_t SnapToWhole16(float value)
{
    float v = value + 0.5f;
    if (!(v > -32768.0f))
        return v != v ? 0 : -32768;
    if (!(v < 32768.0f))
        return 32767;
    return (int16_t)(int32_t)v;
}

bool ReadOpeningBasis(PlanObject* object, OpeningBasis* basis)
{
    if (!object || !basis || !activeDocument || !activeDocument->settings ||
        !activeDocument->currentFloor || !object->owner || !object->link)
        return false;
    const PlanVertex* v0 = object->firstVertex;
    const PlanVertex* v1 = v0 ? v0->next : nullptr;
    if (!v1)
        return false;
    OpeningRecord* record = static_cast<OpeningRecord*>(object->link);
    PlanObject* wall = object->owner;
    // A damaged record or wall must not turn into infinite coordinates or endless loops.
    const float values[] = {record->width,     record->height, record->elevation,
                            record->casingWidth, wall->size,     wall->parameters[2]};
    for (float value : values)
        if (!isfinite(value))
            return false;
    if (!Finite3(v0->position) || !Finite3(v1->position))
        return false;

    basis->object = object;
    basis->record = record;
    basis->wall = wall;
    basis->settings = activeDocument->settings;
    memcpy(basis->p0, v0->position, sizeof(basis->p0));
    memcpy(basis->p1, v1->position, sizeof(basis->p1));
    basis->lift = OpeningPlanLength(wall->parameters[2]) + record->elevation;
    basis->halfThickness = OpeningPlanLength(wall->size) / 2.0f;
    basis->casing = SnapToWhole16(OpeningPlanLength(record->casingWidth));
    return isfinite(basis->lift) && isfinite(basis->halfThickness);
}

PlanPoint2 PointAlong(PlanPoint2 from, float angle, float distance)
{
    float dx = 0.0f;
    float dz = 0.0f;
    OffsetPointPolar(angle, distance, &dx, &dz);
    return {from.x + dx, from.z + dz};
}

float PlanAngle(PlanPoint2 a, PlanPoint2 b, float* distance)
{
    float d = 0.0f;
    float angle = AngleBetweenPoints(a.x, a.z, b.x, b.z, &d);
    if (distance)
        *distance = d;
    return angle;
}

PlanObject* CreateOpeningPart(PlanObject* opening, uint16_t type, uint8_t closed)
{
    const float box[4] = {0.0f, 0.0f, 100.0f, 100.0f};
    return CreateObject(type, closed, 1, &opening->colourA, &opening->colourB, 1.0f, 6, 0, box,
                        nullptr, nullptr, opening, opening->floor, nullptr);
}

bool AddPartPoint(PlanObject* part, float x, float y, float z)
{
    PlanVertex* vertex = NewVertexNode(1, 1, 0, 0.0f, 0.0f, 0.0f, x, y, z, 0.0f, 0.0f, 0.0f,
                                       0.0f, 0.0f, 0.0f, part);
    if (!vertex)
        return false;
    AddObjectPoint(vertex, part);
    return true;
}

bool AddPartRowAt(PlanObject* part, int32_t n, float y)
{
    // The new vertices go to the end of the chain, so the walk stops after the first n.
    PlanVertex* v = part->firstVertex;
    for (int32_t i = 0; i < n && v; ++i, v = v->next)
        if (!AddPartPoint(part, v->position[0], y, v->position[2]))
            return false;
    return true;
}

void SetPartMaterial(PlanObject* part, uint32_t texture, const ColourTriple& colour)
{
    for (PlanVertex* v = part ? part->firstVertex : nullptr; v; v = v->next) {
        v->faceTextureA = texture;
        v->faceTextureB = texture;
        v->faceColourA = colour;
        v->faceColourB = colour;
    }
}

void PaintWithOpeningFinish(PlanObject* part, const PlanObject* opening)
{
    SetPartMaterial(part, opening->styleOrTexture, opening->colourB);
}

void PaintAsLining(PlanObject* part)
{
    SetPartMaterial(part, 0, kLiningGrey);
}

void FinishOpeningPart(PlanObject* part)
{
    UpdateObjectExtents(part);
    ComputeProjectionExtents(part);
    ComputeMeshTextureCoords(part);
}

void ReplaceOpeningParts(OpeningRecord* record, PlanObject* part)
{
    PlanObject* old = record->parts;
    record->parts = nullptr;
    FreeObjectChain(old);
    record->parts = part;
    if (part) {
        part->previous = nullptr;
        part->next = nullptr;
    }
}

void AppendOpeningPart(OpeningRecord* record, PlanObject* part)
{
    AppendToObjectList(&record->parts, part);
}

PartResult AddTwoLevelPart(const OpeningBasis& basis, uint16_t type, const PlanPoint2* points,
                           int32_t count, float yFirst, float ySecond)
{
    PlanObject* part = CreateOpeningPart(basis.object, type, 1);
    if (!part)
        return PartResult::Skipped;
    bool made = true;
    for (int32_t i = 0; i < count && made; ++i)
        made = AddPartPoint(part, points[i].x, yFirst, points[i].z);
    if (made)
        made = AddPartRowAt(part, count, ySecond);
    if (!made) {
        // Half a part would give wrong faces; it never reaches the list.
        FreeObject(part);
        return PartResult::OutOfMemory;
    }
    part->rows = 2;
    PaintWithOpeningFinish(part, basis.object);
    FinishOpeningPart(part);
    AppendOpeningPart(basis.record, part);
    return PartResult::Built;
}
