#pragma once
#include <windows.h>

// The companion programs and the object import (commands 5231, 5272, 5303 and 5000).
void StartFurnitureEditor(HWND frame);
void StartScaleModelTool(HWND frame);
void StartEstimateSpreadsheet(HWND frame);
void ImportObjectCommand(HWND frame);
