#pragma once
#include <stdint.h>
#include "model/plan_object.h"

// What every door and window builder reads of an opening and how it makes its parts.
// An opening object sits on its wall's axis line with its first two vertices at the
// ends of the hole; its OpeningRecord holds the sizes (plan units) and the list of
// generated parts (types 18, 19, 20, 60, 128), chained by their previous and next
// links and owned by the record alone: no part is ever in a floor list.
//
// Coordinates: x and z in the plan, y the height growing downward (h above the floor
// datum is y = -h).

struct PlanSettings;

// A plan point (x, z).
struct PlanPoint2 {
    float x;
    float z;
};

// The opening as the builders read it. Lengths in plan units.
struct OpeningBasis {
    PlanObject* object;
    OpeningRecord* record;
    PlanObject* wall;
    PlanSettings* settings;
    float p0[3];            // the first two vertices (x, y, z)
    float p1[3];
    float lift;             // wall base height + record elevation: the sill line is y - lift
    float halfThickness;    // half the wall's thickness
    int16_t casing;         // the casing width rounded to whole plan units
};

// Fills the basis from the opening: false when there is no document with settings, no
// current floor, no owner, no record, fewer than two vertices, or when a value the
// builders turn into coordinates or counts (positions, width, height, elevation, casing
// width, wall thickness and base height) is not a finite number.
bool ReadOpeningBasis(PlanObject* object, OpeningBasis* basis);

// Display units of the plan to plan units (no zoom).
float OpeningPlanLength(float units);
// The project's snapping: + 0.5, truncated toward zero, as a 16-bit integer. Finite
// values beyond 16 bits are held at its ends.
int16_t SnapToWhole16(float value);

// The point at the distance from the point in the direction of the plan angle.
PlanPoint2 PointAlong(PlanPoint2 from, float angle, float distance);
// Plan angle from a to b in [0, 2 pi); the distance goes to *distance when given.
float PlanAngle(PlanPoint2 a, PlanPoint2 b, float* distance);

// A new part of the opening: the type, closed flag, the opening's colour triples, size
// 1.0, style words 6 and 0, 2D box (0, 0, 100, 100), owner the opening, its floor. It
// is in no list. Null when it cannot be made.
PlanObject* CreateOpeningPart(PlanObject* opening, uint16_t type, uint8_t closed);
// Appends a straight vertex (kind 1, selected) at the position; false when it cannot be
// allocated.
bool AddPartPoint(PlanObject* part, float x, float y, float z);
// Repeats the plan positions of the part's first n vertices at the height y.
bool AddPartRowAt(PlanObject* part, int32_t n, float y);

// Both texture ids and both colour triples of every vertex of the part.
void SetPartMaterial(PlanObject* part, uint32_t texture, const ColourTriple& colour);
// The opening's finish: its texture id and its colour triple B.
void PaintWithOpeningFinish(PlanObject* part, const PlanObject* opening);
// The plain lining of an opening without casing: no texture, grey 208.
void PaintAsLining(PlanObject* part);

// 2D and 3D boxes from the vertices, then the projection and texture coordinates.
void FinishOpeningPart(PlanObject* part);

// Frees every part of the record's list and makes the part the whole list.
void ReplaceOpeningParts(OpeningRecord* record, PlanObject* part);
// Appends the part at the end of the record's list.
void AppendOpeningPart(OpeningRecord* record, PlanObject* part);

// What became of one part of a multi-part builder.
enum class PartResult { Built, Skipped, OutOfMemory };

// A part of two rows: the plan points at yFirst, then again at ySecond; the opening's
// finish; finished and appended to the record's list. Skipped when the part cannot be
// created; OutOfMemory (nothing appended, nothing left behind) when a vertex cannot.
PartResult AddTwoLevelPart(const OpeningBasis& basis, uint16_t type, const PlanPoint2* points,
                           int32_t count, float yFirst, float ySecond);
