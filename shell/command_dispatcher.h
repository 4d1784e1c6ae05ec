#pragma once
#include <windows.h>
#include <cstdint>

// Frame command ids served here and sent by the rest of the program.
enum FrameCommand {
    FrameCommandQuit = 1,
    FrameCommandNew = 2,
    FrameCommandOpen = 3,
    FrameCommandClose = 4,
    FrameCommandSave = 5,
    FrameCommandSaveAs = 6,
    FrameCommandPrintSetup = 8,
    FrameCommandPrintFitToPage = 9,
    FrameCommandZoom100 = 5028,
    FrameCommandTopView = 5149,
    FrameCommandResetPlanView = 5262,
    FrameCommandPrintToScale = 5273,
    FrameCommandFinalRender = 5285,
    FrameCommandStartModeLoad = 5307,
    FrameCommandSaveTemporaryCopy = 5308,
    FrameCommandCloseAll = 9000,
};

// The question of a command that needs a plan when none is open.
extern const char* const noPlanQuestion;

// The frame's WM_COMMAND handler: the low byte of the result is 1 when the command was
// handled here, 0 when not (the frame then passes it to the default processing).
uint32_t HandleFrameCommand(HWND window, WPARAM wParam, LPARAM lParam);
