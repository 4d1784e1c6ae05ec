#pragma once
#include <windows.h>
#include <commdlg.h>

// The colour the last font dialog of either kind returned.
extern COLORREF fontColour;

// The system font dialog on dimensionLogFont or textLogFont (screen fonts, no effects,
// the private faces of the text controls left out of its list); on OK the chosen font
// replaces the record and fontColour takes the dialog's colour.
// Nonzero after OK, 0 after Cancel (or when the dialog could not be shown).
int ChooseDimensionFont(HWND owner);
int ChooseTextFont(HWND owner);

// A stand-in for the system dialog (a test answers in the user's place); null restores it.
typedef BOOL (*FontDialogHook)(CHOOSEFONTA* record, void* context);
void SetFontDialogHook(FontDialogHook hook, void* context);
