#pragma once
// Overwriting a file without ever losing the old one. Every file the program writes over
// (plans, the estimate and exchange files, DXF drawings, BMP pictures) goes through
// SaveFileSafely. A file that already exists is first copied whole, and the copy flushed
// to the disk under its final name "~NAME.salva" beside the file; where no file can be
// added beside it (a folder the user cannot write to, a path near MAX_PATH) the copy goes
// to the user's temporary folder as "~NAME.HASH.salva", HASH naming the file's full path.
// The file is then written in place (opened, cut, written and flushed), so that it stays
// the file the user chose: through a link, with its owner and permissions. While the copy
// is being made it is "~NAME.salva.tmp", so a "~NAME.salva" is always complete: should the
// program be stopped during the write, it is the old file whole, and the Open command
// offers it. When the write fails the old content is put back from the copy. A save that
// succeeds, or puts the old content back, removes every copy of that file. The copies are
// created readable by their owner only (on Wine their owner's group can read them too).
#include <functional>
#include <string>

// Writes `path` with `writeContent`, which writes through the record stream's writers
// (WriteBytes and the typed writers) into the file opened for it. True when the whole
// content reached the disk; false when the target is read-only or a folder, the copy of
// the old file could not be made, or a write, the flush or the close failed. Shows no
// message (the caller does), except in the one case where the old content could not be
// put back after a failed write: then the message names the copy that holds it. A copy
// an interrupted save left is kept as this save's copy, since the file may be the cut one.
bool SaveFileSafely(const char* path, const std::function<void()>& writeContent);

// The complete copy of `path` that an interrupted save left, beside it or in the user's
// temporary folder; empty when there is none.
std::string FindInterruptedSaveCopy(const char* path);

// The moments of a save at which a test stops the program, as a kill would: the copy of
// the old file made, and the new content flushed and closed (before the copy is removed).
// The third, part-way through the write, is a write function of the record stream.
enum class SaveStage { CopyMade, ContentWritten };
typedef void (*SaveStageHook)(SaveStage stage);
// Null (the program's own state) calls nothing.
void SetSaveStageHook(SaveStageHook hook);
