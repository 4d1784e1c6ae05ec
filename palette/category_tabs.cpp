#include "palette/category_tabs.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "planview/plan_background.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"

uint16_t activeToolTab = 0;

static PlanSettings* ActivePlanSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
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
    (void)oldTab;
    PlanSettings* settings = ActivePlanSettings();
    if (newTab >= ToolTabCount || !settings)
        return;
    // The drawing-shape tab has no layer of its own: the plan keeps its masks.
    if (newTab < LayerTabCount) {
        settings->visibleCategories = settings->tabCategoryMasks[newTab];
        settings->activeCategory = 1u << newTab;
    }
    // Objects of the layers that disappeared must not stay editable or selected.
    DeactivateDocumentChild();
    ForEachFloorObject(activeDocument->firstFloor, 0, SuspendTextEditors, nullptr);
    SetSelectionAllFloors(activeDocument->firstFloor, kSelectDeselect, 0);
    InvalidatePlanView();
}

void SetActiveToolTab(uint16_t tab)
{
    if (tab == activeToolTab)
        return;
    uint16_t old = activeToolTab;
    activeToolTab = tab;
    LayoutToolPanes(old, tab);
}
