#pragma once

#include <stdint.h>

struct PlanObject;

// The next texture number for a chosen picture; starts at 1.
extern uint32_t imageTextureCounter;

// Regenerate the generated children of a path (22), a floor slab or floor opening
// (13, 48), an image object (130) and a freehand roof (57).
void RebuildPath(PlanObject* path);
void RebuildSlabChildren(PlanObject* object);
void RebuildImageObject(PlanObject* object);
void RebuildFreehandRoof(PlanObject* roof);
