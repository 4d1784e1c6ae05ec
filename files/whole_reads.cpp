#include "files/whole_reads.h"
#include <cstdlib>
#include <cstring>

namespace {

const DWORD kPartBytes = 1u << 20;
// A FILETIME counts 100 ns.
const uint64_t kSecond = 10000000;
// Dates to the whole second come from a file system that keeps none finer (two seconds
// on FAT, one on ext3 and many network mounts): a write within that step of the last
// may leave the date as it was. Finer dates move within a tick of the system's clock.
const uint64_t kCoarseStep = 2 * kSecond + kSecond / 10;
const uint64_t kFineStep = kSecond / 10;

ReadStageHook readStageHook = nullptr;

// Reads `length` bytes from the file's start into `into`, or, given `part` (a block of a
// part), reads them again there and compares them with `into`; false when the file gave
// other bytes, fewer or more, and `failed` set when a read failed.
bool ReadOnce(HANDLE file, uint8_t* into, uint32_t length, uint8_t* part, bool* failed)
{
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return !(*failed = true);
    uint32_t done = 0;
    for (bool first = true; done < length; first = false) {
        const DWORD asked = length - done < kPartBytes ? length - done : kPartBytes;
        uint8_t* to = part ? part : into + done;
        DWORD got = 0;
        if (!ReadFile(file, to, asked, &got, nullptr))
            return !(*failed = true);
        if (got != asked || (part && std::memcmp(part, into + done, got) != 0))
            return false;
        done += got;
        if (first)
            ReachReadStage(ReadStage::PartRead);
    }
    // Nothing beyond: a file that grew meanwhile was written.
    uint8_t beyond;
    DWORD got = 0;
    if (!ReadFile(file, &beyond, 1, &got, nullptr))
        return !(*failed = true);
    return got == 0;
}

} // namespace

uint64_t FileClock()
{
    FILETIME clock;
    GetSystemTimeAsFileTime(&clock);
    return (static_cast<uint64_t>(clock.dwHighDateTime) << 32) | clock.dwLowDateTime;
}

bool DateMayHideWrite(const FileState& state, uint64_t start)
{
    return state.written + (state.written % kSecond ? kFineStep : kCoarseStep) > start;
}

bool TakeFileState(HANDLE file, FileState* state)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info))
        return false;
    state->size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    state->written = (static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                     info.ftLastWriteTime.dwLowDateTime;
    return true;
}

WholeRead ReadWholeFile(HANDLE file, uint8_t** bytes, uint32_t* length, DWORD patience)
{
    *bytes = nullptr;
    *length = 0;
    const DWORD begin = GetTickCount();
    for (;;) {
        const uint64_t now = FileClock();
        FileState before, after;
        if (!TakeFileState(file, &before) || before.size >= 0x80000000u)
            return WholeRead::Failed;
        const uint32_t size = static_cast<uint32_t>(before.size);
        uint8_t* block = size ? static_cast<uint8_t*>(std::malloc(size)) : nullptr;
        uint8_t* part = nullptr;
        if (size && !block)
            return WholeRead::Failed;
        bool failed = false;
        bool same = ReadOnce(file, block, size, nullptr, &failed) && TakeFileState(file, &after) && after == before;
        const bool hidden = same && DateMayHideWrite(before, now);
        // An empty file whose date is that recent was emptied by a copy over it, whose bytes
        // are still to come.
        if (hidden && !size)
            same = false;
        if (hidden && size) {
            part = static_cast<uint8_t*>(std::malloc(size < kPartBytes ? size + 1 : kPartBytes));
            failed = failed || !part;
            same = part && ReadOnce(file, block, size, part, &failed) && TakeFileState(file, &after) &&
                   after == before;
            std::free(part);
        }
        if (same) {
            *bytes = block;
            *length = size;
            return WholeRead::Read;
        }
        std::free(block);
        if (failed)
            return WholeRead::Failed;
        if (GetTickCount() - begin >= patience)
            return WholeRead::Changing;
        ReachReadStage(ReadStage::ReadingAgain);
        Sleep(50);
    }
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
