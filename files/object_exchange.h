#pragma once
// Object exchange files: the 3D object files of the library (".ZOB") and the furniture
// editor's exchange file "\Z!TOVRL.TMP". A reduced plan file: version 10000, the
// companion's block in place of the settings, shorter object and point records whose
// coordinates are stored times 3. Untrusted like plan files: a damaged one adds nothing.

// Reads a 3D object file (or the furniture editor's exchange file) with its style file
// into the current floor; the new objects are the selected ones. Objects without points
// and groups without members are left out. False when the file is rejected (after its
// own message: a damaged file, or one with nothing else) or cannot be read: a box names
// one that cannot be opened (one a write met at every read is not told), or, given
// `unreadable`, that is set for either and the caller tells.
bool ImportObjectFile(const char* path, bool* unreadable = nullptr);

// Writes the selected objects of every floor as an exchange file, replacing the file only
// when it is complete (SaveFileSafely). False without a document or when it cannot be
// written; no message.
bool WriteObjectExchangeFile(const char* path);
