#include "model3d/wall_rebuild.h"
#include "model3d/array_objects.h"
#include "model/object_copies.h"
#include "model/outline_offsets.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "render3d/object_polygons.h"
#include <stdlib.h>

namespace {

const uint32_t kExteriorWallGroup = 54;
const uint32_t kCopyWithoutPasteMark = 5006;

PlanFloor* WallFloor(PlanObject* wall)
{
    return wall->floor ? wall->floor : activeDocument->currentFloor;
}

int32_t CountChain(const PlanObject* object)
{
    int32_t n = 0;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        ++n;
    return n;
}

// A copy of the wall's centre line and parameters without its openings.
PlanObject* CloneWithoutOpenings(PlanObject* wall)
{
    PlanObject* openings = wall->firstChild;
    wall->firstChild = nullptr;
    PlanObject* clone =
        CreateObjectFromTemplate(wall, nullptr, nullptr, 0.0f, 0.0f, 0, kCopyWithoutPasteMark);
    wall->firstChild = openings;
    if (!clone)
        return nullptr;
    clone->vertexCount = (uint32_t)CountChain(clone);
    return clone;
}

// Frees a chain of generated meshes linked by next.
void FreeMeshChain(PlanObject* mesh)
{
    while (mesh) {
        PlanObject* next = mesh->next;
        mesh->previous = nullptr;
        mesh->next = nullptr;
        FreeObject(mesh);
        mesh = next;
    }
}

// Point arrays of one build, all released together.
struct PointArrays {
    Point3f* items[6] = {};
    bool Allocate(int32_t n, int count)
    {
        for (int i = 0; i < count; ++i) {
            items[i] = (Point3f*)calloc((size_t)n, sizeof(Point3f));
            if (!items[i])
                return false;
        }
        return true;
    }
    ~PointArrays()
    {
        for (Point3f* p : items)
            free(p);
    }
};

} // namespace

PlanObject* BuildWallMesh(PlanObject* wall)
{
    if (!wall || !activeDocument || !activeDocument->settings)
        return nullptr;
    PlanSettings* settings = activeDocument->settings;
    PlanFloor* floor = WallFloor(wall);
    if (!floor)
        return nullptr;
    PlanObject* clone = CloneWithoutOpenings(wall);
    if (!clone)
        return nullptr;
    // The band around the centre line; in the centred case the clone is freed by it.
    PlanObject* footprint = SplitWallGroupIntoSides(clone, wall->size, 1);
    if (!footprint)
        return nullptr;

    int32_t n = CountChain(footprint);
    PointArrays arrays;
    if (n < 1 || !arrays.Allocate(n, 6)) {
        FreeObject(footprint);
        return nullptr;
    }
    Point3f* foot = arrays.items[0];
    Point3f* top = arrays.items[1];
    Point3f* footIn = arrays.items[2];
    Point3f* footOut = arrays.items[3];
    Point3f* topIn = arrays.items[4];
    Point3f* topOut = arrays.items[5];
    float rise = UnitsToPlanLength(wall->parameters[0], settings, 0) +
                 UnitsToPlanLength(wall->parameters[2], settings, 0);
    int32_t i = 0;
    for (PlanVertex* v = footprint->firstVertex; v && i < n; v = v->next, ++i) {
        foot[i] = {v->position[0], v->position[1], v->position[2]};
        top[i] = {v->position[0], v->position[1] - rise, v->position[2]};
        footIn[i] = topIn[i] = {v->inTangent[0], v->inTangent[1], v->inTangent[2]};
        footOut[i] = topOut[i] = {v->outTangent[0], v->outTangent[1], v->outTangent[2]};
    }

    PlanObject* mesh;
    if (footprint->closed) {
        mesh = CreateSolidFromArrays(foot, top, footIn, footOut, topIn, topOut, n, floor, 1);
        if (mesh) {
            mesh->type = ObjWallMesh;
            mesh->buildFlag = 0;
        }
    } else {
        mesh = CreateSurfaceFromArrays(foot, top, footIn, footOut, topIn, topOut, n, floor, 1);
        if (mesh)
            mesh->type = ObjWallMeshExterior;
    }
    FreeObject(footprint);
    if (mesh) {
        mesh->colourA = wall->colourA;
        mesh->colourB = wall->colourB;
        UnlinkObject(mesh);
        mesh->host = wall;
    }
    return mesh;
}

PlanObject* BuildFoundationMesh(PlanObject* wall)
{
    if (!wall || !activeDocument || !activeDocument->settings)
        return nullptr;
    PlanFloor* floor = WallFloor(wall);
    if (!floor)
        return nullptr;
    PlanObject* clone = CloneWithoutOpenings(wall);
    if (!clone)
        return nullptr;
    // The footing is centred on the wall line whatever side the wall itself lies on, and
    // reaches half the foundation width to either side.
    clone->offsetSide = 0;
    PlanObject* footprint = SplitWallGroupIntoSides(clone, wall->parameters[3], 1);
    if (!footprint)
        return nullptr;

    int32_t n = CountChain(footprint);
    PointArrays arrays;
    if (n < 1 || !arrays.Allocate(n, 3)) {
        FreeObject(footprint);
        return nullptr;
    }
    Point3f* positions = arrays.items[0];
    Point3f* tangentsIn = arrays.items[1];
    Point3f* tangentsOut = arrays.items[2];
    int32_t i = 0;
    for (PlanVertex* v = footprint->firstVertex; v && i < n; v = v->next, ++i) {
        positions[i] = {v->position[0], v->position[1], v->position[2]};
        tangentsIn[i] = {v->inTangent[0], v->inTangent[1], v->inTangent[2]};
        tangentsOut[i] = {v->outTangent[0], v->outTangent[1], v->outTangent[2]};
    }

    PlanObject* mesh;
    if (footprint->closed)
        mesh = CreateSolidFromArrays(positions, nullptr, tangentsIn, tangentsOut, nullptr,
                                     nullptr, n, floor, 1);
    else
        mesh = CreateSurfaceFromArrays(positions, nullptr, tangentsIn, tangentsOut, nullptr,
                                       nullptr, n, floor, 1);
    FreeObject(footprint);
    if (mesh) {
        mesh->type = ObjFooting;
        mesh->colourA = wall->colourA;
        mesh->colourB = wall->colourB;
        UnlinkObject(mesh);
    }
    return mesh;
}

void RebuildWall(PlanObject* wall)
{
    if (!wall || wall->type != ObjWall)
        return;
    RemoveObjectPolygons(wall);
    PlanObject* oldMesh = static_cast<PlanObject*>(wall->link);
    wall->link = nullptr;
    FreeMeshChain(oldMesh);
    wall->link = BuildWallMesh(wall);
    PlanObject* oldFooting = wall->firstPart;
    wall->firstPart = nullptr;
    FreeMeshChain(oldFooting);
    if (wall->subType == kExteriorWallGroup)
        wall->firstPart = BuildFoundationMesh(wall);
}

void RebuildFloorWalls(PlanFloor* floor)
{
    if (!floor || !floor->shown)
        return;
    PlanObject* object = floor->firstObject;
    while (object) {
        PlanObject* next = object->next;
        RebuildWall(object);
        object = next;
    }
}

void RebuildAllWalls(PlanFloor* firstFloor)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        RebuildFloorWalls(floor);
}
