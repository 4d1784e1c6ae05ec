#pragma once
// A writer's working files: files it makes itself, under a name unique to it, and either
// renames over the name they are meant for (a save's copy, the preferences) or removes.
// A working file never holds the only copy of anything. A writer never deletes a name it
// finds (on Wine, deleting a link deletes what it points to): it renames a working file
// over the name, which replaces the name alone, and removes that file through its handle.
// A working file is held marked as written (files/file_marks.h) from its making to its
// end, so that no instance, under any Wine server, takes a live one for one a stopped
// writer left; what lies under a name is marked before the rename, and left where
// another instance's mark is on it. Used by the saves (files/safe_save.h) and the
// preferences (files/profile_file.h).
#include <windows.h>
#include <string>

// The names of one kind of writer's working files: `lead`, two numbers joined by "-"
// (hexadecimal in capitals with `hex`) and `tail`, such as "~1A4-5F3E0.salva.tmp".
struct WorkingFileNames {
    std::string lead, tail;
    bool hex;
};

// A FILETIME as one number, as DateAfter takes it.
inline ULONGLONG Ticks(const FILETIME& time)
{
    return static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// The folder part of a path, with its separator (empty for a bare name).
std::string FolderOf(const std::string& path);

// A name of that form in `folder` unique to this writer, for a file not made yet.
std::string WorkingFileName(const std::string& folder, const WorkingFileNames& names);

// A new working file in `folder` (empty, or ending in a backslash) under a name unique to
// this writer, made with CREATE_NEW (nothing found there is opened) and held shared for
// reading only and marked as written, with the right to write, rename and remove it and to
// open it to other users;
// INVALID_HANDLE_VALUE where none can be made (the name would pass MAX_PATH, the folder
// takes no file).
HANDLE CreateWorkingFile(const std::string& folder, const WorkingFileNames& names,
                         SECURITY_ATTRIBUTES* security = nullptr);

// A file made by this program and held open (with the right to delete it) is given the
// name `target`, replacing whatever lies there as a name (unless not to `replace`): a link
// is replaced, not followed; a folder, a device or a file open elsewhere is not replaced.
bool RenameOwnFile(HANDLE file, const std::string& target, bool replace = true);

// What became of a name that a working file was to take: LiveSave where another
// instance's live writer holds what lies there marked, or where this user may not open
// it (another user's live writer, for all it tells); Refused where the name stays for any
// other reason.
enum class Naming { Named, Refused, LiveSave };
// RenameOwnFile, once what lies under `target` is marked as written by this writer.
Naming NameOwnFile(HANDLE own, const std::string& target);

// Removes a working file through its handle, under whatever name it now has, and closes it.
void RemoveOwnFile(HANDLE file);
// Takes a found name out of its folder: a working file of this writer renamed over it and
// removed. False where it stays.
bool RemoveFoundName(const std::string& name, const WorkingFileNames& names, SECURITY_ATTRIBUTES* security);

// Dates a file held open as last written after `written` (Ticks), and not before now, as
// the file system reads its date back, whatever its step.
bool DateAfter(HANDLE file, ULONGLONG written);

// Takes out of `folder` the working files that stopped writers left, held by no live
// writer: each is a found name (RemoveFoundName). Every writer calls it for the folders
// it uses.
void RemoveLeftWorkingFiles(const std::string& folder, const WorkingFileNames& names);
