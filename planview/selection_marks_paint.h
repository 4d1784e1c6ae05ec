#pragma once
#include <windows.h>

struct PlanFloor;
struct PlanObject;

// Redraws the XOR selection marks of every shown floor of the list after a repaint;
// nothing without a rectangle.
void DrawSelectionMarks(PlanFloor* firstFloor, const RECT* rect);
// The marks of every object of one shown floor.
void DrawFloorSelectionMarks(PlanFloor* floor, const RECT* rect);
// The marks of one object and its children: the box and handles of an object selected
// as a whole, else the point squares of its selected vertices and the heavy outline of
// a selected door, window, pitch symbol, deck steps or stair. A second call removes them.
void DrawObjectSelectionMarks(PlanObject* object, const RECT* rect);
