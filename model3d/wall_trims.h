#pragma once
#include <stdint.h>

// Baseboards and wainscots of wall segment faces, and the height of a wall segment at
// either end from its shape code.
//
// A trim is a part polygon of the face being built (currentMesh), filed under
// buildObject, whose three trim material pairs it points back at: the first for the
// wainscot rails, the second for its panel and stiles, the third for the baseboard.

struct PlanVertex;
struct PolygonOutline;

// The trim builders' inputs: the face outline (its vector is copied), the direction
// whose left-hand side (angle + pi/2) is the face's outside, the face length, its near
// and far lower corners S and E, the wall's slab thickness b (plan length) and the
// wall vertex's elevation (display units). Heights are display units.
struct TrimFace {
    const PolygonOutline* face;
    float angle;
    float length;
    const float* s;
    const float* e;
    float b;
    float elevation;
};

// One quad 0.75 in front of the face, height high from its foot.
void BuildBaseboard(const TrimFace& face, float height);
// A panel, rails every 12.0 and stiles every 18.0 (at least two of each), height high.
void BuildWainscot(const TrimFace& face, float height);

// end 1: the segment's start, 2: its far end. Plan length; 0.0 without a vertex, an
// active document or its settings.
float GetElementHeightForKind(const PlanVertex* vertex, int end);
