#pragma once
// Overwriting a file without ever losing the old one. Every file the program writes over
// (plans, the estimate and exchange files, DXF drawings, BMP pictures) goes through
// SaveFileSafely. A file that already exists is first copied whole beside itself and the
// copy flushed to the disk; the file is then written in place (opened, cut, written and
// flushed), so that it stays the file the user chose: through a link, with its owner and
// permissions. When the write fails the old content is put back from the copy; the copy
// is removed once the file is whole again, old or new.
#include <functional>

// Writes `path` with `writeContent`, which writes through the record stream's writers
// (WriteBytes and the typed writers) into the file opened for it. True when the whole
// content reached the disk; false when the target is read-only or a folder, the copy of
// the old file could not be made, or a write, the flush or the close failed. Shows no
// message (the caller does), except in the one case where the old content could not be
// put back after a failed write: then the message names the copy that holds it.
bool SaveFileSafely(const char* path, const std::function<void()>& writeContent);
