#include "files/safe_save.h"
#include "files/record_stream.h"
#include "shell/message_box.h"
#include <windows.h>
#include <cstdio>
#include <string>

namespace {

const char* const kKeptCopyCaption = "Errore di salvataggio";
const char* const kKeptCopyText =
    "Il salvataggio di %s non è riuscito e il file è rimasto incompleto.\n\n"
    "Il contenuto precedente è conservato per intero nel file:\n%s";

// The folder of a path, with its trailing separator; "." for a bare name.
std::string FolderOf(const char* path)
{
    std::string text(path);
    size_t cut = text.find_last_of("\\/:");
    if (cut == std::string::npos)
        return ".";
    // "C:name" is a name in the drive's current folder.
    if (text[cut] == ':')
        return text.substr(0, cut + 1);
    return cut == 0 ? text.substr(0, 1) : text.substr(0, cut);
}

// Every byte of one open file after the other, to its end.
bool CopyBlocks(HANDLE from, HANDLE to)
{
    static char block[64 * 1024];
    for (;;) {
        DWORD got = 0, put = 0;
        if (!ReadFile(from, block, sizeof block, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        if (!WriteFile(to, block, got, &put, nullptr) || put != got)
            return false;
    }
}

// Writes the whole content of `source` over the existing file `target`, in place: the
// target is opened through its links, cut to nothing, written and flushed, so it keeps
// the permissions and owner the system gave it.
bool CopyContentInto(const char* source, const char* target)
{
    HANDLE from = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (from == INVALID_HANDLE_VALUE)
        return false;
    HANDLE to = CreateFileA(target, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool copied = false;
    if (to != INVALID_HANDLE_VALUE) {
        copied = CopyBlocks(from, to) && FlushFileBuffers(to);
        copied = CloseHandle(to) && copied;
    }
    CloseHandle(from);
    return copied;
}

} // namespace

bool SaveFileSafely(const char* path, const std::function<void()>& writeContent)
{
    if (!path || !*path)
        return false;
    DWORD attributes = GetFileAttributesA(path);
    DWORD missing = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
    bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    // A file that cannot be looked at is not written over blindly.
    if (!replacing && missing != ERROR_FILE_NOT_FOUND && missing != ERROR_PATH_NOT_FOUND)
        return false;
    // Read-only is the file's own mark, honoured here: the write itself is let through
    // on some systems (by a privileged user, for one).
    if (replacing && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;

    // Beside the target, so that the copy is on the same volume and found with it.
    char copy[MAX_PATH] = "";
    if (replacing) {
        if (!GetTempFileNameA(FolderOf(path).c_str(), "vlm", 0, copy))
            return false;
        if (!CopyContentInto(path, copy)) {
            DeleteFileA(copy);
            return false;
        }
    }
    // A file that could not be opened was not changed.
    bool opened = OpenRecordFileForWriting(path) != HFILE_ERROR;
    bool written = false;
    if (opened) {
        if (writeContent)
            writeContent();
        bool flushed = FlushRecordFile() &&
                       FlushFileBuffers(LongToHandle(planFileHandle)) != FALSE;
        bool closed = CloseRecordFile();
        written = flushed && closed && !streamWriteFailed;
    }
    if (!replacing) {
        // Nothing was there before: a part of the new file is no file at all.
        if (opened && !written)
            DeleteFileA(path);
        return written;
    }
    if (written || !opened || CopyContentInto(copy, path)) {
        DeleteFileA(copy);
        return written;
    }
    char text[3 * MAX_PATH];
    std::snprintf(text, sizeof text, kKeptCopyText, path, copy);
    ShowMessageBox(nullptr, text, kKeptCopyCaption, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
    return false;
}
