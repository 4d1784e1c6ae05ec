#include "render3d/image_shadow_utilities.h"

// The second polygon list is not built yet: nothing changes.
void BuildSecondaryPolygonList() {}
