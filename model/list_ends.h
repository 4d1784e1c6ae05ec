#pragma once

// Remembered ends of the object lists and vertex chains, so that appending is constant
// time: plans hold up to hundreds of thousands of objects, a load appends every one of
// them to its floor between the parts and vertices of the one before, and the
// generators append thousands of parts and vertices to their owners. Any list can have
// its end remembered (a floor's objects, an owner's children or parts, an opening
// record's parts, a caller's own head variable, an object's vertex chain); it is keyed
// by the address of its head pointer.
//
// A remembered end is trusted only while the list still starts with the node it was
// remembered with and the end is still linked as that list's last (for a vertex, of its
// owner's chain); otherwise the list is walked and its end remembered again. Unlinking
// an object (ForgetListMember) moves the ends it is part of, a node appended to a list
// is forgotten as the end of any other, and releasing a record (ForgetRememberedRecord)
// forgets every end it is, so a remembered end is never a released record.

struct PlanObject;
struct PlanVertex;

// Links the object at the end of the list that starts at *first (its previous and next
// are set, *first too when the list was empty) and remembers it as the list's end.
void AppendListNode(PlanObject** first, PlanObject* object);
// The same for a vertex chain; first is the head field of the vertex's owner.
void AppendChainNode(PlanVertex** first, PlanVertex* vertex);

// Called before an object leaves its list: an end it is becomes its predecessor, a head
// it is becomes its successor.
void ForgetListMember(PlanObject* object);
// Called for every record released: forgets every end and head that is that record.
void ForgetRememberedRecord(const void* record);
