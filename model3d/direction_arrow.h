#pragma once
#include <windows.h>
#include <stdint.h>

// Two small services beside the stair builders: turning an object's walking line end
// for end (the curved stair tool reverses a line drawn against the climb, so that the
// curved walk always starts at the foot), and the two short strokes that mark a
// direction on a segment of the plan.

struct PlanObject;
struct PlanVertex;

// Reverses the object's whole vertex chain in place; nothing for null or a single
// vertex.
void ReverseObjectPoints(PlanObject* object);
// Relinks the first n vertices of the list in the opposite order (both links) and
// returns the new head, whose previous link is cleared; the old head becomes the tail.
// Vertices beyond the n-th are cut off. Null for a null list or a single vertex.
PlanVertex* ReverseVertexRun(PlanVertex* first, int32_t n);
// Two strokes of zoomed length 50 from (x1, y1), 25 degrees to either side of the
// direction towards (x2, y2) (view coordinates): on planDC, scaled, while printing;
// else on the DC. The object is not read. Needs a DC and a plan with settings.
void DrawDirectionArrow(HDC dc, PlanObject* object, float x1, float y1, float x2, float y2);
