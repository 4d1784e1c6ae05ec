#pragma once
#include <stdint.h>

// The interior wall 7051 and retaining wall 7507 tools: one straight segment per
// drag. A drag in free space makes a new two-point wall; from or onto the free end of
// an open wall it extends that wall; from one free end of a wall to its other end it
// closes the chain; from a free end of one wall to one of another it joins them; from
// or onto a wall's face it meets that face. A click selects the point or segment under
// it. Also the per-segment data every wall vertex carries for the segment starting
// at it, and the small chain operations the walls share.

struct PlanFloor;
struct PlanObject;
struct PlanVertex;

// Dispatcher form: (window x, window y, model x, y, z, event).
void HandleWallTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);

// Removes every vertex whose incoming and outgoing segments run in the same whole
// degree (a closed wall's wrap-around too); the openings of a removed segment move to
// the joined one, their distances kept from its start. Rebuilds when anything went.
void RemoveCollinearWallPoints(PlanObject* wall);
// Openings whose segment starts at the removed vertex get the new start, those whose
// segment ends there the new end.
void RelinkWallOpenings(PlanObject* wall, PlanVertex* removed, PlanVertex* newStart,
                        PlanVertex* newEnd);
// Appends every opening of one wall to the other's, the other becoming their owner.
void MoveWallChildren(PlanObject* from, PlanObject* to);
// Pulls or pushes the end B of the segment A-B onto the near face of the nearest wall
// of the storey that the segment's line crosses (or nearly reaches, within 20.0).
void TrimWallEndAtCrossing(PlanObject* wall, PlanVertex* fixedA, PlanVertex* movingB,
                           PlanFloor* storey);

// The per-segment defaults of a new wall vertex for the tool (7507 retaining, any
// other interior) at the wall height given.
void SetWallSegmentDefaults(PlanVertex* vertex, int16_t toolId, float height);
// The height of new walls of the tool: 36.0 for retaining walls, else the current
// storey's height (96.0 without one).
float NewWallHeight(int16_t toolId);
// The data of the segment that starts at from, given to to (position and tangents stay).
void CopyWallSegmentData(PlanVertex* to, const PlanVertex* from);
// The same for a segment that now runs the other way: faces traded, heights and pitches
// of the sloped styles traded, the one-sided styles mirrored.
void CopyReversedWallSegmentData(PlanVertex* to, const PlanVertex* from);
