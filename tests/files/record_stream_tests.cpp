#include <gtest/gtest.h>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>
#include "files/record_stream.h"
#include "files/whole_reads.h"
#include "support/test_support.h"

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes WriteToFile(const char* path, void (*writer)())
{
    EXPECT_NE(HFILE_ERROR, OpenRecordFileForWriting(path));
    writer();
    EXPECT_TRUE(CloseRecordFile());
    return vtest::ReadFileBytes(path);
}

void StartMemoryWrite()
{
    std::free(streamBuffer);
    streamBuffer = nullptr;
    streamBufferLength = 0;
    streamMemoryMode = 1;
    streamPosition = 0;
    ResetStreamFlags();
}

void EndMemoryMode()
{
    streamMemoryMode = 0;
    streamPosition = 0;
}

} // namespace

TEST(RecordStream, TypedWritersAreBigEndian)
{
    Bytes got = WriteToFile("typed.bin", [] {
        WriteU16BigEndian(0x1234);
        WriteFloatBigEndian(1.0f);
        WriteU32BigEndian(10410);
        WriteU16BigEndian((uint16_t)(int16_t)-1);
        WriteFloatBigEndian(-2.5f);
    });
    Bytes want = {0x12, 0x34, 0x3F, 0x80, 0, 0, 0, 0, 0x28, 0xAA, 0xFF, 0xFF, 0xC0, 0x20, 0, 0};
    EXPECT_EQ(want, got);
}

TEST(RecordStream, RawBlocksKeepTheirLittleEndianLayout)
{
    Bytes got = WriteToFile("raw.bin", [] {
        uint8_t block[6];
        PutLE16(block, 0x1234);
        PutLE32(block + 2, 0xA1B2C3D4u);
        WriteBytes(block, sizeof block);
    });
    Bytes want = {0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1};
    EXPECT_EQ(want, got);
    uint8_t f[4];
    PutLEFloat(f, 1.0f);
    EXPECT_EQ(0x3F800000u, GetLE32(f));
    EXPECT_EQ(1.0f, GetLEFloat(f));
}

TEST(RecordStream, ByteOrderRoutines)
{
    EXPECT_EQ(0x3412, SwapBytes16(0x1234));
    EXPECT_EQ(0x78563412u, SwapBytes32(0x12345678u));
    float one = 1.0f, swapped = SwapFloatBytes(one);
    uint32_t bits;
    std::memcpy(&bits, &swapped, 4);
    EXPECT_EQ(0x0000803Fu, bits);
    EXPECT_EQ(one, SwapFloatBytes(swapped));
}

TEST(RecordStream, ReadersMirrorTheWritersAndStopAtTheEnd)
{
    vtest::WriteFileBytes("in.bin", {0x12, 0x34, 0x00, 0x00, 0x28, 0xAA, 0x3F, 0x80, 0x00, 0x00, 0x77});
    ASSERT_NE(HFILE_ERROR, OpenRecordFileForReading("in.bin"));
    EXPECT_EQ(11, GetFileSize(planFileHandle));
    uint16_t a = 0;
    uint32_t b = 0;
    float c = 0;
    ReadU16BigEndian(&a);
    ReadU16BigEndian(nullptr); // consumes nothing
    EXPECT_EQ(2, GetFilePosition(planFileHandle));
    ReadU32BigEndian(&b);
    ReadFloatBigEndian(&c);
    EXPECT_EQ(0x1234, a);
    EXPECT_EQ(10410u, b);
    EXPECT_EQ(1.0f, c);
    EXPECT_EQ(1u, StreamBytesRemaining());
    EXPECT_FALSE(streamReadShort);

    // One byte left: a u32 read gets it and keeps the other bytes of the destination.
    uint32_t d = 0x11223344u;
    ReadU32BigEndian(&d);
    EXPECT_EQ(0x77223344u, d);
    EXPECT_TRUE(streamReadShort);
    uint16_t e = 0xBEEF;
    ReadU16BigEndian(&e);
    EXPECT_EQ(0xBEEF, e);
    EXPECT_EQ(0u, StreamBytesRemaining());
    EXPECT_TRUE(CloseRecordFile());
}

TEST(RecordStream, MissingFileCannotBeOpened)
{
    EXPECT_EQ(HFILE_ERROR, OpenRecordFileForReading("nothing-here.bin"));
    EXPECT_EQ(HFILE_ERROR, planFileHandle);
}

// Another Wine server's instance is seen by its mark alone: what it writes is not read; neither what it reads nor cut.
TEST(RecordStream, AFileAnotherInstanceWritesOrReadsIsSeenByItsMark)
{
    for (DWORD writing : {0, 1}) {
        vtest::WriteFileBytes("held.bin", Bytes(4, 7));
        HANDLE other = CreateFileA("held.bin", GENERIC_READ | (writing ? GENERIC_WRITE : 0), 7, 0, OPEN_EXISTING, 0, 0);
        OVERLAPPED mark = {0, 0, {{0, 0x40000000}}};
        ASSERT_TRUE(LockFileEx(other, writing * LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &mark));
        EXPECT_EQ(!writing, OpenRecordFileForReading("held.bin") != HFILE_ERROR && CloseRecordFile());
        EXPECT_TRUE(OpenRecordFileForWriting("held.bin") == HFILE_ERROR && vtest::ReadFileBytes("held.bin") == Bytes(4, 7));
        CloseHandle(other);
    }
}

// Reads are judged by the change, which no writer sets (the last write only where none is kept); a date not yet
// reached asks a second read but is no sign of a writer at work. A read waits the settling span from the latest moment
// the change may have been made; dates that cannot show a write (to the hundredth of a second or coarser, none kept or
// one behind the last write, or not yet reached) wait the whole span from the read's end, whatever their age, and are read again.
TEST(RecordStream, DatesJudgedByTheChangeThatNoWriterSets)
{
    const uint64_t now = FileClock(), old = now - 36000000000ull, ahead = now + 864000000000ull, just = now - 100000;
    const uint64_t second = now / 10000000 * 10000000 - 10000000;   // whole, 1-2 s ago
    const struct { uint64_t written, changed; bool mayHide, lately, waits; } rows[] = {
        {old, just, true, true, true}, {ahead, now - 50000000, true, false, false}, {old, ahead, true, false, true},
        {just, 0, true, true, true}, {ahead, 0, true, false, true}, {old, now + 50000000, true, false, true},
        {old, second, true, true, true}, {old, second - 30000000, true, false, true},
        {second - 30000000, second - 30000000, true, false, true}, {old + 1, old, true, false, true},
        {old + 1, old + 1, false, false, false}, {old / 100000 * 100000, old / 100000 * 100000, true, false, true}};
    for (const auto& row : rows)
        EXPECT_TRUE(DateMayHideWrite({0, row.written, row.changed}, now) == row.mayHide &&
                    WrittenLately({0, row.written, row.changed}) == row.lately &&
                    SettlingWait({0, row.written, row.changed}, now) == (row.waits ? kSettleSpan : 0)) << &row - rows;
}

// The settling wait watches the file as real time passes: a writer's next block 100 ms on sends the read again (a wait
// that slept no span would take it; a slow machine's writer, late past the span, asks another try), and a file that a
// change a day ahead left and that moved since is sent again at its first look, before any span is slept.
TEST(RecordStream, TheSettlingWaitWatchesTheFileAsTimePasses)
{
    int seen = 0;
    for (int attempt = 0; attempt < 5 && !seen; ++attempt) {
        std::ofstream("settle.bin") << "first";   // not as the test's own file (WriteFileBytes): another program's
        HANDLE file = CreateFileA("settle.bin", GENERIC_READ, 7, nullptr, OPEN_EXISTING, 0, nullptr);
        FileState before;
        ASSERT_TRUE(TakeFileState(file, &before));
        std::atomic<bool> written{false};
        std::thread writer([&] { Sleep(100), std::ofstream("settle.bin") << "again", written = true; });
        const bool settled = StaysSettled(file, before), late = !written;
        writer.join();
        EXPECT_TRUE(!settled || late) << attempt;
        seen += !settled;
        before.changed = FileClock() + 864000000000ull;
        const DWORD begin = GetTickCount();
        EXPECT_FALSE(StaysSettled(file, before));
        EXPECT_LT(GetTickCount() - begin, kSettleSpan);   // looked at before any sleep, so no span, let alone a day
        CloseHandle(file);
    }
    EXPECT_EQ(1, seen);
}

TEST(RecordStream, OverwritingALongerFileLeavesNoTail)
{
    vtest::WriteFileBytes("over.bin", Bytes(100, 0xEE));
    Bytes got = WriteToFile("over.bin", [] { WriteU16BigEndian(400); });
    EXPECT_EQ((Bytes{0x01, 0x90}), got);
}

TEST(RecordStream, WriteToAReadOnlyHandleIsDetected)
{
    vtest::WriteFileBytes("ro.bin", Bytes(4, 0));
    ASSERT_NE(HFILE_ERROR, OpenRecordFileForReading("ro.bin"));
    WriteU32BigEndian(1);
    EXPECT_TRUE(streamWriteFailed);
    CloseRecordFile();
    EXPECT_EQ(Bytes(4, 0), vtest::ReadFileBytes("ro.bin"));
}

TEST(RecordStream, MemoryModeGrowsAndReadsBack)
{
    StartMemoryWrite();
    const uint8_t first[3] = {1, 2, 3};
    const uint8_t second[5] = {4, 5, 6, 7, 8};
    WriteBytes(first, 3);
    WriteBytes(second, 5);
    EXPECT_EQ(8u, streamPosition);
    EXPECT_EQ(8u, streamBufferLength);
    EXPECT_FALSE(streamWriteFailed);

    streamPosition = 0;
    uint8_t back[8] = {};
    ReadBytes(back, 8);
    EXPECT_EQ(0, std::memcmp(back, "\1\2\3\4\5\6\7\10", 8));
    EXPECT_FALSE(streamReadShort);
    EXPECT_EQ(0u, StreamBytesRemaining());

    // Past the block's end a read behaves like a read at the end of a file.
    uint16_t keep = 0xCAFE;
    ReadU16BigEndian(&keep);
    EXPECT_EQ(0xCAFE, keep);
    EXPECT_TRUE(streamReadShort);
    EXPECT_EQ(8u, streamPosition);

    streamPosition = 6;
    uint32_t partial = 0;
    ReadU32BigEndian(&partial);
    EXPECT_EQ(0x07080000u, partial);
    EndMemoryMode();
}

TEST(RecordStream, MemoryModeTypedRoundTrip)
{
    StartMemoryWrite();
    WriteU32BigEndian(10410);
    WriteU16BigEndian(2);
    WriteFloatBigEndian(96.0f);
    EXPECT_EQ(10u, streamBufferLength);
    EXPECT_EQ(0x28AA, (streamBuffer[2] << 8) | streamBuffer[3]);
    streamPosition = 0;
    uint32_t v = 0;
    uint16_t w = 0;
    float h = 0;
    ReadU32BigEndian(&v);
    ReadU16BigEndian(&w);
    ReadFloatBigEndian(&h);
    EXPECT_EQ(10410u, v);
    EXPECT_EQ(2, w);
    EXPECT_EQ(96.0f, h);
    EndMemoryMode();
}

TEST(RecordStream, MemoryBlockThatCannotGrowFailsTheCopy)
{
    StartMemoryWrite();
    WriteU32BigEndian(1);
    // A block that would pass 4 GB cannot be made: the write is dropped and marked.
    streamPosition = 0xFFFFFFF0u;
    uint8_t data[32] = {};
    WriteBytes(data, sizeof data);
    EXPECT_TRUE(streamWriteFailed);
    EXPECT_EQ(4u, streamBufferLength);
    EXPECT_EQ(0xFFFFFFF0u, streamPosition);
    EndMemoryMode();
}
