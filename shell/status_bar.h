#pragma once
#include <windows.h>

// The one-line help and progress bar along the bottom of the frame (StatusBarClass).

// Status ids: -1 the default help text, -3 symbarStatusText, -4 customStatusText, any
// other value the string-table text of that command or tool id.
enum {
    StatusDefaultId = -1,
    StatusSymbarTextId = -3,
    StatusCustomTextId = -4,
    StatusTextSize = 256,
};

extern const char* const statusDefaultText; // "Premere F1 per visualizzare la Guida"
extern int lastStatusId;                    // -1 at start
extern char customStatusText[StatusTextSize];
extern char symbarStatusText[StatusTextSize];
extern DWORD progressTick;

LRESULT CALLBACK StatusBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void ShowStatusHelp(int id);
void ClearStatusBar();
void SetStatusText(const char* text);
void ResetStatusProgress();
void ShowRenderingProgress();
void ShowPreparing3DViewProgress();
void DrawRenderProgressBar(long done, long total);
