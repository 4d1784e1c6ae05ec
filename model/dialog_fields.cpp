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

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A plain decimal number at text: digits with at most one full stop, no sign and no
// exponent. Moves text past it; false, text left, when no digit is there.
bool ScanNumber(const char*& text, double* value)
{
    const char* start = text;
    const char* c = text;
    bool digit = false;
    for (; IsDigit(*c); ++c) digit = true;
    if (*c == '.')
        for (++c; IsDigit(*c); ++c) digit = true;
    if (!digit) return false;
    char number[kLengthTextSize];
    const size_t length = static_cast<size_t>(c - start);
    memcpy(number, start, length);
    number[length] = '\0';
    *value = strtod(number, nullptr);
    text = c;
    return true;
}

const char* SkipBlanks(const char* text)
{
    while (IsBlank(*text)) ++text;
    return text;
}

// Moves text past the mark when only blanks stand before it; false, text left, otherwise.
bool TakeMark(const char*& text, char mark)
{
    const char* at = SkipBlanks(text);
    if (*at != mark) return false;
    text = at + 1;
    return true;
}

// The grammar of a typed length, in the unit it is typed in. Blanks around it, an optional
// sign; metric: a number, optionally "m" (metres is then set) and its full stop; otherwise
// feet and inches (feet with their mark, a dash, or both, then optional inches with their
// mark; the value is then inches and feet is set), inches with their mark, or a plain
// number. Blanks may stand before and after each mark and dash. Nothing else may follow.
bool ScanLength(const char* text, bool metric, double* value, bool* metres, bool* feet)
{
    *value = 0.0;
    *metres = false;
    *feet = false;
    if (strlen(text) >= kLengthTextSize) return false;
    const char* c = SkipBlanks(text);
    if (*c == '\0') return true;  // an empty field reads 0
    double sign = 1.0;
    if (*c == '-' || *c == '+') sign = *c++ == '-' ? -1.0 : 1.0;
    double number = 0.0;
    if (!ScanNumber(c, &number)) return false;
    if (metric) {
        *metres = TakeMark(c, 'm');
        if (*metres && *c == '.') ++c;
    } else if (!TakeMark(c, '"')) {
        const bool footMark = TakeMark(c, '\'');
        if (TakeMark(c, '-') || footMark) {
            *feet = true;
            double inches = 0.0;
            c = SkipBlanks(c);
            if (ScanNumber(c, &inches)) TakeMark(c, '"');
            number = number * 12.0 + inches;
        }
    }
    if (*SkipBlanks(c) != '\0') return false;
    *value = sign * number;
    return true;
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
    char text[kLengthTextSize];
    if (!field || !ReadFieldText(dialog, controlId, text)) return;
    field->control = control;
    field->value = value;
    memcpy(field->text, text, sizeof text);
    SetPropA(control, RememberedFieldProperty(), reinterpret_cast<HANDLE>(field - rememberedFields + 1));
}

bool RecallFieldValue(HWND dialog, int controlId, double* value)
{
    HWND control = dialog ? GetDlgItem(dialog, controlId) : nullptr;
    const RememberedField* field = control ? RememberedFieldOf(control) : nullptr;
    if (!field) return false;
    char text[kLengthTextSize];
    if (!ReadFieldText(dialog, controlId, text) || strcmp(text, field->text) != 0) return false;
    if (value) *value = field->value;
    return true;
}

bool ReadFieldText(HWND dialog, int controlId, char* text)
{
    text[0] = '\0';
    HWND control = GetDlgItem(dialog, controlId);
    if (!control) return true;
    if (GetWindowTextLengthA(control) >= static_cast<int>(kLengthTextSize)) return false;
    GetWindowTextA(control, text, static_cast<int>(kLengthTextSize));
    return true;
}

bool ReadLengthText(const char* text, const PlanSettings* settings, float* value, bool ownUnit)
{
    const bool metric = settings && settings->unitSystem == kUnitSystemMetric;
    double typed = 0.0;
    bool metres = false, feet = false;
    if (!text || !ScanLength(text, metric, &typed, &metres, &feet)) return false;
    const float length = static_cast<float>(typed);
    *value = length;
    if (!settings) return true;
    const uint16_t format = settings->displayFormat;
    const bool inchFormat = format == kFormatWholeInches || format == kFormatFeetInches;
    // What the formats write in metres (5060, 5063 and 5064 with the metric unit
    // system) and in feet and inches is read back the same way, and given in the
    // drawing unit the formatter took; a length the user marks as metres, or writes in
    // feet and inches, is that in every format, though the plain ones show it back in
    // the drawing unit. A plain number, or one with the inch mark alone, is the drawing
    // unit's outside the inch formats: 5060 writes the drawing unit's value so.
    if (metric && (inchFormat || format == kFormatUnits || (metres && !ownUnit)))
        *value = ConvertInchesToUnits(MetresToInches(length), settings);
    else if (inchFormat || (feet && !ownUnit))
        *value = ConvertInchesToUnits(length, settings);
    return true;
}

float ParseLengthText(const char* text, const PlanSettings* settings)
{
    float value = 0.0f;
    return ReadLengthText(text, settings, &value) ? value : 0.0f;
}

float GetDlgItemLength(HWND dialog, int controlId)
{
    if (!dialog || !activeDocument || !activeDocument->settings) return 0.0f;
    double value = 0.0;
    if (RecallFieldValue(dialog, controlId, &value)) return static_cast<float>(value);
    char text[kLengthTextSize];
    if (!ReadFieldText(dialog, controlId, text)) return 0.0f;
    return ParseLengthText(text, activeDocument->settings);
}

float GetDlgItemFloat(HWND dialog, int controlId)
{
    if (!dialog) return 0.0f;
    double value = 0.0;
    if (RecallFieldValue(dialog, controlId, &value)) return static_cast<float>(value);
    char text[kLengthTextSize];
    if (!ReadFieldText(dialog, controlId, text)) return 0.0f;
    return static_cast<float>(atof(text));
}

int32_t GetDlgItemLong(HWND dialog, int controlId)
{
    if (!dialog) return 0;
    double value = 0.0;
    if (RecallFieldValue(dialog, controlId, &value)) return static_cast<int32_t>(value);
    char text[kLengthTextSize];
    if (!ReadFieldText(dialog, controlId, text)) return 0;
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
