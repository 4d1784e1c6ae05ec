#pragma once

struct PlanSettings;

// The deck height dialog; nonzero after OK, 0 after Cancel or without settings.
int RunDeckHeightDialog(PlanSettings* settings);
