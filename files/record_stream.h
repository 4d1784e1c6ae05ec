#pragma once
// The one record stream of the program: plan, symbol, model and exchange files and the
// in-process copy buffer all travel through it. Typed numbers are big-endian on the
// stream; raw blocks are the little-endian layout of the old 32-bit records.
#include <windows.h>
#include <cstdint>
#include <functional>

// Process-wide stream state: one current stream at a time.
extern HFILE planFileHandle;       // the open file of file mode, HFILE_ERROR when none
extern uint8_t streamMemoryMode;   // 0 file mode, 1 memory mode
extern uint8_t* streamBuffer;      // the memory block of memory mode, null until the first write
extern uint32_t streamPosition;    // write end while writing, read cursor while reading
extern uint32_t streamBufferLength; // bytes held by streamBuffer (reads never pass it)

// Sticky failure flags, cleared by ResetStreamFlags (and by the open helpers): a read that
// delivered fewer bytes than asked, a write that lost bytes (failed _lwrite, failed growth).
extern bool streamReadShort;
extern bool streamWriteFailed;
void ResetStreamFlags();
// Set by ReadRecordFile where it refused a file that changed at every read: another
// program is saving it.
extern bool recordFileChanging;
// Set by OpenRecordFileForWriting where another program read the file all along, for as
// long as readers wait for a writer: the save says so.
extern bool recordFileRead;
// True when at least `count` bytes remain to be read; otherwise the stream is marked
// damaged (a count or length larger than the data) and the result is false. Readers call
// it before allocating or looping on a count taken from the data.
bool RequireStreamBytes(uint64_t count);
inline void MarkStreamDamaged() { streamReadShort = true; }
inline bool StreamDamaged() { return streamReadShort; }

// Writers of the current stream.
void WriteU16BigEndian(uint16_t value);
void WriteU32BigEndian(uint32_t value);
void WriteFloatBigEndian(float value);
void WriteBytes(const void* data, uint32_t count);

// Readers: a null destination reads and consumes nothing; at the end of the data the rest
// of the destination keeps what it held.
void ReadU16BigEndian(uint16_t* dest);
void ReadU32BigEndian(uint32_t* dest);
void ReadFloatBigEndian(float* dest);
void ReadBytes(void* dest, uint32_t count);

uint16_t SwapBytes16(uint16_t value);
uint32_t SwapBytes32(uint32_t value);
float SwapFloatBytes(float value);

// Length and position of an open file (legacy handle). For the record file opened by the
// helpers below they are the logical ones: the file's length taken at open and the offset
// of the next byte read, or what has been written so far, buffered or not.
LONG GetFileSize(HFILE file);
LONG GetFilePosition(HFILE file);

// Steps the read position back over bytes just read (at most those of the last read, and
// of a file at most 16); a reader that looked ahead gives them back.
void RewindRecordStream(uint32_t count);

// Bytes left to read in the current stream: up to the end of the file in file mode, up to
// the block's length in memory mode. Readers check every count and length against it
// before allocating.
uint32_t StreamBytesRemaining();

// Opening as every record reader and writer does it. Reading: shared read, deny write.
// Writing: exclusive write access; an existing file is truncated first so that no tail of
// an older, longer file stays behind the new end tag; created when missing. Each also
// marks the file (files/file_marks.h), read or written, so that instances under other
// Wine servers or on other machines keep to the same: a file another instance writes is
// not opened, nor one that another instance reads or writes opened for writing.
// Both return planFileHandle (HFILE_ERROR on failure) and reset the stream flags. A file
// opened for reading is read part by part, a megabyte at a time, as the readers go; what
// they read is judged whole or not by ReadRecordFile. A file opened for writing is
// written through a block of a megabyte: the writes collect in it and go out when it is
// full, at a flush and at the close.
HFILE OpenRecordFileForReading(const char* path);
HFILE OpenRecordFileForWriting(const char* path);
// Opens a record file for reading, has `read` read it from its start and closes it; only
// a read that no write met is taken (files/whole_reads.h). One that a write may have met
// is undone by `undo`, which gives back all that `read` did, and made again, and so is one
// that `read` finds cut or of an unknown format (returning false) while the file was
// written lately: another program may still be writing it. One that a write met at every
// read for three seconds, or that another program held for writing all along, is refused,
// with recordFileChanging set. The boxes that only
// tell, which `read` asks for, are shown once, after the close, and only for the read
// taken. True when `read` ran over the file as it stood: its own verdict on the bytes
// holds.
bool ReadRecordFile(const char* path, const std::function<bool()>& read, const std::function<void()>& undo);
// Sends what the writers collected to the file; false when any write of the file failed.
bool FlushRecordFile();
// Flushes a file being written and closes it. False when a write or the close failed:
// the file on disk is then not what was written.
bool CloseRecordFile();

// The call that hands a block of bytes to the open file (_lwrite unless replaced). Tests
// put a failing one in to stand for a full disk; null puts _lwrite back.
typedef UINT (WINAPI* RecordFileWriteFunction)(HFILE file, const void* data, UINT count);
void SetRecordFileWriteFunction(RecordFileWriteFunction function);

// Raw little-endian fields inside in-memory images of the old records.
inline uint16_t GetLE16(const uint8_t* p) { return (uint16_t)(p[0] | (p[1] << 8)); }
inline uint32_t GetLE32(const uint8_t* p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}
inline void PutLE16(uint8_t* p, uint16_t v) { p[0] = (uint8_t)v; p[1] = (uint8_t)(v >> 8); }
inline void PutLE32(uint8_t* p, uint32_t v)
{
    p[0] = (uint8_t)v; p[1] = (uint8_t)(v >> 8); p[2] = (uint8_t)(v >> 16); p[3] = (uint8_t)(v >> 24);
}
float GetLEFloat(const uint8_t* p);
void PutLEFloat(uint8_t* p, float v);
