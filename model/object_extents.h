#pragma once
#include <stdint.h>

// Bounding boxes of plan objects, of storeys and of the whole plan. The caller owns
// the box and sets it to the empty sentinel; these routines only grow it, and a box
// still holding the sentinel takes the first point as its minimum and maximum. A box
// left at the sentinel means nothing was measured.

struct PlanFloor;
struct PlanObject;
struct PlanVertex;

// Four floats: minimum y, minimum x, maximum y, maximum x (a window rectangle's top,
// left, bottom, right). View coordinates of the current view, or plan z and x.
typedef float ExtentRect[4];
// Six floats: minimum y, x, z, then maximum y, x, z; y is the height. Model units.
typedef float ExtentBox[6];

enum ExtentRectIndex { kRectMinY = 0, kRectMinX = 1, kRectMaxY = 2, kRectMaxX = 3 };
enum ExtentBoxIndex {
    kBoxMinY = 0, kBoxMinX = 1, kBoxMinZ = 2, kBoxMaxY = 3, kBoxMaxX = 4, kBoxMaxZ = 5
};

// The slot of a model axis's minimum in an ExtentBox (axis 0 x, 1 height, 2 z, as in a
// vertex position); its maximum is 3 slots on. Box slots and position indexes differ:
// the box puts the height first.
inline int BoxMinSlotOfAxis(int axis)
{
    return axis == 0 ? kBoxMinX : axis == 1 ? kBoxMinY : kBoxMinZ;
}

// The empty sentinel: minima at +32000, maxima at -32000 (tested exactly).
const float kExtentEmpty = 32000.0f;
// No point of the plan lies farther from its origin on any axis.
const float kPlanLimit = 32000.0f;

inline void ResetExtentRect(float* rect)
{
    rect[kRectMinY] = kExtentEmpty;
    rect[kRectMinX] = kExtentEmpty;
    rect[kRectMaxY] = -kExtentEmpty;
    rect[kRectMaxX] = -kExtentEmpty;
}

inline void ResetExtentBox(float* box)
{
    for (int i = 0; i < 3; ++i) {
        box[i] = kExtentEmpty;
        box[i + 3] = -kExtentEmpty;
    }
}

// Chains over the floors from `firstFloor` through the next links; hidden floors
// (shown byte 0) are skipped, objects are visited in list order.
//   2D: vertices projected into the current view, curves sampled, children.
void GetAllFloorsExtents2D(PlanFloor* firstFloor, uint8_t selectedOnly, float* rect,
                           uint8_t verticesOnly, uint8_t pen);
void GetFloorExtents2D(PlanFloor* floor, uint8_t selectedOnly, float* rect,
                       uint8_t verticesOnly, uint8_t pen);
//   View: the projected corners of each object's stored 3D box (widened by the pen).
void GetAllFloorsViewExtents(PlanFloor* firstFloor, uint8_t selectedOnly, float* rect,
                             uint8_t reserved, uint8_t pen);
void GetFloorViewExtents(PlanFloor* floor, uint8_t selectedOnly, float* rect,
                         uint8_t reserved, uint8_t pen);
//   3D: model-space vertices, curves sampled, children.
void GetAllFloorsExtents3D(PlanFloor* firstFloor, uint8_t selectedOnly, float* box,
                           uint8_t verticesOnly);
void GetFloorExtents3D(PlanFloor* floor, uint8_t selectedOnly, float* box, uint8_t verticesOnly);
//   Render: as 3D, but roofs by their generated parts.
void GetAllFloorsRenderExtents3D(PlanFloor* firstFloor, uint8_t selectedOnly, float* box,
                                 uint8_t verticesOnly);
void GetFloorRenderExtents3D(PlanFloor* floor, uint8_t selectedOnly, float* box,
                             uint8_t verticesOnly);
//   Stored boxes: the 8 corners of each object's stored 3D box.
void GetAllFloorsBoxExtents3D(PlanFloor* firstFloor, uint8_t selectedOnly, float* box,
                              uint8_t reserved);
void GetFloorBoxExtents3D(PlanFloor* floor, uint8_t selectedOnly, float* box, uint8_t reserved);

// One object (a wall is measured through its generated object, the link).
void GetObjectExtents2D(PlanObject* object, uint8_t selectedOnly, float* rect,
                        uint8_t verticesOnly, uint8_t pen);
void GetObjectExtents3D(PlanObject* object, uint8_t selectedOnly, float* box,
                        uint8_t verticesOnly);
void AddObjectRenderExtents3D(PlanObject* object, uint8_t selectedOnly, float* box,
                              uint8_t verticesOnly);
void AddObjectViewExtents(PlanObject* object, uint8_t selectedOnly, float* rect,
                          uint8_t reserved, uint8_t pen);
void AddObjectBoxExtents3D(PlanObject* object, uint8_t selectedOnly, float* box,
                           uint8_t reserved);

// The vertex walks of one object and its children.
void AddObjectVertexExtents2D(PlanObject* object, uint8_t selectedOnly, float* rect,
                              uint8_t verticesOnly, uint8_t pen);
void AddObjectVertexExtents3D(PlanObject* object, uint8_t selectedOnly, float* box,
                              uint8_t verticesOnly);
// Sample one Hermite segment a -> b (the document's curve steps, 10 without one).
void AddCurveSegmentExtents2D(const PlanVertex* a, const PlanVertex* b, float* rect,
                              uint8_t pen, int16_t penDx, int16_t penDy);
void AddCurveSegmentExtents3D(const PlanVertex* a, const PlanVertex* b, float* box);

// Projects a model point into the current view and grows the rectangle by its x, y.
void GrowViewBoxByPoint(float x, float y, float z, float* rect);
void GrowBox3DByPoint(float x, float y, float z, float* box);
