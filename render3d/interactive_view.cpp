#include "render3d/interactive_view.h"

// No display list is compiled yet, so there is none to drop.
void DeleteSceneDisplayList() {}
