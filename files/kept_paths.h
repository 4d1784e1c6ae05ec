#pragma once
#include <windows.h>
#include <string>

// The long (wide) paths behind the ANSI paths the program keeps for a long time: each open
// plan's and the program folder's. A name the code page cannot hold is kept by its short
// form, and a folder or file made later beside it with the same short form, listed before
// it, is then what that form opens, whatever GetLongPathNameW answers for it. So a file
// read, made or marked through a kept path goes by the kept long path, and every file
// opened through one is proven, on the handle just opened, to be the one meant before a
// byte is written to it or a working file named over it: the path the system gives for
// that handle against the kept long one. A folder is listed by its long path, and nothing
// can change between the proof and the write.

// The long path that the ANSI `path` names now: its full path, one that holds a short
// form (a name with "~") as the system names what opening it reaches (or its folder, for
// a file not there yet). Empty when a short form names nothing.
std::wstring LongPathOf(const char* path);

// Keeps, for `owner` (a document, the program), that the ANSI `path` of a file, or of a
// `folder`, means `longPath`, and every path in that folder (a file's own folder) the same
// path in the long one; the owner's earlier path is forgotten. A null path forgets it.
void KeepMeantPath(const void* owner, const char* path, const std::wstring& longPath, bool folder);

// Whether the file just opened as `path` is the one meant: always for a path that no kept
// one holds. False, with ERROR_PATH_NOT_FOUND, where the handle reached another file, or
// where two kept paths give `path` two meanings; the long path meant is then noted for the
// message (TakeMisdirectedPath).
bool ReachesMeantFile(HANDLE file, const std::string& path);

// The wide path that names what the ANSI `path` means: the long path a kept one gives it,
// else the path as it stands. A rename goes to it, so that no short form sends it elsewhere.
std::wstring MeantWidePath(const std::string& path);

// The long path of the last file refused above, once; empty when none was since.
std::wstring TakeMisdirectedPath();

// Opens, or makes, the file the ANSI `path` means, as CreateFileA would, but by the long
// path a kept one gives it, and proven on its handle: a short form that names a neighbour's
// file or folder since is never read, nor gets a file made, even for a moment. The one home
// of every open and make through such a path. INVALID_HANDLE_VALUE with the system's error
// (ERROR_PATH_NOT_FOUND where the proof fails: a file made then, with DELETE access, goes
// again); once made or opened, ERROR_ALREADY_EXISTS as CreateFileA gives it.
HANDLE OpenMeantFile(const char* path, DWORD access, DWORD share, DWORD flags = FILE_ATTRIBUTE_NORMAL,
                     DWORD disposition = OPEN_EXISTING, SECURITY_ATTRIBUTES* security = nullptr);
// GetFileAttributesA of what the ANSI `path` means.
DWORD MeantFileAttributes(const char* path);
// FindFirstFileA and FindNextFileA in the folder the ANSI `pattern` means: each name as the
// code page holds it, or by its short form in that folder where it cannot.
HANDLE FindFirstMeantFile(const char* pattern, WIN32_FIND_DATAA* found);
bool FindNextMeantFile(HANDLE search, WIN32_FIND_DATAA* found);
// The folder that the kept folder `longFolder`'s short form `folder` reaches now, opened,
// where that is another (a neighbour made since); empty otherwise.
std::wstring NeighbourNamedBy(const char* folder, const wchar_t* longFolder);
