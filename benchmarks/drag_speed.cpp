// Speed of the select tool's drag: one pointer step (the erase and the draw of the drag
// image) while 1,000 of 10,000 drawing elements are selected, in the top view on a shown
// pane whose class owns its DC, as the plan pane's does. The image must follow the hand:
// the target is below 30 ms a step. Figures are medians in ms.
//
//   drag_speed.exe
#include "bench_support.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "tools/tool_framework.h"
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A two-point drawing element (type 29) in a 100 x 100 grid of cells 10 wide.
PlanObject* AddElement(PlanFloor* floor, int index, bool selected)
{
    const float x = static_cast<float>((index % 100) * 10);
    const float z = static_cast<float>((index / 100) * 10);
    PlanObject* object = CreateObject(ObjDrawingElement, 0, 0, nullptr, nullptr, 1.0f, 6, 2, nullptr,
                                      nullptr, nullptr, nullptr, floor, nullptr);
    object->category = kCategoryFloorPlan;
    for (float dx : {0.0f, 8.0f})
        AddObjectPoint(NewVertexNode(1, selected ? 1 : 0, 0, 0, 0, 0, x + dx, 0, z + 4.0f, 0, 0, 0, 0, 0, 0,
                                     object),
                       object);
    UpdateObjectExtents(object);
    AttachObjectToFloor(object, floor);
    return object;
}

}  // namespace

int main()
{
    HWND pane = CreateBenchPane();
    PlanDocument* document = CreatePlanDocument();
    activePlanPane = pane;
    PlanSettings* settings = document->settings;
    settings->visibleCategories = kCategoryFloorPlan;
    settings->zoom = 1.0f;
    viewOrigin = ViewPoint{0.0f, -96.0f, 0.0f};
    ApplyViewAngles(90.0f, 0.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
    PlanObject* grabbed = nullptr;
    for (int i = 0; i < 10000; ++i) {
        PlanObject* object = AddElement(document->currentFloor, i, i % 10 == 0);
        if (i == 0)
            grabbed = object;
    }
    // The press on the first selected element's segment, then steps of 3 units.
    AimSelectToolAt(grabbed);
    HandlePlanButtonDown(4, 4);
    std::vector<double> steps;
    int x = 4;
    for (int i = 0; i < 60; ++i) {
        const double start = Now();
        HandlePlanMouseMove(x + 3, 4, x, 4, 4, 4);
        steps.push_back(Now() - start);
        x += 3;
    }
    HandlePlanButtonUp(x, 4, x, 4, 4, 4);
    std::sort(steps.begin(), steps.end());
    std::printf("drag step, 1000 of 10000 selected: %.2f ms (median of %zu; slowest %.2f)\n",
                steps[steps.size() / 2], steps.size(), steps.back());
    FreePlanDocument(document);
    DestroyWindow(pane);
    return 0;
}
