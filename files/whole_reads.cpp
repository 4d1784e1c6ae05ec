#include "files/whole_reads.h"
#include <cstring>

namespace {

// A FILETIME counts 100 ns.
const uint64_t kSecond = 10000000;
// Dates to the whole second come from a file system that keeps none finer (two seconds
// on FAT, one on ext3 and many network mounts): a write within that step of the last
// may leave the date as it was. Finer dates move within a tick of the system's clock.
const uint64_t kCoarseStep = 2 * kSecond + kSecond / 10;
const uint64_t kFineStep = kSecond / 10;
// Dates kept to the hundredth of a second or coarser (FAT, exFAT, ext3): a block written
// within that tick of the last leaves them as they were. Finer ones fall on it once in
// 100,000 dates.
const uint64_t kCoarseTick = kSecond / 100;
// How often the settling wait looks at the file's state.
const DWORD kSettleLook = 20;

ReadStageHook readStageHook = nullptr;
FileStateHook fileStateHook = nullptr;
uint64_t recentWriteSpan = kRecentWrite;
// The states this instance left on the files it wrote last, newest at `nextLeft - 1`.
FileState filesLeft[16];
size_t nextLeft = 0;

bool SeekToStart(HANDLE file)
{
    LARGE_INTEGER start = {};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) != 0;
}

inline uint64_t Rotate(uint64_t value, int bits)
{
    return (value << bits) | (value >> (64 - bits));
}

} // namespace

uint64_t FileClock()
{
    FILETIME clock;
    GetSystemTimeAsFileTime(&clock);
    return (static_cast<uint64_t>(clock.dwHighDateTime) << 32) | clock.dwLowDateTime;
}

// The step within which a write may leave a date as it was.
static uint64_t DateStep(uint64_t date)
{
    return date % kSecond ? kFineStep : kCoarseStep;
}

// Whether the file's dates were changed within their step of `start`, or lie beyond it.
static bool DateRecent(const FileState& state, uint64_t start)
{
    const uint64_t latest = state.Latest();
    return latest + DateStep(latest) > start;
}

bool DatesShowWrites(const FileState& state, uint64_t now)
{
    // A change behind a last write already reached is one that does not move with the
    // writes (a file system that gives its creation for it); one behind a write date set
    // ahead of the clock still does.
    const uint64_t change = state.changed;
    return change && change % kCoarseTick && change <= now && (change >= state.written || state.written > now);
}

bool DateMayHideWrite(const FileState& state, uint64_t start)
{
    return DateRecent(state, start) || !DatesShowWrites(state, start);
}

// Whether this instance left the file in that state (RememberFileLeft).
static bool LeftHere(const FileState& state)
{
    for (const FileState& left : filesLeft)
        if (left == state)
            return true;
    return false;
}

bool WrittenLately(const FileState& state)
{
    const uint64_t change = state.LastChange(), now = FileClock();
    return change <= now && change + recentWriteSpan > now && !LeftHere(state);
}

DWORD SettlingWait(const FileState& state, uint64_t now)
{
    if (!DatesShowWrites(state, now))
        return kSettleSpan;
    const uint64_t change = state.changed, span = kSettleSpan * (kSecond / 1000);
    const uint64_t latest = now - change > kFineStep ? change + kFineStep : now;
    return latest + span > now ? static_cast<DWORD>((latest + span - now + kSecond / 1000 - 1) / (kSecond / 1000)) : 0;
}

bool StaysSettled(HANDLE file, const FileState& before)
{
    // Where the dates cannot show a write, neither can they show that the file is as this
    // instance left it.
    const uint64_t now = FileClock();
    const DWORD wait = LeftHere(before) && DatesShowWrites(before, now) ? 0 : SettlingWait(before, now);
    if (!wait)
        return true;
    ReachReadStage(ReadStage::Settling);
    // Watched rather than slept through: a writer's next block sends the read again at once.
    FileState after;
    for (const DWORD begin = GetTickCount();;) {
        if (!TakeFileState(file, &after) || !(after == before))
            return false;
        const DWORD spent = GetTickCount() - begin;
        if (spent >= wait)
            return true;
        Sleep(wait - spent < kSettleLook ? wait - spent : kSettleLook);
    }
}

void RememberFileLeft(HANDLE file)
{
    FileState state;
    if (TakeFileState(file, &state))
        filesLeft[nextLeft++ % (sizeof filesLeft / sizeof *filesLeft)] = state;
}

void SetRecentWriteSpan(uint64_t span)
{
    recentWriteSpan = span;
}

bool TakeFileState(HANDLE file, FileState* state)
{
    // Asked apart rather than through GetFileInformationByHandle, which under Wine also
    // asks for the volume's serial number: a quarter of a millisecond at every read.
    LARGE_INTEGER size;
    FILE_BASIC_INFO dates;
    if (!GetFileSizeEx(file, &size) || !GetFileInformationByHandleEx(file, FileBasicInfo, &dates, sizeof dates))
        return false;
    state->size = static_cast<uint64_t>(size.QuadPart);
    state->written = static_cast<uint64_t>(dates.LastWriteTime.QuadPart);
    state->changed = static_cast<uint64_t>(dates.ChangeTime.QuadPart);
    if (fileStateHook)
        fileStateHook(state);
    return true;
}

void SetFileStateHook(FileStateHook hook)
{
    fileStateHook = hook;
}

uint64_t Digest(uint64_t digest, const uint8_t* bytes, size_t count)
{
    // Four lanes of words side by side, so that their multiplications overlap: a part of a
    // megabyte takes a fraction of a millisecond. Every step is a bijection of the word
    // and of the lane, so one word changed changes the digest.
    const uint64_t kPrime1 = 0x9E3779B185EBCA87ull, kPrime2 = 0xC2B2AE3D27D4EB4Full;
    uint64_t lane[4] = {digest + kPrime1, digest + kPrime2, digest, digest - kPrime1};
    size_t i = 0;
    for (; i + 32 <= count; i += 32)
        for (int k = 0; k < 4; ++k) {
            uint64_t word;
            std::memcpy(&word, bytes + i + 8 * k, 8);
            lane[k] = Rotate(lane[k] + word * kPrime2, 31) * kPrime1;
        }
    digest = (digest ^ count) * kPrime1;
    for (int k = 0; k < 4; ++k)
        digest = Rotate(digest ^ lane[k], 27) * kPrime1;
    for (; i < count; ++i)
        digest = Rotate(digest ^ bytes[i], 11) * kPrime2;
    return digest;
}

bool WholeFileRead::Start(HANDLE handle)
{
    file = handle;
    done = 0;
    digest = 0;
    came = true;
    failed = false;
    const uint64_t now = FileClock();
    if (!TakeFileState(file, &before) || before.size >= 0x80000000u || !SeekToStart(file))
        return false;
    length = static_cast<uint32_t>(before.size);
    twice = DateMayHideWrite(before, now);
    recent = DateRecent(before, now);
    return true;
}

uint32_t WholeFileRead::ReadPart(uint8_t* into)
{
    const DWORD asked = length - done < kPartBytes ? length - done : kPartBytes;
    if (!asked || !came || failed)
        return 0;
    DWORD got = 0;
    if (!ReadFile(file, into, asked, &got, nullptr))
        return failed = true, 0;
    // Fewer bytes than the length: the file was cut meanwhile.
    if (got != asked)
        return came = false, 0;
    if (twice)
        digest = Digest(digest, into, got);
    if (!done)
        ReachReadStage(ReadStage::PartRead);
    done += got;
    return got;
}

bool WholeFileRead::ReadsSameAgain(uint8_t* block)
{
    const uint64_t first = digest;
    digest = 0;
    done = 0;
    if (!SeekToStart(file))
        return !(failed = true);
    while (ReadPart(block)) {
    }
    // Nothing beyond: a file that grew meanwhile was written.
    uint8_t beyond;
    DWORD got = 0;
    if (!failed && !ReadFile(file, &beyond, 1, &got, nullptr))
        failed = true;
    FileState after;
    return came && !failed && done == length && got == 0 && digest == first && TakeFileState(file, &after) &&
           after == before;
}

WholeRead WholeFileRead::Finish(uint8_t* block)
{
    // The digest is of the whole file: what the reader left goes into it too.
    while (twice && ReadPart(block)) {
    }
    FileState after;
    bool same = came && !failed && TakeFileState(file, &after) && after == before;
    // An empty file whose date is that recent was emptied by a copy over it, whose bytes
    // are still to come.
    if (same && !length && recent)
        same = false;
    // A writer between two of its blocks: its next one moves the state, or, where the
    // dates cannot show it (a block within the same second), the bytes read again once the
    // settling span has passed.
    if (same)
        same = StaysSettled(file, before);
    if (same && twice)
        same = ReadsSameAgain(block);
    if (failed)
        return WholeRead::Failed;
    return same ? WholeRead::Read : WholeRead::Changing;
}

void SetReadStageHook(ReadStageHook hook)
{
    readStageHook = hook;
}

void ReachReadStage(ReadStage stage)
{
    if (readStageHook)
        readStageHook(stage);
}
