#include "render3d/high_quality_render.h"
#include "model/plan_document.h"
#include "model3d/scene_polygons.h"
#include "render3d/interactive_view.h"

unsigned char finalRenderRequested = 0;
uint8_t renderAborted = 0;
uint8_t renderInProgress = 0;

// Until the anti-aliased render is built, a repaint draws one interactive frame.
void RenderHighQuality()
{
    if (!activeDocument || !activeDocument->settings)
        return;
    renderInProgress = 1;
    SetupViewport3D();
    DrawScene3D(activeDocument->settings);
    SetPolygonDrawMode(sceneMeshes);
    SwapRenderBuffers();
    renderInProgress = 0;
}
