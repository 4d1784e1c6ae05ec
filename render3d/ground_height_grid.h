#pragma once

// Rebuilds the ground height grid (cells of 72.0 units) over the site extents; called
// after a topography or slope object moved.
void AllocGroundHeightGrid();
