#include "model3d/rebuild_driver.h"

// The 3D model is not generated yet.
void RebuildAll3D() {}
void BuildObject3D(PlanObject*) {}
