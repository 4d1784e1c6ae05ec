#pragma once
#include <windows.h>

// The commands that show, place and steer the live 3D view: 5151 to 5154, 5189, 5190,
// 5241, 5257 to 5260, 5270, 5285, 5287, 5288, 5316 to 5321,
// 5325, 5351 to 5354.
void LiveViewCommand(HWND frame, int command);
