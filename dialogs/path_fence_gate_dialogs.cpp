#include "dialogs/path_fence_gate_dialogs.h"

#include <windows.h>

#include "dialogs/dialog_pattern.h"
#include "files/symbol_library.h"
#include "model/dialog_fields.h"
#include "model/generated_children.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/fences.h"
#include "render3d/object_polygons.h"
#include "resources/resource_ids.h"

float currentPathWidth = 0.0f;

namespace {

const char* const kPathWidthMessage = "La larghezza del percorso deve essere superiore a 0.";

uint8_t workingFlag;
uint16_t fenceStyle, fenceRadio;

// Fence styles 700 picket, 701 ranch, 702 rails, 703 privacy by radio 3000..3003.
uint16_t FenceStyleOfRadio(int radio)
{
    static const uint16_t styles[4] = {703, 700, 701, 702};
    return styles[radio - 3000];
}

int RadioOfFenceStyle(uint16_t style)
{
    switch (style) {
    case 700: return 3001;
    case 701: return 3002;
    case 702: return 3003;
    case 703: return 3000;
    }
    return 0;
}

uint32_t FenceTexture(uint16_t style)
{
    switch (style) {
    case 701: return 2202;
    case 702: return 2214;
    case 703: return 2212;
    }
    return 0;
}

INT_PTR CALLBACK PathDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        workingFlag = s->pathBorderFlag;
        SetDlgButtonCheck(dialog, 8, workingFlag);
        SetDlgItemLength(dialog, 11, s->pathWidth, s, 1, 0);
        return 0;
    case WM_COMMAND: {
        if (LOWORD(wParam) == 8) {
            ToggleDialogCheck(dialog, 8, &workingFlag);
            return 1;
        }
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        float width = 0.0f;
        if (!ReadLengthField(dialog, 11, &width)) return 1;
        if (!(width > 0.0f)) {
            // The border flag waits for an accepted width, as the width does.
            ShowDialogMessage(dialog, kPathWidthMessage);
            return 1;
        }
        s->pathBorderFlag = workingFlag;
        s->pathWidth = width;
        currentPathWidth = width;
        EndDialog(dialog, 1);
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK FenceDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        fenceStyle = s->fenceStyle;
        fenceRadio = static_cast<uint16_t>(RadioOfFenceStyle(fenceStyle));
        if (fenceRadio) CheckDlgRadio(dialog, fenceRadio, 3000, 3003);
        return 1;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= 3000 && id <= 3003) {
            SelectDialogRadio(dialog, id, 3000, 3003, &fenceRadio);
            fenceStyle = FenceStyleOfRadio(id);
            return 1;
        }
        if (id != IDOK) return EndDialogOnCancel(dialog, wParam);
        s->fenceStyle = fenceStyle;
        currentPicketFenceTexture = FenceTexture(fenceStyle);
        EndDialog(dialog, 1);
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK GateDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLength(dialog, 11, s->gateWidth, s, 1, 0);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        if (ReadLengthField(dialog, 11, &s->gateWidth)) EndDialog(dialog, 1);
        return 1;
    }
    return 0;
}

INT_PTR CALLBACK AreaKindDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        workingFlag = s->areaKindFlag;
        SetDlgButtonCheck(dialog, 8, workingFlag);
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == 8) {
            ToggleDialogCheck(dialog, 8, &workingFlag);
            return 1;
        }
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        s->areaKindFlag = workingFlag;
        EndDialog(dialog, 1);
        return 1;
    }
    return 0;
}

}  // namespace

int RunPathDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_PATH, PathDlgProc);
}

int RunFenceDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_FENCE, FenceDlgProc);
}

int RunGateDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_GATE, GateDlgProc);
}

int RunAreaKindDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_AREA_KIND, AreaKindDlgProc);
}

void EditSelectedPath(PlanObject* path, PlanSettings* settings)
{
    if (!path || !settings || path->type != ObjPath) return;
    const uint8_t keptFlag = settings->pathBorderFlag;
    const float keptWidth = settings->pathWidth;
    settings->pathWidth = path->size;
    settings->pathBorderFlag = path->value2 == 2 ? 1 : 0;
    if (RunPathDialog(settings)) {
        path->size = settings->pathWidth;
        if (settings->pathBorderFlag) {
            path->value2 = 2;
            path->colourB = settings->fenceColour;
        } else {
            path->value2 = 1;
        }
        RebuildPath(path);
        RebuildObject3D(path);
    }
    settings->pathBorderFlag = keptFlag;
    settings->pathWidth = keptWidth;
}

void EditSelectedFence(PlanObject* fence, PlanSettings* settings)
{
    if (!fence || !settings || fence->type != ObjPicketFence) return;
    const uint16_t kept = settings->fenceStyle;
    settings->fenceStyle = static_cast<uint16_t>(fence->styleOrTexture);
    if (RunFenceDialog(settings)) {
        fence->styleOrTexture = settings->fenceStyle;
        RebuildPicketFence(fence);
        RebuildObject3D(fence);
    } else {
        settings->fenceStyle = kept;
    }
}
