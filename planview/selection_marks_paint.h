#pragma once
#include <windows.h>

struct PlanFloor;

// Redraws the XOR selection marks of every shown floor of the list after a repaint;
// nothing without a rectangle.
void DrawSelectionMarks(PlanFloor* firstFloor, const RECT* rect);
