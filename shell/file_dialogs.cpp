#include "shell/file_dialogs.h"
#include "files/ansi_names.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include <commctrl.h>
#include <dlgs.h>
#include <algorithm>
#include <cstring>
#include <string>

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

static const char unusableNameCaption[] = "Nome di file non valido";
static const char unusableNameText[] =
    "Il nome scelto contiene caratteri che Velmora non può usare nei nomi di file, "
    "indica un'unità senza la cartella, è il nome di una periferica oppure è troppo lungo."
    "\n\nScegliere un altro nome.";
// The folder is at fault, not the name chosen: said, with the folder's whole path.
static const char sharedFolderText[] =
    "Il nome della cartella scelta contiene caratteri che Velmora non può usare nei nomi di file, e il nome "
    "breve che li sostituisce è anche quello di un'altra cartella o di un altro file accanto:\n%s\n\n"
    "Rinominare la cartella o sceglierne un'altra.";

// A text of the program's code page, with `count` characters (-1: up to its end), in
// wide characters; the terminating nulls it covers are kept.
static std::wstring Widen(const char* text, int count = -1)
{
    if (!text)
        return std::wstring();
    int length = MultiByteToWideChar(CP_ACP, 0, text, count, nullptr, 0);
    std::wstring wide(length > 0 ? length : 0, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text, count, &wide[0], length);
    return wide;
}

// The wide text in the program's code page, only when each character has a byte of its
// own there and the whole fits the buffer: a look-alike ("O" for an omega) would name
// another file. A chosen path's folder may go by its short form (AnsiPathInFolder).
// `sharedFolder` gets the whole path of a folder whose short form another entry shares.
static bool NarrowIntoBuffer(const wchar_t* wide, char* out, int size, std::wstring* sharedFolder = nullptr)
{
    std::string narrow;
    std::wstring sharedAt;
    const bool taken = sharedFolder ? AnsiPathInFolder(wide, narrow, nullptr, &sharedAt) : NarrowExactly(wide, narrow);
    const DWORD attributes = sharedAt.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(sharedAt.c_str());
    if (sharedFolder && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        *sharedFolder = sharedAt;
    if (!taken || narrow.size() >= static_cast<size_t>(size))
        return false;
    std::memcpy(out, narrow.c_str(), narrow.size() + 1);
    return true;
}

// The text of the dialog's name field.
static std::wstring TypedName(HWND dialog)
{
    HWND field = GetDlgItem(dialog, cmb13);
    if (!field)
        field = GetDlgItem(dialog, edt1);
    if (!field)
        return std::wstring();
    std::wstring name(GetWindowTextLengthW(field) + 1, L'\0');
    name.resize(GetWindowTextW(field, &name[0], static_cast<int>(name.size())));
    return name;
}

// The length of the path the system dialog makes of the typed name: the name alone when
// it gives its drive, after the drive letter when it starts at the root, otherwise after
// the folder shown; then the default extension when the name has none (a dot after its
// last backslash or blank).
static size_t TypedPathLength(HWND dialog, const std::wstring& name, const wchar_t* extension)
{
    size_t length = name.size();
    const bool givesDrive = name.size() >= 2 && name[1] == L':';
    if (!givesDrive && !name.empty() && name[0] == L'\\') {
        length += 2;
    } else if (!givesDrive) {
        wchar_t folder[MAX_PATH] = L"";
        SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
        if (!folder[0])
            GetCurrentDirectoryW(MAX_PATH, folder);
        const size_t folderLength = wcslen(folder);
        length += folderLength + (folderLength && folder[folderLength - 1] == L'\\' ? 0 : 1);
    }
    const size_t last = name.find_last_of(L"\\ ");
    if (name.find(L'.', last == std::wstring::npos ? 0 : last + 1) == std::wstring::npos && *extension)
        length += 1 + wcslen(extension);
    return length;
}

// Whether the typed name (without the quotes the dialog strips) names no disk file:
// a colon anywhere but after a leading drive letter followed by a separator, as in the
// drive-relative "q:nuovo", which the system dialog resolves into the end of the
// program; or a device's name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with any extension)
// as its last part, whose file the system opens as the device: a save would wait on a
// port for ever or write into nothing.
static bool NamesNoDiskFile(std::wstring name)
{
    name.erase(std::remove(name.begin(), name.end(), L'"'), name.end());
    const size_t colon = name.find(L':');
    if (colon != std::wstring::npos &&
        (colon != 1 || name.size() < 3 || (name[2] != L'\\' && name[2] != L'/') ||
         name.find(L':', 2) != std::wstring::npos))
        return true;
    const size_t slash = name.find_last_of(L"\\/");
    std::wstring stem = name.substr(slash == std::wstring::npos ? 0 : slash + 1);
    stem = stem.substr(0, stem.find(L'.'));
    stem.erase(0, stem.find_first_not_of(L' '));
    stem.erase(stem.find_last_not_of(L' ') + 1);
    CharUpperW(&stem[0]);
    static const wchar_t* const devices[] = {L"CON", L"PRN", L"AUX", L"NUL"};
    for (const wchar_t* device : devices)
        if (stem == device)
            return true;
    return stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
           stem[3] >= L'1' && stem[3] <= L'9';
}

// The system dialog builds the chosen path in a buffer of MAX_PATH characters without
// measuring it: a longer typed name ends the program inside the dialog. Its OK command
// is refused while the path would not fit or names no disk file, before the dialog
// sees it; its file-OK notification comes only after the path is built.
static LRESULT CALLBACK RefuseUnusableNames(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR extension)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        const std::wstring name = TypedName(dialog);
        if (NamesNoDiskFile(name) ||
            TypedPathLength(dialog, name, reinterpret_cast<const wchar_t*>(extension)) >= MAX_PATH) {
            ShowMessageBox(dialog, unusableNameText, unusableNameCaption, MB_OK | MB_ICONEXCLAMATION);
            return 0;
        }
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(dialog, RefuseUnusableNames, id);
    return DefSubclassProc(dialog, message, wParam, lParam);
}

// The hook's own window is an empty child of the dialog: it only puts the guard on its
// parent.
static UINT_PTR CALLBACK GuardFileDialog(HWND child, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const OPENFILENAMEW* record = reinterpret_cast<const OPENFILENAMEW*>(lParam);
        SetWindowSubclass(GetParent(child), RefuseUnusableNames, 0,
                          reinterpret_cast<DWORD_PTR>(record->lpstrDefExt ? record->lpstrDefExt : L""));
    }
    return 0;
}

// The system dialog on the record's fields, in its wide form: the narrow one hands back
// a typed name it cannot represent converted to a look-alike, a file the user never
// chose that a save would then replace without asking. Such a name is refused with a
// message and the dialog comes back with it, for another choice.
static BOOL RunSystemFileDialog(bool save)
{
    OPENFILENAMEA& record = fileDialog;
    // The filter is pairs of texts closed by an empty one: widened as one block.
    int filterLength = 0;
    if (record.lpstrFilter) {
        while (record.lpstrFilter[filterLength] || record.lpstrFilter[filterLength + 1])
            ++filterLength;
        filterLength += 2;
    }
    std::wstring filter = Widen(record.lpstrFilter, filterLength);
    std::wstring title = Widen(record.lpstrTitle), folder = Widen(record.lpstrInitialDir);
    std::wstring extension = Widen(record.lpstrDefExt);
    std::wstring file = Widen(record.lpstrFile);
    file.resize(record.nMaxFile);
    std::wstring fileTitle(record.nMaxFileTitle, L'\0');
    for (;;) {
        OPENFILENAMEW wide;
        std::memset(&wide, 0, sizeof wide);
        wide.lStructSize = sizeof wide;
        wide.hwndOwner = record.hwndOwner;
        wide.hInstance = record.hInstance;
        wide.lpstrFilter = record.lpstrFilter ? filter.c_str() : nullptr;
        wide.nFilterIndex = record.nFilterIndex;
        wide.lpstrFile = &file[0];
        wide.nMaxFile = record.nMaxFile;
        wide.lpstrFileTitle = &fileTitle[0];
        wide.nMaxFileTitle = record.nMaxFileTitle;
        wide.lpstrInitialDir = record.lpstrInitialDir ? folder.c_str() : nullptr;
        wide.lpstrTitle = record.lpstrTitle ? title.c_str() : nullptr;
        // The hook needs the explorer flag, which would add a places bar the dialog
        // never had.
        const DWORD guard = OFN_EXPLORER | OFN_ENABLEHOOK;
        wide.Flags = record.Flags | guard;
        wide.FlagsEx = OFN_EX_NOPLACESBAR;
        wide.lpfnHook = GuardFileDialog;
        wide.lpstrDefExt = record.lpstrDefExt ? extension.c_str() : nullptr;
        if (!(save ? GetSaveFileNameW(&wide) : GetOpenFileNameW(&wide)))
            return FALSE;
        record.Flags = (wide.Flags & ~guard) | (record.Flags & guard);
        record.nFilterIndex = wide.nFilterIndex;
        std::wstring sharedFolder;
        if (NarrowIntoBuffer(file.c_str(), record.lpstrFile, record.nMaxFile, &sharedFolder) &&
            NarrowIntoBuffer(fileTitle.c_str(), record.lpstrFileTitle, record.nMaxFileTitle))
            return TRUE;
        if (!sharedFolder.empty())
            ShowMessageBoxNaming(record.hwndOwner, sharedFolderText, sharedFolder, unusableNameCaption,
                                 MB_OK | MB_ICONEXCLAMATION);
        else
            ShowMessageBox(record.hwndOwner, unusableNameText, unusableNameCaption, MB_OK | MB_ICONEXCLAMATION);
    }
}

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
        chosen = RunSystemFileDialog(save);
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
