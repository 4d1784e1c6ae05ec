#pragma once
#include <windows.h>

// The shared key handler of the plan, palette, bar and 3D windows.
void HandlePlanKeyDown(WPARAM key, LPARAM keyFlags);
// Brings the frame menu up to date each time it opens.
void UpdateMenus();
