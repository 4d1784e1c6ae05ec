#include "model3d/generated_parts.h"
#include "model3d/generator_limits.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"

void AppendGeneratedPart(PlanObject* owner, PlanObject* part)
{
    if (!owner || !part)
        return;
    PlanObject* first = static_cast<PlanObject*>(owner->link);
    AppendToObjectList(&first, part);
    owner->link = first;
}

void FreeGeneratedParts(PlanObject* owner)
{
    if (!owner)
        return;
    PlanObject* part = static_cast<PlanObject*>(owner->link);
    owner->link = nullptr;
    FreeObjectChain(part);
}

PlanObject* AddGeneratedSolid(PlanObject* owner, uint16_t type, const Point3f* lower,
                              const Point3f* upper, int32_t count, uint32_t texture,
                              const ColourTriple& colour)
{
    if (!owner || !lower || !upper || count <= 0 || count > 64 || !activeDocument)
        return nullptr;
    if (!PieceBudget::Take())
        return nullptr;
    PlanFloor* floor = owner->floor ? owner->floor : activeDocument->currentFloor;
    if (!floor)
        return nullptr;
    Point3f zero[64] = {};
    PlanObject* part =
        CreateSolidFromArrays(lower, upper, zero, zero, zero, zero, count, floor, 1);
    if (!part)
        return nullptr;
    UnlinkObject(part);
    part->type = type;
    part->colourA = colour;
    for (PlanVertex* v = part->firstVertex; v; v = v->next) {
        v->faceTextureA = texture;
        v->faceTextureB = texture;
        v->faceColourA = colour;
        v->faceColourB = colour;
    }
    AppendGeneratedPart(owner, part);
    return part;
}

void CornersAroundLine(float x0, float z0, float x1, float z1, float angle, float halfWidth,
                       float corners[4][2])
{
    float ax = 0.0f;
    float az = 0.0f;
    OffsetPointPolar(angle + 1.5707963267948966f, halfWidth, &ax, &az);
    corners[0][0] = x0 - ax;
    corners[0][1] = z0 - az;
    corners[1][0] = x1 - ax;
    corners[1][1] = z1 - az;
    corners[2][0] = x1 + ax;
    corners[2][1] = z1 + az;
    corners[3][0] = x0 + ax;
    corners[3][1] = z0 + az;
}

PlanObject* AddGeneratedColumn(PlanObject* owner, uint16_t type, float x, float z, float angle,
                               float halfSize, float bottomY, float topY, uint32_t texture,
                               const ColourTriple& colour)
{
    float ax = 0.0f;
    float az = 0.0f;
    OffsetPointPolar(angle, halfSize, &ax, &az);
    float corners[4][2];
    CornersAroundLine(x - ax, z - az, x + ax, z + az, angle, halfSize, corners);
    Point3f bottom[4];
    Point3f top[4];
    for (int i = 0; i < 4; ++i) {
        bottom[i] = {corners[i][0], bottomY, corners[i][1]};
        top[i] = {corners[i][0], topY, corners[i][1]};
    }
    return AddGeneratedSolid(owner, type, bottom, top, 4, texture, colour);
}
