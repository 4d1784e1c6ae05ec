#pragma once

// The site under the model in the high-quality render: the terrain surface from the
// ground height grid when the plan has terrain objects, else one flat quad, and the
// brown earth block 5000.0 deep under the site, so that cut-away views and holes in
// the ground show earth instead of the background. Row r of the grid lies at plan
// z = minimum z + 72 r, column c at x = minimum x + 72 c; the surface and the block
// end at column columns - 1.
//
// Each draws nothing without an active document with settings.

// The terrain surface, shaded per cell and darkened towards the near rows.
void DrawGround();
// One quad at height 0 over the plan extents, its near edge darkened.
void DrawFlatGround();
// The earth block (not in view modes 1, 2 and 4).
void DrawEarthBlock();
