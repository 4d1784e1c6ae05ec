#pragma once
#include <stdint.h>

struct PlanFloor;
struct PlanObject;
struct PlanVertex;

// Doors, windows and wall elements sit on a segment of their wall by their opening
// record; after every change of the wall they are laid out again from it here.

// Every wall of every shown floor from firstFloor on.
void FitAllWallOpenings(PlanFloor* firstFloor);
void FitFloorWallOpenings(PlanFloor* floor);
// Lays each opening of a wall out again; returns the number of openings removed
// (0 for anything but a wall). Removing any tells the user once for the wall.
int16_t FitWallOpenings(PlanObject* wall);
// Lays one opening on its segment, or frees it when it no longer fits 8.0 inside both
// segment ends; 1 when it was removed.
int16_t FitOneOpening(PlanObject* opening);
// The drag placement rule: the opening of the width around the cursor, along the segment,
// kept 5.0 inside the span [spanStart, spanEnd]; with an end grabbed only that end moves
// and the opening stays at least 18.0 wide. firstEnd and secondEnd are (x, z), read as
// the current ends and written with the new ones.
void ComputeOpeningPositions(const PlanVertex* segmentStart, const PlanVertex* segmentEnd,
                             float width, float spanStart, float spanEnd, float cursorX,
                             float cursorZ, float* firstEnd, float* secondEnd,
                             uint8_t secondEndGrabbed, uint8_t firstEndGrabbed);
// The third plan point (x, z) of an opening centred at the distance along the segment:
// its centre on the wall line moved by the offset (the record's height) across the wall,
// 90 degrees counter-clockwise of the segment's direction when side is set, clockwise
// otherwise. Placing, dragging and every refit put the point here.
void OpeningSidePoint(const PlanVertex* segmentStart, const PlanVertex* segmentEnd,
                      float distance, uint8_t side, float offset, float* point);
// Adds delta to the centre distance of every opening of the wall on the segment that
// starts at the vertex.
void ShiftOpeningsOnSegment(PlanObject* wall, PlanVertex* segmentStart, float delta);
// True when the vertex belongs to the object's chain (a record may outlive its vertex).
bool IsVertexOfObject(const PlanObject* object, const PlanVertex* vertex);
