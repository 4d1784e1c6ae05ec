#pragma once
#include <windows.h>

// Process-wide state that start-up sets once and every part of the program reads.

extern HINSTANCE hInstance;
// The current directory at start-up, without a trailing backslash; every path of the
// program's own files is this string followed by a name that begins with a backslash.
extern char* programDirectory;
// Its long (wide) form, taken with it: what every file opened through it must reach.
extern wchar_t* programLongDirectory;

// The command line as given, unparsed; its last byte has been taken off as startMode.
enum { CommandLineBufferSize = 512 };
extern char commandLineBuffer[CommandLineBufferSize];
// The last byte of the command line, sign-extended: 2 print fitted to a page,
// 3 print to scale, 0 without a command line.
extern short startMode;

enum { ApplicationTitleSize = 256, PreferencesFileNameSize = 64, HelpFilePathSize = 512 };
extern char applicationTitle[ApplicationTitleSize];       // caption of every message box
extern char preferencesFileName[PreferencesFileNameSize]; // "\Z!PREFS.INI", after programDirectory
extern char helpFilePath[HelpFilePathSize];

extern short screenWidth;
extern short screenHeight;

// The named cursors of the resources, in the order they are loaded.
enum CursorIndex {
    ZoomCursorIndex, ZoomCursorInIndex, ZoomCursorOutIndex, DropperCursorIndex, HandCursorIndex,
    FootCursorIndex, FootCursorLeftIndex, FootCursorRightIndex, Chopper1Index, Chopper2Index,
    EyeCenterCursorIndex, EyeLeftCursorIndex, EyeRightCursorIndex, EyeBlinkCursorIndex,
    RotateCursorIndex, NoDragCursorIndex, CameraCursorIndex, FingerCursorIndex,
    FingerDragCursorIndex, Finger3DCursorIndex, InvisibleCursorIndex, WallCursorIndex,
    DoorCursorIndex, WindowCursorIndex, RoofCursorIndex, FloorCursorIndex, PathCursorIndex,
    FillCursorIndex, EdgingCursorIndex, FenceCursorIndex, GateCursorIndex, TopoCursorIndex,
    CadCursorIndex,
    NamedCursorCount
};
extern const char* const namedCursorNames[NamedCursorCount];
// A handle is null when its resource could not be loaded.
extern HCURSOR namedCursors[NamedCursorCount];

extern HMENU frameMenu;          // menu 128, attached to the frame
extern HACCEL frameAccelerators; // "MdiAccel", used by the message loop

extern UINT closingSpreadsheetMessage; // "CLOSING SPREADSHEET"
extern UINT updateSpreadsheetMessage;  // "UPDATE SPREADSHEET"

extern HWND frameWindow;

// Default fonts of the dimension and text font dialogs.
extern LOGFONTA dimensionLogFont;
extern LOGFONTA textLogFont;
// The face both start with ("Arial"), which a stored font naming no real face is read with.
extern const char defaultFontFace[];

// The custom colours offered by every colour dialog.
extern COLORREF customColours[16];
