#pragma once

struct PlanObject;

// Frees and regenerates the planes of a roof (type 14); nothing for other objects.
void RebuildRoof(PlanObject* roof);
