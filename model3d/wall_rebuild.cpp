#include "model3d/wall_rebuild.h"

// Wall meshes are not generated yet.
void RebuildWall(PlanObject*) {}
