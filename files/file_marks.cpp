#include "files/file_marks.h"
#include "files/ansi_names.h"
#include "files/kept_paths.h"

namespace {

// The byte a read's or a write's mark locks, and the one after it, a save's.
OVERLAPPED MarkPlace(DWORD offset = 0)
{
    OVERLAPPED place = {};
    place.Offset = offset;
    place.OffsetHigh = 0x40000000;   // 2^62
    return place;
}

LockFunction lockFunction = LockFileEx;

bool LockMark(HANDLE file, bool exclusive, DWORD offset)
{
    OVERLAPPED place = MarkPlace(offset);
    // Refused for another reason than another's mark (a file system without byte-range
    // locks that says so): the file stays unmarked, as where the locks are kept nowhere.
    return lockFunction(file, (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                        &place) || GetLastError() != ERROR_LOCK_VIOLATION;
}

} // namespace

void SetLockFunction(LockFunction lock)
{
    lockFunction = lock ? lock : LockFileEx;
}

bool MarkFile(HANDLE file, bool exclusive)
{
    return LockMark(file, exclusive, 0);
}

bool MarkSaving(HANDLE file)
{
    return LockMark(file, true, 1);
}

HANDLE OpenMarked(const char* path, DWORD access, DWORD share, DWORD disposition, bool exclusive,
                  SECURITY_ATTRIBUTES* security)
{
    HANDLE file = OpenMeantFile(path, access, share, FILE_ATTRIBUTE_NORMAL, disposition, security);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    if (GetFileType(file) != FILE_TYPE_DISK)
        SetLastError(ERROR_INVALID_NAME);
    else if (MarkFile(file, exclusive))
        return file;
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

// Whether another handle holds the byte at `offset` of the marks exclusively: a shared
// lock of it is refused.
static bool HeldExclusively(HANDLE file, DWORD offset)
{
    if (LockMark(file, false, offset)) {
        OVERLAPPED place = MarkPlace(offset);
        UnlockFileEx(file, 0, 1, 0, &place);
        return false;
    }
    return GetLastError() == ERROR_LOCK_VIOLATION;
}

bool MarkedAsWritten(HANDLE file)
{
    return HeldExclusively(file, 0);
}

bool MarkedAsSaving(HANDLE file)
{
    return HeldExclusively(file, 1);
}

bool StillNamed(HANDLE file, const char* path)
{
    return StillNamed(file, WidenName(path).c_str());
}

bool StillNamed(HANDLE file, const wchar_t* path)
{
    // Folders too: a kept path may name one.
    HANDLE named = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    const bool same = SameOpenFile(file, named);
    CloseHandle(named);
    return same;
}

bool SameOpenFile(HANDLE a, HANDLE b)
{
    BY_HANDLE_FILE_INFORMATION one, other;
    return GetFileInformationByHandle(a, &one) && GetFileInformationByHandle(b, &other) &&
           one.dwVolumeSerialNumber == other.dwVolumeSerialNumber && one.nFileIndexHigh == other.nFileIndexHigh &&
           one.nFileIndexLow == other.nFileIndexLow;
}
