#pragma once
#include <windows.h>

// The colour commands of the frame: each runs the system colour dialog on one plan
// colour and, on OK, stores the choice, redraws the plan and (except the pen colour)
// writes the colours to the preferences. Nothing without an active document with settings.
// 5019 pen, 5030 background, 5265 current floor, 5297 inactive floor, 5298 fourth colour.
void PlanColourCommand(HWND frame, int command);
// 5134: the preset palette; on OK the pen colour takes the choice.
void PresetColourCommand(HWND frame);
// 5266: the plan colours back to their defaults, written to the preferences.
void ResetColoursCommand();
