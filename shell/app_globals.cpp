#include "shell/app_globals.h"

HINSTANCE hInstance = nullptr;
char* programDirectory = nullptr;
wchar_t* programLongDirectory = nullptr;
char commandLineBuffer[CommandLineBufferSize];
short startMode = 0;
char applicationTitle[ApplicationTitleSize];
char preferencesFileName[PreferencesFileNameSize];
char helpFilePath[HelpFilePathSize];
short screenWidth = 0;
short screenHeight = 0;

const char* const namedCursorNames[NamedCursorCount] = {
    "ZoomCursor", "ZoomCursorIn", "ZoomCursorOut", "DropperCursor", "HandCursor",
    "FootCursor", "FootCursorLeft", "FootCursorRight", "Chopper1", "Chopper2",
    "EyeCenterCursor", "EyeLeftCursor", "EyeRightCursor", "EyeBlinkCursor",
    "Rotate", "NoDrag", "Camera", "Finger", "FingerDrag", "Finger3D", "Invisible",
    "Wall", "Door", "Window", "Roof", "Floor", "Path", "Fill", "Edging", "Fence",
    "Gate", "Topo", "CAD",
};
HCURSOR namedCursors[NamedCursorCount];

HMENU frameMenu = nullptr;
HACCEL frameAccelerators = nullptr;
UINT closingSpreadsheetMessage = 0;
UINT updateSpreadsheetMessage = 0;
HWND frameWindow = nullptr;
LOGFONTA dimensionLogFont;
LOGFONTA textLogFont;
const char defaultFontFace[] = "Arial";
COLORREF customColours[16];
