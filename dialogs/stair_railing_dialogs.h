#pragma once
// The stair (1062), railing (1063) and wall-segment (1064) properties dialogs. The first
// two edit the stair and railing defaults or one edited stair or railing, which is then
// regenerated; the third edits the shape of one wall segment: main height, elevation,
// top style, slopes, side heights and its automatic dimensions.
#include <windows.h>

struct PlanDocument;
struct PlanObject;
struct PlanSettings;
struct PlanVertex;

// 1 after OK, 0 after Cancel or without settings.
int RunStairsDialog(PlanSettings* settings);
int RunRailingDialog(PlanSettings* settings);
int RunWallSegmentDialog(PlanSettings* settings);
// Edit one stair (type 38) or railing (type 45) and regenerate it; the defaults are left
// as they were.
void EditSelectedStairs(PlanObject* stair, PlanSettings* settings);
void EditSelectedRailing(PlanObject* railing, PlanSettings* settings);
// Edits the segment that starts at the wall vertex; 1 after OK, else 0. The caller
// rebuilds the wall.
int EditSelectedWallSegment(PlanDocument* document, PlanVertex* vertex, PlanSettings* settings);

INT_PTR CALLBACK StairsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RailingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK WallSegmentDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

extern const char* const slopeAMessage;
extern const char* const slopeBMessage;
extern const char* const sideDBelowSideCMessage;
extern const char* const sideDBelowBaseMessage;
extern const char* const sideCBelowBaseMessage;
