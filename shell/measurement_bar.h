#pragma once
// The measurement bar of a document window (MiscClass): a strip at the bottom left of
// the document window with three buttons (the measuring-line switch, the automatic
// dimensions and floor areas menu, the working-floor pop-up) and, from x = 90, the
// readout area where the tools write their live measurements and the frame commands
// their short messages. Every readout goes to the bar of the active document and does
// nothing without an active document, its bar or its settings.
#include <windows.h>

struct PlanObject;

// The font the bar's own DC held before the bar's font was selected into it.
extern HGDIOBJ miscBarOldFont;

LRESULT CALLBACK MiscBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A left press at (x, y) of the bar's client area.
void HandleMiscBarClick(HWND bar, int x, int y);
// Paints the button area (with an active document with settings and an update region).
void PaintMiscBar(HWND bar);
// The bar's client rectangle with its left edge at 90.
void GetReadoutRect(HWND bar, RECT* rect);

// The readouts. Lengths are the display-unit values the tools get from PlanLengthToUnits,
// shown in metres ("%0.2f m") unless the plan is imperial (FormatLength, raw).
// "Lunghezza:" of a drag; 0 clears it.
void ShowLengthReadout(float length);
// "Diametro:" of the oval tool ("%0.2f m." in metric plans); 0 clears it.
void ShowDiameterReadout(float diameter);
// "Angle:" in whole degrees; 32000.0 clears it.
void ShowAngleReadout(float angle);
// The size of the selection as the press handling gives it (zoomed): a width, depth and
// height part for each value that rounds to nonzero; all three rounding to 0 clears it.
void ShowSizeReadout(float width, float depth, float height);
// "Visualizza distanza:"; 0 clears it.
void ShowDistanceReadout(float distance);
// Width, depth and area of a rubber band (plan units, unzoomed); 0 and 0 clear it.
void ShowAreaReadout(float width, float depth);
// Clears the readout area and writes the text at its left; an empty text only clears it.
void ShowReadoutText(const char* text);
// The plant growth caption, shown as ShowReadoutText shows its text.
void ShowGrowthReadoutText(const char* text);
// Does nothing: callers rely on it having no effect.
void ShowSelectedLengthReadout(PlanObject* object);
