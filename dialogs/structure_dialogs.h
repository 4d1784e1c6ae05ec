#pragma once
// Single-purpose dialogs opened on one object from the plan's context menu: the cross
// section of a beam (1071) and of an HVAC duct (1073), the diameter of a pier (1072),
// the length and width of a bath or shower (1080), the thickness of a floor slab (1082)
// and the depth of a stairwell opening (1083). The beam to bath wrappers work on values
// handed in by pointer and write them back only after OK.
#include <windows.h>
#include <stdint.h>

struct PlanObject;
struct PlanSettings;

// Each 1 after OK (values written), else 0; 0 without settings or a value pointer.
int RunBeamDialog(PlanSettings* settings, float* width, float* depth);
int RunPierDialog(PlanSettings* settings, float* diameter);
int RunHvacDuctDialog(PlanSettings* settings, float* width, float* depth);
// The symbol code 95, 96 or 97 chooses the caption.
int RunBathShowerDialog(PlanSettings* settings, float* length, float* width, uint32_t symbolCode);
int RunSlabDialog(PlanSettings* settings);
int RunStairwellDialog(PlanSettings* settings);
// The thickness of a slab (type 13) or the depth of a stairwell opening (type 48).
void EditSelectedSlab(PlanObject* slab, PlanSettings* settings);
void EditSelectedStairwellOpening(PlanObject* opening, PlanSettings* settings);

INT_PTR CALLBACK BeamDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PierDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK HvacDuctDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK BathShowerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SlabDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK StairwellDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
