// Records carved from blocks: each comes zeroed and aligned, is released on its own and
// counted off at once, and its memory is handed out again; the allocation-failure hook
// fails every size where it is told to.
#include "model/record_memory.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <stdint.h>
#include <string.h>
#include <vector>

TEST(RecordMemory, RecordsAreReleasedOneByOneAndTheirMemoryIsHandedOutAgain)
{
    const long before = LiveRecordCount();
    auto allocate = [](size_t size) {
        char* record = static_cast<char*>(AllocateRecord(size));
        EXPECT_NE(record, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(record) % 16, 0u);
        EXPECT_TRUE(std::all_of(record, record + size, [](char c) { return c == 0; })) << size;
        memset(record, 0xA5, size);
        return record;
    };
    // Several blocks' worth of a size, a small size, and one above what blocks are made for.
    for (size_t size : {1000, 24, 5000}) {
        std::vector<char*> records;
        for (int i = 0; i < 124; ++i)
            records.push_back(allocate(size));
        EXPECT_EQ(LiveRecordCount(), before + 124);
        for (size_t i = 0; i < records.size(); i += 2) {
            ReleaseRecord(records[i]);
            EXPECT_EQ(LiveRecordCount(), before + 123);
            char* again = allocate(size);
            if (size < 5000) {
                EXPECT_EQ(again, records[i]) << size;
            }
            records[i] = again;
        }
        for (char* record : records)
            ReleaseRecord(record);
        EXPECT_EQ(LiveRecordCount(), before);
    }
    FailRecordAllocationsAfter(2);
    void* kept[] = {AllocateRecord(40), AllocateRecord(4000)};
    EXPECT_EQ(AllocateRecord(40), nullptr);
    EXPECT_EQ(AllocateRecord(4000), nullptr);
    EXPECT_EQ(LiveRecordCount(), before + 2);
    FailRecordAllocationsAfter(-1);
    for (void* record : kept) {
        EXPECT_NE(record, nullptr);
        ReleaseRecord(record);
    }
    EXPECT_EQ(LiveRecordCount(), before);
}
