#include "model3d/roof_framing.h"

// Roofs show no framing members yet.
void BuildRoofFraming(PlanObject*) {}
