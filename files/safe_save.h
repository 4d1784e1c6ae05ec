#pragma once
// Overwriting a file without ever losing the old one. Every file the program writes over
// (plans, the estimate and exchange files, DXF drawings, BMP pictures) goes through
// SaveFileSafely: the new content is written through the record stream into a temporary
// file beside the target, flushed to the disk and closed, and only then put in the
// target's place. Until that last step the old file is untouched; when any step fails
// the temporary file is removed and the old file stays as it was, byte for byte.
#include <functional>

// Writes `path` with `writeContent`, which writes through the record stream's writers
// (WriteBytes and the typed writers) into the file opened for it. True when the whole
// content reached the disk and replaced the target; false when the temporary file could
// not be made, a write, the flush or the close failed, or the target could not be
// replaced (read-only, locked, on another volume). Shows no message: the caller does.
bool SaveFileSafely(const char* path, const std::function<void()>& writeContent);
