#include "files/record_stream.h"
#include <cstdlib>
#include <cstring>

HFILE planFileHandle = HFILE_ERROR;
uint8_t streamMemoryMode = 0;
uint8_t* streamBuffer = nullptr;
uint32_t streamPosition = 0;
uint32_t streamBufferLength = 0;
bool streamReadShort = false;
bool streamWriteFailed = false;

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

void WriteBytes(const void* data, uint32_t count)
{
    if (!streamMemoryMode) {
        if (count == 0)
            return;
        UINT written = _lwrite(planFileHandle, static_cast<LPCCH>(data), count);
        if (written != count)
            streamWriteFailed = true;
        return;
    }
    // Memory mode grows the block write by write; a failed growth keeps the old block
    // and marks the whole copy as failed.
    uint64_t needed = (uint64_t)streamPosition + count;
    if (needed > 0xFFFFFFFFull) {
        streamWriteFailed = true;
        return;
    }
    if (!streamBuffer) {
        uint8_t* block = static_cast<uint8_t*>(std::calloc(needed ? (size_t)needed : 1, 1));
        if (!block) {
            streamWriteFailed = true;
            return;
        }
        streamBuffer = block;
        streamBufferLength = (uint32_t)needed;
    } else if (needed > streamBufferLength) {
        uint8_t* block = static_cast<uint8_t*>(std::realloc(streamBuffer, (size_t)needed));
        if (!block) {
            streamWriteFailed = true;
            return;
        }
        streamBuffer = block;
        streamBufferLength = (uint32_t)needed;
    }
    if (count)
        std::memcpy(streamBuffer + streamPosition, data, count);
    streamPosition += count;
}

void ReadBytes(void* dest, uint32_t count)
{
    if (!dest || count == 0)
        return;
    if (!streamMemoryMode) {
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

void WriteU16BigEndian(uint16_t value)
{
    uint8_t b[2] = {(uint8_t)(value >> 8), (uint8_t)value};
    WriteBytes(b, 2);
}

void WriteU32BigEndian(uint32_t value)
{
    uint8_t b[4] = {(uint8_t)(value >> 24), (uint8_t)(value >> 16), (uint8_t)(value >> 8), (uint8_t)value};
    WriteBytes(b, 4);
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
    ReadBytes(b, 2);
    *dest = (uint16_t)((b[0] << 8) | b[1]);
}

void ReadU32BigEndian(uint32_t* dest)
{
    if (!dest)
        return;
    uint32_t v = *dest;
    uint8_t b[4] = {(uint8_t)(v >> 24), (uint8_t)(v >> 16), (uint8_t)(v >> 8), (uint8_t)v};
    ReadBytes(b, 4);
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
    LONG here = _llseek(file, 0, 1);
    LONG end = _llseek(file, 0, 2);
    _llseek(file, here, 0);
    return end;
}

LONG GetFilePosition(HFILE file)
{
    return _llseek(file, 0, 1);
}

uint32_t StreamBytesRemaining()
{
    if (streamMemoryMode)
        return streamPosition < streamBufferLength ? streamBufferLength - streamPosition : 0;
    if (planFileHandle == HFILE_ERROR)
        return 0;
    LONG end = GetFileSize(planFileHandle);
    LONG here = GetFilePosition(planFileHandle);
    if (end == HFILE_ERROR || here == HFILE_ERROR || here >= end)
        return 0;
    return (uint32_t)(end - here);
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
    planFileHandle = path ? _lopen(path, OF_READ | OF_SHARE_DENY_WRITE) : HFILE_ERROR;
    return planFileHandle;
}

HFILE OpenRecordFileForWriting(const char* path)
{
    ResetStreamFlags();
    planFileHandle = HFILE_ERROR;
    if (!path)
        return planFileHandle;
    planFileHandle = _lopen(path, OF_WRITE | OF_SHARE_EXCLUSIVE);
    if (planFileHandle != HFILE_ERROR) {
        // Cut the old content so a shorter plan leaves nothing of the older file behind.
        HANDLE h = LongToHandle(planFileHandle);
        if (_llseek(planFileHandle, 0, 0) == 0 && SetEndOfFile(h))
            return planFileHandle;
        _lclose(planFileHandle);
    }
    planFileHandle = _lcreat(path, 0);
    return planFileHandle;
}

bool CloseRecordFile()
{
    bool ok = true;
    if (planFileHandle != HFILE_ERROR)
        ok = _lclose(planFileHandle) != HFILE_ERROR;
    planFileHandle = HFILE_ERROR;
    return ok;
}
