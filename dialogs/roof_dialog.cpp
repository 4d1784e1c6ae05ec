#include "dialogs/roof_dialog.h"

#include <cmath>

#include "dialogs/dialog_pattern.h"
#include "model/dialog_fields.h"
#include "model/generated_children.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "render3d/object_polygons.h"
#include "resources/resource_ids.h"
#include "tools/roof_tool.h"

namespace {

enum : int {
    kCustomPitchField = 5,
    kFirstPreset = 9,
    kCustomPreset = 14,
    kCathedralCheck = 25,
};

// Pitches of the presets 9 to 13.
const float kPresetPitch[5] = {4.0f, 6.0f, 8.0f, 10.0f, 12.0f};

uint16_t workingPreset;
uint8_t workingCathedral;
float workingPitch;

void InitRoofDialog(HWND dialog, PlanSettings* settings)
{
    CentreDialog(dialog);
    workingPreset = settings->roofPitchPreset;
    workingCathedral = settings->cathedralCeiling == 1 ? 1 : 0;
    workingPitch = settings->roofPitch;
    SetDlgItemLengthAs(dialog, kCustomPitchField, settings->roofDialogLength314, settings, kFormatOneDecimal, 0);
    CheckDlgRadio(dialog, workingPreset, kFirstPreset, kCustomPreset);
    SetDlgButtonCheck(dialog, kCathedralCheck, workingCathedral);
}

void AcceptRoofDialog(HWND dialog, PlanSettings* settings)
{
    float custom = 0.0f;
    if (workingPreset == kCustomPreset && !ReadNumberField(dialog, kCustomPitchField, &custom)) return;
    settings->cathedralCeiling = workingCathedral;
    settings->roofPitchPreset = workingPreset;
    if (workingPreset != kCustomPreset) {
        settings->roofPitch = workingPitch;
    } else {
        settings->roofPitch = std::fabs(custom);
        settings->roofDialogLength314 = settings->roofPitch;
    }
    EndDialog(dialog, 1);
}

void RoofDialogCommand(HWND dialog, PlanSettings* settings, int id)
{
    if (id >= kFirstPreset && id < kCustomPreset) {
        workingPitch = kPresetPitch[id - kFirstPreset];
        SelectDialogRadio(dialog, id, kFirstPreset, kCustomPreset, &workingPreset);
    } else if (id == kCustomPreset) {
        SelectDialogRadio(dialog, id, kFirstPreset, kCustomPreset, &workingPreset);
    } else if (id == kCathedralCheck) {
        ToggleDialogCheck(dialog, id, &workingCathedral);
    } else if (id == IDOK) {
        AcceptRoofDialog(dialog, settings);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    }
}

}  // namespace

INT_PTR CALLBACK RoofDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    switch (message) {
    case WM_INITDIALOG:
        InitRoofDialog(dialog, settings);
        return 1;
    case WM_COMMAND:
        RoofDialogCommand(dialog, settings, LOWORD(wParam));
        return 1;
    }
    return 0;
}

int RunRoofDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_ROOF, RoofDlgProc);
}

void EditSelectedRoof(PlanObject* roof, PlanSettings* settings)
{
    if (!roof || !settings || (roof->type != ObjRoof && roof->type != ObjFreehandRoof)) return;
    const uint16_t savedPreset = settings->roofPitchPreset;
    const float savedCustom = settings->roofDialogLength314;
    const float savedPitch = settings->roofPitch;
    const uint16_t savedCathedral = settings->cathedralCeiling;

    settings->cathedralCeiling = roof->value2 <= 1 ? roof->value2 : 0;
    settings->roofPitch = roof->size;
    settings->roofPitchPreset = kCustomPreset;
    for (int i = 0; i < 5; ++i)
        if (roof->size == kPresetPitch[i]) settings->roofPitchPreset = static_cast<uint16_t>(kFirstPreset + i);
    if (settings->roofPitchPreset == kCustomPreset) settings->roofDialogLength314 = roof->size;

    if (RunRoofDialog(settings)) {
        roof->size = settings->roofPitch;
        if (roof->type == ObjRoof) {
            roof->value2 = settings->cathedralCeiling;
            RebuildRoof(roof);
        } else {
            if (roof->firstChild) roof->firstChild->size = settings->roofPitch;
            RebuildFreehandRoof(roof);
        }
        RebuildObject3D(roof);
    }
    settings->roofPitchPreset = savedPreset;
    settings->roofDialogLength314 = savedCustom;
    settings->roofPitch = savedPitch;
    settings->cathedralCeiling = savedCathedral;
}
