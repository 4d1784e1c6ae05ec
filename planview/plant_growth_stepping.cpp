#include "planview/plant_growth_stepping.h"

void StepPlantGrowthWhileHeld(int, int) {}
