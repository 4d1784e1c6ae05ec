#include "palette/growth_caption.h"

void DrawPlantGrowthProgress(HDC, int) {}
