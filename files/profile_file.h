#pragma once
// Setting keys of an INI-format file that the profile functions read (the preferences
// file), without ever leaving it cut or emptied for its readers, and whoever its users are.
// WritePrivateProfileString rewrites the whole file in place at every key: a full disk
// cuts it in the middle of a line, and two programs writing at once each put back their
// own cached copy, dropping what the other wrote. Here the file is read whole, only the
// named keys change (every other byte, other sections and comments included, stays as it
// is), and the new content is written in place, so that the file keeps its owner and
// permissions, all under a named mutex and the profile's own mark, so that this program's
// instances take turns, under one Wine server or several, whatever user runs them, and
// never write from a stale copy. Only users who may write the profile take a turn, and
// nothing else decides what is read: no file beside it is read or made (a lock file that
// earlier versions left, "Z!PREFS.INI.lock", is left alone). While the file is written its
// whole old content waits past its end: a writer stopped half-way leaves it there for the
// next writer to put back, and readers read it meanwhile (ReadProfileSettings). A writer
// that readers or another writer keep out for 30 seconds gives up, the file as it was.
#include <functional>
#include <string>

// One key and the value it is to have. A missing key is added at the end of its section,
// a missing section at the end of the file, as WritePrivateProfileString adds them.
struct ProfileSetting {
    const char* section;
    const char* key;
    std::string value;
};

// Sets the keys in the file at `path` (created when missing, within its maker's umask), by
// the long path it means (files/kept_paths.h): nothing is made in a neighbour's folder.
// True when the new content replaced the old; false, with the file as it was, when it
// could not be read whole or the new one could not be written (a full disk; a read-only
// file, one this user may not write or, missing, make: refused at once). Where this user may date it,
// the file is dated later than before, so that no cached copy of the profile functions is
// taken for it. Shows no message.
bool WriteProfileSettings(const char* path, const ProfileSetting* settings, size_t count);

// Calls `read` with the file to read the profile's keys from, once no writer is writing
// it (or after 3 seconds): the long path `path` means (one that reads as missing where
// `path` reaches another file), or, while it holds the old content that a stopped write
// left, a file of this reader's own with that content.
void ReadProfileSettings(const char* path, const std::function<void(const wchar_t* from)>& read);

// GetPrivateProfileIntA, GetPrivateProfileStringA and GetPrivateProfileSectionA, reading
// the file the ANSI `path` means by its long path (files/kept_paths.h): a short form that
// names a neighbour folder's file since is never read.
unsigned MeantProfileInt(const char* section, const char* key, int fallback, const char* path);
unsigned long MeantProfileString(const char* section, const char* key, const char* fallback, char* text,
                                 unsigned long size, const char* path);
unsigned long MeantProfileSection(const char* section, char* text, unsigned long size, const char* path);
