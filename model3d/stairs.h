#pragma once
#include <stdint.h>
#include "model/plan_settings.h"

struct PlanObject;

// Stations laid along a curve at a fixed spacing (curved stairs and curved railings).
struct StationWalk {
    float spacing;      // plan length between stations
    float carried;      // distance walked since the last station
};

// The one run state that the stair, railing and deck-step builders share while a
// rebuild runs (one rebuild at a time). The three totals feed the cost estimate, which
// alone resets them.
struct StairRunState {
    StationWalk walk;
    uint8_t firstEdgePending;       // the next step only records its edge; first post pending
    uint8_t lastSegment;            // the flight being built is the walking line's last
    uint8_t lastStep;
    uint8_t firstPostPending;       // curved stairs
    uint8_t firstStationPending;    // railings
    float accumulatedHeight;        // plan length climbed so far
    uint32_t balusterCount;
    uint32_t postCount;
    float handrailLength;           // plan length
    float previousLeft[3];          // previous edge points (x, y, z)
    float previousRight[3];
    float previousStation[3];       // previous railing station
};
extern StairRunState stairRunState;

// Regenerates a staircase's (type 38) generated parts.
void RebuildStair(PlanObject* stair);

// Lays the steps of one flight between a left and a right edge, each given by its start
// and end (x, y, z). totalRise is a plan length, y the height of the walking line's
// start; riserHeight, treadDepth and railingHeight are display units. The railing flags
// (1 = railing) put balusters, posts and a sloped rail on that side. Parts go to the
// owner's generated-part list. The start points are moved to the ends of the flight.
// The run state's flags and accumulated height are the caller's to set.
void BuildStepsBetweenEdges(PlanObject* owner, float* leftStart, const float* leftEnd,
                            float* rightStart, const float* rightEnd, float totalRise, float y,
                            float riserHeight, float treadDepth, uint32_t leftRailing,
                            uint32_t rightRailing, float railingHeight, uint32_t treadTexture,
                            ColourTriple treadColour, uint32_t sideTexture,
                            ColourTriple sideColour, uint32_t railingTexture,
                            ColourTriple railingColour, uint8_t finalFlag);

struct PlanFloor;
// Regenerates every staircase of every shown storey from firstFloor.
void RebuildAllStairs(PlanFloor* firstFloor);
