#pragma once
// Reading a file whole while another program may be writing it. The share modes and the
// marks keep a writer out only where they hold: where the file system keeps no locks
// (Wine then grants every mark), instances under other Wine servers, like the system's
// own programs, write while a file is read. A read that met a write is never taken: the
// file's size and last write, taken before and after the read, must be the same (a save
// writes in place, so these are what it changes), and where the file's dates are too
// coarse to show a write during the read (dates to the whole second, or a last write
// within a tick of the read, or one not yet reached), a second read must give the same
// bytes. An empty file whose date may hide a write is one that a copy over it has just
// emptied: it is read again too. A read that met a write is made again until the
// patience is spent. The picture loader (files/picture_files.h) judges its reads by the
// same rule.
#include <windows.h>
#include <cstdint>

// A file's size and last write (a FILETIME as one number), as its open handle reports them.
struct FileState {
    uint64_t size = 0;
    uint64_t written = 0;
    bool operator==(const FileState& other) const { return size == other.size && written == other.written; }
};
bool TakeFileState(HANDLE file, FileState* state);

// The system's clock, as file dates count it: taken before a read, as its start.
uint64_t FileClock();
// Whether a write made at `start` or after could leave the file's date as `state` has it
// (dates to the whole second, a last write within a tick of `start`, or one not yet
// reached): a read that began at `start` is then taken only where a second read gives the
// same bytes.
bool DateMayHideWrite(const FileState& state, uint64_t start);

enum class WholeRead { Read, Changing, Failed };

// Reads the disk file open in `file` from its start into a block allocated with malloc
// (`*bytes`, of `*length` bytes, which the caller frees; null for an empty file).
// Changing when every read for `patience` milliseconds met a write; Failed when the file
// cannot be read (a read error, a file of 2 GB or more, no memory). Nothing is allocated
// then.
WholeRead ReadWholeFile(HANDLE file, uint8_t** bytes, uint32_t* length, DWORD patience);

// The moments of a read at which a test holds the reader, as a slow disk or a busy
// program would: a record file about to be opened, the first part of a file (or a
// picture's first band) read, and a read about to be made again.
enum class ReadStage { Opening, PartRead, ReadingAgain };
typedef void (*ReadStageHook)(ReadStage stage);
// Null (the program's own state) calls nothing.
void SetReadStageHook(ReadStageHook hook);
void ReachReadStage(ReadStage stage);
