#include "openings3d/opening_models.h"

// Door and window models are not built yet: openings keep no 3D parts.
void BuildOpeningModel(PlanObject*) {}
