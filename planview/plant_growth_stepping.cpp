#include "planview/plant_growth_stepping.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model3d/scene_polygons.h"
#include "palette/growth_caption.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "render3d/interactive_view.h"
#include "render3d/render_window.h"
#include "render3d/scene_upkeep.h"
#include "render3d/selvith_window.h"
#include "shell/app_globals.h"
#include <stdint.h>

namespace {

// Waits by the input source's clock; the unsigned difference survives the counter's wrap.
void BusyWait(DWORD milliseconds)
{
    const DWORD start = GetInputTickCount();
    while (GetInputTickCount() - start < milliseconds) {
    }
}

void ShowStep(PlanSettings* settings, int step)
{
    settings->plantAge = static_cast<float>(step);
    HDC dc = GetDC(frameWindow);
    DrawPlantGrowthProgress(dc, step);
    if (dc)
        ReleaseDC(frameWindow, dc);
}

void GrowPlan(PlanDocument* document, int delta)
{
    ForEachFloorObject(document->firstFloor, 0, StepPlantAge,
                       reinterpret_cast<void*>(static_cast<intptr_t>(delta)));
    UpdateWindow(activePlanPane);
}

} // namespace

void StepPlantGrowthWhileHeld(int step, int delta)
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = document ? document->settings : nullptr;
    if (!settings || !activePlanPane || !frameWindow || !renderWindow || !selvithWindow)
        return;
    const int top = largestGrowthStep;
    growthCaptionShown = 1;
    const bool live = IsWindowVisible(selvithWindow) != 0;
    if (live) {
        interactiveRedraw = 1;
        SetupViewport3D();
    }
    BusyWait(150);
    int last = 65535;
    if (IsMouseButtonDown()) {
        while (IsMouseButtonDown()) {
            step += delta;
            if (step < 1) {
                step = 0;
                delta = 0;
            } else if (step > top) {
                step = top + 1;
                delta = 0;
            }
            if (step >= 1 && step <= top && step != last) {
                ShowStep(settings, step);
                if (delta != 0) {
                    if (live) {
                        GrowPlantNodes(static_cast<float>(delta));
                        DrawScene3D(settings);
                        SetPolygonDrawMode(sceneMeshes);
                        SwapRenderBuffers();
                    } else {
                        GrowPlan(document, delta);
                        BusyWait(250);
                    }
                }
            }
            last = step;
        }
    } else {
        // A click: one step, held within 1 .. the top.
        step += delta;
        if (step < 1) {
            step = 1;
            delta = 0;
        } else if (step > top) {
            step = top;
            delta = 0;
        }
        ShowStep(settings, step);
        if (delta != 0) {
            if (live) {
                GrowPlantNodes(static_cast<float>(delta));
                RedrawRenderWindow();
            } else {
                GrowPlan(document, delta);
            }
        }
    }
    interactiveRedraw = 0;
    ForEachFloorObject(document->firstFloor, 0, ResizePlant, nullptr);
    if (live)
        InvalidatePlanView();
    growthCaptionShown = 0;
}
