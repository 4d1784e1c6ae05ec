#include "palette/tool_popups.h"
#include "dialogs/common_values.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "model3d/rebuild_driver.h"
#include "palette/tool_variants.h"
#include "palette/tool_windows.h"
#include "palette/variant_list.h"
#include "planview/plan_background.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "render3d/scene_upkeep.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "shell/frame_window.h"
#include "tools/undo.h"

uint32_t doorFinish = 1;
uint32_t windowFinish = 1;
uint32_t doorTexture = 2218;
uint32_t windowTexture = 2218;

namespace {

const char* const kStoreyNames[3] = {"First Floor", "Second Floor", "Third Floor"};
const uint32_t kStainedTexture = 2218;

enum FloorItem { WorkOnFirst = 1, WorkOnSecond, WorkOnThird, ShowAll, ShowWorkingOnly };

int TrackAt(HMENU menu, UINT flags, int x, int y)
{
    return TrackPopupMenu(menu, flags | TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTBUTTON, x, y, 0,
                          frameWindow, nullptr);
}

} // namespace

void ShowFloorPopup(HWND button)
{
    if (!button || !activeDocument || !activeDocument->settings)
        return;
    PlanFloor* storeys[3];
    uint8_t shown[3];
    int working = 1;
    for (int i = 0; i < 3; ++i) {
        storeys[i] = FindFloorByName(kStoreyNames[i]);
        // A first storey that is missing counts as shown, the others as hidden.
        shown[i] = storeys[i] ? storeys[i]->shown : (i == 0 ? 1 : 0);
        if (storeys[i] && storeys[i]->active)
            working = i + 1;
    }

    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    AppendMenuA(menu, MF_STRING, WorkOnFirst, "Lavora sul pianterreno");
    AppendMenuA(menu, MF_STRING, WorkOnSecond, "Lavora sul primo piano");
    AppendMenuA(menu, MF_STRING, WorkOnThird, "Lavora sul secondo piano");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, ShowAll, "Visualizza tutti i piani");
    AppendMenuA(menu, MF_STRING, ShowWorkingOnly, "Visualizza solo piano di lavoro");
    CheckMenuItem(menu, working, MF_BYCOMMAND | MF_CHECKED);
    bool allShown = shown[0] && shown[1] && shown[2];
    int shownCount = shown[0] + shown[1] + shown[2];
    if (allShown)
        CheckMenuItem(menu, ShowAll, MF_BYCOMMAND | MF_CHECKED);
    else if (shownCount == 1 && shown[working - 1])
        CheckMenuItem(menu, ShowWorkingOnly, MF_BYCOMMAND | MF_CHECKED);

    RECT rect;
    GetClientRect(button, &rect);
    POINT at = {rect.left + 51, rect.top};
    ClientToScreen(button, &at);
    int choice = TrackAt(menu, TPM_LEFTALIGN | TPM_BOTTOMALIGN, at.x, at.y);
    DestroyMenu(menu);
    if (!choice) {
        swallowNextToolClick = 1;
        return;
    }
    // As the storeys menu: a change of storey leaves nothing to undo.
    CancelPendingObject();

    if (choice >= WorkOnFirst && choice <= WorkOnThird) {
        working = choice;
        shown[working - 1] = 1;
    } else if (choice == ShowAll) {
        shown[0] = shown[1] = shown[2] = 1;
    } else {
        for (int i = 0; i < 3; ++i)
            shown[i] = (i == working - 1) ? 1 : 0;
    }
    for (int i = 0; i < 3; ++i) {
        PlanFloor* storey = storeys[i];
        if (!storey)
            continue;
        storey->shown = shown[i];
        if (i == working - 1) {
            storey->active = 1;
            activeDocument->currentFloor = storey;
        } else {
            SetFloorSelection(storey, 2, 0);
            storey->active = 0;
        }
    }
    if (activeDocument->currentFloor)
        activeDocument->currentFloor->shown = 1;

    if (GetCameraPresetCommand() == ViewTop) {
        PlanFloor* sheet = FindFloorByNumber(ViewTop);
        activeDocument->currentViewSheet = sheet;
        SelectCurrentFloor(sheet);
        DeactivateDocumentChild();
        ForEachFloorObject(activeDocument->firstFloor, 0, SuspendTextEditors, nullptr);
    }
    ResetWorkingElevation();
    PlanSettings* settings = activeDocument->settings;
    CommonValue value;
    GetWorkingElevationValue(settings, &value);
    settings->workingElevationValue = value;
    ShowElevationPaneValue(&value);
    InvalidatePlanView();
    RebuildAll3D();
    RedrawRenderWindow();
}

void ShowStainPaintPopup(const RECT* buttonRect)
{
    if (!buttonRect || !activeDocument || !activeDocument->settings)
        return;
    const bool door = variantListTool == 7052 || variantListTool == 7053;
    if (!door && variantListTool != 7054)
        return;
    swallowNextToolClick = 1;
    HDC dc = frameWindow ? GetDC(frameWindow) : nullptr;
    if (dc) {
        DrawToolVariantButton(dc, 2);
        ReleaseDC(frameWindow, dc);
    }
    uint32_t& finish = door ? doorFinish : windowFinish;
    HMENU menu = CreatePopupMenu();
    if (!menu) {
        swallowNextToolClick = 0;
        return;
    }
    AppendMenuA(menu, MF_STRING, 1, "Mordente");
    AppendMenuA(menu, MF_STRING, 2, "Pittura");
    CheckMenuItem(menu, finish, MF_BYCOMMAND | MF_CHECKED);
    POINT at = {buttonRect->right, buttonRect->bottom - 1};
    if (frameWindow)
        ClientToScreen(frameWindow, &at);
    int choice = TrackAt(menu, TPM_RIGHTALIGN | TPM_TOPALIGN, at.x, at.y);
    DestroyMenu(menu);
    if (!choice) {
        dc = frameWindow ? GetDC(frameWindow) : nullptr;
        if (dc) {
            DrawToolVariantButton(dc, 0);
            ReleaseDC(frameWindow, dc);
        }
    } else {
        if ((uint32_t)choice != finish) {
            finish = (uint32_t)choice;
            uint32_t texture = choice == 1 ? kStainedTexture : 0;
            if (door)
                doorTexture = texture;
            else
                windowTexture = texture;
        }
        // The previews follow the finish.
        if (variantListWindow) {
            ShowPopList(variantListWindow);
            if (symbolBarWindow && IsWindowVisible(symbolBarWindow)) {
                ShowWindow(variantListWindow, SW_SHOWNA);
                ShowWindow(symbolBarWindow, SW_HIDE);
            }
        }
    }
    swallowNextToolClick = 0;
}
