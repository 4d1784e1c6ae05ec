#include "model/record_memory.h"
#include "model/list_ends.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

// Records of up to kLargestPooled bytes come from slabs that each hold records of one
// size class (the size rounded up to 16 bytes): a load makes hundreds of thousands of
// records, and a block of the C heap for each one cost more than all the reading. Every
// record has a header naming its slab, so it is still released on its own: it goes on
// its slab's free list and is handed out again. A slab whose records are all released
// is kept for any size class (up to kKeptSlabBytes in all): the C heap would hand a
// freed slab back to the system, and the next plan would pay a page fault for every
// page again. Larger blocks come from calloc, with the same header naming no slab.
namespace {

const size_t kGranule = 16;
const size_t kLargestPooled = 1024;
const size_t kSizeClasses = kLargestPooled / kGranule;
const size_t kSlabBytes = 64 * 1024;
const size_t kKeptSlabBytes = 256u * 1024 * 1024;

struct Slab;

// 16 bytes before every record, so that records keep the C heap's 16-byte alignment.
struct RecordHeader {
    Slab* slab;         // null for a block of the C heap
    void* reserved;
};

struct Slab {
    Slab* previous;     // in its size class's list of slabs with room
    Slab* next;
    char* released;     // released cells, chained through their first record bytes
    char* fresh;        // the first cell never handed out
    uint32_t sizeClass;
    uint32_t live;      // records handed out and not released
    uint32_t unused;    // cells from `fresh` on
    uint32_t capacity;
};

const size_t kSlabHead = (sizeof(Slab) + kGranule - 1) / kGranule * kGranule;

// Per size class: the slabs with a released or never used cell.
Slab* withRoom[kSizeClasses];
// Slabs without a live record, chained by next, and how many.
Slab* keptSlabs = nullptr;
size_t keptCount = 0;
long liveRecords = 0;
long allocationsLeft = -1;

size_t CellBytes(uint32_t sizeClass)
{
    return sizeof(RecordHeader) + (sizeClass + 1) * kGranule;
}

// Makes the slab an empty one of the size class.
void ResetSlab(Slab* slab, uint32_t sizeClass)
{
    slab->sizeClass = sizeClass;
    slab->capacity = static_cast<uint32_t>((kSlabBytes - kSlabHead) / CellBytes(sizeClass));
    slab->previous = slab->next = nullptr;
    slab->released = nullptr;
    slab->fresh = reinterpret_cast<char*>(slab) + kSlabHead;
    slab->live = 0;
    slab->unused = slab->capacity;
}

Slab* NewSlab(uint32_t sizeClass)
{
    Slab* slab = keptSlabs;
    if (slab) {
        keptSlabs = slab->next;
        --keptCount;
    } else {
        slab = static_cast<Slab*>(malloc(kSlabBytes));
        if (!slab)
            return nullptr;
    }
    ResetSlab(slab, sizeClass);
    return slab;
}

void LinkWithRoom(Slab* slab)
{
    Slab*& first = withRoom[slab->sizeClass];
    slab->previous = nullptr;
    slab->next = first;
    if (first)
        first->previous = slab;
    first = slab;
}

void UnlinkWithRoom(Slab* slab)
{
    if (slab->previous)
        slab->previous->next = slab->next;
    else
        withRoom[slab->sizeClass] = slab->next;
    if (slab->next)
        slab->next->previous = slab->previous;
    slab->previous = slab->next = nullptr;
}

char** ReleasedLink(char* cell)
{
    return reinterpret_cast<char**>(cell + sizeof(RecordHeader));
}

void* AllocatePooled(size_t size)
{
    uint32_t sizeClass = static_cast<uint32_t>(size ? (size - 1) / kGranule : 0);
    Slab* slab = withRoom[sizeClass];
    if (!slab) {
        slab = NewSlab(sizeClass);
        if (!slab)
            return nullptr;
        LinkWithRoom(slab);
    }
    char* cell;
    if (slab->released) {
        cell = slab->released;
        slab->released = *ReleasedLink(cell);
    } else {
        cell = slab->fresh;
        slab->fresh += CellBytes(sizeClass);
        slab->unused--;
    }
    slab->live++;
    if (!slab->released && !slab->unused)
        UnlinkWithRoom(slab);
    RecordHeader* header = reinterpret_cast<RecordHeader*>(cell);
    header->slab = slab;
    header->reserved = nullptr;
    void* record = cell + sizeof(RecordHeader);
    memset(record, 0, size);
    return record;
}

void ReleasePooled(Slab* slab, char* cell)
{
    bool full = !slab->released && !slab->unused;
    *ReleasedLink(cell) = slab->released;
    slab->released = cell;
    slab->live--;
    if (full)
        LinkWithRoom(slab);
    if (slab->live)
        return;
    UnlinkWithRoom(slab);
    if ((keptCount + 1) * kSlabBytes > kKeptSlabBytes) {
        free(slab);
        return;
    }
    slab->next = keptSlabs;
    keptSlabs = slab;
    ++keptCount;
}

} // namespace

void FailRecordAllocationsAfter(long count)
{
    allocationsLeft = count;
}

void* AllocateRecord(size_t size)
{
    if (allocationsLeft == 0)
        return nullptr;
    if (allocationsLeft > 0)
        --allocationsLeft;
    void* record;
    if (size <= kLargestPooled) {
        record = AllocatePooled(size);
    } else {
        if (size > SIZE_MAX - sizeof(RecordHeader))
            return nullptr;
        RecordHeader* header = static_cast<RecordHeader*>(calloc(1, sizeof(RecordHeader) + size));
        record = header ? header + 1 : nullptr;
    }
    if (record)
        ++liveRecords;
    return record;
}

void ReleaseRecord(void* record)
{
    if (!record)
        return;
    // The object lists remember ends and heads; none may outlive its record.
    ForgetRememberedRecord(record);
    --liveRecords;
    RecordHeader* header = static_cast<RecordHeader*>(record) - 1;
    if (header->slab)
        ReleasePooled(header->slab, reinterpret_cast<char*>(header));
    else
        free(header);
}

char* DuplicateRecordText(const char* text)
{
    if (!text)
        return nullptr;
    size_t length = strlen(text);
    char* copy = static_cast<char*>(AllocateRecord(length + 1));
    if (copy)
        memcpy(copy, text, length + 1);
    return copy;
}

long LiveRecordCount()
{
    return liveRecords;
}
