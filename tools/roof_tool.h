#pragma once
#include <stdint.h>

struct PlanObject;

// The roof tools 7300 to 7305 and 7307 (the dispatcher has stored the style first).
void HandleRoofTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);

// Frees and regenerates the planes of a roof (type 14); nothing for other objects.
void RebuildRoof(PlanObject* roof);
