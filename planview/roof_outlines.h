#pragma once
#include <windows.h>

struct PlanObject;

// Eaves, hips, ridges, their dimensions and the pitch arrows of a roof (type 14).
void DrawRoofOutline(HDC dc, PlanObject* roof);
