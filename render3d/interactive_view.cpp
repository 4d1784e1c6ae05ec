#include "render3d/interactive_view.h"

// No display list is compiled yet, so there is none to drop.
void DeleteSceneDisplayList() {}

// The interactive view is not drawn yet: a frame changes nothing.
void SetupViewport3D() {}
void DrawScene3D(const PlanSettings*) {}
void SetPolygonDrawMode(ScenePolygon*) {}
void SwapRenderBuffers() {}
