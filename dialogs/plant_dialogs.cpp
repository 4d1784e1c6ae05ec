#include "dialogs/plant_dialogs.h"
#include "files/profile_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <windows.h>

#include "dialogs/dialog_pattern.h"
#include "dialogs/plant_info.h"
#include "model/dialog_fields.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "planview/plan_redraw.h"
#include "palette/growth_caption.h"
#include "render3d/texture_names.h"
#include "resources/resource_ids.h"
#include "shell/app_globals.h"

namespace {

const char* const kGrowthTooOld = "L'età massima non può superare i 50 anni.";
const char* const kGrowthTooYoung = "L'età massima non può essere inferiore ai 2 anni.";
const char* const kPlantingTooOld = "L'età iniziale della pianta non può superare i 20 anni.";
const char* const kPlantingTooYoung = "L'età iniziale della pianta non può essere inferiore a 0.";

PlanObject* detailsPlant;

// The up-down bar beside field 6: one up within [upLow, upHigh], one down within
// [downLow, downHigh]; other codes are ignored.
void StepAgeField(HWND dialog, WPARAM wParam, int upLow, int upHigh, int downLow, int downHigh)
{
    const int value = GetDlgItemLong(dialog, 6);
    if (LOWORD(wParam) == SB_LINEUP && value >= upLow && value <= upHigh)
        SetDlgItemLong(dialog, 6, value + 1, 0);
    else if (LOWORD(wParam) == SB_LINEDOWN && value >= downLow && value <= downHigh)
        SetDlgItemLong(dialog, 6, value - 1, 0);
}

// The whole number of field 6 on OK, or false after the number check's message.
bool ReadAge(HWND dialog, float* value)
{
    if (!ReadNumberField(dialog, 6, value)) return false;
    *value = std::trunc(*value);
    return true;
}

INT_PTR CALLBACK PlantGrowthDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLong(dialog, 6, largestGrowthStep - 3, 1);
        return 0;
    case WM_VSCROLL:
        StepAgeField(dialog, wParam, 2, 49, 3, 50);
        return 1;
    case WM_COMMAND: {
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        float value = 0.0f;
        if (!ReadAge(dialog, &value)) return 1;
        if (value > 50.0f) {
            ShowDialogMessage(dialog, kGrowthTooOld);
        } else if (value < 2.0f) {
            ShowDialogMessage(dialog, kGrowthTooYoung);
        } else {
            largestGrowthStep = static_cast<uint16_t>(value + 3.0f);
            if (s->plantAge > largestGrowthStep) s->plantAge = largestGrowthStep;
            if (frameWindow) InvalidateRect(frameWindow, nullptr, TRUE);
            EndDialog(dialog, 1);
        }
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK PlantingAgeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLong(dialog, 6, 0, 1);
        return 0;
    case WM_VSCROLL:
        StepAgeField(dialog, wParam, 0, 19, 1, 20);
        return 1;
    case WM_COMMAND: {
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        float value = 0.0f;
        if (!ReadAge(dialog, &value)) return 1;
        if (value > 20.0f) {
            ShowDialogMessage(dialog, kPlantingTooOld);
        } else if (value < 0.0f) {
            ShowDialogMessage(dialog, kPlantingTooYoung);
        } else {
            ForEachFloorObject(activeDocument->firstFloor, 1, SetPlantingAge,
                               reinterpret_cast<void*>(static_cast<uintptr_t>(value)));
            InvalidatePlanView();
            EndDialog(dialog, 1);
        }
        return 1;
    }
    }
    return 0;
}

const char* CodeText(uint16_t code, const char* const* texts, int count)
{
    return code >= 1 && code <= count ? texts[code - 1] : nullptr;
}

void SetCodeText(HWND dialog, int id, uint16_t code, const char* const* texts, int count)
{
    if (const char* text = CodeText(code, texts, count)) SetDlgItemTextA(dialog, id, text);
}

void WriteDetails(HWND dialog, const PlanSettings* s)
{
    static const char* const kTypes[] = {"Fiore", "Cespuglio", "Albero"};
    static const char* const kSeasons[] = {"Inverno", "Primavera", "Estate", "Autunno"};
    static const char* const kAmounts[] = {"Minimo", "Medio", "Moderato", "Eccessivo"};
    static const char* const kSoils[] = {"Sabbioso", "Terra grassa sabbiosa", "Terra grassa",
                                         "Terra grassa melmosa", "Terra grassa argillosa",
                                         "Argilloso", "Alcalino", "Acido"};
    static const char* const kKeys[] = {"FlowerColor", "PlantTexture", "FruitType", "FoliageChange", "Usage"};
    PlanObject* plant = detailsPlant;
    const PlantInfo* info = plant->plantData;
    SetDlgItemTextA(dialog, 9, info->commonName);
    SetDlgItemTextA(dialog, 10, info->botanicalName);
    SetCodeText(dialog, 100, info->type, kTypes, 3);
    SetCodeText(dialog, 101, info->propagation, kSeasons, 4);
    SetCodeText(dialog, 103, info->water, kAmounts, 4);
    SetCodeText(dialog, 102, info->sunLight, kAmounts, 4);
    SetCodeText(dialog, 104, info->soilType, kSoils, 8);
    char path[kTextureNameSize] = "";
    MakeTextureInfoPath(static_cast<int32_t>(plant->firstVertex ? plant->firstVertex->faceTextureA : 0), path);
    char text[64];
    for (int k = 0; k < 5; ++k) {
        MeantProfileString("Description", kKeys[k], "N/A", text, 60, path);
        SetDlgItemTextA(dialog, 107 + k, text);
    }
    MeantProfileString("Description", "Temperature", "N/A", text, 60, path);
    SetDlgItemTextA(dialog, 105, text);
    char zones[64] = "";
    for (int zone = 0; zone < 10; ++zone) {
        if (!info->zones[zone]) continue;
        char one[8];
        std::snprintf(one, sizeof one, "%d, ", zone + 1);
        std::strcat(zones, one);
    }
    const size_t length = std::strlen(zones);
    if (length >= 2) zones[length - 2] = '\0';
    SetDlgItemTextA(dialog, 106, length ? zones : "N/A");
    const int16_t planted = static_cast<int16_t>(plant->value2);
    if (planted == 0)
        std::snprintf(text, sizeof text, "Pianticella");
    else
        std::snprintf(text, sizeof text, planted == 1 ? "%d Anno" : "%d Anni", planted);
    SetDlgItemTextA(dialog, 41, text);
    float width = 0.0f, height = 0.0f;
    ComputePlantSizeAtAge(plant, &width, &height, 0);
    SetDlgItemHeight(dialog, 42, PlanLengthToUnits(height, s, 0), s);
    SetDlgItemHeight(dialog, 43, info->maximumGrowthHeight, s);
}

INT_PTR CALLBACK PlantDetailsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        return 1;
    case WM_PAINT:
        if (GetUpdateRect(dialog, nullptr, FALSE)) WriteDetails(dialog, s);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) EndDialog(dialog, 0);
        return 1;
    }
    return 0;
}

}  // namespace

void FormatDialogHeight(float inches, const PlanSettings* settings, char* text, size_t size)
{
    if (settings && settings->unitSystem == kUnitSystemMetric) {
        std::snprintf(text, size, "%0.2f m.", inches / 39.37f);
        return;
    }
    long feet = static_cast<long>(inches / 12.0f);
    long rest = std::lround((inches / 12.0f - feet) * 12.0f);
    if (rest == 12) {
        ++feet;
        rest = 0;
    }
    if (feet != 0)
        std::snprintf(text, size, "%ld'-%ld\"", feet, rest);
    else
        std::snprintf(text, size, "%ld\"", rest);
}

void SetDlgItemHeight(HWND dialog, int controlId, float units, const PlanSettings* settings)
{
    char text[64];
    FormatDialogHeight(ConvertUnitsToInches(units, settings), settings, text, sizeof text);
    SetDlgItemTextA(dialog, controlId, text);
    RememberFieldValue(dialog, controlId, units);
}

int RunPlantGrowthDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_PLANT_GROWTH, PlantGrowthDlgProc);
}

int RunPlantingAgeDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_PLANTING_AGE, PlantingAgeDlgProc);
}

int RunPlantDetailsDialog(PlanSettings* settings, PlanObject* plant)
{
    if (!plant || plant->type != ObjPlant || !plant->plantData) return 0;
    detailsPlant = plant;
    const int result = RunPropertyDialog(settings, IDD_PLANT_DETAILS, PlantDetailsDlgProc);
    detailsPlant = nullptr;
    return result;
}
