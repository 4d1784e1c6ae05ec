#pragma once
#include <windows.h>

struct ColourTriple;

// The program's one system colour dialog, started from a 16-bit colour with the shared
// custom colours; on OK the choice is stored back as 16-bit channels (8-bit value x 257).
// A dialog that could not be shown counts as a cancel.
bool ChooseColour(HWND owner, ColourTriple* colour);

// The colour commands of the frame: each runs the system colour dialog on one plan
// colour and, on OK, stores the choice, redraws the plan and (except the pen colour)
// writes the colours to the preferences. Nothing without an active document with settings.
// 5019 pen, 5030 background, 5265 current floor, 5297 inactive floor, 5298 fourth colour.
void PlanColourCommand(HWND frame, int command);
// 5134: the preset palette; on OK the pen colour takes the choice.
void PresetColourCommand(HWND frame);
// 5266: the plan colours back to their defaults, written to the preferences.
void ResetColoursCommand();
