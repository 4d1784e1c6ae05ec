#include "shell/file_dialogs.h"
#include "shell/app_globals.h"
#include <cstring>

OPENFILENAMEA fileDialog;
char fileNameBuffer[FileNameBufferSize];
char fileTitleBuffer[FileNameBufferSize];
UINT fileNameOkMessage = 0;
UINT listSelectionChangedMessage = 0;

static FileDialogHook fileDialogHook = nullptr;
static void* fileDialogHookContext = nullptr;

void SetFileDialogHook(FileDialogHook hook, void* context)
{
    fileDialogHook = hook;
    fileDialogHookContext = context;
}

// Each filter is one description and one pattern, closed by an empty string.
static const char objectFilter[] = "Oggetto 3D (*.ZOB)\0*.ZOB\0";
static const char planFilter[] = "Fandril (*.ZRO, *.ZVK, *.ZQW)\0*.ZRO;*.ZVK;*.ZQW\0";
static const char bmpFilter[] = "BMP File (*.BMP)\0*.bmp\0";
static const char dxfFilter[] = "DXF File (*.DXF)\0*.dxf\0";
static const char dxfExportFilter[] = "File DXF (*.DXF)\0*.dxf\0";

static void PrepareFileDialog(HWND owner, HINSTANCE instance, const char* filter, const char* extension)
{
    std::memset(&fileDialog, 0, sizeof fileDialog);
    // The dialog accepts only the record size of the build it runs in.
    fileDialog.lStructSize = sizeof fileDialog;
    fileDialog.hwndOwner = owner;
    fileDialog.hInstance = instance;
    fileDialog.lpstrFilter = filter;
    fileDialog.nFilterIndex = 0;
    fileDialog.nMaxFile = FileNameBufferSize;
    fileDialog.nMaxFileTitle = FileNameBufferSize;
    fileDialog.lpstrDefExt = extension;
}

void PrepareObjectImportDialog(HWND owner)
{
    PrepareFileDialog(owner, hInstance, objectFilter, "ZOB");
    fileNameOkMessage = RegisterWindowMessageA("commdlg_FileNameOK");
    listSelectionChangedMessage = RegisterWindowMessageA("commdlg_LBSelChangedNotify");
}

void PreparePlanOpenDialog(HWND owner)
{
    PrepareFileDialog(owner, nullptr, planFilter, "ZRO");
}

void PreparePlanSaveDialog(HWND owner)
{
    PrepareFileDialog(owner, nullptr, planFilter, "ZRO");
}

void PrepareDxfFileDialog(HWND owner)
{
    PrepareFileDialog(owner, nullptr, dxfFilter, "dxf");
}

void ChooseImageFileToOpen(HWND owner)
{
    PrepareFileDialog(owner, nullptr, bmpFilter, "bmp");
    fileDialog.lpstrTitle = "Apri file immagine fotorealistica";
    fileDialog.Flags = 0;
    fileDialog.lpstrInitialDir = nullptr;
}

// What a show routine changes in the record: the title, the flags and the filter only
// where it names them.
struct ShowFields {
    const char* title;
    bool setFlags;
    DWORD flags;
    const char* filter;
};

static int ShowFileDialog(bool save, HWND owner, char* file, char* title, const ShowFields& fields)
{
    if (!file || !title)
        return 0;
    fileDialog.hwndOwner = owner;
    fileDialog.lpstrFile = file;
    fileDialog.nMaxFile = FileNameBufferSize;
    fileDialog.lpstrFileTitle = title;
    fileDialog.nMaxFileTitle = FileNameBufferSize;
    if (fields.title)
        fileDialog.lpstrTitle = fields.title;
    if (fields.setFlags)
        fileDialog.Flags = fields.flags;
    if (fields.filter)
        fileDialog.lpstrFilter = fields.filter;
    // The initial name must end inside the buffer whatever the caller left there.
    file[FileNameBufferSize - 1] = 0;
    BOOL chosen;
    if (fileDialogHook)
        chosen = fileDialogHook(&fileDialog, save, fileDialogHookContext);
    else
        chosen = save ? GetSaveFileNameA(&fileDialog) : GetOpenFileNameA(&fileDialog);
    // A dialog that failed to open counts as a cancel.
    if (!chosen)
        return 0;
    file[FileNameBufferSize - 1] = 0;
    title[FileNameBufferSize - 1] = 0;
    return 1;
}

int ChooseObjectFileToImport(HWND owner, char* file, char* title)
{
    return ShowFileDialog(false, owner, file, title, {"Importa oggetto 3D", false, 0, nullptr});
}

int ChooseFileToOpen(HWND owner, char* file, char* title)
{
    return ShowFileDialog(false, owner, file, title,
                          {nullptr, true, OFN_CREATEPROMPT | OFN_HIDEREADONLY, nullptr});
}

int ChooseFileToSave(HWND owner, char* file, char* title)
{
    return ShowFileDialog(true, owner, file, title,
                          {nullptr, true, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, nullptr});
}

int ChooseTracingImageFile(HWND owner, char* file, char* title)
{
    return ShowFileDialog(false, owner, file, title, {"Carica Immagine tracciato pianta", false, 0, nullptr});
}

int ChooseDxfExportFile(HWND owner, char* file, char* title)
{
    return ShowFileDialog(true, owner, file, title, {"Export DXF", true, OFN_OVERWRITEPROMPT, dxfExportFilter});
}

int Choose3dDxfExportFile(HWND owner, char* file, char* title)
{
    return ShowFileDialog(true, owner, file, title, {"Export 3D DXF", true, OFN_OVERWRITEPROMPT, dxfExportFilter});
}

int ChooseBmpExportFile(HWND owner, char* file, char* title)
{
    return ShowFileDialog(true, owner, file, title, {"Esporta BMP", true, OFN_OVERWRITEPROMPT, bmpFilter});
}
