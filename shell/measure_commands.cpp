#include "shell/measure_commands.h"
#include "planview/plan_mouse_dispatch.h"
#include "shell/measurement_bar.h"
#include "files/area_measurement.h"
#include "model/generated_children.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "palette/variant_list.h"
#include <cstdio>

namespace {

struct StoreyAreaTexts {
    const char* storey;
    const char* measuring;
    const char* result;
};

const StoreyAreaTexts storeyAreaTexts[3] = {
    {"First Floor", "Calcolo metri quadrati pianterreno...", "Pianterreno: %ld m.q. (±)"},
    {"Second Floor", "Calcolo metri quadrati primo piano...", "Primo piano: %ld m.q. (±)"},
    {"Third Floor", "Calcolo metri quadrati secondo piano...", "Secondo piano: %ld m.q. (±)"},
};

struct ObjectAreaTexts {
    int command;
    const char* measuring;
    const char* metric;
    const char* imperial;
};

const ObjectAreaTexts objectAreaTexts[] = {
    {5304, "Calcolo metri quadrati sentiero...", "Sentiero: %ld m.q. (±)", "Sentiero: %ld ft.q. (±)"},
    {5305, "Calcolo metri quadrati pavimento...", "Pavimento: %ld m.q. (±)", "Pavimento: %ld ft.q. (±)"},
    {5306, "Calcolo metri quadrati zona riempimento...", "Zona riempimento: %ld m.q. (±)",
     "Zona riempimento: %ld ft.q. (±)"},
    {5309, "Calcolo metri quadrati terrazza...", "Terrazza: %ld m.q. (±)", "Terrazza: %ld ft.q. (±)"},
    {5330, "Calcolo metri quadrati proprietà...", "Proprietà: %ld m.q. (±)", "Proprietà: %ld ft.q. (±)"},
    {5331, "Calcolo metri quadrati apertura pavimento...", "Apertura pavimento: %ld m.q. (±)",
     "Apertura pavimento: %ld ft.q. (±)"},
};

// A rectangle of a window in screen coordinates.
RECT ScreenRect(HWND window)
{
    RECT rect = {0, 0, 0, 0};
    if (window)
        GetWindowRect(window, &rect);
    return rect;
}

POINT Centre(const RECT& rect)
{
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return point;
}

void ShowArea(const char* format, float area)
{
    char text[128];
    std::snprintf(text, sizeof text, format, static_cast<long>(area + 0.5f));
    // The length readout is cleared first: clearing wipes the whole readout area.
    ShowLengthReadout(0.0f);
    ShowReadoutText(text);
}

// The outline whose inside is the object's area: a path's walking surface (a bordered
// path's fence pieces come first among its parts), every other area object's own.
PlanObject* AreaOutline(PlanObject* object)
{
    return object->type == ObjPath ? FindPathSurface(object) : object;
}

bool ContainsObject(const PlanObject* list, const PlanObject* object, int depth)
{
    // Groups nest at most 25 deep; a deeper chain is not a plan's.
    if (depth > 64)
        return false;
    for (const PlanObject* each = list; each; each = each->next) {
        if (each == object || ContainsObject(each->firstChild, object, depth + 1))
            return true;
    }
    return false;
}

} // namespace

bool IsObjectOfActivePlan(const PlanObject* object)
{
    if (!object || !activeDocument)
        return false;
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        if (ContainsObject(floor->firstObject, object, 0))
            return true;
    return false;
}

void StoreyAreaCommand(int command, const RECT& paneRect)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings || command < 5300 || command > 5302)
        return;
    const StoreyAreaTexts& texts = storeyAreaTexts[command - 5300];
    PlanFloor* storey = FindFloorByName(texts.storey);
    if (!storey)
        return;
    RECT pane = paneRect;
    if (activePlanPane)
        MapWindowPoints(activePlanPane, nullptr, reinterpret_cast<POINT*>(&pane), 2);
    RECT bar = ScreenRect(document->measurementStrip);
    POINT start = Centre(pane);
    POINT target = Centre(bar);
    AnimateZoomRect(start.x, start.y, target.x, target.y, &bar);
    ShowReadoutText(texts.measuring);
    float area = MeasureAreaOfType(storey, 12, 1);
    if (area < 0.0f) {
        // Cancelled: nothing to show.
        ShowReadoutText("");
        return;
    }
    ShowArea(texts.result, area);
}

void ObjectAreaCommand(int command, PlanObject* object)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings || !IsObjectOfActivePlan(object))
        return;
    const ObjectAreaTexts* texts = nullptr;
    for (const ObjectAreaTexts& each : objectAreaTexts)
        if (each.command == command)
            texts = &each;
    if (!texts)
        return;
    // From the last click on the plan pane to the middle of the bar, its first 48
    // pixels left out.
    RECT bar = ScreenRect(document->measurementStrip);
    bar.left += 48;
    if (bar.left > bar.right)
        bar.left = bar.right;
    POINT start = lastClickDevicePoint;
    if (activePlanPane)
        ClientToScreen(activePlanPane, &start);
    POINT target = Centre(bar);
    AnimateZoomRect(start.x, start.y, target.x, target.y, &bar);
    ShowReadoutText(texts->measuring);
    PlanObject* outline = AreaOutline(object);
    float area = outline ? MeasureObjectArea(outline) : -1.0f;
    if (area < 0.0f) {
        ShowLengthReadout(0.0f);
        return;
    }
    ShowArea(document->settings->unitSystem == kUnitSystemMetric ? texts->metric : texts->imperial, area);
}
