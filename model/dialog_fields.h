#pragma once
// Numbers and lengths in dialog edit controls, and the one formatter of every length
// the user sees, by the plan's display format (settings offset 138, commands 5058..5064).
#include <windows.h>
#include <stdint.h>

struct PlanSettings;

// Display formats.
constexpr uint16_t kFormatWhole = 5058;        // "%0.0f"
constexpr uint16_t kFormatOneDecimal = 5059;   // "%0.1f"
constexpr uint16_t kFormatUnits = 5060;        // two decimals with the unit mark
constexpr uint16_t kFormatThreeDecimals = 5061;
constexpr uint16_t kFormatFourDecimals = 5062;
constexpr uint16_t kFormatWholeInches = 5063;  // 7"
constexpr uint16_t kFormatFeetInches = 5064;   // 5'-6"

// Room a length text needs, its terminating NUL included.
constexpr size_t kLengthTextSize = 256;

// Writes the value by the settings' display format into text (kLengthTextSize bytes).
// Without the raw flag, whole inches and feet-inches are shown as kFormatUnits. Nothing
// when the text or the settings are missing.
void FormatLength(float value, char* text, const PlanSettings* settings, int rawFlag);

// Writes FormatLength of the value into the control; with the focus flag the control
// gets the focus and all its text is selected.
void SetDlgItemLength(HWND dialog, int controlId, float value, const PlanSettings* settings,
                      int focusFlag, int rawFlag);
// Reads a typed length as ReadLengthText does; 0.0 for a text it refuses, without a
// dialog or without settings of the active document.
float GetDlgItemLength(HWND dialog, int controlId);
// The one reading, and check, of a typed length, by the given settings' display format
// and unit system: true and the value for exactly one well-formed length, false (value
// untouched) for anything else. Blanks around it and a leading minus or plus are
// allowed; then in a metric plan a number, with or without " m" and its full stop
// (2.44, 2.44 m, 2.44m, 2.44 m.); otherwise feet and inches (5'-6", 5'-6, 5' 6", 5'6",
// 5-6, 10-, 5'), inches with their mark (66.00") or a plain number, blanks allowed before
// and after each mark and dash (5 ' - 6 ", 66.00 "). An empty text reads 0;
// a text of more than 255 characters is refused. A text FormatLength wrote reads back as
// the value it was made from: metres (the metric unit system in formats 5060, 5063, 5064)
// and feet and inches (5063, 5064) are turned into the drawing unit. In a metric plan a
// number marked "m" is metres, and otherwise a length in feet and inches (with a foot
// mark or a dash) is feet and inches, in every format, unless ownUnit says the field
// holds a number in a unit of its own (the lot's sides, the drawing scale): then, in the
// formats that show plain numbers, it is the number typed.
bool ReadLengthText(const char* text, const PlanSettings* settings, float* value, bool ownUnit = false);
// ReadLengthText's value; 0.0 for a text it refuses.
float ParseLengthText(const char* text, const PlanSettings* settings);
// The control's text into kLengthTextSize bytes; false, and an empty text, when it is
// longer than the 255 characters a field holds (it is never read cut). A missing control
// reads as an empty text.
bool ReadFieldText(HWND dialog, int controlId, char* text);

// A field keeps the exact value it was written from. Every field written by
// SetDlgItemLength or SetDlgItemLong (or given its value by RememberFieldValue) remembers
// that value with the text it shows; while the control still shows that text, the readers
// here and the checked reads of the dialogs give back the exact value, so an OK on a field
// the user left alone stores what the dialog was opened on, not its rounded text. The
// memory goes with the control: a control made later, even under the same handle, has none.
void RememberFieldValue(HWND dialog, int controlId, double value);
// True when the control still shows the text its value was remembered with; value (when
// not null) is then that value.
bool RecallFieldValue(HWND dialog, int controlId, double* value);

float GetDlgItemFloat(HWND dialog, int controlId);
int32_t GetDlgItemLong(HWND dialog, int controlId);
void SetDlgItemLong(HWND dialog, int controlId, int32_t value, int focusFlag);
void SetDlgItemDisabled(HWND dialog, int controlId, int disable);
void CheckDlgRadio(HWND dialog, int controlId, int firstId, int lastId);
void SetDlgButtonCheck(HWND dialog, int controlId, int checked);
void ShowDlgItem(HWND dialog, int controlId);
void HideDlgItem(HWND dialog, int controlId);
