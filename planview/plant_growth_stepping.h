#pragma once

// The press-and-hold stepper of the planting age: steps by delta while a button is held.
void StepPlantGrowthWhileHeld(int step, int delta);
