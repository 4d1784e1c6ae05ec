#pragma once
// The plant dialogs: how old the growth simulation lets plants grow, the planting age
// of the selected plants, and the details of one plant from its information file.
#include <cstddef>
#include <windows.h>

struct PlanObject;
struct PlanSettings;

// Nonzero after OK, 0 after Cancel or without settings.
int RunPlantGrowthDialog(PlanSettings* settings);
int RunPlantingAgeDialog(PlanSettings* settings);
// The details of a plant (type 28 with its data); 0 when it closes or cannot open.
int RunPlantDetailsDialog(PlanSettings* settings, PlanObject* plant);

// A height in inches as the plant and photo dialogs show it: "%0.2f m." in a metric
// plan, else feet and inches ("6'-0\"", or "11\"" below a foot).
void FormatDialogHeight(float inches, const PlanSettings* settings, char* text, size_t size);
// Writes that text of a length in display units into the control, which remembers the
// length (RememberFieldValue).
void SetDlgItemHeight(HWND dialog, int controlId, float units, const PlanSettings* settings);
