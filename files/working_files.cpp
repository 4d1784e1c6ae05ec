#include "files/working_files.h"
#include "files/file_marks.h"
#include "files/kept_paths.h"
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A name of the working files' form.
bool IsWorkingName(const std::string& name, const WorkingFileNames& names)
{
    const std::string &lead = names.lead, &tail = names.tail;
    if (name.size() <= lead.size() + tail.size() || name.compare(0, lead.size(), lead) != 0 ||
        name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    const std::string middle = name.substr(lead.size(), name.size() - lead.size() - tail.size());
    const char* digits = names.hex ? "0123456789ABCDEF" : "0123456789";
    const size_t dash = middle.find('-');
    return dash != 0 && dash != std::string::npos && dash + 1 < middle.size() &&
           middle.find_first_not_of(digits) == dash && middle.find_first_not_of(digits, dash + 1) == std::string::npos;
}

} // namespace

std::string FolderOf(const std::string& path)
{
    size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string WorkingFileName(const std::string& folder, const WorkingFileNames& names)
{
    static unsigned serial = 0;
    char numbers[24];
    std::snprintf(numbers, sizeof numbers, names.hex ? "%lX-%lX" : "%lu-%lu", GetCurrentProcessId(),
                  GetTickCount() + ++serial);
    return folder + names.lead + numbers + names.tail;
}

HANDLE CreateWorkingFile(const std::string& folder, const WorkingFileNames& names, SECURITY_ATTRIBUTES* security)
{
    for (int attempt = 0; attempt < 64; ++attempt) {
        const std::string path = WorkingFileName(folder, names);
        if (path.size() >= MAX_PATH)
            break;
        // Marked before anything else: another instance that finds it meanwhile and marks
        // it first takes it out, and this one tries another name.
        HANDLE file = OpenMarked(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE | WRITE_DAC, FILE_SHARE_READ,
                                 CREATE_NEW, true, security);
        if (file != INVALID_HANDLE_VALUE || (GetLastError() != ERROR_FILE_EXISTS &&
                                             GetLastError() != ERROR_ALREADY_EXISTS &&
                                             GetLastError() != ERROR_LOCK_VIOLATION))
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool RenameOwnFile(HANDLE file, const std::string& target, bool replace)
{
    // By the long path a kept one means: its short form may name a neighbour's file now.
    const std::wstring wide = MeantWidePath(target);
    if (wide.empty())
        return false;
    const size_t length = wide.size() + 1;
    std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + length * sizeof(WCHAR));
    FILE_RENAME_INFO* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = replace;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(wide.size() * sizeof(WCHAR));
    std::copy(wide.c_str(), wide.c_str() + length, info->FileName);
    return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size())) != FALSE;
}

Naming NameOwnFile(HANDLE own, const std::string& target)
{
    // A rename or a removal is not stopped by the marks of another Wine server, hence the
    // mark first; it is let go just before the rename, which a handle open in this server
    // would refuse.
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE found = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 8 && found == INVALID_HANDLE_VALUE; ++attempt) {
        // Marked as written through a handle that may write, else as read, which a
        // save's mark excludes all the same.
        found = OpenMarked(target.c_str(), GENERIC_WRITE, share, OPEN_EXISTING, true);
        if (found == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
            found = OpenMarked(target.c_str(), GENERIC_READ, share, OPEN_EXISTING, false);
            // A file this user may not open at all may be another user's live save:
            // nothing tells it from a left one, and it is not this user's to take.
            if (found == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
                return Naming::LiveSave;
        }
        if (found == INVALID_HANDLE_VALUE && GetLastError() == ERROR_LOCK_VIOLATION)
            return Naming::LiveSave;
        // No folder there, or another's file that a kept path's short form reaches now.
        if (found == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND)
            return Naming::Refused;
        if (found == INVALID_HANDLE_VALUE)
            // Nothing there, a folder, a link to nothing: the rename alone says. Open
            // unshared elsewhere in this server: the rename is refused.
            break;
        // Another instance may have renamed its own over it between the open and the mark.
        if (!StillNamed(found, target.c_str()))
            CloseHandle(found), found = INVALID_HANDLE_VALUE;
    }
    if (found != INVALID_HANDLE_VALUE)
        CloseHandle(found);
    return RenameOwnFile(own, target) ? Naming::Named : Naming::Refused;
}

void RemoveOwnFile(HANDLE file)
{
    FILE_DISPOSITION_INFO disposition = {TRUE};
    SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
    CloseHandle(file);
}

bool RemoveFoundName(const std::string& name, const WorkingFileNames& names, SECURITY_ATTRIBUTES* security)
{
    HANDLE own = CreateWorkingFile(FolderOf(name), names, security);
    if (own == INVALID_HANDLE_VALUE)
        return false;
    const bool renamed = NameOwnFile(own, name) == Naming::Named;
    RemoveOwnFile(own);
    return renamed;
}

bool DateAfter(HANDLE file, ULONGLONG written)
{
    // A file system keeps dates in steps of its own (a second on many, two on FAT), and
    // a date set is cut to its step: it is read back, and set further on until it reads
    // as later (a step of up to a day).
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    for (ULONGLONG step = 1; step <= 864000000000ull; step *= 2) {
        const ULONGLONG dated = std::max(Ticks(now), written + step);
        const FILETIME time = {static_cast<DWORD>(dated), static_cast<DWORD>(dated >> 32)};
        FILETIME kept;
        if (!SetFileTime(file, nullptr, nullptr, &time) || !GetFileTime(file, nullptr, nullptr, &kept))
            return false;
        if (Ticks(kept) > written)
            return true;
    }
    return false;
}

void RemoveLeftWorkingFiles(const std::string& folder, const WorkingFileNames& names)
{
    // Listed whole first: the working files made to take them out have the same form. The
    // folder is listed by the long path meant: a neighbour's folder that took a kept
    // folder's short form is never listed, nor its files taken for this folder's.
    std::vector<std::string> left;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstMeantFile((folder + names.lead + "*" + names.tail).c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextMeantFile(search, &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsWorkingName(found.cFileName, names))
            left.push_back(folder + found.cFileName);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    for (const std::string& name : left)
        RemoveFoundName(name, names, nullptr);
}
