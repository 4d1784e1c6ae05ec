#include "model/generated_children.h"
#include "model/object_copies.h"
#include "model/outline_offsets.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/texture_coords.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "model3d/array_objects.h"
#include "model3d/fences.h"
#include "model3d/generated_parts.h"
#include "dialogs/photo_view_dialog.h"
#include "render3d/object_polygons.h"
#include "shell/app_globals.h"
#include "shell/file_dialogs.h"
#include <string.h>
#include <initializer_list>
#include <stdlib.h>

uint32_t imageTextureCounter = 1;

void NumberImagePicture(PlanObject* object)
{
    uint32_t number = imageTextureCounter++;
    object->imageId1 = number;
    object->imageId2 = number;
    object->value3 = number;
    for (PlanVertex* v = object->firstVertex; v; v = v->next) {
        v->faceTextureA = number;
        v->faceTextureB = number;
    }
}

namespace {

const float kHalfPi = 1.5707963267948966f;
const uint16_t kFenceBorder = 2;
// The slope marker of a freehand roof is 80.0 long, centred on the roof.
const float kMarkerHalfLength = 40.0f;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

PlanFloor* FloorOf(const PlanObject* object)
{
    if (object->floor)
        return object->floor;
    return activeDocument ? activeDocument->currentFloor : nullptr;
}

// What every rebuild starts with: the object's polygons and old parts go.
void StartRebuild(PlanObject* object)
{
    RemoveObjectPolygons(object);
    FreeGeneratedParts(object);
}

// A vertical two-row surface over the segment a -> b: the upper row at the points, the
// lower row drop below each in y. Typed, open, in no list; null when it cannot be made.
PlanObject* MakeDropSurface(const PlanVertex* a, const PlanVertex* b, float drop, uint16_t type,
                            PlanFloor* floor)
{
    Point3f upper[2] = {{a->position[0], a->position[1], a->position[2]},
                        {b->position[0], b->position[1], b->position[2]}};
    Point3f lower[2] = {{a->position[0], a->position[1] - drop, a->position[2]},
                        {b->position[0], b->position[1] - drop, b->position[2]}};
    Point3f zero[2] = {};
    PlanObject* surface =
        CreateSurfaceFromArrays(upper, lower, zero, zero, zero, zero, 2, floor, 1);
    if (!surface)
        return nullptr;
    UnlinkObject(surface);
    surface->type = type;
    surface->closed = 0;
    return surface;
}

// Moves the fence pieces hung on a side object to the end of the owner's parts.
void TakeOverParts(PlanObject* owner, PlanObject* side)
{
    PlanObject* part = static_cast<PlanObject*>(side->link);
    side->link = nullptr;
    while (part) {
        PlanObject* next = part->next;
        AppendGeneratedPart(owner, part);
        part = next;
    }
}

void ZeroTangents(PlanVertex* v)
{
    if (!v)
        return;
    for (int k = 0; k < 3; ++k) {
        v->inTangent[k] = 0.0f;
        v->outTangent[k] = 0.0f;
    }
}

PlanVertex* VertexAt(PlanObject* object, int32_t index)
{
    PlanVertex* v = object->firstVertex;
    for (int32_t i = 0; i < index && v; ++i)
        v = v->next;
    return v;
}

template <typename Rebuild>
void RebuildFloorsOfTypes(PlanFloor* firstFloor, uint16_t typeA, uint16_t typeB, Rebuild rebuild)
{
    ForEachShownObject(firstFloor, [=](PlanObject* object) {
        if (object->type == typeA || object->type == typeB)
            rebuild(object);
    });
}

} // namespace

PlanObject* BuildPathSurface(PlanObject* path)
{
    if (!path || !path->firstVertex || !Settings() || !FloorOf(path))
        return nullptr;
    ClearObjectVertexSlopes(path);
    PlanObject* copy = CopyOutlineWithoutChildren(path);
    if (!copy)
        return nullptr;
    PlanObject* surface = SplitWallGroupIntoSides(copy, path->size, 1);
    if (!surface)
        return nullptr;
    RecomputeObject(path);
    RecomputeObject(surface);

    // Both ends of the band stay square: no curve at the far turn or at the start.
    int32_t count = CountVertexChain(surface);
    int32_t half = count / 2;
    if (half >= 2) {
        ZeroTangents(VertexAt(surface, half - 1));
        ZeroTangents(VertexAt(surface, half));
        ZeroTangents(VertexAt(surface, count - 1));
        ZeroTangents(surface->firstVertex);
    }

    const PlanVertex* look = path->firstVertex;
    surface->colourA = look->faceColourA;
    surface->colourB = look->faceColourA;
    surface->type = ObjPathPart;
    ComputeProjectionExtents(surface);
    ComputeMeshTextureCoords(surface);
    ComputeProjectionExtents(path);
    ComputeMeshTextureCoords(path);
    for (PlanVertex* v = surface->firstVertex; v; v = v->next) {
        v->faceTextureA = look->faceTextureA;
        v->faceTextureB = look->faceTextureB;
        v->faceColourA = look->faceColourA;
        v->faceColourB = look->faceColourB;
        v->position[1] += 2.0f;
    }
    UnlinkObject(surface);
    surface->host = path;
    UpdateObjectExtents(surface);
    return surface;
}

PlanObject* FindPathSurface(const PlanObject* path)
{
    if (!path || path->type != ObjPath)
        return nullptr;
    for (PlanObject* part = static_cast<PlanObject*>(path->link); part; part = part->next)
        if (part->type == ObjPathPart)
            return part;
    return nullptr;
}

void RebuildPath(PlanObject* path)
{
    if (!path || path->type != ObjPath)
        return;
    StartRebuild(path);
    if (!Settings())
        return;
    if (path->value2 == kFenceBorder) {
        ClearObjectVertexSlopes(path);
        PlanObject* left = SplitOpenWallGroupSide(path, path->size / 2.0f, kOffsetSideLeft);
        PlanObject* right = SplitOpenWallGroupSide(path, path->size / 2.0f, kOffsetSideRight);
        RecomputeObject(path);
        if (!left || !right) {
            FreeObject(left);
            FreeObject(right);
            return;
        }
        for (PlanObject* side : {left, right}) {
            RecomputeObject(side);
            side->type = ObjFence;
            side->rows = 1;
            RebuildFence(side);
        }
        TakeOverParts(path, left);
        TakeOverParts(path, right);
        FreeObject(left);
        FreeObject(right);
    }
    PlanObject* surface = BuildPathSurface(path);
    if (surface)
        AppendGeneratedPart(path, surface);
}

void RebuildSlabChildren(PlanObject* object)
{
    if (!object || (object->type != ObjFloorSlab && object->type != ObjFloorOpening))
        return;
    StartRebuild(object);
    PlanSettings* settings = Settings();
    if (!settings)
        return;
    float thickness = object->parameters[2];
    if (!(thickness > 0.0f))
        return;
    PlanFloor* floor = FloorOf(object);
    if (!floor)
        return;
    float drop = UnitsToPlanLength(thickness, settings, 0);
    PlanVertex* first = object->firstVertex;
    for (PlanVertex* v = first; v; v = v->next) {
        PlanVertex* n = v->next ? v->next : first;
        PlanObject* face = MakeDropSurface(v, n, drop, ObjDeckPart, floor);
        if (!face)
            continue;
        for (PlanVertex* w = face->firstVertex; w; w = w->next) {
            w->faceTextureA = v->faceTextureA;
            w->faceTextureB = v->faceTextureB;
            w->faceColourA = v->faceColourA;
            w->faceColourB = v->faceColourB;
        }
        AppendGeneratedPart(object, face);
    }
}

void RebuildImageObject(PlanObject* object)
{
    if (!object || object->type != ObjImage)
        return;
    StartRebuild(object);
    PlanFloor* floor = FloorOf(object);
    PlanVertex* p = object->firstVertex;
    PlanVertex* q = p ? p->next : nullptr;
    if (!Settings() || !floor || !q)
        return;
    PlanObject* panel = MakeDropSurface(p, q, object->parameters[0], ObjImagePart, floor);
    if (!panel)
        return;
    for (PlanVertex* w = panel->firstVertex; w; w = w->next) {
        w->faceTextureA = p->faceTextureA;
        w->faceTextureB = p->faceTextureB;
        w->faceColourA = p->faceColourA;
        w->faceColourB = p->faceColourB;
    }
    AppendGeneratedPart(object, panel);
}

void ChooseObjectImage(PlanObject* object)
{
    PlanSettings* settings = Settings();
    if (!object || object->type != ObjImage || !settings)
        return;
    ChooseImageFileToOpen(frameWindow);
    strcpy(fileNameBuffer, "*.BMP");
    if (!ChooseFileToOpen(frameWindow, fileNameBuffer, fileTitleBuffer))
        return;
    size_t length = strnlen(fileNameBuffer, FileNameBufferSize - 1);
    if (length > 0) {
        char* path = static_cast<char*>(AllocateRecord(length + 5));
        if (path) {
            memcpy(path, fileNameBuffer, length);
            if (object->imagePath)
                ReleaseRecord(object->imagePath);
            object->imagePath = path;
            NumberImagePicture(object);
            RebuildImageObject(object);
        }
    }
    EditLumarefSettings(object, settings);
}

void ApplyRoofSlope(PlanObject* roof, PlanObject* plate)
{
    PlanSettings* settings = Settings();
    if (!settings || !roof || !plate)
        return;
    int32_t count = CountVertexChain(plate);
    int32_t ring = plate->rows > 1 ? count / plate->rows : count;
    if (ring < 3)
        return;
    float direction = roof->parameters[0] * 3.14159265358979323846f / 180.0f;
    float rise = roof->size / 12.0f * 100.0f;
    float ax = 0.0f, az = 0.0f, bx = 0.0f, bz = 0.0f;
    OffsetPointPolar(direction, 100.0f, &ax, &az);
    OffsetPointPolar(direction + kHalfPi, 100.0f, &bx, &bz);
    float a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;
    ComputePlaneFromPoints(0.0f, 0.0f, 0.0f, ax, az, rise, bx, bz, 0.0f, &a, &b, &c, &d);

    PlanVertex* v = plate->firstVertex;
    float reference = 0.0f;
    for (int32_t i = 0; i < ring && v; ++i, v = v->next) {
        v->position[1] = SolvePlaneForZ(v->position[0], v->position[2], a, b, c, d);
        if (i == 0 || (roof->winding == 0 ? v->position[1] > reference
                                          : v->position[1] < reference))
            reference = v->position[1];
    }
    float thickness = UnitsToPlanLength(6.0f, settings, 0);
    PlanVertex* partner = plate->firstVertex;
    for (int32_t i = 0; i < ring && partner; ++i, partner = partner->next)
        partner->position[1] -= reference;
    partner = plate->firstVertex;
    for (PlanVertex* w = v; w && partner; w = w->next, partner = partner->next)
        w->position[1] = partner->position[1] - thickness;
}

void RebuildFreehandRoof(PlanObject* roof)
{
    if (!roof || roof->type != ObjFreehandRoof)
        return;
    StartRebuild(roof);
    PlanFloor* floor = roof->floor;
    if (!Settings() || !floor)
        return;

    // The slope marker: a child that survives rebuilds and is aimed anew each time.
    PlanObject* marker = nullptr;
    for (PlanObject* child = roof->firstChild; child; child = child->next)
        if (child->type == ObjFreehandRoofPart) {
            marker = child;
            break;
        }
    if (!marker && !roof->firstChild) {
        marker = CreateObject(ObjFreehandRoofPart, 0, 1, &roof->colourA, &roof->colourB,
                              roof->size, 6, 0, nullptr, nullptr, nullptr, roof, floor, nullptr);
        if (marker) {
            marker->rows = 1;
            roof->firstChild = marker;
        }
    }
    if (marker) {
        while (CountVertexChain(marker) < 2) {
            PlanVertex* added = NewVertexNode(1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, marker);
            if (!added)
                break;
            AddObjectPoint(added, marker);
        }
        PlanVertex* first = marker->firstVertex;
        PlanVertex* second = first ? first->next : nullptr;
        if (second) {
            float cx = (roof->box3D[1] + roof->box3D[4]) / 2.0f;
            float cz = (roof->box3D[2] + roof->box3D[5]) / 2.0f;
            float ox = 0.0f, oz = 0.0f;
            OffsetPointPolar(roof->parameters[0] * 3.14159265358979323846f / 180.0f,
                             kMarkerHalfLength, &ox, &oz);
            first->position[0] = cx - ox;
            first->position[1] = 0.0f;
            first->position[2] = cz - oz;
            second->position[0] = cx + ox;
            second->position[1] = 0.0f;
            second->position[2] = cz + oz;
            UpdateObjectExtents(marker);
        }
    }

    // The plate: two rings of the outline, laid on the slope.
    int32_t count = CountVertexChain(roof);
    if (count < 1)
        return;
    PointArrays arrays;
    if (!arrays.Allocate(count, 2))
        return;
    Point3f* ring = arrays.items[0];
    Point3f* zero = arrays.items[1];
    int32_t i = 0;
    for (PlanVertex* v = roof->firstVertex; v && i < count; v = v->next, ++i)
        ring[i] = {v->position[0], 0.0f, v->position[2]};
    PlanObject* plate =
        BuildObjectFromArrays(ring, ring, zero, zero, zero, zero, count, floor, 0, 8, 1, 0);
    if (!plate)
        return;
    UpdateObjectWinding(plate);
    ComputeProjectionExtents(plate);
    ComputeMeshTextureCoords(plate);
    plate->type = ObjGeneratedPart59;
    plate->buildFlag = 1;
    plate->colourA = roof->colourA;
    plate->colourB = roof->colourB;
    plate->imageId1 = roof->imageId1;
    plate->imageId2 = roof->imageId2;
    plate->colour3 = roof->colour3;
    plate->colour4 = roof->colour4;
    for (PlanVertex* v = plate->firstVertex; v; v = v->next) {
        v->faceTextureA = roof->imageId1;
        v->faceTextureB = roof->imageId2;
        v->faceColourA = roof->colour3;
        v->faceColourB = roof->colour4;
    }
    ApplyRoofSlope(roof, plate);
    AppendGeneratedPart(roof, plate);
}

void RebuildAllPaths(PlanFloor* firstFloor)
{
    RebuildFloorsOfTypes(firstFloor, ObjPath, ObjPath, RebuildPath);
}

void RebuildAllFloorSlabs(PlanFloor* firstFloor)
{
    RebuildFloorsOfTypes(firstFloor, ObjFloorSlab, ObjFloorOpening, RebuildSlabChildren);
}

void RebuildAllImageObjects(PlanFloor* firstFloor)
{
    RebuildFloorsOfTypes(firstFloor, ObjImage, ObjImage, RebuildImageObject);
}

void RebuildAllFreehandRoofs(PlanFloor* firstFloor)
{
    RebuildFloorsOfTypes(firstFloor, ObjFreehandRoof, ObjFreehandRoof, RebuildFreehandRoof);
}
