#pragma once
#include <stdint.h>

// The press-and-hold stepper of the planting age (the garden tab's age buttons): one
// step per click, repeated while the button is held, each step growing the plants of
// the plan (or of the live 3D view) by delta years.

// The highest step is the growth caption's largestGrowthStep; the stepper sets its
// caption switch while it runs.

// Needs the active document with its settings and plan pane, the frame, the render
// window and the live 3D view window.
void StepPlantGrowthWhileHeld(int step, int delta);
