#pragma once

struct PlanSettings;

// The precision, working elevation and tracing-image size dialogs.
// Nonzero after OK, 0 after Cancel or without settings.
int RunDistancePrecisionDialog(PlanSettings* settings);
// 1 after OK, 0 after Cancel.
int RunWorkingElevationDialog();
// 1 after OK, 2 for the picture's own size, 0 after Cancel.
int RunTracingImageResizeDialog();
