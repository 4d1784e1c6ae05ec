#include "tools/text_editing.h"

// In-place text editing is not built yet: nothing is refitted or re-created.
HWND CreateTextEditWindow(DWORD, int, int, int, int, HWND) { return nullptr; }
void RefitTextEditWindow(PlanObject*) {}
HWND CommitTextEdit(HWND control, int, PlanObject*) { return control; }
void FitTextEditToObject(HDC, HWND, PlanObject*) {}
