#include "palette/category_tabs.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "palette/variant_list.h"
#include "planview/plan_background.h"
#include "planview/plan_mouse_dispatch.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"

uint16_t activeToolTab = 0;
uint8_t toolTabPressed = 0;

namespace {

// The frame's strip of each tab (indexes into frameToolWindows); the deck tab comes
// before the garden tab although its strip was made after.
const int kTabStrips[ToolTabCount] = {1, 2, 3, 4, 5, 6, 8, 7, 9};
const int kTabWidth = 59;

PlanSettings* ActivePlanSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

bool IsSideBarKey(int tool)
{
    return tool == 5246 || tool == 5247 || tool == 5248 || tool == 5251 || tool == 5328 ||
           tool == 5332;
}

// The strip's rectangle in frame client coordinates, as the frame lays it out.
RECT StripArea(uint16_t tab)
{
    const FrameToolWindowSpec& spec = frameToolWindowSpecs[kTabStrips[tab]];
    RECT rect = {spec.x, spec.y, spec.x + spec.width, spec.y + spec.height};
    return rect;
}

// Objects of the layers that disappeared must not stay editable or selected.
void RefreshLayers()
{
    DeactivateDocumentChild();
    ForEachFloorObject(activeDocument->firstFloor, 0, SuspendTextEditors, nullptr);
    SetSelectionAllFloors(activeDocument->firstFloor, 2, 0);
    InvalidatePlanView();
}

} // namespace

HWND ToolStripOfTab(uint16_t tab)
{
    return tab < ToolTabCount ? frameToolWindows[kTabStrips[tab]] : nullptr;
}

int ActiveTabPicture(uint16_t tab)
{
    return 11061 + (tab < ToolTabCount ? tab : 0);
}

void ApplyTabLayerToPlan()
{
    PlanSettings* settings = ActivePlanSettings();
    if (!settings || activeToolTab >= LayerTabCount)
        return;
    settings->visibleCategories = settings->tabCategoryMasks[activeToolTab];
    settings->activeCategory = 1u << activeToolTab;
}

void LayoutToolPanes(uint16_t oldTab, uint16_t newTab)
{
    PlanSettings* settings = ActivePlanSettings();
    if (newTab >= ToolTabCount || !settings)
        return;
    // The drawing-shape tab has no layer of its own: the plan keeps its masks.
    if (newTab < LayerTabCount) {
        settings->visibleCategories = settings->tabCategoryMasks[newTab];
        settings->activeCategory = 1u << newTab;
    }

    // The plan loader switches tabs too, with or without a frame; the windows follow only
    // when they exist.
    if (!paletteTabStrip || !frameWindow) {
        RefreshLayers();
        return;
    }
    RECT client;
    GetClientRect(frameWindow, &client);
    SetWindowPos(paletteTabStrip, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    MoveWindow(paletteTabStrip, client.left + 36 + kTabWidth * newTab, client.top + 28, 65, 21, TRUE);
    RedrawWindow(paletteTabStrip, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

    if (HWND old = ToolStripOfTab(oldTab))
        ShowWindow(old, SW_HIDE);
    if (HWND strip = ToolStripOfTab(newTab)) {
        SetWindowPos(strip, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ShowWindow(strip, SW_SHOWNA);
        UpdateWindow(strip);
        RECT area = StripArea(newTab);
        InflateRect(&area, 1, 1);
        RedrawWindow(frameWindow, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RevertToSelectTool(1);
    }
    // The frame shows the planting-age stepper beside the garden strip only: entering or
    // leaving that tab shows or takes it away at once.
    if ((oldTab == GardenTab) != (newTab == GardenTab))
        RedrawWindow(frameWindow, &ageStepperRect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    if (!IsSideBarKey(variantListTool)) {
        variantListTool = -1;
        if (variantListWindow)
            ShowPopList(variantListWindow);
    }
    RefreshLayers();
}

void SetActiveToolTab(uint16_t tab)
{
    if (tab == activeToolTab)
        return;
    uint16_t old = activeToolTab;
    activeToolTab = tab;
    LayoutToolPanes(old, tab);
}
