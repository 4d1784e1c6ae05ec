#pragma once
#include <stdint.h>

struct PlanObject;

// Lays each opening of a wall out again; returns the number of openings removed
// (0 for anything but a wall).
int16_t FitWallOpenings(PlanObject* wall);
