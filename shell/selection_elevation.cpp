#include "shell/selection_elevation.h"

float selectionElevationFeet = 0.0f;
