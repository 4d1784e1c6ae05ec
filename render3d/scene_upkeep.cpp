#include "render3d/scene_upkeep.h"

// No 3D scene is ever built yet, so there is nothing to free.
void FreeScenePolygons() {}
