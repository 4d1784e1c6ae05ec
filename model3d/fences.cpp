#include "model3d/fences.h"

// Fence pieces are not generated yet.
void RebuildFence(PlanObject*) {}
void RebuildPicketFence(PlanObject*) {}
