#include "dialogs/storey_units_dialogs.h"

#include <cmath>
#include <cstdint>
#include <windows.h>

#include "dialogs/common_values.h"
#include "dialogs/dialog_pattern.h"
#include "model/dialog_fields.h"
#include "model/object_extents.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "palette/symbol_bar.h"
#include "palette/variant_list.h"
#include "planview/plan_mouse_dispatch.h"
#include "planview/selection.h"
#include "render3d/interactive_view.h"
#include "render3d/scene_upkeep.h"
#include "resources/resource_ids.h"
#include "shell/camera_presets.h"
#include "shell/frame_window.h"

namespace {

const char* const kStoreyNames[3] = {"First Floor", "Second Floor", "Third Floor"};
const char* const kStoreyCaptions[3] = {"Pianterreno", "Primo piano", "Secondo piano"};
const char* const kNegativeCeilingMessage =
    "Altezze negative del soffitto non sono consentite. Un'altezza negativa del soffitto verrà "
    "trasformata in positiva.";
const char* const kBadCeilingMessage =
    "L'altezza del soffitto non è valida. L'altezza del soffitto verrà impostata su un valore "
    "ragionevole.";
const char* const kLotSmallerMessage =
    "Le nuove dimensioni del lotto sono più piccole dei bordi del disegno. Le dimensioni del "
    "lotto verranno adattate ai bordi del disegno.";
const char* const kTerrainTooLargeMessage =
    "Le dimensioni del terreno sono troppo grandi. Verrà utilizzata la massima dimensione "
    "consentita di 500.";
const char* const kScaleNotPositiveMessage = "La lunghezza deve essere superiore a 0.";
const char* const kLengthUnitNames[8] = {"Inches", "Feet", "Yards", "Miles",
                                         "Millimeters", "Centimeters", "Decimeters", "Meters"};

constexpr float kLargestLotSide = 500.0f;

// The open dialog's working values.
int ceilingStorey = 1;
uint8_t floorShown[3];
uint16_t floorRadio, unitsRadio, scaleRadio;
uint8_t rescaleObjects;

bool Metric(const PlanSettings* settings)
{
    return settings->unitSystem == kUnitSystemMetric;
}

// Plan scale denominators by radio 8..11; 0 for a radio outside the table.
float ScaleDenominator(uint16_t radio, bool metric)
{
    static const float imperial[4] = {96, 48, 36, 24}, metres[4] = {100, 50, 20, 10};
    if (radio < 8 || radio > 11) return 0.0f;
    return metric ? metres[radio - 8] : imperial[radio - 8];
}

// The percent shown for a zoom is zoom x shown factor x 100; a typed percent is / 100
// times the read factor.
float ZoomShownFactor(const PlanSettings* s)
{
    static const float imperial[4] = {8.0f / 3, 4.0f / 3, 1.0f, 2.0f / 3};
    static const float metres[4] = {25.0f / 9, 25.0f / 18, 5.0f / 9, 5.0f / 18};
    const uint16_t r = s->printScaleChoice;
    if (r < 8 || r > 11) return Metric(s) ? 5.0f / 9 : 1.0f;
    return Metric(s) ? metres[r - 8] : imperial[r - 8];
}

float ZoomReadFactor(const PlanSettings* s)
{
    static const float imperial[4] = {0.375f, 0.75f, 1.0f, 1.5f};
    static const float metres[4] = {0.36f, 0.72f, 1.8f, 3.6f};
    const uint16_t r = s->printScaleChoice;
    if (r < 8 || r > 11) return 1.0f;
    return Metric(s) ? metres[r - 8] : imperial[r - 8];
}

float* ChosenZoom(PlanSettings* s)
{
    return GetCameraPresetCommand() == 5149 ? &s->zoomTopView : &s->zoomOtherViews;
}

float Clamped(float value, float low, float high)
{
    return value < low ? low : (value > high ? high : value);
}

void SetWholeNumber(HWND dialog, int id, float value, int focus)
{
    SetDlgItemLong(dialog, id, static_cast<int32_t>(value), focus);
}

INT_PTR CALLBACK CeilingHeightDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    PlanFloor* floor = FindFloorByName(kStoreyNames[ceilingStorey - 1]);
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetWindowTextA(dialog, kStoreyCaptions[ceilingStorey - 1]);
        SetDlgItemLength(dialog, 7, floor ? floor->height : kDefaultFloorHeight, settings, 1, 0);
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        if (floor) {
            float height = 0.0f;
            if (!ReadLengthField(dialog, 7, &height)) return 1;
            if (height < 0.0f) {
                height = -height;
                ShowDialogMessage(dialog, kNegativeCeilingMessage);
            }
            if (height < 12.0f || height > 1000.0f) {
                height = kDefaultFloorHeight;
                ShowDialogMessage(dialog, kBadCeilingMessage);
            }
            floor->height = height;
        }
        ResetWorkingElevation();
        EndDialog(dialog, 1);
        return 1;
    }
    return 0;
}

INT_PTR CALLBACK FloorsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    PlanFloor* floors[3];
    for (int k = 0; k < 3; ++k) floors[k] = FindFloorByName(kStoreyNames[k]);
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        floorRadio = 0;
        for (int k = 0; k < 3; ++k) {
            floorShown[k] = floors[k] ? floors[k]->shown : 0;
            SetDlgButtonCheck(dialog, 18 + k, floorShown[k]);
            // A storey the plan lacks cannot be shown or made current.
            SetDlgItemDisabled(dialog, 18 + k, floors[k] ? 0 : 1);
            SetDlgItemDisabled(dialog, 21 + k, floors[k] ? 0 : 1);
            if (floors[k] && floors[k]->active && !floorRadio) {
                floorRadio = static_cast<uint16_t>(21 + k);
                CheckDlgRadio(dialog, floorRadio, 21, 23);
            }
        }
        return 1;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= 18 && id <= 20) {
            ToggleDialogCheck(dialog, id, &floorShown[id - 18]);
            return 1;
        }
        if (id >= 21 && id <= 23) {
            if (floors[id - 21]) SelectDialogRadio(dialog, id, 21, 23, &floorRadio);
            return 1;
        }
        if (id != IDOK) return EndDialogOnCancel(dialog, wParam);
        PlanFloor* chosen = floorRadio ? floors[floorRadio - 21] : nullptr;
        for (int k = 0; k < 3; ++k) {
            if (!floors[k]) continue;
            floors[k]->shown = floorShown[k];
            if (floors[k] != chosen) {
                SetFloorSelection(floors[k], kSelectDeselect, 0);
                floors[k]->active = 0;
            }
        }
        if (chosen) {
            chosen->active = 1;
            chosen->shown = 1;
            activeDocument->currentFloor = chosen;
            if (GetCameraPresetCommand() == 5149) {
                if (PlanFloor* sheet = FindFloorByNumber(5149)) {
                    activeDocument->currentViewSheet = sheet;
                    SelectCurrentFloor(sheet);
                }
            }
        }
        ResetWorkingElevation();
        if (PlanFloor* current = activeDocument->currentFloor) {
            walkEyeHeight = GetStoreyEyeHeight(current, settings);
            if (settings->cameraMode == 1) IgnoreCameraChange(settings->cameraX, walkEyeHeight, -settings->cameraZ);
        }
        EndDialog(dialog, 1);
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK UnitsPictureDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        unitsRadio = Metric(settings) ? 4 : 3;
        CheckDlgRadio(dialog, unitsRadio, 3, 4);
        return 1;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == 3 || id == 4) {
            SelectDialogRadio(dialog, id, 3, 4, &unitsRadio);
            return 1;
        }
        if (id != IDOK) return EndDialogOnCancel(dialog, wParam);
        // The working elevation is kept in inches, so it stays where it is; the pane
        // then shows its level in the new unit. An OK that keeps the units ends as a
        // cancel does, so that it changes nothing in the plan.
        const uint16_t chosen = unitsRadio == 4 ? kUnitSystemMetric : kUnitSystemFeetInches;
        const bool changed = chosen != settings->unitSystem;
        settings->unitSystem = chosen;
        EndDialog(dialog, changed ? 1 : 0);
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK LotSizeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG: {
        CentreDialog(dialog);
        HWND combo = GetDlgItem(dialog, 20);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Piedi"));
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Metri"));
        float width = s->siteWidth, depth = s->siteDepth;
        uint16_t unit = s->siteUnit;
        if (Metric(s) && unit != 2) {
            unit = 2;
            width = InchesToMetres(width * 12.0f);
            depth = InchesToMetres(depth * 12.0f);
        } else if (!Metric(s) && unit != 1) {
            unit = 1;
            width = InchesToFeet(MetresToInches(width));
            depth = InchesToFeet(MetresToInches(depth));
        }
        SendMessageA(combo, CB_SETCURSEL, unit - 1, 0);
        SetDlgItemLengthAs(dialog, 8, width, s, kFormatWhole, 1);
        SetDlgItemLengthAs(dialog, 9, depth, s, kFormatWhole, 0);
        SetFocus(GetDlgItem(dialog, 8));
        return 0;
    }
    case WM_COMMAND: {
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        float width = 0.0f, depth = 0.0f;
        if (!ReadLengthField(dialog, 8, &width, kFormatWhole) || !ReadLengthField(dialog, 9, &depth, kFormatWhole))
            return 1;
        const LRESULT unit = SendDlgItemMessageA(dialog, 20, CB_GETCURSEL, 0, 0);
        s->siteWidth = std::fabs(width);
        s->siteDepth = std::fabs(depth);
        s->siteUnit = static_cast<uint16_t>(unit == 1 ? 2 : 1);
        ClampTerrainSize(s);
        // Each side is capped on its own, as the extents are, so the lot matches them.
        const float cap = s->siteUnit == 2 ? InchesToMetres(FeetToInches(kLargestLotSide)) : kLargestLotSide;
        s->siteWidth = std::fmin(s->siteWidth, cap);
        s->siteDepth = std::fmin(s->siteDepth, cap);
        float drawing[4] = {32000.0f, 32000.0f, -32000.0f, -32000.0f};
        GetAllFloorsViewExtents(activeDocument->firstFloor, 0, drawing, 0, 0);
        UnzoomFloatRect(drawing);
        const bool inside = drawing[0] > drawing[2] ||
                            (drawing[0] >= s->extentTop && drawing[1] >= s->extentLeft &&
                             drawing[2] <= s->extentBottom && drawing[3] <= s->extentRight);
        if (!inside) {
            ShowDialogMessage(dialog, kLotSmallerMessage);
            const float halfZ = std::fmin(std::fmax(std::fabs(drawing[0]), std::fabs(drawing[2])), 7200.0f);
            const float halfX = std::fmin(std::fmax(std::fabs(drawing[1]), std::fabs(drawing[3])), 7200.0f);
            s->extentTop = -halfZ;
            s->extentBottom = halfZ;
            s->extentLeft = -halfX;
            s->extentRight = halfX;
            const float widthInches = 2.0f * halfX / 72.0f * s->drawingScale;
            const float depthInches = 2.0f * halfZ / 72.0f * s->drawingScale;
            s->siteWidth = s->siteUnit == 2 ? InchesToMetres(widthInches) : InchesToFeet(widthInches);
            s->siteDepth = s->siteUnit == 2 ? InchesToMetres(depthInches) : InchesToFeet(depthInches);
        }
        EndDialog(dialog, 1);
        RedrawRenderWindow();
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK PlanZoomDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetWholeNumber(dialog, 6, *ChosenZoom(s) * ZoomShownFactor(s) * 100.0f + 0.5f, 1);
        return 0;
    case WM_COMMAND: {
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        float percent = 0.0f;
        if (!ReadNumberField(dialog, 6, &percent)) return 1;
        float* zoom = ChosenZoom(s);
        // A percent left as shown, within the limits, keeps the zoom it was shown from.
        const float shown = std::trunc(percent) / 100.0f;
        if (!RecallFieldValue(dialog, 6, nullptr) || Clamped(shown, 0.05f, 3.0f) != shown)
            *zoom = Clamped(shown, 0.05f, 3.0f) * ZoomReadFactor(s);
        s->zoom = *zoom;
        EndDialog(dialog, 1);
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK ZoomFactorDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        if (!(s->value3D1390 > 0.0f)) s->value3D1390 = 1.0f;
        SetWholeNumber(dialog, 6, s->value3D1390 * 100.0f + 0.5f, 1);
        return 0;
    case WM_COMMAND: {
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        float percent = 0.0f;
        if (!ReadNumberField(dialog, 6, &percent)) return 1;
        const float factor = percent / 100.0f;
        if (!RecallFieldValue(dialog, 6, nullptr) || Clamped(factor, 0.05f, 5.0f) != factor)
            s->value3D1390 = Clamped(factor, 0.05f, 5.0f);
        EndDialog(dialog, 1);
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK PlanScaleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        scaleRadio = s->printScaleChoice;
        CheckDlgRadio(dialog, scaleRadio, 8, 11);
        return 1;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= 8 && id <= 11) {
            SelectDialogRadio(dialog, id, 8, 11, &scaleRadio);
            return 1;
        }
        if (id != IDOK) return EndDialogOnCancel(dialog, wParam);
        // A radio from a file outside the table leaves the zooms as they are.
        const float from = ScaleDenominator(s->printScaleChoice, Metric(s));
        const float to = ScaleDenominator(scaleRadio, Metric(s));
        if (from > 0.0f && to > 0.0f) {
            const float ratio = from / to;
            s->zoomTopView *= ratio;
            s->zoomOtherViews *= ratio;
            s->zoom *= ratio;
        }
        if (to > 0.0f) s->printScaleChoice = scaleRadio;
        EndDialog(dialog, 1);
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK DrawingScaleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        s->scaleDialogFlag = 0;
        rescaleObjects = 0;
        SetDlgItemLength(dialog, 7, s->scalePaperLength, s, 1, 0);
        SetDlgItemLength(dialog, 8, s->scaleDrawingLength, s, 0, 0);
        for (int combo = 9; combo <= 10; ++combo) {
            for (const char* name : kLengthUnitNames)
                SendDlgItemMessageA(dialog, combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
            SendDlgItemMessageA(dialog, combo, CB_SETCURSEL, (combo == 9 ? s->paperUnit : s->drawingUnit) - 1, 0);
        }
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == 12) {
            ToggleDialogCheck(dialog, 12, &rescaleObjects);
            return 1;
        }
        if (id != IDOK) return EndDialogOnCancel(dialog, wParam);
        float paper = 0.0f, real = 0.0f;
        if (!ReadLengthField(dialog, 7, &paper, kFormatFourDecimals) ||
            !ReadLengthField(dialog, 8, &real, kFormatFourDecimals))
            return 1;
        // A scale of 0 would send every object to infinity on the next rescale.
        if (!(paper > 0.0f)) {
            RejectDialogField(dialog, 7, kScaleNotPositiveMessage);
            return 1;
        }
        if (!(real > 0.0f)) {
            RejectDialogField(dialog, 8, kScaleNotPositiveMessage);
            return 1;
        }
        s->scalePaperLength = paper;
        s->scaleDrawingLength = real;
        s->scaleDialogFlag = rescaleObjects;
        s->paperUnit = static_cast<uint16_t>(SendDlgItemMessageA(dialog, 9, CB_GETCURSEL, 0, 0) + 1);
        s->drawingUnit = static_cast<uint16_t>(SendDlgItemMessageA(dialog, 10, CB_GETCURSEL, 0, 0) + 1);
        const float old = s->drawingScale;
        ComputeDrawingScale(s);
        if (rescaleObjects) RescaleAllObjects(old, s->drawingScale);
        EndDialog(dialog, 1);
        return 1;
    }
    }
    return 0;
}

// What the units change asks of the rest of the frame: the pane feed, the select tool,
// and the palette's lists in the new units.
void AfterUnitsChange()
{
    if (!activeDocument) return;
    RefreshWorkingElevationValue(activeDocument);
    if (elevationPaneWindow) InvalidateRect(elevationPaneWindow, nullptr, TRUE);
    RevertToSelectTool(1);
    switch (variantListTool) {
    case 5246: case 5247: case 5248: case 5251: case 5332:
        break;
    case 5328:
        if (symbolBarWindow && IsWindowVisible(symbolBarWindow)) LayoutSymbar();
        break;
    default:
        variantListTool = static_cast<short>(0xFFFF);
        if (variantListWindow && IsWindowVisible(variantListWindow)) ShowPopList(variantListWindow);
        break;
    }
}

}  // namespace

int RunCeilingHeightDialog(PlanSettings* settings, int storey)
{
    if (storey < 1 || storey > 3) return 0;
    ceilingStorey = storey;
    return RunPropertyDialog(settings, IDD_CEILING_HEIGHT, CeilingHeightDlgProc);
}

int RunFloorsDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_FLOORS, FloorsDlgProc);
}

int RunUnitsDialog(PlanSettings* settings)
{
    const int result = RunPropertyDialog(settings, IDD_UNITS, UnitsPictureDlgProc);
    if (result) AfterUnitsChange();
    return result;
}

int RunLotSizeDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_LOT_SIZE, LotSizeDlgProc);
}

int RunPlanZoomDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_PLAN_ZOOM, PlanZoomDlgProc) ? 1 : 0;
}

int RunZoomFactorDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_ZOOM_FACTOR, ZoomFactorDlgProc);
}

int RunPlanScaleDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_PLAN_SCALE, PlanScaleDlgProc);
}

int RunDrawingScaleDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_DRAWING_SCALE, DrawingScaleDlgProc);
}

void ClampTerrainSize(PlanSettings* s)
{
    if (!s) return;
    float width = s->siteWidth, depth = s->siteDepth;
    if (s->siteUnit == 2) {
        width = InchesToFeet(MetresToInches(width));
        depth = InchesToFeet(MetresToInches(depth));
    }
    if (width > kLargestLotSide || depth > kLargestLotSide) {
        ShowDialogMessage(nullptr, kTerrainTooLargeMessage);
        width = std::fmin(width, kLargestLotSide);
        depth = std::fmin(depth, kLargestLotSide);
    }
    width = std::fabs(FeetToInches(width));
    depth = std::fabs(FeetToInches(depth));
    s->extentTop = -depth;
    s->extentBottom = depth;
    s->extentLeft = -width;
    s->extentRight = width;
    s->referenceX = Clamped(s->referenceX, -width, width);
    s->referenceZ = Clamped(s->referenceZ, -depth, depth);
}

void ComputeDrawingScale(PlanSettings* s)
{
    if (!s) return;
    const float paper = ConvertPaperUnitsToInches(s->scalePaperLength, s);
    const float real = ConvertUnitsToInches(s->scaleDrawingLength, s);
    if (paper != 0.0f) s->drawingScale = std::fabs(real / paper);
}

void RescaleAllObjects(float oldScale, float newScale)
{
    if (!activeDocument || !activeDocument->settings || !(newScale != 0.0f)) return;
    PlanSettings* s = activeDocument->settings;
    const float factor = oldScale / newScale;
    SetSelectionAllFloors(activeDocument->firstFloor, kSelectSelect, 1);
    TransformRecord transform = {};
    transform.scale[0] = transform.scale[1] = transform.scale[2] = factor;
    transform.centre[0] = s->referenceX;
    transform.centre[1] = s->referenceHeight;
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            ScaleObjectTree(object, &transform);
    SetSelectionAllFloors(activeDocument->firstFloor, kSelectSelect, 0);
}
