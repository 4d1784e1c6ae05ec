#include "model3d/wall_segment_faces.h"

// Wall segments keep the plain face of their quad for now.
void BuildWallSegmentFaces(PlanObject*, PlanObject*, PlanVertex* const[4], int32_t, PolygonOutline*) {}
