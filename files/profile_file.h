#pragma once
// Setting keys of an INI-format file that the profile functions read (the preferences
// file), without ever leaving it cut or emptied. WritePrivateProfileString rewrites the
// whole file in place at every key: a full disk cuts it in the middle of a line, and two
// programs writing at once each put back their own cached copy, dropping what the other
// wrote. Here the file is read whole, only the named keys change (every other byte, other
// sections and comments included, stays as it is), and the new content is written to a
// file of its own beside it ("Z!PREFS.INI.PID-N.tmp"), flushed and renamed over the old
// one, all under a named mutex and the mark of a file beside it that is never cut
// ("Z!PREFS.INI.lock", made at the first write, and replaced only by a user who may not
// write the one another user made, while no writer holds it), so that this program's
// instances take turns, under one Wine server or several, and whatever user runs them,
// and never write from a stale copy. Such files that stopped writes left are removed first.
#include <string>

// One key and the value it is to have. A missing key is added at the end of its section,
// a missing section at the end of the file, as WritePrivateProfileString adds them.
struct ProfileSetting {
    const char* section;
    const char* key;
    std::string value;
};

// Sets the keys in the file at `path` (created when missing). True when the new content
// replaced the file; false, with the file as it was, when it could not be read whole or
// the new one could not be written (a full disk, a read-only folder or file). The new
// file is dated later than the one it replaces, so that no cached copy of the profile
// functions is taken for it. Shows no message.
bool WriteProfileSettings(const char* path, const ProfileSetting* settings, size_t count);
