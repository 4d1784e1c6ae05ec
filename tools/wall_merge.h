#pragma once

// Two open walls whose ends meet become one: the survivor takes over the other's
// vertices, openings and exterior marking, and the other is freed.

struct PlanObject;
struct PlanVertex;

// The dropped end a of wall A meets the end b of wall B. Nothing unless both are ends
// of two different walls. The wall freed may be the pending creation: the undo then
// forgets it.
void MergeWallsAtEnds(PlanObject* wallA, PlanVertex* a, PlanObject* wallB, PlanVertex* b);
// Every opening of A gets B as owner; a segment end equal to the old vertex becomes
// the new one. The openings stay in A's child list.
void ReparentWallOpenings(PlanObject* wallA, PlanVertex* oldVertex, PlanVertex* newVertex,
                          PlanObject* wallB);
// Every opening of the wall runs the other way along its segment: ends, distances and
// hinge side swapped.
void ReverseWallOpenings(PlanObject* wall);
