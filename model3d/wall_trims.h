#pragma once

// Baseboards and wainscots of wall segment faces, and the height of a wall segment at
// either end from its shape code.

struct PlanVertex;

// end 1: the segment's start, 2: its far end. Plan length; 0.0 without a vertex, an
// active document or its settings.
float GetElementHeightForKind(const PlanVertex* vertex, int end);
