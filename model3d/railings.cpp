#include "model3d/railings.h"

// Railing parts are not generated yet.
void RebuildRailing(PlanObject*) {}
