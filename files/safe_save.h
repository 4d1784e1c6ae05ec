#pragma once
// Overwriting a file without ever losing the old one. Every file the program writes over
// (plans, the estimate and exchange files, DXF drawings, BMP pictures) goes through
// SaveFileSafely. A file that already exists is first copied whole under the copy's name
// "~NAME.salva" beside it; where no file can be added beside it (a folder the user cannot
// write to, a path near MAX_PATH) the copy goes to the user's temporary folder as
// "~NAME.HASH.salva", or "~HASH.salva" where that name would be too long, HASH (64 bits)
// naming the file's full path. NAME and the path are spelt as the folders list them,
// whatever case the user typed. The file is then written in place (opened, cut, written
// and flushed), so that it stays the file the user chose: through a link, with its owner
// and permissions. Should the program be stopped during the write, the copy holds the old
// file whole, and the Open command offers it. When the write fails the old content is put
// back from the copy. A save that succeeds, or puts the old content back, removes its copy.
// A save takes the file's copies under the other names out before it touches the file; one
// that stays (another program reads it, or no file can be made beside it) is dated before
// the save's own, which Open takes first, and goes at a later save.
//
// A save first opens the file for writing, before it makes, renames or removes anything:
// a user who may not write the file is refused with nothing changed. It holds the file
// marked as being saved (files/file_marks.h) from then to its end, so that every instance
// of the program, under any Wine server or on another machine, and whichever user runs it,
// sees a save under way: a second save is refused. The copy is the save's own working file
// (files/working_files.h), held from start to end shared for reading only and marked as
// written, so that an Open opens nothing meanwhile. A copy that another program holds
// unshared is an old copy, not a save; so is one this user may not open (another user's,
// whose files are private) while no save holds the file: it stays where it is, and the
// save's own copy takes another name. A copy is the file's own
// only under exactly its name, case included: what a folder lists under another case
// (another file's, on a disk that tells case apart) or a folder is left alone, and
// another name used. The copies are created readable by their owner only (on Wine their
// owner's group can read them too).
#include <windows.h>
#include <functional>
#include <string>

// Whether a file reads to its end as what it is (a plan as a plan). Saves and opens of
// files that cannot be judged pass none.
typedef std::function<bool(const char* path)> WholeFileTest;

// Writes `path` with `writeContent`, which writes through the record stream's writers
// (WriteBytes and the typed writers) into the file opened for it. True when the whole
// content reached the disk; false when the target is read-only, a folder or no disk file
// (a device), this user may not write it, another program is saving it or keeps others
// from writing it, the copy of the old file could not be made, or a write, the flush or
// the close failed. Shows no message (the caller does), except
// in the one case where the old content could not be put back after a failed write: then
// the message names the copy that holds it. A copy that an earlier save left is taken as
// the old content only when the file does not read whole and the copy does (`readsWhole`);
// otherwise, and for files that cannot be judged, it is replaced by a copy of the file.
// Where another program stops the save (its save, through the copy it holds or the one
// this user may not open, else the file itself; a copy left that another program keeps
// closed; the file kept from writing), `stoppedBy` gets the file's name, for the message.
bool SaveFileSafely(const char* path, const std::function<void()>& writeContent,
                    const WholeFileTest& readsWhole = nullptr, std::string* stoppedBy = nullptr);

// What an Open finds of the saves of `path`: whether another instance of the program is
// saving it now (`copy` is then the copy that save holds marked), and the copy that a
// stopped save left, offered only when `path` does not read whole and the copy does (empty
// otherwise); of several, the newest (by its last write) that does. `closed` names a copy
// this user may not open: another user's, whose save may be running, which no save of
// this user replaces or removes.
// A copy is offered only where this user or the plan's owner made it: one that reads whole
// while the plan does not, made by another (planted in a folder anyone may write), is
// `other`, named but never offered or put back.
struct InterruptedSave {
    bool saving = false;
    std::string copy, closed, other;
};
InterruptedSave FindInterruptedSave(const char* path, const WholeFileTest& readsWhole);

// The moments of a save at which a test stops or holds the program, as a kill would: the
// copy of the old file made (of the preferences too), and the new content flushed and
// closed (before the copy is removed); of a write of the preferences, the file read
// (before its new content is written) and the wait for another writer's turn begun. The
// moment part-way through the write is a write function of the record stream.
enum class SaveStage { CopyMade, ContentWritten, SettingsRead, TurnAwaited };
typedef void (*SaveStageHook)(SaveStage stage);
// Null (the program's own state) calls nothing.
void SetSaveStageHook(SaveStageHook hook);
// Called by the writers at each moment.
void ReachSaveStage(SaveStage stage);
