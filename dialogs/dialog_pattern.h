#pragma once
// What every property dialog shares: how it is run, centred and told off, how its radio
// groups and check boxes follow their working values, and the one number check every
// field passes when OK is pressed. A dialog edits the settings it was run on
// (`propertyDialogSettings`) and keeps its own working values until OK.
#include <windows.h>
#include <stdint.h>

struct PlanSettings;

// The settings the open property dialog edits; valid from its Run...Dialog call to its
// return (a nested dialog, such as the palette of the plan colour dialog, shares them).
extern PlanSettings* propertyDialogSettings;

// The kind of object a shared dialog works for: 54 exterior or 12 interior wall for the
// wall dialog, the symbol code 95 to 97 for the bath and shower dialog.
extern uint32_t dialogObjectKind;

// Runs template templateId modally with the procedure, on the settings, owned by the
// frame unless an owner is given. The dialog's result; 0 without settings, and 0 when
// the dialog could not be made, so that a failure is never taken for OK. An OK leaves
// the plan nothing to undo.
int RunPropertyDialog(PlanSettings* settings, int templateId, DLGPROC procedure, HWND owner = nullptr);

// The settings a procedure works on: the dialog's own while an active document with
// settings exists, else null (the procedure then does nothing).
PlanSettings* DialogSettings();

// Moves the dialog to the middle of the screen, size and activation untouched.
void CentreDialog(HWND dialog);

// Ends the dialog with 0 when the command is Cancel; 1, what a procedure returns for a
// command it has seen.
int EndDialogOnCancel(HWND dialog, WPARAM wParam);

// A message of the dialogs: the program's title as caption, information icon, task modal.
void ShowDialogMessage(HWND dialog, const char* text);
// The message, then the field focused with its whole text selected: the dialog stays open.
void RejectDialogField(HWND dialog, int controlId, const char* text);

// A radio click: false when it is already the current one; else it is checked within
// firstId..lastId and stored as the current one.
bool SelectDialogRadio(HWND dialog, int controlId, int firstId, int lastId, uint16_t* current);
// A check-box click: the working byte flips and the check mark follows it.
void ToggleDialogCheck(HWND dialog, int controlId, uint8_t* value);

// Lengths written in a given display format (5058 whole, 5059 one decimal, 5062 four
// decimals, 5063 whole inches), the settings' own format put back at once.
void SetDlgItemLengthAs(HWND dialog, int controlId, float value, PlanSettings* settings,
                        uint16_t format, int focusFlag);

// The reads of OK. A field left as it was written gives the exact value it was written
// from (RecallFieldValue); a typed one is read from its whole text, a length by the one
// grammar of ReadLengthText. Each accepts an empty field as 0 and returns false, after
// telling the user and selecting the field, for a text that is not one number or length
// (or is longer than a field's 255 characters), a value that is not finite or beyond a
// million, or a length beyond 32,000 plan units either way. A length's format, when not
// 0, is the display format in force for the read of a typed text; a plain one (whole,
// one to four decimals) names a field in a unit of its own (the lot's sides, the drawing
// scale), where a number marked "m" is read as the number typed.
bool ReadLengthField(HWND dialog, int controlId, float* value, uint16_t format = 0);
bool ReadNumberField(HWND dialog, int controlId, float* value);

extern const char* const notANumberMessage;
extern const char* const numberOutOfRangeMessage;
