#pragma once
#include <stdint.h>

// The building tools that draw with the placement gesture: floor slab 7059 and floor
// opening 7060, straight stair 7055 (7604 on the deck tab), straight railing 7057
// (7602) and curved railing 7058 (7603), deck with and without railing 7600 and 7601.
// At the release each gives the outline its type, materials and defaults, builds its
// generated parts and makes it the pending creation. A closed outline (slab, opening,
// deck) needs three corners: with fewer nothing is made.

// The texture given to new slabs and floor openings (1700 at start).
extern uint32_t floorTexture;

// Dispatcher window form: (window x, window y, model x, y, z, event).
void HandleFloorTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleStraightStairTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleStraightRailingTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleCurvedRailingTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleDeckTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);

struct PlanObject;
// A closed outline of fewer than three corners handed back by the placement gesture is
// freed and forgotten by the undo: true when it was refused so.
bool RefuseThinOutline(PlanObject* outline);
