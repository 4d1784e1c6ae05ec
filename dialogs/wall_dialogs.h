#pragma once

struct PlanSettings;

// The wall properties dialog on the settings' wall defaults; nonzero after OK, 0 after
// Cancel or without settings.
int RunWallDialog(PlanSettings* settings);
