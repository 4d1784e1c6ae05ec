#pragma once
#include <stdint.h>

// The rotate tool 201 on a selected object: the selection turns about the centre of its
// box by the angle swept between the press and the release. In the plan the pointer
// keeps to the axes and diagonals through the centre unless Shift is held.

// Dispatcher model form: (x, height, z, event).
void RotateSelection(float x, float y, float z, int16_t event);
