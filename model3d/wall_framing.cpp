#include "model3d/wall_framing.h"

// Walls show no framing members yet.
void BuildWallFraming(PlanObject*) {}
