#include "render3d/ground_height_grid.h"

// No ground grid is kept yet: there is nothing to rebuild.
void AllocGroundHeightGrid() {}
