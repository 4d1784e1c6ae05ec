#pragma once
#include <stdint.h>
#include <stdlib.h>

// Makers of plan objects from plain point arrays: the wall meshes, stair, railing and
// fence parts, door and window frames and the shapes of the drawing tools are all
// objects of one or two rings of points made here.

struct PlanFloor;
struct PlanObject;

// A point or a tangent: x and z in the plan, y the height (growing downward).
struct Point3f {
    float x;
    float y;
    float z;
};

// Point arrays of one build (at most six, zero-filled), all released together.
struct PointArrays {
    Point3f* items[6] = {};
    PointArrays() = default;
    PointArrays(const PointArrays&) = delete;
    PointArrays& operator=(const PointArrays&) = delete;
    // Allocates the first count arrays of n points each; false when memory runs out.
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

// A new unlinked object of the type with the look of new drawing objects: with
// useDefaults (and settings) the plan pen colour, the new-object colour, the pen width,
// the line-style word and the shared second style word; otherwise colour A unset,
// colour B black, size 1.0, style words 6 and 0. Null on failure.
PlanObject* CreateMakerObject(uint16_t type, uint8_t closed, uint8_t useDefaults,
                              const float* box2D, PlanFloor* floor);

// Copies the positions and both tangents of the object's vertex chain, at most count
// vertices, into the arrays.
void ChainToPointArrays(const PlanObject* object, Point3f* positions, Point3f* tangentsIn,
                        Point3f* tangentsOut, int32_t count);

// A new object of the type with one vertex per entry of ring 1 and, when its positions
// and both tangent arrays are given, one per entry of ring 2 (row count 2; 1 otherwise).
// Needs floor, positions and both ring-1 tangent arrays; null otherwise or when memory
// runs out. With attach the object is appended to the floor's list.
PlanObject* BuildObjectFromArrays(const Point3f* positions, const Point3f* positions2,
                                  const Point3f* tangentsIn, const Point3f* tangentsOut,
                                  const Point3f* tangentsIn2, const Point3f* tangentsOut2,
                                  int32_t count, PlanFloor* floor, uint8_t useDefaults,
                                  uint16_t type, uint8_t closed, uint8_t attach);
// A closed solid (type 8) on the floor, its winding, projection and texture lengths set.
PlanObject* CreateSolidFromArrays(const Point3f* positions, const Point3f* positions2,
                                  const Point3f* tangentsIn, const Point3f* tangentsOut,
                                  const Point3f* tangentsIn2, const Point3f* tangentsOut2,
                                  int32_t count, PlanFloor* floor, uint8_t useDefaults);
// An open surface (type 9) on the floor, its texture lengths set.
PlanObject* CreateSurfaceFromArrays(const Point3f* positions, const Point3f* positions2,
                                    const Point3f* tangentsIn, const Point3f* tangentsOut,
                                    const Point3f* tangentsIn2, const Point3f* tangentsOut2,
                                    int32_t count, PlanFloor* floor, uint8_t useDefaults);
// The outline pushed through by (-dx, 0, -dz) as a two-ring object of the outline's own
// type; the outline is freed. Null when nothing could be built.
PlanObject* ConvertOutlineToSolid(PlanObject* object, float dx, float dz);
// A plant (type 28) standing on the floor, sized by its plant data (200 square without).
PlanObject* CreatePlantObject(PlanFloor* floor, uint8_t useDefaults, uint32_t plantId);
// A rectangle (type 1) with corners (x1, y1) and (x2, y2); null for equal corners.
PlanObject* CreateRectangleObject(float x1, float y1, float x2, float y2, PlanFloor* floor,
                                  uint8_t useDefaults);
