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

PlanFloor* WallFloor(PlanObject* wall)
{
    return wall->floor ? wall->floor : activeDocument->currentFloor;
}

// The band of the given width along the wall's centre line, the wall's openings left
// out; centred, it lies half on either side of the line whatever side the wall itself
// lies on. Null when none could be made.
PlanObject* BuildWallFootprint(PlanObject* wall, float width, bool centred)
{
    PlanObject* clone = CopyOutlineWithoutChildren(wall);
    if (!clone)
        return nullptr;
    if (centred)
        clone->offsetSide = 0;
    // In the centred case the clone is freed by the split.
    return SplitWallGroupIntoSides(clone, width, 1);
}

// Allocates count arrays of the footprint's length and reads its chain into the first
// three: positions, tangents in, tangents out. The point count; 0 when there is no
// footprint, it has no points or memory runs out, and then the footprint is freed.
int32_t ReadFootprintPoints(PlanObject* footprint, PointArrays& arrays, int count)
{
    if (!footprint)
        return 0;
    int32_t n = CountVertexChain(footprint);
    if (n < 1 || !arrays.Allocate(n, count)) {
        FreeObject(footprint);
        return 0;
    }
    ChainToPointArrays(footprint, arrays.items[0], arrays.items[1], arrays.items[2], n);
    return n;
}

// A closed footprint makes a solid, an open one a surface; both are put on the floor.
PlanObject* CreateFootprintMesh(bool closed, const Point3f* positions, const Point3f* positions2,
                                const Point3f* tangentsIn, const Point3f* tangentsOut,
                                const Point3f* tangentsIn2, const Point3f* tangentsOut2,
                                int32_t count, PlanFloor* floor)
{
    if (closed)
        return CreateSolidFromArrays(positions, positions2, tangentsIn, tangentsOut, tangentsIn2,
                                     tangentsOut2, count, floor, 1);
    return CreateSurfaceFromArrays(positions, positions2, tangentsIn, tangentsOut, tangentsIn2,
                                   tangentsOut2, count, floor, 1);
}

} // namespace

PlanObject* BuildWallMesh(PlanObject* wall)
{
    if (!wall || !activeDocument || !activeDocument->settings)
        return nullptr;
    PlanSettings* settings = activeDocument->settings;
    PlanFloor* floor = WallFloor(wall);
    if (!floor)
        return nullptr;
    PlanObject* footprint = BuildWallFootprint(wall, wall->size, false);
    PointArrays arrays;
    int32_t n = ReadFootprintPoints(footprint, arrays, 6);
    if (!n)
        return nullptr;
    Point3f* foot = arrays.items[0];
    Point3f* footIn = arrays.items[1];
    Point3f* footOut = arrays.items[2];
    Point3f* top = arrays.items[3];
    Point3f* topIn = arrays.items[4];
    Point3f* topOut = arrays.items[5];
    float rise = UnitsToPlanLength(wall->parameters[0], settings, 0) +
                 UnitsToPlanLength(wall->parameters[2], settings, 0);
    ChainToPointArrays(footprint, top, topIn, topOut, n);
    for (int32_t i = 0; i < n; ++i)
        top[i].y -= rise;

    bool closed = footprint->closed;
    PlanObject* mesh = CreateFootprintMesh(closed, foot, top, footIn, footOut, topIn, topOut, n, floor);
    FreeObject(footprint);
    if (mesh) {
        if (closed) {
            mesh->type = ObjWallMesh;
            mesh->buildFlag = 0;
        } else {
            mesh->type = ObjWallMeshExterior;
        }
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
    // The footing reaches half the foundation width to either side of the wall line.
    PlanObject* footprint = BuildWallFootprint(wall, wall->parameters[3], true);
    PointArrays arrays;
    int32_t n = ReadFootprintPoints(footprint, arrays, 3);
    if (!n)
        return nullptr;
    PlanObject* mesh = CreateFootprintMesh(footprint->closed, arrays.items[0], nullptr, arrays.items[1],
                                           arrays.items[2], nullptr, nullptr, n, floor);
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
    FreeObjectChain(oldMesh);
    wall->link = BuildWallMesh(wall);
    PlanObject* oldFooting = wall->firstPart;
    wall->firstPart = nullptr;
    FreeObjectChain(oldFooting);
    if (wall->subType == kExteriorWallGroup)
        wall->firstPart = BuildFoundationMesh(wall);
}

void RebuildFloorWalls(PlanFloor* floor)
{
    ForEachShownFloorObject(floor, RebuildWall);
}

void RebuildAllWalls(PlanFloor* firstFloor)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        RebuildFloorWalls(floor);
}
