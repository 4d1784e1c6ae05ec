#include "planview/camera_navigation.h"

// The mouse navigation comes with the plan's camera drags; until then a press in the
// 3D view leaves the camera where it is.
void NavigateIn3DView() {}
