#pragma once

// Curved stairs (style 801): steps laid one tread depth apart along the walking line's
// Hermite curves, each a wedge between two edges square to the curve, with side boards
// or framing members and the stair-side railings. The shared start of the rebuild
// (framing substitution, removal of the old parts, adjusted riser) is the stair
// rebuild's.

struct PlanObject;
struct StationWalk;

// The station walk of a stair: its tread depth as spacing (a depth that is no positive
// number counts as 1.0), the first station due at once. Needs a stair (type 38) and a
// plan with settings.
void InitStationWalk(StationWalk* walk, PlanObject* stair);
// Walks every segment of the walking line until the run state's height reaches the
// total rise (plan length).
void BuildCurvedStair(PlanObject* stair, float totalRise);
