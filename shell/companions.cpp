#include "shell/companions.h"

// The companion programs are not wired yet: each command does nothing.
void StartFurnitureEditor(HWND) {}
void StartScaleModelTool(HWND) {}
void StartEstimateSpreadsheet(HWND) {}
void ImportObjectCommand(HWND) {}
