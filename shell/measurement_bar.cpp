#include "shell/measurement_bar.h"

LRESULT CALLBACK MiscBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// The readouts are not drawn yet.
void ShowLengthReadout(float) {}
void ShowSizeReadout(float, float, float) {}
void ShowReadoutText(const char*) {}
void ShowGrowthReadoutText(const char* text)
{
    ShowReadoutText(text);
}
void ShowDiameterReadout(float) {}
void ShowAreaReadout(float, float) {}
