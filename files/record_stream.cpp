#include "files/record_stream.h"
#include "files/file_marks.h"
#include "files/kept_paths.h"
#include "files/whole_reads.h"
#include "shell/message_box.h"
#include <cstdlib>
#include <cstring>
#include <vector>

HFILE planFileHandle = HFILE_ERROR;
uint8_t streamMemoryMode = 0;
uint8_t* streamBuffer = nullptr;
uint32_t streamPosition = 0;
uint32_t streamBufferLength = 0;
bool streamReadShort = false;
bool streamWriteFailed = false;
bool recordFileChanging = false;
bool recordFileRead = false;

void ResetStreamFlags()
{
    streamReadShort = false;
    streamWriteFailed = false;
}

uint16_t SwapBytes16(uint16_t value)
{
    return (uint16_t)((value << 8) | (value >> 8));
}

uint32_t SwapBytes32(uint32_t value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

float SwapFloatBytes(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    bits = SwapBytes32(bits);
    float out;
    std::memcpy(&out, &bits, 4);
    return out;
}

float GetLEFloat(const uint8_t* p)
{
    uint32_t bits = GetLE32(p);
    float out;
    std::memcpy(&out, &bits, 4);
    return out;
}

void PutLEFloat(uint8_t* p, float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    PutLE32(p, bits);
}

// ---------------------------------------------------------------------------------
// File buffering. A record file opened through the helpers below is read and written
// in large blocks: a plan of a hundred thousand objects is millions of small fields,
// and one system call per field made loading and saving take minutes. The logical
// position (what GetFilePosition reports) is the file offset of the next byte the
// readers get or the writers put.

namespace {

enum class FileStreamMode { Unbuffered, Reading, Writing };

const uint32_t kFileBlockBytes = 1u << 20;
// The last bytes of a part read stay in the block before the next part, for a reader that
// steps back over them.
const uint32_t kKeptBytes = 16;

FileStreamMode fileStreamMode = FileStreamMode::Unbuffered;
uint8_t* fileBlock = nullptr;        // the block being read or filled
uint32_t fileBlockFill = 0;          // bytes held by the block
uint32_t fileBlockPosition = 0;      // next byte of the block to read
LONG fileBlockOffset = 0;            // file offset of the block's first byte
LONG fileLength = 0;                 // length of a file being read, taken at the read's start
WholeFileRead wholeRead;             // the read of a disk file being read, part by part
bool wholeReadStarted = false;

UINT WINAPI SystemFileWrite(HFILE file, const void* data, UINT count)
{
    return _lwrite(file, static_cast<LPCCH>(data), count);
}

RecordFileWriteFunction fileWriteFunction = SystemFileWrite;

// The memory block's capacity, valid only for the block and length this layer last made
// (tests and the copy buffer may hand the layer a block of their own).
const uint8_t* capacityBlock = nullptr;
uint32_t capacityLength = 0;
uint32_t capacityBytes = 0;

void ReleaseFileBlock()
{
    std::free(fileBlock);
    fileBlock = nullptr;
    fileBlockFill = 0;
    fileBlockPosition = 0;
    fileBlockOffset = 0;
    fileLength = 0;
    wholeReadStarted = false;
    fileStreamMode = FileStreamMode::Unbuffered;
}

// Hands bytes to the file; a short or failed write marks the stream at once.
void WriteToFile(const void* data, uint32_t count)
{
    if (!count)
        return;
    if (planFileHandle == HFILE_ERROR) {
        streamWriteFailed = true;
        return;
    }
    UINT written = fileWriteFunction(planFileHandle, data, count);
    if (written != count)
        streamWriteFailed = true;
}

void FlushFileBlock()
{
    if (fileStreamMode != FileStreamMode::Writing || !fileBlockFill)
        return;
    // After a failure nothing more goes out: the file is lost anyway, and a later block
    // must not land where the lost one should have been.
    if (!streamWriteFailed)
        WriteToFile(fileBlock, fileBlockFill);
    fileBlockOffset += (LONG)fileBlockFill;
    fileBlockFill = 0;
}

void WriteBufferedFile(const uint8_t* data, uint32_t count)
{
    while (count) {
        uint32_t room = kFileBlockBytes - fileBlockFill;
        if (!room) {
            FlushFileBlock();
            continue;
        }
        uint32_t n = count < room ? count : room;
        std::memcpy(fileBlock + fileBlockFill, data, n);
        fileBlockFill += n;
        data += n;
        count -= n;
    }
}

uint32_t BufferedBytesLeft()
{
    LONG here = fileBlockOffset + (LONG)fileBlockPosition;
    return here < fileLength ? (uint32_t)(fileLength - here) : 0;
}

// The next part of a file being read into the block, after the last bytes read; false at
// the file's end, or where the part did not come whole (the read's verdict then says so).
bool ReadNextPart()
{
    const uint32_t kept = fileBlockFill < kKeptBytes ? fileBlockFill : kKeptBytes;
    std::memmove(fileBlock, fileBlock + fileBlockFill - kept, kept);
    fileBlockOffset += (LONG)(fileBlockFill - kept);
    const uint32_t got = wholeReadStarted ? wholeRead.ReadPart(fileBlock + kept) : 0;
    fileBlockFill = kept + got;
    fileBlockPosition = kept;
    return got != 0;
}

void ReadBufferedFile(uint8_t* dest, uint32_t count)
{
    while (count) {
        if (fileBlockPosition == fileBlockFill && !ReadNextPart())
            break;
        uint32_t available = fileBlockFill - fileBlockPosition;
        uint32_t n = count < available ? count : available;
        std::memcpy(dest, fileBlock + fileBlockPosition, n);
        fileBlockPosition += n;
        dest += n;
        count -= n;
    }
    if (count)
        streamReadShort = true;
}

// A read of the file open for reading from its start, the stream's flags reset.
bool StartWholeRead()
{
    ResetStreamFlags();
    fileBlockFill = 0;
    fileBlockPosition = 0;
    fileBlockOffset = 0;
    wholeReadStarted = wholeRead.Start(LongToHandle(planFileHandle));
    fileLength = wholeReadStarted ? (LONG)wholeRead.Length() : 0;
    return wholeReadStarted;
}

bool StartBufferedFile(FileStreamMode mode)
{
    ReleaseFileBlock();
    if (mode == FileStreamMode::Reading) {
        // Read part by part as the readers go, through a block of a part, and judged once
        // they are done (ReadRecordFile): where the file system keeps no locks, an
        // instance under another Wine server may be saving it. A pipe or a device gives
        // nothing (and is never waited on).
        fileStreamMode = mode;
        if (GetFileType(LongToHandle(planFileHandle)) != FILE_TYPE_DISK)
            return true;
        fileBlock = static_cast<uint8_t*>(std::malloc(kKeptBytes + WholeFileRead::kPartBytes));
        return fileBlock && StartWholeRead();
    }
    fileBlock = static_cast<uint8_t*>(std::malloc(kFileBlockBytes));
    if (!fileBlock)
        return false;
    fileStreamMode = mode;
    return true;
}

// Grows the memory block to hold `needed` bytes, by doubling, so that a copy of many
// fields costs a few reallocations rather than one per field.
bool GrowMemoryBlock(uint32_t needed)
{
    uint32_t capacity = (streamBuffer && capacityBlock == streamBuffer && capacityLength == streamBufferLength)
                            ? capacityBytes
                            : streamBufferLength;
    if (streamBuffer && needed <= capacity) {
        streamBufferLength = needed;
        capacityLength = needed;
        return true;
    }
    uint64_t grown = streamBuffer ? (uint64_t)capacity * 2 : needed;
    if (grown < needed)
        grown = needed;
    if (grown < 256)
        grown = 256;
    if (grown > 0xFFFFFFFFull)
        grown = 0xFFFFFFFFull;
    uint8_t* block = static_cast<uint8_t*>(std::realloc(streamBuffer, (size_t)grown));
    if (!block && grown > needed) {
        grown = needed;
        block = static_cast<uint8_t*>(std::realloc(streamBuffer, (size_t)grown));
    }
    if (!block)
        return false;
    if (!streamBuffer)
        std::memset(block, 0, (size_t)grown);
    streamBuffer = block;
    streamBufferLength = needed;
    capacityBlock = block;
    capacityLength = needed;
    capacityBytes = (uint32_t)grown;
    return true;
}

// Most fields are a few bytes: copied in place rather than through the runtime's copy.
inline void CopySmall(uint8_t* to, const uint8_t* from, uint32_t count)
{
    if (count > 16) {
        std::memcpy(to, from, count);
        return;
    }
    for (uint32_t i = 0; i < count; ++i)
        to[i] = from[i];
}

} // namespace

void SetRecordFileWriteFunction(RecordFileWriteFunction function)
{
    fileWriteFunction = function ? function : SystemFileWrite;
}

void WriteBytes(const void* data, uint32_t count)
{
    // Most fields fit in the block as it is.
    if (fileStreamMode == FileStreamMode::Writing && !streamMemoryMode && count <= kFileBlockBytes - fileBlockFill) {
        CopySmall(fileBlock + fileBlockFill, static_cast<const uint8_t*>(data), count);
        fileBlockFill += count;
        return;
    }
    if (!streamMemoryMode) {
        if (count == 0)
            return;
        if (fileStreamMode == FileStreamMode::Writing)
            WriteBufferedFile(static_cast<const uint8_t*>(data), count);
        else if (fileStreamMode == FileStreamMode::Reading)
            streamWriteFailed = true;   // a file opened for reading takes no bytes
        else
            WriteToFile(data, count);
        return;
    }
    // Memory mode grows the block as it fills; a failed growth keeps the old block
    // and marks the whole copy as failed.
    uint64_t needed = (uint64_t)streamPosition + count;
    if (needed > 0xFFFFFFFFull) {
        streamWriteFailed = true;
        return;
    }
    if ((!streamBuffer || needed > streamBufferLength) && !GrowMemoryBlock((uint32_t)needed)) {
        streamWriteFailed = true;
        return;
    }
    if (count)
        std::memcpy(streamBuffer + streamPosition, data, count);
    streamPosition += count;
}

void ReadBytes(void* dest, uint32_t count)
{
    if (!dest || count == 0)
        return;
    if (fileStreamMode == FileStreamMode::Reading && !streamMemoryMode &&
        count <= fileBlockFill - fileBlockPosition) {
        CopySmall(static_cast<uint8_t*>(dest), fileBlock + fileBlockPosition, count);
        fileBlockPosition += count;
        return;
    }
    if (!streamMemoryMode) {
        if (fileStreamMode == FileStreamMode::Reading) {
            ReadBufferedFile(static_cast<uint8_t*>(dest), count);
            return;
        }
        if (fileStreamMode == FileStreamMode::Writing) {
            streamReadShort = true;
            return;
        }
        UINT got = _lread(planFileHandle, dest, count);
        if (got != count)
            streamReadShort = true;
        return;
    }
    if (!streamBuffer) {
        streamReadShort = true;
        return;
    }
    // The block does not end with the data: stop at its length like a file at its end.
    uint32_t available = streamPosition < streamBufferLength ? streamBufferLength - streamPosition : 0;
    uint32_t n = count < available ? count : available;
    if (n)
        std::memcpy(dest, streamBuffer + streamPosition, n);
    streamPosition += n;
    if (n != count)
        streamReadShort = true;
}

// Typed fields of a buffered file take the block directly when they fit: a copy of a
// known size is a move, where a general copy is a call into the runtime.
template <uint32_t N>
static inline void WriteField(const uint8_t* b)
{
    if (fileStreamMode == FileStreamMode::Writing && !streamMemoryMode && N <= kFileBlockBytes - fileBlockFill) {
        std::memcpy(fileBlock + fileBlockFill, b, N);
        fileBlockFill += N;
        return;
    }
    WriteBytes(b, N);
}

template <uint32_t N>
static inline void ReadField(uint8_t* b)
{
    if (fileStreamMode == FileStreamMode::Reading && !streamMemoryMode && N <= fileBlockFill - fileBlockPosition) {
        std::memcpy(b, fileBlock + fileBlockPosition, N);
        fileBlockPosition += N;
        return;
    }
    ReadBytes(b, N);
}

void WriteU16BigEndian(uint16_t value)
{
    uint8_t b[2] = {(uint8_t)(value >> 8), (uint8_t)value};
    WriteField<2>(b);
}

void WriteU32BigEndian(uint32_t value)
{
    uint8_t b[4] = {(uint8_t)(value >> 24), (uint8_t)(value >> 16), (uint8_t)(value >> 8), (uint8_t)value};
    WriteField<4>(b);
}

void WriteFloatBigEndian(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    WriteU32BigEndian(bits);
}

void ReadU16BigEndian(uint16_t* dest)
{
    if (!dest)
        return;
    // Read over the host value so a short read leaves the untouched bytes as they were.
    uint8_t b[2] = {(uint8_t)(*dest >> 8), (uint8_t)*dest};
    ReadField<2>(b);
    *dest = (uint16_t)((b[0] << 8) | b[1]);
}

void ReadU32BigEndian(uint32_t* dest)
{
    if (!dest)
        return;
    uint32_t v = *dest;
    uint8_t b[4] = {(uint8_t)(v >> 24), (uint8_t)(v >> 16), (uint8_t)(v >> 8), (uint8_t)v};
    ReadField<4>(b);
    *dest = ((uint32_t)b[0] << 24) | ((uint32_t)b[1] << 16) | ((uint32_t)b[2] << 8) | b[3];
}

void ReadFloatBigEndian(float* dest)
{
    if (!dest)
        return;
    uint32_t bits;
    std::memcpy(&bits, dest, 4);
    ReadU32BigEndian(&bits);
    std::memcpy(dest, &bits, 4);
}

LONG GetFileSize(HFILE file)
{
    if (file == planFileHandle && file != HFILE_ERROR) {
        if (fileStreamMode == FileStreamMode::Reading)
            return fileLength;
        if (fileStreamMode == FileStreamMode::Writing) {
            // What has been written so far, flushed or not.
            LONG flushedEnd = _llseek(file, 0, 2);
            LONG logical = fileBlockOffset + (LONG)fileBlockFill;
            return flushedEnd > logical ? flushedEnd : logical;
        }
    }
    LONG here = _llseek(file, 0, 1);
    LONG end = _llseek(file, 0, 2);
    _llseek(file, here, 0);
    return end;
}

LONG GetFilePosition(HFILE file)
{
    if (file == planFileHandle && file != HFILE_ERROR) {
        if (fileStreamMode == FileStreamMode::Reading)
            return fileBlockOffset + (LONG)fileBlockPosition;
        if (fileStreamMode == FileStreamMode::Writing)
            return fileBlockOffset + (LONG)fileBlockFill;
    }
    return _llseek(file, 0, 1);
}

uint32_t StreamBytesRemaining()
{
    if (streamMemoryMode)
        return streamPosition < streamBufferLength ? streamBufferLength - streamPosition : 0;
    if (planFileHandle == HFILE_ERROR)
        return 0;
    if (fileStreamMode == FileStreamMode::Reading)
        return BufferedBytesLeft();
    if (fileStreamMode == FileStreamMode::Writing)
        return 0;
    LONG end = GetFileSize(planFileHandle);
    LONG here = GetFilePosition(planFileHandle);
    if (end == HFILE_ERROR || here == HFILE_ERROR || here >= end)
        return 0;
    return (uint32_t)(end - here);
}

void RewindRecordStream(uint32_t count)
{
    if (streamMemoryMode) {
        streamPosition = streamPosition >= count ? streamPosition - count : 0;
        return;
    }
    if (fileStreamMode == FileStreamMode::Reading) {
        fileBlockPosition = fileBlockPosition >= count ? fileBlockPosition - count : 0;
        return;
    }
    if (planFileHandle == HFILE_ERROR)
        return;
    LONG here = GetFilePosition(planFileHandle);
    _llseek(planFileHandle, here >= (LONG)count ? here - (LONG)count : 0, 0);
}

bool RequireStreamBytes(uint64_t count)
{
    if (count <= StreamBytesRemaining())
        return true;
    streamReadShort = true;
    return false;
}

HFILE OpenRecordFileForReading(const char* path)
{
    ResetStreamFlags();
    ReleaseFileBlock();
    recordFileChanging = false;
    ReachReadStage(ReadStage::Opening);
    // Shared for reading only, as _lopen's OF_SHARE_DENY_WRITE. Another instance writing
    // it, under a Wine server that keeps the share modes apart, leaves its mark: the file
    // is not read half-written.
    HANDLE file = path ? OpenMarked(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, false) : INVALID_HANDLE_VALUE;
    planFileHandle = file == INVALID_HANDLE_VALUE ? HFILE_ERROR : HandleToLong(file);
    if (planFileHandle != HFILE_ERROR && !StartBufferedFile(FileStreamMode::Reading)) {
        ReleaseFileBlock();
        _lclose(planFileHandle);
        planFileHandle = HFILE_ERROR;
    }
    return planFileHandle;
}

// The file opened for writing and marked, not yet cut; HFILE_ERROR with the system's error.
// Opened and made by the long path meant, so that a neighbour that took a kept folder's
// short form gets nothing, even for a moment.
static HFILE OpenMarkedForWriting(const char* path)
{
    HANDLE opened = OpenMarked(path, GENERIC_WRITE, 0, OPEN_EXISTING, true);
    const DWORD error = GetLastError();
    // Missing, or read by another program that lets others write: the access and sharing
    // of _lcreat, but nothing cut before the file is marked. A file made here can be taken
    // away again by its handle.
    if (opened == INVALID_HANDLE_VALUE && error != ERROR_LOCK_VIOLATION && error != ERROR_PATH_NOT_FOUND) {
        const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        opened = OpenMarked(path, GENERIC_READ | GENERIC_WRITE | DELETE, share, CREATE_NEW, true);
        if (opened == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS)
            opened = OpenMarked(path, GENERIC_READ | GENERIC_WRITE, share, OPEN_ALWAYS, true);
    }
    return opened == INVALID_HANDLE_VALUE ? HFILE_ERROR : HandleToLong(opened);
}

HFILE OpenRecordFileForWriting(const char* path)
{
    ResetStreamFlags();
    ReleaseFileBlock();
    planFileHandle = HFILE_ERROR;
    recordFileRead = false;
    if (!path)
        return planFileHandle;
    // Another program reading it (its share mode under this server, its mark under
    // another): waited for as readers wait for a writer, and then said.
    for (const DWORD begin = GetTickCount(); (planFileHandle = OpenMarkedForWriting(path)) == HFILE_ERROR; Sleep(50)) {
        const DWORD error = GetLastError();
        recordFileRead = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
        if (!recordFileRead || GetTickCount() - begin >= kRereadPatience)
            return planFileHandle;
    }
    recordFileRead = false;
    // Marked before it is cut, so that no instance reads or writes it meanwhile; then the
    // old content goes, so a shorter plan leaves nothing of the older file behind.
    if (!(_llseek(planFileHandle, 0, 0) == 0 && SetEndOfFile(LongToHandle(planFileHandle)))) {
        _lclose(planFileHandle);
        planFileHandle = HFILE_ERROR;
    }
    if (planFileHandle != HFILE_ERROR)
        StartBufferedFile(FileStreamMode::Writing);
    return planFileHandle;
}

bool ReadRecordFile(const char* path, const std::function<bool()>& read, const std::function<void()>& undo)
{
    // Held for writing by another program (its mark, or its share mode under this server):
    // waited for as a write met by a read is, and then said to be under way.
    for (const DWORD begin = GetTickCount(); OpenRecordFileForReading(path) == HFILE_ERROR; Sleep(50)) {
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_SHARING_VIOLATION)
            return false;
        if (GetTickCount() - begin >= kRereadPatience)
            return recordFileChanging = true, false;
    }
    std::vector<HeldMessageBox> boxes;
    for (const DWORD begin = GetTickCount();;) {
        HoldMessageBoxes(&boxes);
        const bool whole = read();
        HoldMessageBoxes(nullptr);
        WholeRead verdict = wholeReadStarted ? wholeRead.Finish(fileBlock + kKeptBytes) : WholeRead::Read;
        // Cut or unknown, and written lately: its writer may not be done.
        if (verdict == WholeRead::Read && !whole && wholeReadStarted && wholeRead.WrittenLately())
            verdict = WholeRead::Changing;
        if (verdict != WholeRead::Read) {
            undo();
            boxes.clear();
        }
        if (verdict == WholeRead::Changing && GetTickCount() - begin < kRereadPatience) {
            ReachReadStage(ReadStage::ReadingAgain);
            Sleep(50);
            if (StartWholeRead())
                continue;
            verdict = WholeRead::Failed;
        }
        recordFileChanging = verdict == WholeRead::Changing;
        CloseRecordFile();
        // Once the file is closed: a box waiting for the user keeps no save waiting.
        for (const HeldMessageBox& box : boxes)
            ShowMessageBox(box.owner, box.text.c_str(), box.caption.c_str(), box.flags);
        return verdict == WholeRead::Read;
    }
}

bool FlushRecordFile()
{
    FlushFileBlock();
    return !streamWriteFailed;
}

bool CloseRecordFile()
{
    bool ok = true;
    // Read again at once, as left here (Save, then Open or Revert).
    if (fileStreamMode == FileStreamMode::Writing && (ok = FlushRecordFile()))
        RememberFileLeft(LongToHandle(planFileHandle));
    ReleaseFileBlock();
    if (planFileHandle != HFILE_ERROR)
        ok = _lclose(planFileHandle) != HFILE_ERROR && ok;
    planFileHandle = HFILE_ERROR;
    return ok;
}
