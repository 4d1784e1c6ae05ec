#pragma once
// The dimension style dialog (1023: end marks, colour and font of dimension lines), the
// plan colour dialog (1022) and the preset colour palette (1017) behind PickColour,
// whose "other" button falls through to the system colour dialog. Colours are kept as
// 16-bit channels and handed to GDI as 8-bit ones.
#include <windows.h>

struct PlanObject;
struct PlanSettings;
struct ColourTriple;

// 1 after OK, 0 after Cancel or without settings.
int RunDimensionDialog(PlanSettings* settings);
int RunPlanColoursDialog(PlanSettings* settings);
// The palette: 1 OK, 2 "other", 0 Cancel or without settings; the palette's colour is
// written to *colour whatever the result.
int RunColourPaletteDialog(PlanSettings* settings, ColourTriple* colour, HWND owner);
// The palette, then for "other" the system colour dialog on *colour: 1 when a colour was
// chosen (written to *colour), else 0.
int PickColour(HWND owner, PlanSettings* settings, ColourTriple* colour);
// Edits the end mark, colour and font of a dimension line (type 102) or its label (201);
// the dimension defaults are left as they were.
void EditSelectedDimension(PlanObject* dimension, PlanSettings* settings);

// A swatch control filled with the colour; the selected one framed in black, 3 pixels
// wide, 1 pixel inside its edge.
void PaintColourSwatch(HWND dialog, int controlId, COLORREF colour);
void FrameSelectedSwatch(HWND dialog, int controlId);

INT_PTR CALLBACK DimensionDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PlanColoursDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ColourPaletteDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
