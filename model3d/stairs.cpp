#include "model3d/stairs.h"

// Stair parts are not generated yet.
void RebuildStair(PlanObject*) {}
