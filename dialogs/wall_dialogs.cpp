#include "dialogs/wall_dialogs.h"

#include "dialogs/dialog_pattern.h"
#include "model/dialog_fields.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/wall_openings.h"
#include "model3d/wall_rebuild.h"
#include "planview/selection.h"
#include "render3d/object_polygons.h"
#include "resources/resource_ids.h"

namespace {

enum : int {
    kCustomThicknessField = 5,
    kSlabThicknessField = 6,
    kFoundationWidthField = 7,
    kFirstPreset = 8,
    kCustomPreset = 14,
    kAutomaticSlabCheck = 15,
    kFoundationCheck = 16,
    kStudSpacingField = 43,
    kSlabThicknessLabel = 110,
    kFoundationWidthLabel = 111,
};

// The presets' thicknesses in inches, radios 8 to 13.
const float kPresetThickness[6] = {2.0f, 4.0f, 6.0f, 8.0f, 10.0f, 12.0f};

constexpr uint32_t kExteriorWall = 54;
constexpr uint32_t kInteriorWall = 12;
constexpr uint32_t kFoundationFlag = 1;
constexpr uint32_t kFloorPlanFlag = 2;

// Working values of the open dialog. Those of the slab and foundation are filled by
// EditSelectedWall and keep their last values otherwise.
uint16_t workingPreset;
float workingThickness;
float workingCustomThickness;
uint8_t workingAutomaticSlab;
float workingSlabThickness;
uint32_t workingFoundation = kFloorPlanFlag;
float workingFoundationWidth;

void ShowOptionalField(HWND dialog, PlanSettings* settings, bool on, int field, int label, float value)
{
    SetDlgButtonCheck(dialog, field == kSlabThicknessField ? kAutomaticSlabCheck : kFoundationCheck, on);
    SetDlgItemLength(dialog, field, value, settings, on, 0);
    SetDlgItemDisabled(dialog, field, !on);
    SetDlgItemDisabled(dialog, label, !on);
}

void InitWallDialog(HWND dialog, PlanSettings* settings)
{
    CentreDialog(dialog);
    workingPreset = settings->wallThicknessPreset;
    workingCustomThickness = settings->wallDialogLength;
    workingThickness = settings->wallThickness;
    SetDlgItemLength(dialog, kCustomThicknessField, workingCustomThickness, settings, 0, 0);
    SetDlgItemLength(dialog, kStudSpacingField, settings->studSpacing, settings, 0, 0);
    CheckDlgRadio(dialog, workingPreset, kFirstPreset, kCustomPreset);
    ShowOptionalField(dialog, settings, workingAutomaticSlab != 0, kSlabThicknessField, kSlabThicknessLabel,
                      workingSlabThickness);
    ShowOptionalField(dialog, settings, workingFoundation == kFoundationFlag, kFoundationWidthField,
                      kFoundationWidthLabel, workingFoundationWidth);
}

// A field that a click enables takes what it shows, written again in the plan's format,
// and the focus. A text that is no length is told off and left as typed for OK to refuse.
void TakeEnabledField(HWND dialog, PlanSettings* settings, int field, float* value)
{
    if (ReadLengthField(dialog, field, value)) SetDlgItemLength(dialog, field, *value, settings, 1, 0);
}

// A check box that enables its field: on reads the field and gives it the focus.
void ToggleOptionalField(HWND dialog, PlanSettings* settings, bool on, int check, int field, int label,
                         float* value)
{
    SetDlgButtonCheck(dialog, check, on);
    SetDlgItemDisabled(dialog, field, !on);
    SetDlgItemDisabled(dialog, label, !on);
    if (on) TakeEnabledField(dialog, settings, field, value);
}

void AcceptWallDialog(HWND dialog, PlanSettings* settings)
{
    float custom = 0.0f, spacing = 0.0f, slab = 0.0f, foundation = 0.0f;
    if ((workingPreset == kCustomPreset && !ReadLengthField(dialog, kCustomThicknessField, &custom)) ||
        !ReadLengthField(dialog, kStudSpacingField, &spacing) ||
        !ReadLengthField(dialog, kSlabThicknessField, &slab) ||
        !ReadLengthField(dialog, kFoundationWidthField, &foundation))
        return;
    settings->wallThicknessPreset = workingPreset;
    if (workingPreset != kCustomPreset) {
        settings->wallThickness = workingThickness;
    } else {
        settings->wallThickness = custom;
        settings->wallDialogLength = custom;
    }
    settings->studSpacing = spacing < 6.0f ? 16.0f : spacing;
    workingSlabThickness = slab;
    workingFoundationWidth = foundation;
    EndDialog(dialog, 1);
}

void WallDialogCommand(HWND dialog, PlanSettings* settings, int id)
{
    if (id >= kFirstPreset && id < kCustomPreset) {
        workingThickness = kPresetThickness[id - kFirstPreset];
        SelectDialogRadio(dialog, id, kFirstPreset, kCustomPreset, &workingPreset);
    } else if (id == kCustomPreset) {
        if (SelectDialogRadio(dialog, id, kFirstPreset, kCustomPreset, &workingPreset))
            TakeEnabledField(dialog, settings, kCustomThicknessField, &workingCustomThickness);
    } else if (id == kAutomaticSlabCheck) {
        workingAutomaticSlab = workingAutomaticSlab ? 0 : 1;
        ToggleOptionalField(dialog, settings, workingAutomaticSlab != 0, kAutomaticSlabCheck,
                            kSlabThicknessField, kSlabThicknessLabel, &workingSlabThickness);
    } else if (id == kFoundationCheck) {
        workingFoundation = workingFoundation == kFoundationFlag ? kFloorPlanFlag : kFoundationFlag;
        ToggleOptionalField(dialog, settings, workingFoundation == kFoundationFlag, kFoundationCheck,
                            kFoundationWidthField, kFoundationWidthLabel, &workingFoundationWidth);
    } else if (id == IDOK) {
        AcceptWallDialog(dialog, settings);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    }
}

}  // namespace

INT_PTR CALLBACK InteriorWallDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    switch (message) {
    case WM_INITDIALOG:
        InitWallDialog(dialog, settings);
        return 1;
    case WM_COMMAND:
        WallDialogCommand(dialog, settings, LOWORD(wParam));
        return 1;
    }
    return 0;
}

int RunWallDialog(PlanSettings* settings)
{
    const int templateId = dialogObjectKind == kExteriorWall ? IDD_EXTERIOR_WALL : IDD_INTERIOR_WALL;
    return RunPropertyDialog(settings, templateId, InteriorWallDlgProc);
}

void EditSelectedWall(PlanObject* wall, PlanSettings* settings)
{
    if (!wall || !settings || wall->type != ObjWall) return;
    dialogObjectKind = wall->subType == kExteriorWall ? kExteriorWall : kInteriorWall;
    workingFoundation = (wall->category & kCategoryFoundation) ? kFoundationFlag : kFloorPlanFlag;

    const uint16_t savedPreset = settings->wallThicknessPreset;
    const float savedCustom = settings->wallDialogLength;
    const float savedThickness = settings->wallThickness;
    const float savedSpacing = settings->studSpacing;

    workingAutomaticSlab = wall->colourM[0] == 0 ? 1 : 0;
    workingSlabThickness = wall->parameters[2];
    workingFoundationWidth = wall->parameters[3];
    settings->studSpacing = wall->parameters[1];
    settings->wallThicknessPreset = kCustomPreset;
    for (int i = 0; i < 6; ++i)
        if (wall->size == kPresetThickness[i]) settings->wallThicknessPreset = static_cast<uint16_t>(kFirstPreset + i);
    settings->wallThickness = wall->size;
    if (settings->wallThicknessPreset == kCustomPreset) settings->wallDialogLength = wall->size;

    if (RunWallDialog(settings)) {
        wall->parameters[1] = settings->studSpacing;
        wall->size = settings->wallThickness;
        wall->parameters[2] = workingSlabThickness;
        wall->parameters[3] = workingFoundationWidth;
        wall->colourM[0] = workingAutomaticSlab ? 0 : 1;
        if (dialogObjectKind == kExteriorWall) wall->category = workingFoundation;
        RebuildWall(wall);
        FitWallOpenings(wall);
        if (activeDocument) SetSelectionAllFloors(activeDocument->firstFloor, kSelectDeselect, 1);
        RebuildObject3D(wall);
    }
    settings->wallThicknessPreset = savedPreset;
    settings->wallDialogLength = savedCustom;
    settings->wallThickness = savedThickness;
    settings->studSpacing = savedSpacing;
}
