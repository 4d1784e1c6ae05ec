#include "model/record_memory.h"
#include "model/plan_object.h"
#include <stdlib.h>
#include <string.h>

static long liveRecords = 0;
static long allocationsLeft = -1;

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
    void* block = calloc(1, size ? size : 1);
    if (block)
        ++liveRecords;
    return block;
}

void ReleaseRecord(void* record)
{
    if (!record)
        return;
    // The object lists remember ends and last vertices; none may outlive its record.
    ForgetRememberedRecord(record);
    --liveRecords;
    free(record);
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
