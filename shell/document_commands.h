#pragma once
#include <windows.h>
#include "shell/file_dialogs.h"

// Number appended to "Senza nome" in the caption of the next new document; never reset.
extern unsigned long untitledCounter;
// Offset step (0 to 4) of the next new document window.
extern short cascadeIndex;
// Number in the proposed name "Disegno%d.ZRO" of the next document saved for the first
// time; after 99 it starts again at 1.
extern short saveAsCounter;

// The document window made by a start-mode load (5307) whose plan could not be read:
// nothing is printed from it. Null otherwise.
extern HWND unreadStartPlanWindow;

// Command 2: a new untitled document window; returns it, or null.
HWND NewDocumentCommand(HWND frame);
// Command 3: asks for a plan file and loads it into a new document (or into the first,
// still empty, untitled one).
void OpenDocumentCommand(HWND frame);
// Command 4: the active document window, when it agrees to close.
void CloseDocumentCommand();
// Command 5: save to the document's path, or save as when it has none.
void SaveDocumentCommand(HWND frame);
// Command 6: save under a name chosen in the save dialog.
void SaveDocumentAsCommand(HWND frame);
// Command 9000: asks every document window to close.
void CloseAllDocumentsCommand();
// Command 5307: a new document loaded from the plan named on the command line.
void StartModeLoadCommand(HWND frame);
// Command 5308: a copy of the active plan as "\PRINT.TMP" in the program directory; the
// modified flag stays as it was.
void SaveTemporaryCopyCommand(HWND frame);

// The message of a plan that could not be read when its reader said nothing itself.
extern const char* const planNotReadMessage;
// The message of an Open of a plan that another program is saving; nothing is opened.
extern const char* const planBeingSavedMessage;
