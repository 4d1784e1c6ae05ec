#include "dialogs/structure_dialogs.h"

#include "dialogs/dialog_pattern.h"
#include "model/dialog_fields.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "render3d/object_polygons.h"
#include "resources/resource_ids.h"

namespace {

enum : int {
    kFirstField = 5,
    kSecondField = 7,
    kDepthField = 10,
};

// The values of the open dialog: one or two sizes, and the slab or stairwell value.
float firstValue, secondValue;
float slabValue, stairwellValue;

// One size: 0 or below becomes 0.001 (a size of nothing), above the limit the limit.
float ClampedSize(float value, float limit)
{
    if (value <= 0.0f) return 0.001f;
    return value > limit ? limit : value;
}

const char* BathCaption(uint32_t symbolCode)
{
    switch (symbolCode) {
    case 95: return "Proprietà Vasca/Doccia";
    case 96: return "Proprietà Vasca idromassaggio";
    case 97: return "Proprietà Doccia";
    }
    return nullptr;
}

// The sizes show with two decimals and the unit mark (metres in a metric plan) whatever
// the plan's display format, and are read back in that same format: in a plan showing
// plain decimals, "1.52 m" would otherwise be read as 1.52 inches.
constexpr uint16_t kSizeFormat = kFormatUnits;

// The common procedure of the size dialogs: one or two fields, their limit.
INT_PTR SizeDialog(HWND dialog, UINT message, WPARAM wParam, int fields, float limit)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLengthAs(dialog, kFirstField, firstValue, settings, kSizeFormat, 1);
        if (fields == 2) SetDlgItemLengthAs(dialog, kSecondField, secondValue, settings, kSizeFormat, 1);
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            float first = 0.0f, second = 0.0f;
            if (!ReadLengthField(dialog, kFirstField, &first, kSizeFormat)) return 1;
            if (fields == 2 && !ReadLengthField(dialog, kSecondField, &second, kSizeFormat)) return 1;
            firstValue = ClampedSize(first, limit);
            if (fields == 2) secondValue = ClampedSize(second, limit);
            EndDialog(dialog, 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
        }
        return 1;
    }
    return 0;
}

// The slab and stairwell procedure: one length in field 10, stored as typed.
INT_PTR DepthDialog(HWND dialog, UINT message, WPARAM wParam, float* value)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLength(dialog, kDepthField, *value, settings, 1, 0);
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            if (ReadLengthField(dialog, kDepthField, value)) EndDialog(dialog, 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
        }
        return 1;
    }
    return 0;
}

int RunSizeDialog(PlanSettings* settings, int templateId, DLGPROC procedure, float* first, float* second)
{
    if (!settings || !first || (second == nullptr) != (templateId == IDD_PIER)) return 0;
    firstValue = *first;
    secondValue = second ? *second : 0.0f;
    if (!RunPropertyDialog(settings, templateId, procedure)) return 0;
    *first = firstValue;
    if (second) *second = secondValue;
    return 1;
}

}  // namespace

INT_PTR CALLBACK BeamDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return SizeDialog(dialog, message, wParam, 2, 50.0f);
}

INT_PTR CALLBACK PierDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return SizeDialog(dialog, message, wParam, 1, 50.0f);
}

INT_PTR CALLBACK HvacDuctDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return SizeDialog(dialog, message, wParam, 2, 50.0f);
}

INT_PTR CALLBACK BathShowerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG && DialogSettings())
        if (const char* caption = BathCaption(dialogObjectKind)) SetWindowTextA(dialog, caption);
    return SizeDialog(dialog, message, wParam, 2, 200.0f);
}

INT_PTR CALLBACK SlabDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return DepthDialog(dialog, message, wParam, &slabValue);
}

INT_PTR CALLBACK StairwellDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return DepthDialog(dialog, message, wParam, &stairwellValue);
}

int RunBeamDialog(PlanSettings* settings, float* width, float* depth)
{
    return RunSizeDialog(settings, IDD_BEAM, BeamDlgProc, width, depth);
}

int RunPierDialog(PlanSettings* settings, float* diameter)
{
    return RunSizeDialog(settings, IDD_PIER, PierDlgProc, diameter, nullptr);
}

int RunHvacDuctDialog(PlanSettings* settings, float* width, float* depth)
{
    return RunSizeDialog(settings, IDD_HVAC_DUCT, HvacDuctDlgProc, width, depth);
}

int RunBathShowerDialog(PlanSettings* settings, float* length, float* width, uint32_t symbolCode)
{
    dialogObjectKind = symbolCode;
    return RunSizeDialog(settings, IDD_BATH_SHOWER, BathShowerDlgProc, length, width);
}

int RunSlabDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_SLAB, SlabDlgProc);
}

int RunStairwellDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_STAIRWELL, StairwellDlgProc);
}

void EditSelectedSlab(PlanObject* slab, PlanSettings* settings)
{
    if (!slab || !settings || slab->type != ObjFloorSlab) return;
    slabValue = slab->parameters[2];
    if (!RunSlabDialog(settings)) return;
    slab->parameters[2] = slabValue;
    RebuildObject3D(slab);
}

void EditSelectedStairwellOpening(PlanObject* opening, PlanSettings* settings)
{
    if (!opening || !settings || opening->type != ObjFloorOpening) return;
    stairwellValue = opening->parameters[2];
    if (!RunStairwellDialog(settings)) return;
    opening->parameters[2] = stairwellValue;
    RebuildObject3D(opening);
}
