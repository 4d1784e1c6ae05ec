#include "files/safe_save.h"
#include "files/record_stream.h"
#include <windows.h>
#include <string>

namespace {

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

} // namespace

bool SaveFileSafely(const char* path, const std::function<void()>& writeContent)
{
    if (!path || !*path)
        return false;
    // Beside the target, so that putting it in place is a rename on the same volume.
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(FolderOf(path).c_str(), "vlm", 0, temporary))
        return false;
    bool written = false;
    if (OpenRecordFileForWriting(temporary) != HFILE_ERROR) {
        if (writeContent)
            writeContent();
        bool flushed = FlushRecordFile() &&
                       FlushFileBuffers(LongToHandle(planFileHandle)) != FALSE;
        bool closed = CloseRecordFile();
        written = flushed && closed && !streamWriteFailed;
    }
    if (written)
        written = MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!written)
        DeleteFileA(temporary);
    return written;
}
