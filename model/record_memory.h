#pragma once
#include <stddef.h>

// Every record of the plan (documents, floors, objects, vertices, link records,
// heap texts) is allocated zeroed through AllocateRecord and released through
// ReleaseRecord, whichever module made it: FreeObject releases link records made by
// the readers and the tools, so all of them must come from the same heap. Small records
// are carved from larger blocks, but each is still released on its own and its memory
// handed out again. The live count lets a test prove that a create/free cycle leaves
// nothing behind.

// Returns a zeroed record of the given size (16-byte aligned), or null when memory runs
// out.
void* AllocateRecord(size_t size);
// Releases a block of AllocateRecord; null is allowed.
void ReleaseRecord(void* record);
// Heap copy of a NUL-terminated text (AllocateRecord), null for null or on failure.
char* DuplicateRecordText(const char* text);

// Number of records handed out and not yet released.
long LiveRecordCount();

// Lets a test run a road out of memory: after `count` more records every allocation
// fails, until it is called again with a negative count (the default: never fail).
void FailRecordAllocationsAfter(long count);

// Typed helper: a zeroed T, or null.
template <typename T>
inline T* AllocateRecordOf() { return static_cast<T*>(AllocateRecord(sizeof(T))); }
