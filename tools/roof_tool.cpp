#include "tools/roof_tool.h"

// Roof planes are not generated yet.
void RebuildRoof(PlanObject*) {}
