#pragma once
// The 3D lighting dialog: the direction of the light that casts the render's shadows,
// the brightness of the diffuse shading and the strength of the vertical darkening.

struct PlanSettings;

// Nonzero after OK, 0 after Cancel or without settings.
int RunLightingDialog(PlanSettings* settings);
