#pragma once
#include <windows.h>

// The program's start-up and message loop; WinMain only forwards here so that tests
// can link everything but the entry point.
int RunVelmora(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

// The steps of RunVelmora, in their order.

// Instance, program directory, common controls, command line and start mode, captions,
// screen size and cursors. False when the command line does not fit commandLineBuffer:
// the user has been told and the program must end.
bool InitStartupState(HINSTANCE instance, const char* commandLine);
// Loads the named cursors of the resources; a cursor that is missing stays null.
void LoadNamedCursors();
// The seventeen window classes, in their order; stops at the first failure.
enum { WindowClassCount = 17 };
extern const char* const windowClassNames[WindowClassCount];
bool RegisterWindowClasses(HINSTANCE instance);
// programDirectory + "\Z!ProQW.HLP" into a buffer of HelpFilePathSize bytes (only the
// name appended to the buffer's text when there is no program directory).
void BuildHelpFilePath(char* buffer);
void InitCustomColours();
// Print defaults, custom colours, the frame menu, the accelerators and the spreadsheet
// messages.
void PrepareFrameResources();
// The hidden, maximised frame with all its bars and panes; null when it cannot be made.
HWND CreateFrameWindow();
// The print road of the command line, then the quit command.
void RunStartupCommands();
// Runs until the quit message and returns its exit code.
int RunMessageLoop();

// Exit code of a start that could not go on (command line refused, no frame).
enum { StartupFailedExitCode = 1 };
extern const char* const commandLineTooLongMessage;
