#pragma once
#include <windows.h>

// The shared file name and file title of the file commands and dialogs.
enum { FileNameBufferSize = 512 };
extern char fileNameBuffer[FileNameBufferSize];
extern char fileTitleBuffer[FileNameBufferSize];

// Number appended to "Senza nome" in the caption of the next new document.
extern unsigned long untitledCounter;
// Offset step (0 to 4) of the next new document window.
extern short cascadeIndex;

// Command 2: a new untitled document window; returns it, or null.
HWND NewDocumentCommand(HWND frame);
// Command 9000: asks every document window to close.
void CloseAllDocumentsCommand();
// Command 5307: a new document loaded from the plan named on the command line.
void StartModeLoadCommand(HWND frame);
