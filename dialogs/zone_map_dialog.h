#pragma once
#include <windows.h>

// The picture shown by the zone-map window: the program directory followed by the
// map's file name, filled by the frame command before the window opens.
enum { ZoneMapPathSize = 512 };
extern char zoneMapPicturePath[ZoneMapPathSize];

// Dialog procedure of the zone-map window (template 2002): the picture at its natural
// size; a click anywhere closes it.
INT_PTR CALLBACK HardinessZoneMapDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
