#pragma once
#include <windows.h>
#include <commdlg.h>

// The one file-name record of every open and save dialog of the program, kept for the
// whole run: a preparation routine fills it for a kind of file, a show routine sets the
// owner and the result buffers and runs the dialog. Fields a show routine does not set
// keep the value of the last preparation or use.
extern OPENFILENAMEA fileDialog;

// The full path and the bare file title the dialogs fill; the caller puts the initial
// name into fileNameBuffer. Shared by all file commands.
enum { FileNameBufferSize = 512 };
extern char fileNameBuffer[FileNameBufferSize];
extern char fileTitleBuffer[FileNameBufferSize];

// Registered by the object-import preparation: "commdlg_FileNameOK" and
// "commdlg_LBSelChangedNotify".
extern UINT fileNameOkMessage;
extern UINT listSelectionChangedMessage;

// Preparations: filter, default extension, everything else cleared.
void PrepareObjectImportDialog(HWND owner);
void PreparePlanOpenDialog(HWND owner);
void PreparePlanSaveDialog(HWND owner);
void PrepareDxfFileDialog(HWND owner);
// The BMP picture kind; also sets the title "Apri file immagine fotorealistica".
void ChooseImageFileToOpen(HWND owner);

// Show routines: nonzero when the user chose a file (its path in the file buffer, its
// title in the title buffer). A cancelled or failed dialog gives 0. A name the program's
// code page cannot hold exactly is refused with a message and the dialog shown again; a
// typed name whose path would not fit MAX_PATH, that gives a drive without its folder
// ("q:nuovo") or that names a device ("COM1", "nul.txt") is refused with the same
// message while the dialog stays open.
int ChooseObjectFileToImport(HWND owner, char* file, char* title);
int ChooseFileToOpen(HWND owner, char* file, char* title);
int ChooseFileToSave(HWND owner, char* file, char* title);
int ChooseTracingImageFile(HWND owner, char* file, char* title);
int ChooseDxfExportFile(HWND owner, char* file, char* title);
int Choose3dDxfExportFile(HWND owner, char* file, char* title);
int ChooseBmpExportFile(HWND owner, char* file, char* title);

// A stand-in for the system dialog (a test answers in the user's place): it gets the
// record as the show routine filled it and whether it is a save dialog, and returns the
// dialog's result. Null restores the system dialogs.
typedef BOOL (*FileDialogHook)(OPENFILENAMEA* record, bool save, void* context);
void SetFileDialogHook(FileDialogHook hook, void* context);
