#pragma once
#include <stdint.h>

// The roof generator. A roof (type 14) is stored as four outline corners V0..V3, a pitch
// (rise per 12 of run) and a style; its sloped top planes (32), the fascia and rake bands
// (35) and the undersides (41) are made from those few values and hang on the roof's
// link in the order they are made. Nothing edits a plane: RebuildRoof frees them and
// calls BuildRoofPlanes again. The planes are never written to a plan file.

struct PlanObject;

// A point of the roof: x and z in the plan, y the height (a higher point has a smaller y).
struct RoofPoint {
    float x, y, z;
};

// The ridge of a roof on the corners: S over the middle of V0-V3 and E over the middle of
// V1-V2, 12.0 + pitch/12 of the half span h above the outline, then moved along V0-V1 by
// h as the style asks, so that a hip end has the pitch of the main slopes.
void ComputeRoofRidge(const RoofPoint corners[4], float pitch, uint32_t style, RoofPoint* s, RoofPoint* e);

// Builds every plane of a roof of four or more corners (only the first four count) on
// the roof's floor, or the current one; nothing without a document and its settings.
void BuildRoofPlanes(PlanObject* roof);

// Makes a solid made on a floor a plane of the roof: type 32, closed, projected and
// textured, out of its floor list and at the end of the roof's planes, the roof its host.
void AttachRoofPlane(PlanObject* plane, PlanObject* roof);
