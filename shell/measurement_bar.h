#pragma once
#include <windows.h>

// The measurement bar of a document window (MiscClass).
LRESULT CALLBACK MiscBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The readouts of the active plan's measurement bar (lengths in display units).
// The live "Lunghezza:" readout; 0 clears it.
void ShowLengthReadout(float length);
// The size of the selection: a width, depth and height part for each value that is not 0.
void ShowSizeReadout(float width, float depth, float height);
// "Diametro:" of the oval tool; 0 clears it.
void ShowDiameterReadout(float diameter);
// Width, depth and area of a rubber band (plan units); 0 and 0 clear it.
void ShowAreaReadout(float width, float depth);
// Clears the readout area and writes the text at its left; an empty text only clears it.
void ShowReadoutText(const char* text);
// The plant growth caption, shown as ShowReadoutText shows its text.
void ShowGrowthReadoutText(const char* text);
