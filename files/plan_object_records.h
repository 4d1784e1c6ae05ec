#pragma once
// One object record of the plan body: the object header, its point list and the extras
// of its type (a wall's openings, a deck's parts, a dimension's label, an image's picture
// path, a text's text and font). Typed numbers big-endian, raw blocks little-endian.
#include <windows.h>
#include <cstdint>

struct PlanObject;
struct PlanFloor;
struct PlanVertex;
struct OpeningRecord;

const uint32_t kObjectHeaderCommonBytes = 81;
const uint32_t kPointCommonBytes = 89;
const uint32_t kOpeningBlockBytes = 60;
const uint32_t kLogFontBytes = 60;

// Byte counts of the version-dependent parts.
uint32_t ObjectHeaderTailBytes(uint32_t version);
uint32_t PointTailBytes(uint32_t version);

// Reads one object record (the tag already consumed), links it to the floor when
// `attach` is set and rebuilds what is generated from it. Null when it could not be made
// (the stream is then marked damaged).
PlanObject* ReadPlanObject(PlanFloor* floor, bool attach);
// Steps shared by the plan, model and symbol readers: creation, header, points, plant
// data, attachment, extents, extras, selection while importing, projection and texture
// coordinates (not for groups). No rebuilds.
PlanObject* ReadPlanObjectBase(PlanFloor* floor, bool attach);

void ReadObjectHeader(PlanObject* object);
void ReadObjectPoints(PlanObject* object);
void ReadObjectExtras(PlanObject* object, PlanFloor* floor);
// Reads a text object's text, alignment and font and returns its edit window (or null
// when no window could be made; the bytes are consumed either way).
HWND ReadTextObject(PlanObject* object);

// Writes tag 200 and the record, then the children that follow it. The object's
// projection box and texture coordinates are first made current, as a reader makes them.
void WritePlanObject(PlanObject* object);
void WriteObjectHeader(const PlanObject* object);
void WriteObjectPoints(const PlanObject* object);
void WriteObjectExtras(PlanObject* object);
// A text object's extras alone: text, skipped block, alignment and font.
void WriteTextObjectExtras(PlanObject* object);

// The raw 60-byte opening block: the segment's vertices travel as indexes in the owner's
// chain. A reference found nowhere is stored as 0; an index found nowhere reads back as
// the owner's first vertex.
void PartPointRefsToIndexes(const OpeningRecord* record, const PlanObject* owner,
                            uint32_t* startIndex, uint32_t* endIndex);
void PartPointIndexesToRefs(OpeningRecord* record, const PlanObject* owner,
                            uint32_t startIndex, uint32_t endIndex);
void EncodeOpeningBlock(const OpeningRecord* record, const PlanObject* owner, uint8_t* block);
void DecodeOpeningBlock(const uint8_t* block, const PlanObject* owner, OpeningRecord* record);

// A dimension read as a member of a group finds its label loose on the floor (the
// grouping by selection sees only the objects of the floor lists): the two are put in a
// group of their own, returned to take the dimension's place among the members. Anything
// else comes back unchanged.
PlanObject* GroupDimensionMember(PlanObject* dimension);

// Version 10350 decks: turn the deck-part flags of segment a-b into a deck-steps part.
void UpgradeDeckSegmentParts(PlanObject* deck, PlanVertex* a, PlanVertex* b);

// Category bit given to objects of files older than 10400, by type.
uint32_t DefaultCategoryForType(uint16_t type);
