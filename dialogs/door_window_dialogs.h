#pragma once
// The door (1019) and window (1020) properties dialogs: style, size, elevation and
// casing of new openings in the settings, or of one edited opening. Unlike the other
// object dialogs these leave the edited opening's values in the settings, so that new
// doors and windows take them.
#include <windows.h>
#include <stdint.h>

struct PlanObject;
struct PlanSettings;

// The window's mirror choices of the last dialog; the window tool gives them to new windows.
extern uint8_t windowMirrorHorizontal;
extern uint8_t windowMirrorVertical;

// The dialogs on the settings' defaults; 1 after OK, 0 after Cancel or without settings.
int RunDoorDialog(PlanSettings* settings);
int RunWindowDialog(PlanSettings* settings);
// Edit one door (type 16) or window (type 17) with its opening record, then refit the
// openings of its wall.
void EditSelectedDoor(PlanObject* door, PlanSettings* settings);
void EditSelectedWindow(PlanObject* window, PlanSettings* settings);

INT_PTR CALLBACK DoorDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK WindowDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The glazing-bar preview: white, framed twice in black, with the bars in a 2-pixel pen.
void DrawGlazingBarPreview(HDC dc, const RECT& box, int across, int down);
