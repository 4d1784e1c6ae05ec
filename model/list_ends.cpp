#include "model/list_ends.h"
#include "model/plan_object.h"
#include <stdint.h>
#include <stdlib.h>

// Two levels. The lists being appended to right now sit in a few slots scanned first (a
// load or a generator appends to a handful of lists in turn). A list that lost its slot
// to others and then needed a long walk to find its end again is one appended between
// many others, like a floor's objects between the parts of each wall: from then on its
// end lives in a table keyed by its head pointer, with a second table from each head
// and end node back to it, so that releasing or unlinking a node finds its entry at
// once. So no list is walked far twice unless its end was changed by hand, and the
// lists built in one go, most of them, never cost a table entry. The tables come from
// the C heap, not from the records: when they cannot grow, the end stays in a slot.
namespace {

// A walk of this many steps or more makes the list's end worth a table entry.
const uint32_t kLongWalk = 8;

struct ListEnd {
    void* head;     // the list's first node when the end was remembered
    void* last;     // its last node
};

// Open addressing with linear probing from pointer keys; at most half full, so a probe
// always meets an empty slot. Erasing shifts the following slots back rather than
// leaving tombstones.
template <class Value>
class PointerTable {
public:
    Value* Find(const void* key)
    {
        if (!count)
            return nullptr;
        for (size_t i = Home(key);; i = (i + 1) & mask) {
            if (slots[i].key == key)
                return &slots[i].value;
            if (!slots[i].key)
                return nullptr;
        }
    }

    // Room for `more` keys; false when the table cannot grow.
    bool Reserve(size_t more)
    {
        size_t capacity = slots ? mask + 1 : 64;
        while ((count + more) * 2 > capacity)
            capacity *= 2;
        if (slots && capacity == mask + 1)
            return true;
        Slot* grown = static_cast<Slot*>(calloc(capacity, sizeof(Slot)));
        if (!grown)
            return false;
        Slot* old = slots;
        size_t oldCapacity = slots ? mask + 1 : 0;
        slots = grown;
        mask = capacity - 1;
        count = 0;
        for (size_t i = 0; i < oldCapacity; ++i)
            if (old[i].key)
                *Put(old[i].key) = old[i].value;
        free(old);
        return true;
    }

    // The value of the key, added when missing; Reserve must have made room before.
    Value* Put(const void* key)
    {
        size_t i = Home(key);
        while (slots[i].key && slots[i].key != key)
            i = (i + 1) & mask;
        if (!slots[i].key) {
            slots[i].key = key;
            slots[i].value = Value();
            ++count;
        }
        return &slots[i].value;
    }

    void Erase(const void* key)
    {
        if (!count)
            return;
        size_t i = Home(key);
        while (slots[i].key != key) {
            if (!slots[i].key)
                return;
            i = (i + 1) & mask;
        }
        // Close the gap: a later key moves back unless its home lies after the gap.
        for (size_t j = (i + 1) & mask; slots[j].key; j = (j + 1) & mask) {
            size_t home = Home(slots[j].key);
            bool stays = i <= j ? (i < home && home <= j) : (i < home || home <= j);
            if (stays)
                continue;
            slots[i] = slots[j];
            i = j;
        }
        slots[i].key = nullptr;
        --count;
    }

private:
    struct Slot {
        const void* key;
        Value value;
    };

    size_t Home(const void* key) const
    {
        uint64_t h = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(key)) * 0x9E3779B97F4A7C15ull;
        return static_cast<size_t>(h >> 32) & mask;
    }

    Slot* slots = nullptr;
    size_t mask = 0;
    size_t count = 0;
};

// The lists being built: head pointer, first node, last node and last use of each,
// side by side so that looking a node up is a few comparisons of a cache line.
const int kRecentEnds = 8;
struct RecentEnds {
    const void* first[kRecentEnds];
    void* head[kRecentEnds];
    void* last[kRecentEnds];
    uint32_t used[kRecentEnds];
};
RecentEnds recent;
uint32_t useClock = 0;

void ClearRecent(int i)
{
    recent.first[i] = nullptr;
    recent.head[i] = nullptr;
    recent.last[i] = nullptr;
    recent.used[i] = 0;
}

PointerTable<ListEnd> farEnds;          // head pointer -> its list's ends
PointerTable<const void*> farNodes;     // head or end node -> the head pointer it serves

// The slot of the head pointer, or -1.
int FindRecent(const void* first)
{
    for (int i = 0; i < kRecentEnds; ++i)
        if (recent.first[i] == first)
            return i;
    return -1;
}

void UnindexNode(void* node, const void* first)
{
    const void** owner = farNodes.Find(node);
    if (owner && *owner == first)
        farNodes.Erase(node);
}

void DropFar(const void* first)
{
    ListEnd* found = farEnds.Find(first);
    if (!found)
        return;
    ListEnd end = *found;
    farEnds.Erase(first);
    UnindexNode(end.head, first);
    UnindexNode(end.last, first);
}

// Indexes the node for the head pointer; an entry that claimed it before is stale (a
// node is in one list at a time) and goes.
void ClaimNode(void* node, const void* first)
{
    if (const void** owner = farNodes.Find(node)) {
        if (*owner == first)
            return;
        DropFar(*owner);
    }
    *farNodes.Put(node) = first;
}

// Stores the ends in the tables; false when they cannot grow (the head pointer then has
// no entry there at all).
bool StoreFar(const void* first, void* head, void* last)
{
    if (!farEnds.Reserve(1) || !farNodes.Reserve(2)) {
        DropFar(first);
        return false;
    }
    if (ListEnd* old = farEnds.Find(first)) {
        ListEnd before = *old;
        if (before.head != head && before.head != last)
            UnindexNode(before.head, first);
        if (before.last != last && before.last != head)
            UnindexNode(before.last, first);
    }
    ClaimNode(head, first);
    ClaimNode(last, first);
    *farEnds.Put(first) = ListEnd{head, last};
    return true;
}

bool IsOwnEnd(PlanObject**, PlanObject*)
{
    return true;
}

// A vertex chain is keyed by its owner's head field: a vertex moved to another object
// by hand is no end of this chain.
bool IsOwnEnd(PlanVertex** first, PlanVertex* last)
{
    return last->owner && &last->owner->firstVertex == first;
}

// Forgets every end and head that is the node: it is released, or it joins a list and so
// has left any other.
void ForgetNode(const void* node)
{
    bool recentNode = false;
    for (int i = 0; i < kRecentEnds; ++i)
        recentNode |= (recent.head[i] == node) | (recent.last[i] == node);
    if (recentNode)
        for (int i = 0; i < kRecentEnds; ++i)
            if (recent.head[i] == node || recent.last[i] == node)
                ClearRecent(i);
    if (const void** owner = farNodes.Find(node)) {
        const void* first = *owner;
        DropFar(first);
        farNodes.Erase(node);
    }
}

template <class Node>
bool IsLinkedEnd(Node** first, void* head, void* end)
{
    Node* last = static_cast<Node*>(end);
    if (!last || head != *first || last->next)
        return false;
    if (last->previous ? last->previous->next != last : *first != last)
        return false;
    return IsOwnEnd(first, last);
}

// Links the node at the end of the list and remembers it as the new end: in the list's
// slot, in the tables when it is there or when finding the end took a long walk,
// otherwise in the slot used longest ago.
template <class Node>
void AppendNode(Node** first, Node* node)
{
    ForgetNode(node);
    node->next = nullptr;
    Node* last = nullptr;
    uint32_t steps = 0;
    int slot = FindRecent(first);
    ListEnd* stored = slot >= 0 ? nullptr : farEnds.Find(first);
    if (Node* head = *first) {
        if (slot >= 0 && IsLinkedEnd(first, recent.head[slot], recent.last[slot])) {
            last = static_cast<Node*>(recent.last[slot]);
        } else if (stored && IsLinkedEnd(first, stored->head, stored->last)) {
            last = static_cast<Node*>(stored->last);
        } else {
            for (last = head; last->next; last = last->next)
                ++steps;
        }
    }
    node->previous = last;
    if (last)
        last->next = node;
    else
        *first = node;

    if (stored || steps >= kLongWalk) {
        if (slot >= 0)
            ClearRecent(slot);
        if (StoreFar(first, *first, node))
            return;
        slot = -1;
    }
    if (slot < 0) {
        slot = 0;
        for (int i = 1; i < kRecentEnds; ++i)
            if (recent.used[i] < recent.used[slot])
                slot = i;
    }
    recent.first[slot] = first;
    recent.head[slot] = *first;
    recent.last[slot] = node;
    recent.used[slot] = ++useClock;
}

} // namespace

void AppendListNode(PlanObject** first, PlanObject* object)
{
    AppendNode(first, object);
}

void AppendChainNode(PlanVertex** first, PlanVertex* vertex)
{
    AppendNode(first, vertex);
}

void ForgetListMember(PlanObject* object)
{
    for (int i = 0; i < kRecentEnds; ++i) {
        if (recent.head[i] == object) {
            if (object->next && recent.last[i] != object)
                recent.head[i] = object->next;
            else
                ClearRecent(i);
        }
        if (recent.last[i] == object) {
            if (object->previous)
                recent.last[i] = object->previous;
            else
                ClearRecent(i);
        }
    }
    const void** owner = farNodes.Find(object);
    if (!owner)
        return;
    const void* first = *owner;
    ListEnd* found = farEnds.Find(first);
    ListEnd end = found ? *found : ListEnd{};
    DropFar(first);
    farNodes.Erase(object);
    if (end.head == object)
        end.head = end.last != object ? object->next : nullptr;
    if (end.last == object)
        end.last = object->previous;
    if (end.head && end.last)
        StoreFar(first, end.head, end.last);
}

void ForgetRememberedRecord(const void* record)
{
    ForgetNode(record);
}

