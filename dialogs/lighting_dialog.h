#pragma once

struct PlanSettings;

// The 3D lighting dialog; nonzero after OK, 0 after Cancel or without settings.
int RunLightingDialog(PlanSettings* settings);
