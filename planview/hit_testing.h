#pragma once
// Hit tests of the plan pane: a click (in plan-pane logical units, held in the mouse
// state) against objects, box handles, vertices and segments; and the rubber-band
// selection. View positions are clamped to +-32767 and rounded (+0.5, truncated).
#include <windows.h>
#include <stdint.h>

struct PlanFloor;
struct PlanObject;
struct PlanVertex;
struct PlanMouseState;

// Searches the shown, active floors from the last of the list back to firstFloor and
// their objects from the last drawn to the first; the first hit fills the mouse state.
// allowedTypes (count entries, or null) limits the objects tested themselves.
// Segments and their end handles are widened by the object's pen as it is drawn; with
// thinPens they are not (a picket fence keeps its gate width where others keep a pen).
bool PickObjectAtPoint(PlanFloor* firstFloor, PlanMouseState* state, uint8_t selectedOnly,
                       const int16_t* allowedTypes, int16_t count, uint8_t thinPens = 0);
bool PickObjectOnFloor(PlanFloor* floor, PlanMouseState* state, uint8_t selectedOnly,
                       const int16_t* allowedTypes, int16_t count, uint8_t thinPens = 0);
// The hit test of one object and then its children.
bool PickObjectPart(PlanObject* object, PlanMouseState* state, uint8_t selectedOnly,
                    const int16_t* allowedTypes, int16_t count, uint8_t thinPens = 0);
// The object's outline segments, in drawing order.
bool PickObjectSegment(PlanObject* object, PlanMouseState* state, uint8_t thinPens = 0);
// A segment hit, turned into a hit on an end when the click is also in its handle.
bool HitTestSegmentAndEnds(PlanObject* object, PlanVertex* a, PlanVertex* b,
                           PlanMouseState* state, int16_t penDx, int16_t penDy);
// The click near the Hermite segment a -> b; fills the chord of the hit.
bool HitTestSegment(PlanVertex* a, PlanVertex* b, PlanMouseState* state, int16_t penDx,
                    int16_t penDy);
// The click in the handle square of a vertex (widened by a wide pen's offsets).
bool HitTestVertexHandle(PlanVertex* vertex, PlanMouseState* state, int16_t penDx = 0,
                         int16_t penDy = 0);
// The click in the 6 x 6 square around a projected corner of a selection box.
bool HitTestBoxCorner(float x, float y, float z, PlanMouseState* state);

// Selects, with the mode, every object of the shown, active floors whose 2D extents
// (grown by 2) lie wholly inside the band (window units).
void RubberBandSelect(PlanFloor* firstFloor, const RECT* band, uint8_t mode, uint8_t draw);
// The point by point band: every vertex of the shown, active floors' objects (and of
// their children shown under the category mask) whose view position lies in the band
// is selected as a click on it would select it (SelectPointOrObject).
void RubberBandSelectPoints(PlanFloor* firstFloor, const RECT* band, uint8_t mode, uint8_t draw);
// The same for one object and its children. An object taken whole is taken once, at its
// first point in the band, so that a toggle does not flip it back: true then.
bool SelectPointInRect(PlanObject* object, const RECT* band, uint8_t mode, uint8_t draw);
