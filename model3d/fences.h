#pragma once
#include <stdint.h>

// The generated pieces of fences. A picket fence (type 25) is a polyline whose
// segments become pickets and rails by its style (700 to 703), or a gate where a
// vertex of kind 6 starts the segment; a post fence (type 24) gets a post every 20.0
// along its Hermite curves. The pieces hang on the fence's link, rebuilt whole from the
// polyline and never edited in place.

struct PlanFloor;
struct PlanObject;

// The walk of the post fence: a pattern of lengths (the post fence uses only the first,
// its post spacing) and the distance carried on from segment to segment.
struct PostRunState {
    uint16_t count;
    float lengths[6];
    uint16_t index;
    float carried;
};
extern PostRunState postRunState;

// Nothing unless the object is of the type, has at least 2 vertices and one row.
void RebuildFence(PlanObject* fence);
void RebuildPicketFence(PlanObject* fence);
// The rebuild on every object of the floor, in list order, when the floor is shown.
void RebuildFloorFences(PlanFloor* floor);
void RebuildFloorPicketFences(PlanFloor* floor);
// The floor rebuild on every floor of the list from firstFloor on.
void RebuildAllFences(PlanFloor* firstFloor);
void RebuildAllPicketFences(PlanFloor* firstFloor);
