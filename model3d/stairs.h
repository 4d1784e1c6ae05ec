#pragma once
#include <stdint.h>
#include "model/plan_settings.h"

struct PlanFloor;
struct PlanObject;
struct PlanVertex;

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

// A stair's fields as its builders read them (lengths in display units).
struct StairFields {
    float width;
    float riserHeight;
    float treadDepth;
    float railingHeight;
    float totalRise;
    uint32_t leftRailing;       // 1 builds a railing along that edge
    uint32_t rightRailing;
    uint32_t treadTexture;
    ColourTriple treadColour;
    uint32_t railingTexture;
    ColourTriple railingColour;
    ColourTriple sideColour;    // the walking line's first vertex's face-A colour
};
StairFields ReadStairFields(const PlanObject* stair);

// Regenerates a staircase's (type 38) generated parts: straight flights with landings
// (style 800) or steps along the walking line's curves (any other style). A stair with
// fewer than 2 vertices or more than one row, or without a plan and its settings, keeps
// its old parts. The riser height, tread texture and railing flags are changed only
// while the rebuild runs.
void RebuildStair(PlanObject* stair);
// RebuildStair on every object of every shown floor from firstFloor on.
void RebuildAllStairs(PlanFloor* firstFloor);
// The number of risers a stair of this total rise is built with for the wanted riser
// height (both display units): the nearest whole number, halves up, at least 1. 0 when
// the riser is no positive number or either is no number: such a stair lays no steps.
// The plan's stair label counts by it too.
double StairRiserCount(float totalRise, float riserHeight);
// The flights of a straight stair along its two offset edges, with a landing at each
// corner, until the run state's height reaches the total rise (plan length).
PlanObject* BuildStraightStair(PlanObject* stair, float totalRise);
// The landing at the corner between two flights: left and right (x, y, z) are the flight's
// end corners, moved on to the next flight's start edge; the corners and next vertices
// are those of the two offset edges; y is the walking line's height.
void BuildStairLanding(PlanObject* stair, float* left, float* right, const PlanVertex* leftCorner,
                       const PlanVertex* leftNext, const PlanVertex* rightCorner,
                       const PlanVertex* rightNext, float totalRise, float y);

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
