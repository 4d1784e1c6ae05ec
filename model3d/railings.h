#pragma once
#include <stdint.h>
#include "model/plan_settings.h"

struct PlanFloor;
struct PlanObject;
struct StationWalk;

// Regenerates a railing's (type 45) posts and rails: straight (style 802) or following
// the curves of its line (every other style).
void RebuildRailing(PlanObject* railing);
// Every railing of every shown floor from firstFloor on.
void RebuildAllRailings(PlanFloor* firstFloor);

// One post 8.0 square centred on point (x, y, z), turned to the angle, rising height
// (display units) from the point's y, or from 0 with the down-to-ground flag.
void AddPostBox(const float* point, float angle, PlanObject* owner, float height,
                uint8_t toGround, uint32_t texture, ColourTriple colour);
// Balusters at the spacing (both ends included), a top rail and a bottom rail from
// start to end (x, y, z each); height and spacing in display units.
void BuildRailSegment(const float* start, const float* end, float angle, PlanObject* owner,
                      float height, float spacing, uint32_t texture, ColourTriple colour);
// The station walk of a curved railing: its baluster spacing, the first station due at
// once. Needs a railing (type 45) and a document with settings.
void InitRailingStationWalk(StationWalk* walk, PlanObject* railing);
