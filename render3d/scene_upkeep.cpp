#include "render3d/scene_upkeep.h"
#include "render3d/render_window.h"

// No 3D scene is ever built yet, so there is nothing to free.
void FreeScenePolygons() {}

void RedrawRenderWindow()
{
    if (renderWindow)
        RedrawWindow(renderWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// The live view has no sky to turn yet.
void UpdateSkyForCamera(float, float, float) {}

void IgnoreCameraChange(float, float, float) {}
