#pragma once
#include <windows.h>
#include <stdint.h>

struct PlanObject;

// The text frame (type 200) of the active document, on any floor, whose edit control is
// the window (only selected frames with the flag); null without an active document.
PlanObject* FindTextLabelOfObject(HWND control, uint8_t selectedOnly);
