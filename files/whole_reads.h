#pragma once
// Reading a file whole while another program may be writing it. The share modes and the
// marks keep a writer out only where they hold: where the file system keeps no locks
// (Wine then grants every mark), instances under other Wine servers, like the system's
// own programs, write while a file is read. A read that met a write is never taken: the
// file's size, last write and last change, taken before and after the read, must be the
// same (a save writes in place, so these are what it changes; the change moves even where
// a writer puts the date back), and where the file's dates may not show a write during the
// read (a last write or change within a tick of the read, or dates that show none at all:
// DatesShowWrites), a second read, made once the file has settled, must give the same
// bytes. An empty file whose date is that recent is one that a copy over it has just
// emptied: it is read again too. The file goes part by part through a block of the reader's, so that a read
// costs the same memory whatever the file's size: the second read is checked against a
// digest of the first's parts rather than against their bytes. A read that met a write is
// made again by its reader (files/record_stream.h) until the patience is spent, and so is
// one that reads as cut or unknown while the file was written lately: another program
// (a copy, a synchronising tool) may still be writing it, with pauses between its parts.
// The picture loader (files/picture_files.h) judges its reads by the same rule.
#include <windows.h>
#include <cstddef>
#include <cstdint>

// A file's size, last write and last change (FILETIMEs as numbers), as its open handle
// reports them. The change is the file's status change, which moves with every write and
// which no user can set: a writer that puts the last write back (a copy keeping its date)
// still shows. Where the file system keeps none, it stays 0.
struct FileState {
    uint64_t size = 0;
    uint64_t written = 0;
    uint64_t changed = 0;
    bool operator==(const FileState& other) const
    {
        return size == other.size && written == other.written && changed == other.changed;
    }
    // The later of the last write and the last change.
    uint64_t Latest() const { return written > changed ? written : changed; }
    // When a writer last touched the file, as far as no writer can hide it: the change,
    // or the last write where the file system keeps no change.
    uint64_t LastChange() const { return changed ? changed : written; }
};
bool TakeFileState(HANDLE file, FileState* state);
// A test's stand-in for a file system that keeps other dates: given every state taken, it
// sets them as that file system would. Null (the program's own state) leaves them.
typedef void (*FileStateHook)(FileState* state);
void SetFileStateHook(FileStateHook hook);

// The system's clock, as file dates count it: taken before a read, as its start.
uint64_t FileClock();
// Whether every write made at `now` or later moves the file's change: false where the file
// system keeps it to the hundredth of a second or coarser (FAT, exFAT, ext3 with small
// inodes, many network shares: a block written within that tick of the last leaves size and
// dates as they were), keeps none or one that stays behind the last write, or where it is
// not yet reached (another machine's clock). FAT and exFAT give the last write for the
// change, so that a writer that puts the date back puts the change back with it: their
// dates are coarse. A fine change equal to the last write is what every write leaves on
// the others, whose next write still moves it.
bool DatesShowWrites(const FileState& state, uint64_t now);
// Whether a write made at `start` or after could leave the file's dates as `state` has
// them (a last write or change within a tick of `start`, or dates that show no write): a
// read that began at `start` is then taken only where a second read gives the same bytes.
bool DateMayHideWrite(const FileState& state, uint64_t start);
// The readers' patience: how long a file that a write meets at every read, or that reads
// as cut while written lately, is read again (a save of a large plan takes a few seconds,
// of most plans well under one).
const DWORD kRereadPatience = 3000;
// How long after its last change a file that reads as cut or unknown is taken for one
// another program is still writing, and read again: well within the readers' patience of
// three seconds, so that a file truly cut gets its message within it, the last read
// (twice, where its date may hide a write) and the settling span included.
const uint64_t kRecentWrite = 25000000;
// Whether the file's last change (LastChange) lies within that span before now. The last
// write is whatever its owner, an archive or another machine set: it counts only where
// no change is kept. A date not yet reached (another machine's clock) is no sign of a
// writer at work, so that no date keeps a damaged file "being saved" for ever; nor is a
// file this instance left in that state (RememberFileLeft).
bool WrittenLately(const FileState& state);
// Sets the span (kRecentWrite unless set): tests that read damaged files they have just
// made through other programs, which are no longer writing them, set 0.
void SetRecentWriteSpan(uint64_t span);
// How long a file must have stayed unchanged since its last change before what was read
// of it is taken. A program that rewrites a file in place by blocks and puts its date back
// (dd conv=notrunc, then touch -r) leaves it half old and half new between its blocks,
// where size, dates and a second read all agree: only its next block shows. A read made
// within this span of the file's last change is taken once the span has passed with the
// file's state unchanged; where it moved, the read is made again. Measured here with such
// writers (dd conv=notrunc, touch -r, 0.3 s between rewrites) on a machine of eight cores
// at a load of 9-13, 40 rewrites each: two 64 KB blocks 30 ms apart came 41-209 ms apart
// (median 94), two 1 MB blocks one after the other 20-296 ms apart (median 61), the time
// of a program's start being most of it. 300 ms covers them, and still takes a plan that
// such a writer rewrites every 0.3 s between its rewrites. A writer pausing longer than
// the span between its blocks is beyond any reader.
const DWORD kSettleSpan = 300;
// How long (ms) a read that ended at `now` with the file in `state` waits, watching the
// state, before it is taken: until the span has passed since the latest moment the last
// change may have been made. Where the dates show no write (DatesShowWrites), a block
// written during the wait moves nothing: the whole span is waited from the read's end and
// the bytes are then read again, so that on such file systems every read costs one span
// and one read more; on others only a file changed within 0.4 s waits.
DWORD SettlingWait(const FileState& state, uint64_t now);
// Whether the file read with `before` as its state is still in that state once the
// settling wait has passed (watched here: a move ends it at once). A file that this
// instance left in that state (RememberFileLeft) is taken at once, where its dates would
// show another's write.
bool StaysSettled(HANDLE file, const FileState& before);
// Remembers the state of a file this instance has just written, or whose writer has
// ended: a read of it while it stays so waits for no writer's next block.
void RememberFileLeft(HANDLE file);
// A digest of bytes that tells a second read of them from the first: `digest` is that of
// the bytes before (0 at the start). The same bytes in the same parts give the same digest.
uint64_t Digest(uint64_t digest, const uint8_t* bytes, size_t count);

enum class WholeRead { Read, Changing, Failed };

// One read of a disk file from its start, part by part, and its verdict.
class WholeFileRead {
public:
    // The bytes of a part: every part but the last holds this many.
    static const uint32_t kPartBytes = 1u << 20;

    // Starts a read at the file's start; false where the file's state cannot be taken or
    // it holds 2 GB or more.
    bool Start(HANDLE file);
    // The file's length at the start: the reads never pass it.
    uint32_t Length() const { return length; }
    // Reads the next part into `into` (room for kPartBytes); its bytes, 0 at the end or
    // where the file gave fewer than its length promised or a read failed.
    uint32_t ReadPart(uint8_t* into);
    // The verdict once the reader has read what it wanted: Read where no write met the
    // read, Changing where one may have (or where the file is empty and its date may hide
    // a write), Failed where a read failed. What the reader left
    // unread is read too (through `block`, of kPartBytes) where the bytes are to be read
    // again.
    WholeRead Finish(uint8_t* block);
    // Whether the file was written or changed lately (WrittenLately) as the read began.
    bool WrittenLately() const { return ::WrittenLately(before); }

private:
    bool ReadsSameAgain(uint8_t* block);

    HANDLE file = INVALID_HANDLE_VALUE;
    FileState before;
    uint32_t length = 0;
    uint32_t done = 0;
    bool twice = false;   // the dates may hide a write: a second read must give the digest
    bool recent = false;  // changed within a tick of the read's start, or dated ahead
    uint64_t digest = 0;
    bool came = true;     // every part came whole
    bool failed = false;
};

// The moments of a read at which a test holds the reader, as a slow disk or a busy
// program would: a record file about to be opened, the first part of a file (or a
// picture's first band) read, a read about to be made again, and a read about to wait
// for the file to settle.
enum class ReadStage { Opening, PartRead, ReadingAgain, Settling };
typedef void (*ReadStageHook)(ReadStage stage);
// Null (the program's own state) calls nothing.
void SetReadStageHook(ReadStageHook hook);
void ReachReadStage(ReadStage stage);
