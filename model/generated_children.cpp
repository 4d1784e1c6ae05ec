#include "model/generated_children.h"

uint32_t imageTextureCounter = 1;

// Generated children are not built yet.
void RebuildPath(PlanObject*) {}
void RebuildSlabChildren(PlanObject*) {}
void RebuildImageObject(PlanObject*) {}
void RebuildFreehandRoof(PlanObject*) {}
