#pragma once

// The framing view of walls: plates, studs, headers, sills and slab blocks in place of
// the wall faces' openings.

struct PlanObject;

// Nothing without an active document and its settings.
void BuildWallFraming(PlanObject* wall);
