#pragma once
#include <windows.h>
#include <cstdint>

// Frame command ids served here and sent by the rest of the program.
enum FrameCommand {
    FrameCommandQuit = 1,
    FrameCommandNew = 2,
    FrameCommandOpen = 3,
    FrameCommandPrintFitToPage = 9,
    FrameCommandPrintToScale = 5273,
    FrameCommandStartModeLoad = 5307,
    FrameCommandCloseAll = 9000,
};

// The question of a command that needs a plan when none is open.
extern const char* const noPlanQuestion;

// The frame's WM_COMMAND handler: the low byte of the result is 1 when the command was
// handled here, 0 when not (the frame then passes it to the default processing).
uint32_t HandleFrameCommand(HWND window, WPARAM wParam, LPARAM lParam);
