#include "model3d/array_objects.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/object_extents.h"
#include "model/object_copies.h"
#include "model/outline_offsets.h"
#include "model/texture_coords.h"
#include "model3d/rebuild_driver.h"
#include "dialogs/plant_info.h"
#include <stdlib.h>

namespace {

// Colours, size and style words of a new maker object.
struct MakerLook {
    ColourTriple colourA;
    ColourTriple colourB;
    float size;
    uint16_t value1;
    uint16_t value2;
};

MakerLook ChooseLook(uint8_t useDefaults)
{
    MakerLook look;
    PlanSettings* settings = activeDocument ? activeDocument->settings : nullptr;
    if (useDefaults && settings) {
        look.colourA = settings->foregroundColour;
        look.colourB = settings->newObjectColour;
        // The pen-width word is signed.
        look.size = (float)(int16_t)settings->defaultPenWidth;
        look.value1 = settings->defaultFirstStyle;
        look.value2 = settings->commonProperties.secondStyle;
    } else {
        look.colourA = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
        look.colourB = {0, 0, 0};
        look.size = 1.0f;
        look.value1 = 6;
        look.value2 = 0;
    }
    return look;
}

bool AppendPoint(PlanObject* object, const Point3f& in, const Point3f& at, const Point3f& out)
{
    PlanVertex* vertex = NewVertexNode(1, 1, 0, in.x, in.y, in.z, at.x, at.y, at.z, out.x, out.y,
                                       out.z, 0.0f, 0.0f, 0.0f, object);
    if (!vertex)
        return false;
    AddObjectPoint(vertex, object);
    return true;
}

// One ring of points appended to the object's chain; false when a point could not be made.
bool AppendRing(PlanObject* object, const Point3f* positions, const Point3f* tangentsIn,
                const Point3f* tangentsOut, int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
        if (!AppendPoint(object, tangentsIn[i], positions[i], tangentsOut[i]))
            return false;
    return true;
}

} // namespace

PlanObject* CreateMakerObject(uint16_t type, uint8_t closed, uint8_t useDefaults,
                              const float* box2D, PlanFloor* floor)
{
    MakerLook look = ChooseLook(useDefaults);
    return CreateObject(type, closed, 1, &look.colourA, &look.colourB, look.size, look.value1,
                        look.value2, box2D, nullptr, nullptr, nullptr, floor, nullptr);
}

void ChainToPointArrays(const PlanObject* object, Point3f* positions, Point3f* tangentsIn,
                        Point3f* tangentsOut, int32_t count)
{
    int32_t i = 0;
    for (const PlanVertex* v = object->firstVertex; v && i < count; v = v->next, ++i) {
        positions[i] = {v->position[0], v->position[1], v->position[2]};
        tangentsIn[i] = {v->inTangent[0], v->inTangent[1], v->inTangent[2]};
        tangentsOut[i] = {v->outTangent[0], v->outTangent[1], v->outTangent[2]};
    }
}

PlanObject* BuildObjectFromArrays(const Point3f* positions, const Point3f* positions2,
                                  const Point3f* tangentsIn, const Point3f* tangentsOut,
                                  const Point3f* tangentsIn2, const Point3f* tangentsOut2,
                                  int32_t count, PlanFloor* floor, uint8_t useDefaults,
                                  uint16_t type, uint8_t closed, uint8_t attach)
{
    if (!floor || !positions || !tangentsIn || !tangentsOut)
        return nullptr;
    if (count < 0)
        count = 0;
    PlanObject* object = CreateMakerObject(type, closed, useDefaults, nullptr, floor);
    if (!object)
        return nullptr;
    // The second ring only exists when all three of its arrays do; the row count says
    // what the chain really holds, so a lone ring is never read as two half rows.
    bool secondRing = positions2 && tangentsIn2 && tangentsOut2;
    if (!AppendRing(object, positions, tangentsIn, tangentsOut, count) ||
        (secondRing && !AppendRing(object, positions2, tangentsIn2, tangentsOut2, count))) {
        // Rows of unequal length would make every later face wrong.
        FreeObject(object);
        return nullptr;
    }
    if (attach)
        AttachObjectToFloor(object, floor);
    object->rows = secondRing ? 2 : 1;
    UpdateObjectExtents(object);
    // A fresh object's winding is still unknown (0), so its rows keep the order given:
    // the geometry never depends on where the viewer happens to stand.
    if (closed && attach && object->rows > 1)
        EnsureCounterClockwise(object, 1);
    return object;
}

PlanObject* CreateSolidFromArrays(const Point3f* positions, const Point3f* positions2,
                                  const Point3f* tangentsIn, const Point3f* tangentsOut,
                                  const Point3f* tangentsIn2, const Point3f* tangentsOut2,
                                  int32_t count, PlanFloor* floor, uint8_t useDefaults)
{
    PlanObject* object = BuildObjectFromArrays(positions, positions2, tangentsIn, tangentsOut,
                                               tangentsIn2, tangentsOut2, count, floor,
                                               useDefaults, 8, 1, 1);
    if (!object)
        return nullptr;
    UpdateObjectWinding(object);
    ComputeProjectionExtents(object);
    ComputeMeshTextureCoords(object);
    return object;
}

PlanObject* CreateSurfaceFromArrays(const Point3f* positions, const Point3f* positions2,
                                    const Point3f* tangentsIn, const Point3f* tangentsOut,
                                    const Point3f* tangentsIn2, const Point3f* tangentsOut2,
                                    int32_t count, PlanFloor* floor, uint8_t useDefaults)
{
    PlanObject* object = BuildObjectFromArrays(positions, positions2, tangentsIn, tangentsOut,
                                               tangentsIn2, tangentsOut2, count, floor,
                                               useDefaults, 9, 0, 1);
    if (!object)
        return nullptr;
    ComputeMeshTextureCoords(object);
    return object;
}

PlanObject* ConvertOutlineToSolid(PlanObject* object, float dx, float dz)
{
    if (!activeDocument || !activeDocument->settings || !object)
        return nullptr;
    PlanFloor* floor = object->floor ? object->floor : activeDocument->currentFloor;
    if (!floor)
        return nullptr;

    int32_t n = CountVertexChain(object);
    PointArrays arrays;
    if (!arrays.Allocate(n > 0 ? n : 1, 6))
        return nullptr;
    Point3f* ring1 = arrays.items[0];
    Point3f* in1 = arrays.items[1];
    Point3f* out1 = arrays.items[2];
    Point3f* ring2 = arrays.items[3];
    Point3f* in2 = arrays.items[4];
    Point3f* out2 = arrays.items[5];
    ChainToPointArrays(object, ring1, in1, out1, n);
    ChainToPointArrays(object, ring2, in2, out2, n);
    for (int32_t i = 0; i < n; ++i) {
        ring2[i].x -= dx;
        ring2[i].z -= dz;
    }

    uint16_t type = object->type;
    PlanObject* solid;
    if (object->closed) {
        solid = BuildObjectFromArrays(ring1, ring2, in1, out1, in2, out2, n, floor, 0, 8, 1, 0);
        if (solid) {
            ComputeProjectionExtents(solid);
            ComputeMeshTextureCoords(solid);
            solid->type = type;
            solid->buildFlag = 1;
        }
    } else {
        solid = BuildObjectFromArrays(ring1, ring2, in1, out1, in2, out2, n, floor, 0, 9, 0, 0);
        if (solid) {
            ComputeMeshTextureCoords(solid);
            solid->type = type;
            solid->buildFlag = 0;
        }
    }
    if (solid)
        solid->owner = object->owner;
    FreeObject(object);
    return solid;
}

PlanObject* CreatePlantObject(PlanFloor* floor, uint8_t useDefaults, uint32_t plantId)
{
    if (!floor || !activeDocument || !activeDocument->settings)
        return nullptr;
    PlanSettings* settings = activeDocument->settings;
    float base = GetFloorBaseHeight(floor);
    PlanObject* plant = CreateMakerObject(ObjPlant, 1, useDefaults, nullptr, floor);
    if (!plant)
        return nullptr;
    plant->category = settings->activeCategory;
    plant->plantData = LoadPlantInfo(plantId);
    plant->plantAge = settings->plantAge;
    plant->value2 = 0;
    plant->onTerrain = 1;

    float w = 200.0f;
    if (plant->plantData) {
        float height = 0.0f;
        ComputePlantSizeAtAge(plant, &w, &height, 0);
        // A plant whose data give it no size (no information file: all zero) would
        // collapse to a point that can be neither seen nor picked.
        if (!(w > 0.0f))
            w = 200.0f;
    }
    const float corners[4][2] = {{0.0f, 0.0f}, {w, 0.0f}, {w, w}, {0.0f, w}};
    for (const auto& corner : corners) {
        PlanVertex* vertex = NewVertexNode(1, 1, 0, 0.0f, 0.0f, 0.0f, corner[0], base, corner[1],
                                           0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, plant);
        if (!vertex) {
            // A plant missing a corner would be drawn as a wrong shape; drop it whole.
            FreeObject(plant);
            return nullptr;
        }
        vertex->faceTextureA = plantId;
        vertex->faceTextureB = plantId;
        AddObjectPoint(vertex, plant);
    }
    AttachObjectToFloor(plant, floor);
    plant->rows = 1;
    UpdateObjectExtents(plant);
    BuildObject3D(plant);
    return plant;
}

PlanObject* CreateRectangleObject(float x1, float y1, float x2, float y2, PlanFloor* floor,
                                  uint8_t useDefaults)
{
    // Whole-unit corners ordered into top-left and bottom-right give the stored box.
    int16_t rx1 = (int16_t)(x1 + 0.5f);
    int16_t ry1 = (int16_t)(y1 + 0.5f);
    int16_t rx2 = (int16_t)(x2 + 0.5f);
    int16_t ry2 = (int16_t)(y2 + 0.5f);
    int16_t left = rx1 < rx2 ? rx1 : rx2;
    int16_t right = rx1 < rx2 ? rx2 : rx1;
    int16_t top = ry1 < ry2 ? ry1 : ry2;
    int16_t bottom = ry1 < ry2 ? ry2 : ry1;
    if (!floor || (x1 == x2 && y1 == y2))
        return nullptr;
    const float box[4] = {(float)top, (float)left, (float)bottom, (float)right};
    PlanObject* rectangle = CreateMakerObject(1, 1, useDefaults, box, floor);
    if (!rectangle)
        return nullptr;
    const float corners[4][2] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
    for (const auto& corner : corners) {
        PlanVertex* vertex = NewVertexNode(1, 1, 0, 0.0f, 0.0f, 0.0f, corner[0], corner[1], 0.0f,
                                           0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, rectangle);
        if (!vertex) {
            FreeObject(rectangle);
            return nullptr;
        }
        AddObjectPoint(vertex, rectangle);
    }
    AttachObjectToFloor(rectangle, floor);
    rectangle->rows = 1;
    return rectangle;
}
