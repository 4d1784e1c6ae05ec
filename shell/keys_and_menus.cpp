#include "shell/keys_and_menus.h"
#include "shell/app_globals.h"
#include "shell/picture_dialogs.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "palette/category_tabs.h"
#include "palette/tool_windows.h"
#include "planview/input_gdi.h"
#include "planview/plan_redraw.h"
#include "render3d/selvith_window.h"
#include "tools/undo.h"
#include <cstdio>
#include <cstring>

void IgnoreCommand() {}

// Deletion and nudges change the plan, so a later close asks to save it.
static void MarkDocumentModified()
{
    if (activeDocument && activeDocument->settings)
        activeDocument->settings->modified = 1;
}

static bool KeyHeld(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

void HandlePlanKeyDown(WPARAM key, LPARAM)
{
    ClearToolButtonHover();
    PlanDocument* document = activeDocument;
    if (!document)
        return;
    PlanFloor* first = document->firstFloor;
    uint32_t nudge = 0;
    switch (key) {
    case VK_BACK:
    case VK_DELETE:
        ForEachFloorSelection(first, DeleteOpening, nullptr);
        ForEachFloorObject(document->firstFloor, 0, DeleteOpening, document->settings);
        InvalidatePlanView();
        CancelPendingObject();
        MarkDocumentModified();
        return;
    case VK_LEFT: nudge = NudgeLeft; break;
    case VK_UP: nudge = NudgeUp; break;
    case VK_RIGHT: nudge = NudgeRight; break;
    case VK_DOWN: nudge = NudgeDown; break;
    case VK_SPACE:
        if (KeyHeld(VK_SHIFT) && KeyHeld(VK_CONTROL) && KeyHeld(VK_HOME) && document->measurementStrip)
            DialogBoxParamA(hInstance, MAKEINTRESOURCEA(2002), frameWindow, PictureDlgProc, 0);
        return;
    default:
        return;
    }
    ForEachFloorObject(first, 1, nudge, document->settings);
    InvalidatePlanView();
    // A nudge cannot be undone, and the last drag's undo would not undo it.
    CancelPendingObject();
    MarkDocumentModified();
}

const char* UndoMenuText(int editKind, bool undone)
{
    static const char* const names[] = {
        "Sposta",      // 7
        "Sposta punto", // 8
        "Ridimensiona", // 9
        "Obliquo",     // 10
        "Ruota",       // 11
        nullptr,       // 12
        "Rettangolo",  // 13
        "Ovale",       // 14
        "Poligono",    // 15
        "Multigono",   // 16
        "Arco",        // 17
        "Linea",       // 18
        "Curva",       // 19
        "Muro",        // 20
        "Tetto",       // 21
    };
    if (editKind < 7 || editKind > 21 || !names[editKind - 7])
        return nullptr;
    static char text[64];
    std::snprintf(text, sizeof text, "%s %s", undone ? "Ripeti" : "Annulla", names[editKind - 7]);
    return text;
}

static void SetMenuCommandText(HMENU menu, UINT command, const char* text, bool enabled)
{
    ModifyMenuA(menu, command, MF_BYCOMMAND | MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), command, text);
}

static void CheckOneOf(HMENU menu, UINT checked, UINT unchecked)
{
    CheckMenuCommand(menu, checked, true);
    CheckMenuCommand(menu, unchecked, false);
}

// Shown and active state of the three storeys, looked up by name.
struct StoreyState {
    bool shown[3];
    bool active[3];
};

static StoreyState ReadStoreys()
{
    static const char* const names[3] = {"First Floor", "Second Floor", "Third Floor"};
    StoreyState state = {};
    for (int i = 0; i < 3; ++i) {
        PlanFloor* floor = FindFloorByName(names[i]);
        state.shown[i] = floor ? floor->shown != 0 : i == 0;
        state.active[i] = floor && floor->active;
    }
    return state;
}

void UpdateMenus()
{
    PlanDocument* document = activeDocument;
    HMENU menu = frameWindow ? GetMenu(frameWindow) : nullptr;
    if (!menu)
        menu = frameMenu;
    if (!document || !activePlanPane || !menu)
        return;
    // A maximised document window puts its own menu in front.
    int base = GetMenuItemCount(menu) < 8 ? 1 : 2;
    HMENU edit = GetSubMenu(menu, base);
    HMENU plan = GetSubMenu(menu, base + 1);
    HMENU options = GetSubMenu(menu, base + 2);
    HMENU display = GetSubMenu(menu, base + 3);
    HMENU window = GetSubMenu(menu, base + 4);
    PlanSettings* settings = document->settings;
    if (!edit || !plan || !options || !display || !window || !settings)
        return;

    if (PlanFloor* current = document->currentFloor) {
        bool below = std::strcmp(current->name, "First Floor") != 0;
        bool above = std::strcmp(current->name, "Third Floor") != 0;
        SetMenuCommandText(edit, 5169, "Piano inferiore", below);
        SetMenuCommandText(edit, 5171, "Piano inferiore", below);
        SetMenuCommandText(edit, 5168, "Piano superiore", above);
        SetMenuCommandText(edit, 5170, "Piano superiore", above);
    }

    CheckMenuCommand(options, 5044, settings->gridVisible != 0);
    CheckMenuCommand(options, 5045, settings->snapToGrid != 0);

    for (UINT id = 5275; id <= 5279; ++id)
        CheckMenuCommand(plan, id, false);
    StoreyState storeys = ReadStoreys();
    int working = 1;
    if (storeys.active[1])
        working = 2;
    if (storeys.active[2])
        working = 3;
    CheckMenuCommand(plan, 5274 + working, true);
    if (storeys.shown[0] && storeys.shown[1] && storeys.shown[2]) {
        CheckMenuCommand(plan, 5278, true);
    } else {
        bool othersHidden = true;
        for (int i = 0; i < 3; ++i)
            if (i != working - 1 && storeys.shown[i])
                othersHidden = false;
        if (storeys.shown[working - 1] && othersHidden)
            CheckMenuCommand(plan, 5279, true);
    }

    CheckMenuCommand(options, 5274, document->measuringLineShown != 0);
    CheckMenuCommand(options, 5289, settings->labelDrawing != 0);
    CheckMenuCommand(options, 5290, settings->dimensionDrawing != 0);
    CheckMenuCommand(plan, 5281, settings->tracingImageShown != 0);

    for (UINT id = 5343; id <= 5350; ++id)
        CheckMenuCommand(plan, id, false);
    if (activeToolTab <= 7)
        CheckMenuCommand(plan, 5343 + activeToolTab, true);

    CheckMenuCommand(display, 5322, settings->hideDoors3D != 0);
    if (settings->renderValue1506)
        CheckOneOf(display, 5334, 5333);
    else
        CheckOneOf(display, 5333, 5334);
    for (UINT id = 5351; id <= 5354; ++id)
        CheckMenuCommand(display, id, false);
    switch (settings->orthographic3D) {
    case 1: CheckMenuCommand(display, 5351, true); break;
    case 2: CheckMenuCommand(display, 5353, true); break;
    case 3: CheckMenuCommand(display, 5352, true); break;
    case 4: CheckMenuCommand(display, 5354, true); break;
    }
    CheckMenuCommand(display, 5325, settings->view3DFlag1490 != 0);
    CheckMenuCommand(display, 5286, settings->renderQuality != 0);
    if (settings->framingStyle)
        CheckOneOf(display, 5287, 5288);
    else
        CheckOneOf(display, 5288, 5287);
    for (UINT id = 5291; id <= 5294; ++id)
        CheckMenuCommand(display, id, false);
    switch (settings->antiAliasPasses) {
    case 4: CheckMenuCommand(display, 5291, true); break;
    case 15: CheckMenuCommand(display, 5293, true); break;
    case 24: CheckMenuCommand(display, 5294, true); break;
    default: CheckMenuCommand(display, 5292, true); break;
    }
    if (settings->cameraMode != 1)
        CheckOneOf(display, 5190, 5189);
    else
        CheckOneOf(display, 5189, 5190);

    if (selvithWindow)
        CheckMenuCommand(window, 5270, IsWindowVisible(selvithWindow) != 0);

    const char* undo =
        undoAvailable && UndoBelongsToActivePlan()
            ? UndoMenuText(document->lastEditKind, document->lastEditUndone != 0)
            : nullptr;
    if (undo)
        SetMenuCommandText(edit, 16, undo, true);
    else
        SetMenuCommandText(edit, 16, "Annulla", false);
}

void UpdateDocumentTitle(PlanSettings* settings)
{
    PlanDocument* document = activeDocument;
    if (!settings || !activePlanPane || !document)
        return;
    HWND window = GetParent(activePlanPane);
    if (!window)
        return;
    const char* name = "Senza nome";
    if (document->filePath && std::strlen(document->filePath) < 245)
        name = document->filePath;
    char caption[300];
    switch (settings->viewTitleMode) {
    case 5100:
        SetWindowTextA(window, name);
        break;
    case 5101:
        std::snprintf(caption, sizeof caption, "%s (X-Y)", name);
        SetWindowTextA(window, caption);
        break;
    case 5102:
        SetWindowTextA(window, "X-Y");
        break;
    case 5103:
        if (document->currentFloor)
            SetWindowTextA(window, document->currentFloor->name);
        break;
    }
}
