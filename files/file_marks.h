#pragma once
// The marks that instances of the program leave on the files they write and read, which
// every instance sees, whatever Wine server it runs under and on whatever machine shares
// the folder: share modes, the refusal to rename over an open file and named mutexes hold
// only among the programs of one Wine server, while byte-range locks reach the file
// system's own locks. A mark is a lock of one byte at 2^62, beyond any data a file holds
// (a locked byte cannot be read or written) and below 2^63 (a range there stays within its
// server). It is exclusive on a handle opened for writing only: the file system keeps an
// exclusive lock of a handle that can only read as a shared one. A mark goes with its
// handle's close. Where the file system keeps no locks, Wine keeps them within its server,
// which is what the share modes already keep. A save under way shows itself by a mark of
// its own, the next byte, which readers leave alone.
#include <windows.h>

// The function that takes the byte-range locks: LockFileEx, or a test's stand-in for a
// file system that refuses them.
typedef BOOL(WINAPI* LockFunction)(HANDLE, DWORD, DWORD, DWORD, DWORD, LPOVERLAPPED);
void SetLockFunction(LockFunction lock);

// Marks the open file as being written (`exclusive`, on a handle with the right to write)
// or read. False when another handle, of this program or any other, holds a mark that
// excludes it; the mark is then not taken. A lock refused for any other reason leaves the
// file unmarked, and true.
bool MarkFile(HANDLE file, bool exclusive);
// Marks the open file, on a handle with the right to write, as one whose save is under way
// (files/safe_save.h); false when another save holds that mark. Readers and writers still
// take and leave the file's other mark meanwhile.
bool MarkSaving(HANDLE file);
// Opens a disk file as CreateFileA does (one only read, by the long path it means:
// files/kept_paths.h) and marks it; INVALID_HANDLE_VALUE where the open
// or the mark fails (the file closed again) or the name is a device or a pipe, which
// keeps no marks and would be read or written for ever (ERROR_INVALID_NAME).
HANDLE OpenMarked(const char* path, DWORD access, DWORD share, DWORD disposition, bool exclusive,
                  SECURITY_ATTRIBUTES* security = nullptr);

// Whether another handle holds the file marked as being written: a live save's own files
// and a plan being written are.
bool MarkedAsWritten(HANDLE file);
// Whether another handle holds the file's save mark (MarkSaving): a save of it is under way.
bool MarkedAsSaving(HANDLE file);

// Whether the open file is still the one that `path` names, and not one renamed over it
// since it was opened.
bool StillNamed(HANDLE file, const char* path);
bool StillNamed(HANDLE file, const wchar_t* path);
// Whether two open handles are of one file (its volume and its index).
bool SameOpenFile(HANDLE a, HANDLE b);
