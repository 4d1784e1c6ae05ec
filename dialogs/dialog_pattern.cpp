#include "dialogs/dialog_pattern.h"

#include <cmath>
#include <cstdlib>

#include "model/dialog_fields.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include "tools/undo.h"

PlanSettings* propertyDialogSettings = nullptr;
uint32_t dialogObjectKind = 0;

const char* const notANumberMessage = "Il valore inserito non è un numero valido.";
const char* const numberOutOfRangeMessage = "Il valore inserito è fuori dai limiti consentiti.";

namespace {

constexpr double kLargestNumber = 1000000.0;
constexpr double kLargestPlanLength = 32000.0;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A number with blanks around it; an empty text reads 0.
bool ParseNumber(const char* text, double* value)
{
    while (IsBlank(*text)) ++text;
    *value = 0.0;
    if (*text == '\0') return true;
    char* end = nullptr;
    *value = std::strtod(text, &end);
    if (end == text) return false;
    while (IsBlank(*end)) ++end;
    return *end == '\0';
}

}  // namespace

int RunPropertyDialog(PlanSettings* settings, int templateId, DLGPROC procedure, HWND owner)
{
    if (!settings) return 0;
    PlanSettings* outer = propertyDialogSettings;
    propertyDialogSettings = settings;
    const INT_PTR result = DialogBoxParamA(hInstance, MAKEINTRESOURCEA(templateId),
                                          owner ? owner : frameWindow, procedure, 0);
    propertyDialogSettings = outer;
    if (result == -1) return 0;
    // What an OK changed the undo cannot reverse: the last drag's undo is dropped.
    if (result) CancelPendingObject();
    return static_cast<int>(result);
}

PlanSettings* DialogSettings()
{
    if (!activeDocument || !activeDocument->settings) return nullptr;
    return propertyDialogSettings ? propertyDialogSettings : activeDocument->settings;
}

void CentreDialog(HWND dialog)
{
    RECT box;
    if (!GetWindowRect(dialog, &box)) return;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (box.right - box.left)) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - (box.bottom - box.top)) / 2;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

int EndDialogOnCancel(HWND dialog, WPARAM wParam)
{
    if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
    return 1;
}

void ShowDialogMessage(HWND dialog, const char* text)
{
    ShowMessageBox(dialog, text, applicationTitle, MB_ICONINFORMATION | MB_TASKMODAL);
}

void RejectDialogField(HWND dialog, int controlId, const char* text)
{
    ShowDialogMessage(dialog, text);
    if (HWND field = GetDlgItem(dialog, controlId)) {
        SetFocus(field);
        SendMessageA(field, EM_SETSEL, 0, -1);
    }
}

bool SelectDialogRadio(HWND dialog, int controlId, int firstId, int lastId, uint16_t* current)
{
    if (*current == controlId) return false;
    CheckDlgRadio(dialog, controlId, firstId, lastId);
    *current = static_cast<uint16_t>(controlId);
    return true;
}

void ToggleDialogCheck(HWND dialog, int controlId, uint8_t* value)
{
    *value = *value ? 0 : 1;
    SetDlgButtonCheck(dialog, controlId, *value);
}

void SetDlgItemLengthAs(HWND dialog, int controlId, float value, PlanSettings* settings,
                        uint16_t format, int focusFlag)
{
    if (!settings) return;
    const uint16_t own = settings->displayFormat;
    settings->displayFormat = format;
    SetDlgItemLength(dialog, controlId, value, settings, focusFlag, 1);
    settings->displayFormat = own;
}

bool ReadLengthField(HWND dialog, int controlId, float* value, uint16_t format)
{
    PlanSettings* settings = DialogSettings();
    double shown = 0.0;
    float length = 0.0f;
    if (RecallFieldValue(dialog, controlId, &shown)) {
        length = static_cast<float>(shown);
    } else {
        char text[kLengthTextSize];
        bool read = settings && ReadFieldText(dialog, controlId, text);
        if (read) {
            const uint16_t own = settings->displayFormat;
            if (format) settings->displayFormat = format;
            // A field read in a plain format of its own holds a number in a unit of its own.
            const bool ownUnit = format && format != kFormatUnits && format != kFormatWholeInches &&
                                 format != kFormatFeetInches;
            read = ReadLengthText(text, settings, &length, ownUnit);
            settings->displayFormat = own;
        }
        if (!read) {
            RejectDialogField(dialog, controlId, notANumberMessage);
            return false;
        }
    }
    if (!std::isfinite(length) || std::fabs(length) > kLargestNumber ||
        std::fabs(UnitsToPlanLength(length, settings, 0)) > kLargestPlanLength) {
        RejectDialogField(dialog, controlId, numberOutOfRangeMessage);
        return false;
    }
    *value = length;
    return true;
}

bool ReadNumberField(HWND dialog, int controlId, float* value)
{
    double number = 0.0;
    if (!RecallFieldValue(dialog, controlId, &number)) {
        char text[kLengthTextSize];
        if (!ReadFieldText(dialog, controlId, text) || !ParseNumber(text, &number)) {
            RejectDialogField(dialog, controlId, notANumberMessage);
            return false;
        }
    }
    if (!std::isfinite(number) || std::fabs(number) > kLargestNumber) {
        RejectDialogField(dialog, controlId, numberOutOfRangeMessage);
        return false;
    }
    *value = static_cast<float>(number);
    return true;
}
