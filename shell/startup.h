#pragma once
#include <windows.h>
#include <cstddef>
#include <string>

// The program's start-up and message loop; WinMain only forwards here so that tests
// can link everything but the entry point. The command line is the wide one after the
// program's name (ArgumentsOfCommandLine): its ANSI form would already have turned a name
// outside the code page into a look-alike.
int RunVelmora(HINSTANCE instance, HINSTANCE previous, const wchar_t* commandLine, int showCommand);
// What follows the program's name in a whole command line, cut as the C runtime cuts
// WinMain's; null for null.
const wchar_t* ArgumentsOfCommandLine(const wchar_t* line);

// The steps of RunVelmora, in their order.

// Instance, program directory, common controls, command line and start mode, captions,
// screen size and cursors. False when the command line does not fit commandLineBuffer,
// or the program directory or the plan to print has no name in the code page that opens
// it (see AnsiPathOf): the user has been told and the program must end.
bool InitStartupState(HINSTANCE instance, const wchar_t* commandLine);
// The same with a line in the code page, or without a line.
bool InitStartupState(HINSTANCE instance, const char* commandLine);
inline bool InitStartupState(HINSTANCE instance, std::nullptr_t)
{
    return InitStartupState(instance, static_cast<const wchar_t*>(nullptr));
}
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
// The refusals of a name, by why it has no form that opens it (AnsiNameFault): its "%s"
// is the name (with "?" for what the code page lacks where a test answers the box).
extern const char* const unusableProgramFolderMessages[];
extern const char* const unusablePlanNameMessages[];
// The refusal of a plan in a folder whose short form another entry shares: its "%s" is
// the folder's whole path.
extern const char* const sharedPlanFolderMessage;
// The plan's name on the command line as given (wide), for the boxes about it, while
// commandLineBuffer holds what was taken of it; empty otherwise.
std::wstring CommandLinePlanName();
