#include "model/dialog_fields.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/units.h"

namespace {

long TruncateToLong(double v)
{
    if (v != v) return 0;
    if (v >= 2147483647.0) return 2147483647L;
    if (v <= -2147483648.0) return -2147483647L - 1;
    return static_cast<long>(v);
}

// Whole inches rounded half away from zero by the sign of the value: -0.7 reads -1".
void FormatWholeInches(double inches, char* text)
{
    const long shown = (inches >= 0.0) ? TruncateToLong(inches + 0.5) : TruncateToLong(inches - 0.5);
    snprintf(text, kLengthTextSize, "%ld\"", shown);
}

// Feet and inches of a length, the inches rounded and 12 of them carried into a foot.
// A negative length is written as its magnitude after one minus sign, so -66 inches
// read -5'-6" and not a foot count and an inch count each with its own sign.
void FormatFeetInches(double inches, char* text)
{
    const bool negative = inches < 0.0;
    const double q = fabs(inches) / 12.0;
    long feet = TruncateToLong(q);
    long rest = TruncateToLong((q - feet) * 12.0 + 0.5);
    if (rest == 12) {
        feet += 1;
        rest = 0;
    }
    const char* sign = (negative && (feet != 0 || rest != 0)) ? "-" : "";
    if (feet == 0)
        snprintf(text, kLengthTextSize, "%s%ld\"", sign, rest);
    else
        snprintf(text, kLengthTextSize, "%s%ld'-%ld\"", sign, feet, rest);
}

void FocusAndSelectAll(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    if (!control) return;
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
}

void ReadControlText(HWND dialog, int controlId, char* text)
{
    text[0] = '\0';
    GetDlgItemTextA(dialog, controlId, text, static_cast<int>(kLengthTextSize));
    text[kLengthTextSize - 1] = '\0';
}

// The remembered fields. A control names its slot in a window property; a slot is free
// once its control is gone or names another (a window made later has no property).
struct RememberedField {
    HWND control;
    double value;
    char text[kLengthTextSize];
};
RememberedField rememberedFields[32];

const char* RememberedFieldProperty()
{
    static const ATOM atom = GlobalAddAtomA("VelmoraRememberedField");
    return MAKEINTATOM(atom);
}

RememberedField* RememberedFieldOf(HWND control)
{
    const uintptr_t slot = reinterpret_cast<uintptr_t>(GetPropA(control, RememberedFieldProperty()));
    if (slot == 0 || slot > sizeof rememberedFields / sizeof rememberedFields[0]) return nullptr;
    RememberedField* field = &rememberedFields[slot - 1];
    return field->control == control ? field : nullptr;
}

RememberedField* FreeRememberedField()
{
    for (RememberedField& field : rememberedFields)
        if (!field.control || RememberedFieldOf(field.control) != &field) return &field;
    return nullptr;
}

}  // namespace

void FormatLength(float value, char* text, const PlanSettings* settings, int rawFlag)
{
    if (!text || !settings) return;
    uint16_t format = settings->displayFormat;
    if (!rawFlag && (format == kFormatWholeInches || format == kFormatFeetInches))
        format = kFormatUnits;
    const double v = value;
    switch (format) {
    case kFormatWhole:
        snprintf(text, kLengthTextSize, "%0.0f", v);
        break;
    case kFormatOneDecimal:
        snprintf(text, kLengthTextSize, "%0.1f", v);
        break;
    case kFormatUnits:
        if (settings->unitSystem == kUnitSystemFeetInches)
            snprintf(text, kLengthTextSize, "%0.2f\"", v);
        else if (settings->unitSystem == kUnitSystemMetric)
            // Metres from inches, not from the drawing unit as it stands.
            snprintf(text, kLengthTextSize, "%0.2f m",
                     static_cast<double>(InchesToMetres(ConvertUnitsToInches(value, settings))));
        else
            snprintf(text, kLengthTextSize, "%0.2f", v);
        break;
    case kFormatThreeDecimals:
        snprintf(text, kLengthTextSize, "%0.3f", v);
        break;
    case kFormatFourDecimals:
        snprintf(text, kLengthTextSize, "%0.4f", v);
        break;
    case kFormatWholeInches:
        FormatWholeInches(ConvertUnitsToInches(value, settings), text);
        break;
    case kFormatFeetInches:
        FormatFeetInches(ConvertUnitsToInches(value, settings), text);
        break;
    default:
        snprintf(text, kLengthTextSize, "%0.2f", v);
        break;
    }
}

void SetDlgItemLength(HWND dialog, int controlId, float value, const PlanSettings* settings,
                      int focusFlag, int rawFlag)
{
    if (!dialog || !settings) return;
    char text[kLengthTextSize];
    FormatLength(value, text, settings, rawFlag);
    SetDlgItemTextA(dialog, controlId, text);
    RememberFieldValue(dialog, controlId, value);
    if (focusFlag) FocusAndSelectAll(dialog, controlId);
}

void RememberFieldValue(HWND dialog, int controlId, double value)
{
    HWND control = dialog ? GetDlgItem(dialog, controlId) : nullptr;
    if (!control) return;
    RememberedField* field = RememberedFieldOf(control);
    if (!field) field = FreeRememberedField();
    if (!field) return;
    field->control = control;
    field->value = value;
    ReadControlText(dialog, controlId, field->text);
    SetPropA(control, RememberedFieldProperty(), reinterpret_cast<HANDLE>(field - rememberedFields + 1));
}

bool RecallFieldValue(HWND dialog, int controlId, double* value)
{
    HWND control = dialog ? GetDlgItem(dialog, controlId) : nullptr;
    const RememberedField* field = control ? RememberedFieldOf(control) : nullptr;
    if (!field) return false;
    char text[kLengthTextSize];
    ReadControlText(dialog, controlId, text);
    if (strcmp(text, field->text) != 0) return false;
    if (value) *value = field->value;
    return true;
}

float ParseLengthText(const char* text, const PlanSettings* settings)
{
    if (!text) return 0.0f;
    // The number typed first (feet when a separator follows) and the inches after it.
    char number[kLengthTextSize] = {};
    char inches[kLengthTextSize] = {};
    size_t numberLength = 0;
    size_t inchesLength = 0;
    for (size_t i = 0; text[i] != '\0' && i < kLengthTextSize - 1; ++i) {
        const char c = text[i];
        if ((c >= '0' && c <= '9') || c == '.') {
            if (inchesLength > 0)
                inches[inchesLength++] = c;
            else
                number[numberLength++] = c;
        } else if (c == '-') {
            if (i == 0)
                number[numberLength++] = c;  // a leading minus
            else if (inchesLength == 0)
                inches[inchesLength++] = '0'; // the feet-inches separator
        }
        // Anything else (foot and inch marks, blanks, letters) is skipped.
    }
    double result = numberLength ? atof(number) : 0.0;
    if (inchesLength > 0) {
        // The sign is the leading minus's, so "-0-6" reads -6 as "-5-6" reads -66.
        const double inchPart = atof(inches);
        result *= 12.0;
        result = (number[0] == '-') ? result - inchPart : result + inchPart;
    }
    float length = static_cast<float>(result);
    if (!settings)
        return length;
    const uint16_t format = settings->displayFormat;
    const bool inchFormat = format == kFormatWholeInches || format == kFormatFeetInches;
    // What the formats write in metres (5060, 5063 and 5064 with the metric unit
    // system) and in feet and inches is read back the same way, and given in the
    // drawing unit the formatter took.
    if (settings->unitSystem == kUnitSystemMetric && (inchFormat || format == kFormatUnits))
        return ConvertInchesToUnits(MetresToInches(length), settings);
    if (inchFormat)
        return ConvertInchesToUnits(length, settings);
    return length;
}

float GetDlgItemLength(HWND dialog, int controlId)
{
    if (!dialog || !activeDocument || !activeDocument->settings) return 0.0f;
    double value = 0.0;
    if (RecallFieldValue(dialog, controlId, &value)) return static_cast<float>(value);
    char text[kLengthTextSize];
    ReadControlText(dialog, controlId, text);
    return ParseLengthText(text, activeDocument->settings);
}

float GetDlgItemFloat(HWND dialog, int controlId)
{
    if (!dialog) return 0.0f;
    double value = 0.0;
    if (RecallFieldValue(dialog, controlId, &value)) return static_cast<float>(value);
    char text[kLengthTextSize];
    ReadControlText(dialog, controlId, text);
    return static_cast<float>(atof(text));
}

int32_t GetDlgItemLong(HWND dialog, int controlId)
{
    if (!dialog) return 0;
    double value = 0.0;
    if (RecallFieldValue(dialog, controlId, &value)) return static_cast<int32_t>(value);
    char text[kLengthTextSize];
    ReadControlText(dialog, controlId, text);
    return static_cast<int32_t>(strtol(text, nullptr, 10));
}

void SetDlgItemLong(HWND dialog, int controlId, int32_t value, int focusFlag)
{
    if (!dialog) return;
    char text[32];
    snprintf(text, sizeof(text), "%ld", static_cast<long>(value));
    SetDlgItemTextA(dialog, controlId, text);
    RememberFieldValue(dialog, controlId, value);
    if (focusFlag) FocusAndSelectAll(dialog, controlId);
}

void SetDlgItemDisabled(HWND dialog, int controlId, int disable)
{
    if (!dialog) return;
    HWND control = GetDlgItem(dialog, controlId);
    if (control) EnableWindow(control, disable ? FALSE : TRUE);
}

void CheckDlgRadio(HWND dialog, int controlId, int firstId, int lastId)
{
    if (!dialog) return;
    CheckRadioButton(dialog, firstId, lastId, controlId);
}

void SetDlgButtonCheck(HWND dialog, int controlId, int checked)
{
    if (!dialog) return;
    CheckDlgButton(dialog, controlId, checked ? BST_CHECKED : BST_UNCHECKED);
}

void ShowDlgItem(HWND dialog, int controlId)
{
    if (!dialog) return;
    HWND control = GetDlgItem(dialog, controlId);
    if (control) ShowWindow(control, SW_SHOW);
}

void HideDlgItem(HWND dialog, int controlId)
{
    if (!dialog) return;
    HWND control = GetDlgItem(dialog, controlId);
    if (control) ShowWindow(control, SW_HIDE);
}
