#include "files/plan_object_records.h"
#include "files/plan_file.h"
#include "files/record_stream.h"
#include "dialogs/plant_info.h"
#include "model/deck_parts.h"
#include "model/generated_children.h"
#include "model/object_copies.h"
#include "model/object_edit.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/texture_coords.h"
#include "model/units.h"
#include "planview/selection.h"
#include "shell/app_globals.h"
#include "tools/text_editing.h"
#include "tools/text_layout_font.h"
#include <cmath>
#include <cstring>
#include <vector>

static const ColourTriple kUnsetColour = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
static const ColourTriple kBlackColour = {0, 0, 0};

uint32_t ObjectHeaderTailBytes(uint32_t version)
{
    if (version >= PlanVersion10400)
        return 71;
    if (version >= PlanVersion10300)
        return 48;
    return 0;
}

uint32_t PointTailBytes(uint32_t version)
{
    if (version >= PlanVersion10400)
        return 44;
    if (version >= PlanVersion10350)
        return 24;
    if (version >= PlanVersion10300)
        return 16;
    return 0;
}

static uint32_t ObjectHeaderBytes(uint32_t version)
{
    return kObjectHeaderCommonBytes + ObjectHeaderTailBytes(version);
}

static uint32_t PointRecordBytes(uint32_t version)
{
    return kPointCommonBytes + PointTailBytes(version);
}

uint32_t DefaultCategoryForType(uint16_t type)
{
    switch (type) {
    case 14: case 32: case 33: case 34: case 35: case 41:
        return kCategoryRoof;
    case 21: case 22: case 23: case 24: case 25: case 26: case 27: case 28: case 30:
        return kCategoryGarden;
    case 51: case 53:
        return kCategoryDeck;
    default:
        return kCategoryFloorPlan;
    }
}

// ---------------------------------------------------------------------------------
// Small typed helpers.

static void ReadU8(uint8_t* dest)
{
    ReadBytes(dest, 1);
}

static void ReadI16(int16_t* dest)
{
    uint16_t v = (uint16_t)*dest;
    ReadU16BigEndian(&v);
    *dest = (int16_t)v;
}

static void ReadColour(ColourTriple* colour)
{
    ReadU16BigEndian(&colour->red);
    ReadU16BigEndian(&colour->green);
    ReadU16BigEndian(&colour->blue);
}

static void WriteColour(const ColourTriple& colour)
{
    WriteU16BigEndian(colour.red);
    WriteU16BigEndian(colour.green);
    WriteU16BigEndian(colour.blue);
}

static void WriteU8(uint8_t value)
{
    WriteBytes(&value, 1);
}

static void ReadFloats(float* values, int count)
{
    for (int i = 0; i < count; ++i)
        ReadFloatBigEndian(&values[i]);
}

static void WriteFloats(const float* values, int count)
{
    for (int i = 0; i < count; ++i)
        WriteFloatBigEndian(values[i]);
}

// Raw colour triples of a vertex: little-endian, as the old records lay in memory.
static void ReadRawColour(ColourTriple* colour)
{
    uint8_t raw[6];
    raw[0] = (uint8_t)colour->red; raw[1] = (uint8_t)(colour->red >> 8);
    raw[2] = (uint8_t)colour->green; raw[3] = (uint8_t)(colour->green >> 8);
    raw[4] = (uint8_t)colour->blue; raw[5] = (uint8_t)(colour->blue >> 8);
    ReadBytes(raw, 6);
    colour->red = GetLE16(raw);
    colour->green = GetLE16(raw + 2);
    colour->blue = GetLE16(raw + 4);
}

static void WriteRawColour(const ColourTriple& colour)
{
    uint8_t raw[6];
    PutLE16(raw, colour.red);
    PutLE16(raw + 2, colour.green);
    PutLE16(raw + 4, colour.blue);
    WriteBytes(raw, 6);
}

// The 60-byte Windows LOGFONT, field by field (LONG is 32 bits in the stored record).
static void EncodeLogFont(const LOGFONTA& font, uint8_t* raw)
{
    PutLE32(raw + 0, (uint32_t)font.lfHeight);
    PutLE32(raw + 4, (uint32_t)font.lfWidth);
    PutLE32(raw + 8, (uint32_t)font.lfEscapement);
    PutLE32(raw + 12, (uint32_t)font.lfOrientation);
    PutLE32(raw + 16, (uint32_t)font.lfWeight);
    raw[20] = font.lfItalic;
    raw[21] = font.lfUnderline;
    raw[22] = font.lfStrikeOut;
    raw[23] = font.lfCharSet;
    raw[24] = font.lfOutPrecision;
    raw[25] = font.lfClipPrecision;
    raw[26] = font.lfQuality;
    raw[27] = font.lfPitchAndFamily;
    std::memcpy(raw + 28, font.lfFaceName, 32);
}

static void DecodeLogFont(const uint8_t* raw, LOGFONTA* font)
{
    font->lfHeight = (LONG)GetLE32(raw + 0);
    font->lfWidth = (LONG)GetLE32(raw + 4);
    font->lfEscapement = (LONG)GetLE32(raw + 8);
    font->lfOrientation = (LONG)GetLE32(raw + 12);
    font->lfWeight = (LONG)GetLE32(raw + 16);
    font->lfItalic = raw[20];
    font->lfUnderline = raw[21];
    font->lfStrikeOut = raw[22];
    font->lfCharSet = raw[23];
    font->lfOutPrecision = raw[24];
    font->lfClipPrecision = raw[25];
    font->lfQuality = raw[26];
    font->lfPitchAndFamily = raw[27];
    std::memcpy(font->lfFaceName, raw + 28, 32);
    // A face name from a file is not trusted to end inside its buffer, nor to name a real
    // face: a copy's name meant the face it was made of in the run that stored it.
    font->lfFaceName[31] = '\0';
    ReplaceTextLayoutFace(font, false);
}

// Consumes `count` bytes of the stream (bounded by the caller's check).
static void SkipStreamBytes(uint32_t count)
{
    uint8_t scratch[256];
    while (count && !StreamDamaged()) {
        uint32_t n = count < sizeof scratch ? count : (uint32_t)sizeof scratch;
        ReadBytes(scratch, n);
        count -= n;
    }
}

static PlanObject* CreateEmptyObject(PlanFloor* floor)
{
    return CreateObject(0, 1, 0, &kUnsetColour, &kBlackColour, 1.0f, 0, 0, nullptr,
                        nullptr, nullptr, nullptr, floor, nullptr);
}

static void AppendChild(PlanObject* owner, PlanObject* child)
{
    child->owner = owner;
    AppendToObjectList(&owner->firstChild, child);
}

static PlanVertex* LastVertexOf(const PlanObject* object)
{
    PlanVertex* v = object->firstVertex;
    while (v && v->next)
        v = v->next;
    return v;
}

// ---------------------------------------------------------------------------------
// Object header.

void ReadObjectHeader(PlanObject* object)
{
    uint32_t version = planFileVersionRead;
    if (!object || !RequireStreamBytes(ObjectHeaderBytes(version)))
        return;
    ReadU16BigEndian(&object->type);
    ReadU8(&object->closed);
    ReadU8(&object->creationFlag);
    ReadColour(&object->colourA);
    ReadU16BigEndian(&object->colourM[0]);
    ReadU16BigEndian(&object->colourM[1]);
    ReadU16BigEndian(&object->colourM[2]);
    ReadColour(&object->colourB);
    ReadFloatBigEndian(&object->size);
    ReadU16BigEndian(&object->value1);
    ReadU16BigEndian(&object->value2);
    ReadU16BigEndian(&object->rows);
    ReadU32BigEndian(&object->vertexCount);
    ReadU8(&object->buildFlag);
    ReadI16(&object->winding);
    ReadU32BigEndian(&object->styleOrTexture);
    ReadBytes(object->textureBlock, 16);
    ReadBytes(object->textureBlock + 16, 16);
    ReadU16BigEndian(&object->projectionMode);
    ReadFloatBigEndian(&object->plantAge);

    if (version >= PlanVersion10400) {
        ReadU32BigEndian(&object->subType);
        ReadU32BigEndian(&object->imageId1);
        ReadU32BigEndian(&object->imageId2);
        ReadColour(&object->colour3);
        ReadColour(&object->colour4);
        ReadFloatBigEndian(&object->elevation);
        ReadU8(&object->onTerrain);
        ReadU32BigEndian(&object->value3);
        ReadColour(&object->colour5);
        ReadU32BigEndian(&object->category);
        ReadFloats(object->parameters, 5);
        ReadU32BigEndian(&object->offsetSide);
        ReadU32BigEndian(&object->value4);
        return;
    }
    if (version >= PlanVersion10300) {
        ReadU32BigEndian(&object->subType);
        ReadU32BigEndian(&object->imageId1);
        ReadU32BigEndian(&object->imageId2);
        ReadColour(&object->colour3);
        ReadColour(&object->colour4);
        ReadFloats(object->parameters, 4);
        ReadU32BigEndian(&object->offsetSide);
        ReadU32BigEndian(&object->value4);
    }
    // Older files knew neither elevations nor layers.
    object->elevation = 0.0f;
    object->onTerrain = 0;
    object->category = DefaultCategoryForType(object->type);
}

void WriteObjectHeader(const PlanObject* object)
{
    WriteU16BigEndian(object->type);
    WriteU8(object->closed);
    WriteU8(object->creationFlag);
    WriteColour(object->colourA);
    WriteU16BigEndian(object->colourM[0]);
    WriteU16BigEndian(object->colourM[1]);
    WriteU16BigEndian(object->colourM[2]);
    WriteColour(object->colourB);
    WriteFloatBigEndian(object->size);
    WriteU16BigEndian(object->value1);
    WriteU16BigEndian(object->value2);
    WriteU16BigEndian(object->rows);
    WriteU32BigEndian(object->vertexCount);
    WriteU8(object->buildFlag);
    WriteU16BigEndian((uint16_t)object->winding);
    WriteU32BigEndian(object->styleOrTexture);
    WriteBytes(object->textureBlock, 16);
    WriteBytes(object->textureBlock + 16, 16);
    WriteU16BigEndian(object->projectionMode);
    WriteFloatBigEndian(object->plantAge);
    // The writer only produces the current tail.
    WriteU32BigEndian(object->subType);
    WriteU32BigEndian(object->imageId1);
    WriteU32BigEndian(object->imageId2);
    WriteColour(object->colour3);
    WriteColour(object->colour4);
    WriteFloatBigEndian(object->elevation);
    WriteU8(object->onTerrain);
    WriteU32BigEndian(object->value3);
    WriteColour(object->colour5);
    WriteU32BigEndian(object->category);
    WriteFloats(object->parameters, 5);
    WriteU32BigEndian(object->offsetSide);
    WriteU32BigEndian(object->value4);
}

// ---------------------------------------------------------------------------------
// Points.

static void ReadPointRecord(PlanVertex* v, uint32_t version)
{
    ReadU16BigEndian(&v->kind);
    ReadU8(&v->selected);
    ReadU8(&v->selectable);
    ReadU8(&v->keepFlag);
    ReadFloats(v->inTangent, 3);
    ReadFloats(v->position, 3);
    ReadFloats(v->outTangent, 3);
    ReadFloats(v->extra, 3);
    ReadU32BigEndian(&v->faceTextureA);
    ReadU32BigEndian(&v->faceTextureB);
    ReadFloatBigEndian(&v->reserved1);
    ReadFloatBigEndian(&v->reserved2);
    ReadFloatBigEndian(&v->u);
    ReadFloatBigEndian(&v->v);
    ReadRawColour(&v->faceColourA);
    ReadRawColour(&v->faceColourB);

    if (version >= PlanVersion10400) {
        ReadFloatBigEndian(&v->segmentElevation);
        ReadU32BigEndian(&v->segmentStyle);
        ReadU16BigEndian(&v->segmentStyleExtra);
        ReadU16BigEndian(&v->alternationMarker);
        ReadU32BigEndian(&v->segmentFlags);
        ReadU32BigEndian(&v->faceFlagsA);
        ReadFloatBigEndian(&v->mainHeight);
        ReadFloatBigEndian(&v->angleA);
        ReadU32BigEndian(&v->faceFlagsB);
        ReadFloatBigEndian(&v->angleB);
        ReadFloatBigEndian(&v->heightC);
        ReadFloatBigEndian(&v->heightD);
    } else if (version >= PlanVersion10300) {
        ReadU32BigEndian(&v->segmentFlags);
        ReadU32BigEndian(&v->faceFlagsA);
        ReadFloatBigEndian(&v->mainHeight);
        ReadFloatBigEndian(&v->angleA);
        if (version >= PlanVersion10350) {
            ReadU32BigEndian(&v->faceFlagsB);
            ReadFloatBigEndian(&v->angleB);
        }
    }
}

static void WritePointRecord(const PlanVertex* v)
{
    WriteU16BigEndian(v->kind);
    WriteU8(v->selected);
    WriteU8(v->selectable);
    WriteU8(v->keepFlag);
    WriteFloats(v->inTangent, 3);
    WriteFloats(v->position, 3);
    WriteFloats(v->outTangent, 3);
    WriteFloats(v->extra, 3);
    WriteU32BigEndian(v->faceTextureA);
    WriteU32BigEndian(v->faceTextureB);
    WriteFloatBigEndian(v->reserved1);
    WriteFloatBigEndian(v->reserved2);
    WriteFloatBigEndian(v->u);
    WriteFloatBigEndian(v->v);
    WriteRawColour(v->faceColourA);
    WriteRawColour(v->faceColourB);
    WriteFloatBigEndian(v->segmentElevation);
    WriteU32BigEndian(v->segmentStyle);
    WriteU16BigEndian(v->segmentStyleExtra);
    WriteU16BigEndian(v->alternationMarker);
    WriteU32BigEndian(v->segmentFlags);
    WriteU32BigEndian(v->faceFlagsA);
    WriteFloatBigEndian(v->mainHeight);
    WriteFloatBigEndian(v->angleA);
    WriteU32BigEndian(v->faceFlagsB);
    WriteFloatBigEndian(v->angleB);
    WriteFloatBigEndian(v->heightC);
    WriteFloatBigEndian(v->heightD);
}

void ReadObjectPoints(PlanObject* object)
{
    if (!object)
        return;
    uint32_t version = planFileVersionRead;
    uint32_t count = 0;
    ReadU32BigEndian(&count);
    // The count comes from the file: it must fit in what the file still holds.
    if (StreamDamaged() || !RequireStreamBytes((uint64_t)count * PointRecordBytes(version)))
        return;
    bool deckUpgrade = version == PlanVersion10350 && object->type == ObjDeck;
    PlanVertex* previous = nullptr;
    for (uint32_t i = 0; i < count && !StreamDamaged(); ++i) {
        PlanVertex* v = NewVertexNode(1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, object);
        if (!v) {
            // Out of memory: keep the stream in step and give up on the file.
            PlanVertex scratch;
            std::memset(&scratch, 0, sizeof scratch);
            ReadPointRecord(&scratch, version);
            MarkStreamDamaged();
            break;
        }
        ReadPointRecord(v, version);
        AddObjectPoint(v, object);
        // The steps builder places steps only between two vertices of the deck: the
        // segment is upgraded once its end vertex is in the chain.
        if (deckUpgrade && previous)
            UpgradeDeckSegmentParts(object, previous, v);
        previous = v;
    }
    if (deckUpgrade && object->closed && object->vertexCount > 1)
        UpgradeDeckSegmentParts(object, LastVertexOf(object), object->firstVertex);
}

void WriteObjectPoints(const PlanObject* object)
{
    uint32_t count = 0;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        ++count;
    WriteU32BigEndian(count);
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        WritePointRecord(v);
}

// Header and points of an object made for a part (an opening, a deck part, a dimension
// label): the vertex count is what the point list really held.
static void ReadPartHeaderAndPoints(PlanObject* part)
{
    ReadObjectHeader(part);
    uint16_t rows = part->rows;
    part->rows = 0;
    part->vertexCount = 0;
    ReadObjectPoints(part);
    part->rows = rows ? rows : 1;
}

// ---------------------------------------------------------------------------------
// Opening blocks.

void PartPointRefsToIndexes(const OpeningRecord* record, const PlanObject* owner,
                            uint32_t* startIndex, uint32_t* endIndex)
{
    *startIndex = 0;
    *endIndex = 0;
    if (!record || !owner)
        return;
    bool startFound = false, endFound = false;
    uint32_t index = 0;
    for (const PlanVertex* v = owner->firstVertex; v && !(startFound && endFound); v = v->next, ++index) {
        if (!startFound && v == record->startVertex) {
            *startIndex = index;
            startFound = true;
        }
        if (!endFound && v == record->endVertex) {
            *endIndex = index;
            endFound = true;
        }
    }
}

void PartPointIndexesToRefs(OpeningRecord* record, const PlanObject* owner,
                            uint32_t startIndex, uint32_t endIndex)
{
    if (!record || !owner)
        return;
    record->startVertex = nullptr;
    record->endVertex = nullptr;
    uint32_t index = 0;
    for (PlanVertex* v = owner->firstVertex; v; v = v->next, ++index) {
        if (index == startIndex)
            record->startVertex = v;
        if (index == endIndex)
            record->endVertex = v;
    }
    if (!record->startVertex)
        record->startVertex = owner->firstVertex;
    if (!record->endVertex)
        record->endVertex = owner->firstVertex;
}

void EncodeOpeningBlock(const OpeningRecord* record, const PlanObject* owner, uint8_t* block)
{
    std::memset(block, 0, kOpeningBlockBytes);
    if (!record)
        return;
    uint32_t startIndex, endIndex;
    PartPointRefsToIndexes(record, owner, &startIndex, &endIndex);
    PutLE16(block + 0, record->typeCopy);
    PutLE16(block + 2, record->style);
    PutLE32(block + 4, startIndex);
    PutLE32(block + 8, endIndex);
    PutLEFloat(block + 12, record->distanceFromStart);
    PutLEFloat(block + 16, record->distanceToEnd);
    PutLEFloat(block + 20, record->width);
    PutLEFloat(block + 24, record->height);
    PutLEFloat(block + 28, record->elevation);
    // Bytes 32-43 held run-time references of the old program; they mean nothing on
    // reading and stay zero.
    block[44] = record->hingeSide;
    PutLEFloat(block + 46, record->swingAngle);
    PutLE16(block + 50, record->flags);
    PutLE16(block + 52, record->glazingBarsAcross);
    PutLE16(block + 54, record->glazingBarsDown);
    PutLEFloat(block + 56, record->casingWidth);
}

void DecodeOpeningBlock(const uint8_t* block, const PlanObject* owner, OpeningRecord* record)
{
    record->typeCopy = GetLE16(block + 0);
    record->style = GetLE16(block + 2);
    PartPointIndexesToRefs(record, owner, GetLE32(block + 4), GetLE32(block + 8));
    record->distanceFromStart = GetLEFloat(block + 12);
    record->distanceToEnd = GetLEFloat(block + 16);
    record->width = GetLEFloat(block + 20);
    record->height = GetLEFloat(block + 24);
    record->elevation = GetLEFloat(block + 28);
    record->parts = nullptr;
    record->sortPrevious = nullptr;
    record->sortNext = nullptr;
    record->hingeSide = block[44];
    record->swingAngle = GetLEFloat(block + 46);
    record->flags = GetLE16(block + 50);
    record->glazingBarsAcross = GetLE16(block + 52);
    record->glazingBarsDown = GetLE16(block + 54);
    record->casingWidth = GetLEFloat(block + 56);
}

void UpgradeDeckSegmentParts(PlanObject* deck, PlanVertex* a, PlanVertex* b)
{
    if (!deck || !a || !b || !(a->segmentFlags & 2))
        return;
    PlanObject* before = deck->firstChild;
    while (before && before->next)
        before = before->next;
    BuildKind53OnSegment(deck, a, b);
    PlanObject* last = deck->firstChild;
    while (last && last->next)
        last = last->next;
    // A side too short for steps gets none; the steps of an earlier side keep their sizes.
    if (!last || last == before || last->type != ObjDeckSteps || !last->link)
        return;
    // The builder puts new steps on the current floor, which a load has not chosen yet.
    last->floor = deck->floor;
    OpeningRecord* record = static_cast<OpeningRecord*>(last->link);
    const PlanSettings* settings = activeDocument ? activeDocument->settings : nullptr;
    record->width = UnitsToPlanLength(a->angleA, settings, 0);
    record->height = UnitsToPlanLength(a->angleB, settings, 0);
    record->glazingBarsAcross = (a->segmentFlags & 8) ? 1 : 0;
    record->glazingBarsDown = (a->segmentFlags & 16) ? 1 : 0;
}

// ---------------------------------------------------------------------------------
// Extras.

// A wall's openings or a deck's parts: each is an opening object with its placement.
static void ReadOpeningParts(PlanObject* object, PlanFloor* floor)
{
    uint32_t count = 0;
    ReadU32BigEndian(&count);
    // Every entry begins with at least its tag.
    if (StreamDamaged() || !RequireStreamBytes((uint64_t)count * 2))
        return;
    for (uint32_t i = 0; i < count && !StreamDamaged(); ++i) {
        uint16_t tag = 0;
        ReadU16BigEndian(&tag);
        if (tag != TagWallPart && tag != TagDeckPart)
            continue;
        PlanObject* part = CreateEmptyObject(floor);
        if (!part) {
            MarkStreamDamaged();
            return;
        }
        ReadPartHeaderAndPoints(part);
        uint8_t block[kOpeningBlockBytes] = {};
        ReadBytes(block, kOpeningBlockBytes);
        // Only an opening may carry a placement record: any other type would later be
        // released as the link of its own type.
        if (StreamDamaged() || !IsOpeningType(part->type)) {
            MarkStreamDamaged();
            FreeObject(part);
            return;
        }
        OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
        if (record)
            DecodeOpeningBlock(block, object, record);
        part->link = record;
        part->firstChild = nullptr;
        AppendChild(object, part);
        UpdateObjectExtents(part);
    }
}

static bool IsOnFloorList(const PlanObject* object)
{
    return !object->owner && object->floor && (object->previous || object->floor->firstObject == object);
}

// The group of a dimension and its label, as grouping the two by hand makes it.
static PlanObject* CreateDimensionGroup(PlanFloor* floor)
{
    PlanObject* group = CreateObject(ObjGroup, 0, 0, &kUnsetColour, &kBlackColour, 0.0f, 6, 0, nullptr,
                                     nullptr, nullptr, nullptr, floor, nullptr);
    if (group && activeDocument && activeDocument->settings)
        group->category = activeDocument->settings->activeCategory;
    return group;
}

static void MoveIntoDimensionGroup(PlanObject* group, PlanObject* dimension, PlanObject* label)
{
    PlanFloor* floor = group->floor;
    UnlinkObject(dimension);
    UnlinkObject(label);
    AppendChild(group, dimension);
    AppendChild(group, label);
    dimension->floor = floor;
    label->floor = floor;
    UpdateObjectExtents(group);
}

// A dimension read on its floor is grouped with its label at once, the group taking the
// dimension's place at the end of the floor. The two are grouped directly rather than
// through the selection: that would clear the selection stored with every object read so
// far and leave these two selected, so a plan would not save again as it was loaded.
static void GroupDimensionWithLabel(PlanObject* dimension, PlanObject* label)
{
    if (!IsOnFloorList(dimension) || !IsOnFloorList(label))
        return;
    PlanObject* group = CreateDimensionGroup(dimension->floor);
    if (!group)
        return;
    AttachObjectToFloor(group, dimension->floor);
    MoveIntoDimensionGroup(group, dimension, label);
}

PlanObject* GroupDimensionMember(PlanObject* dimension)
{
    if (!dimension || !IsDimensionType(dimension->type) || !dimension->link || IsOnFloorList(dimension))
        return dimension;
    PlanObject* label = static_cast<AttachmentRecord*>(dimension->link)->label;
    if (!label || label->type != ObjDimensionLabel || !IsOnFloorList(label))
        return dimension;
    // Without a group the label simply stays on its floor.
    PlanObject* group = CreateDimensionGroup(label->floor);
    if (!group)
        return dimension;
    MoveIntoDimensionGroup(group, dimension, label);
    return group;
}

static void ReadDimensionExtras(PlanObject* object)
{
    AttachmentRecord* record = AllocateRecordOf<AttachmentRecord>();
    if (!record) {
        MarkStreamDamaged();
        return;
    }
    uint16_t tag = 0;
    ReadU16BigEndian(&tag);
    PlanObject* attached = nullptr;
    if (tag == TagAttachedPart && !StreamDamaged()) {
        attached = CreateEmptyObject(object->floor);
        if (!attached) {
            ReleaseRecord(record);
            MarkStreamDamaged();
            return;
        }
        ReadPartHeaderAndPoints(attached);
        uint8_t raw[kLogFontBytes] = {};
        AttachedPartRecord* part = AllocateRecordOf<AttachedPartRecord>();
        if (part) {
            ReadU16BigEndian(&part->word1);
            ReadU16BigEndian(&part->word2);
            ReadU8(&part->flag);
        } else {
            uint8_t skip[5];
            ReadBytes(skip, 5);
        }
        ReadBytes(raw, kLogFontBytes);
        // The label is released as a label: nothing else may carry its record.
        if (!part || StreamDamaged() || attached->type != ObjDimensionLabel) {
            MarkStreamDamaged();
            ReleaseRecord(part);
            ReleaseRecord(record);
            FreeObject(attached);
            return;
        }
        DecodeLogFont(raw, &part->font);
        part->owner = object;
        attached->link = part;
        AttachObjectToFloor(attached, object->floor);
        UpdateObjectExtents(attached);
        record->label = attached;
        object->link = record;
        GroupDimensionWithLabel(object, attached);
    }
    record->label = attached;
    ReadU32BigEndian(&record->flags);
    ReadFloatBigEndian(&record->tolerance1);
    ReadFloatBigEndian(&record->tolerance2);
    object->link = record;
}

static void ReadImagePath(PlanObject* object)
{
    uint32_t length = 0;
    ReadU32BigEndian(&length);
    if (length < 1 || StreamDamaged() || !RequireStreamBytes(length))
        return;
    char* path = static_cast<char*>(AllocateRecord((size_t)length + 5));
    if (!path) {
        SkipStreamBytes(length);
        MarkStreamDamaged();
        return;
    }
    ReadBytes(path, length);
    if (object->imagePath)
        ReleaseRecord(object->imagePath);
    object->imagePath = path;
    NumberImagePicture(object);
}

static int RoundHalfUp(float value)
{
    return (int)(value + 0.5f);
}

HWND ReadTextObject(PlanObject* object)
{
    if (!activeDocument || !activeDocument->settings || !object)
        return nullptr;
    const PlanSettings* settings = activeDocument->settings;
    // The object's 3D box seen in the current view plane.
    const float* box = object->box3D;
    float left, top, right, bottom;
    switch (settings->viewPlane) {
    case 1:
        left = box[1]; right = box[4]; top = box[0]; bottom = box[3];
        break;
    case 3:
        left = box[2]; right = box[5]; top = box[0]; bottom = box[3];
        break;
    default:
        left = box[1]; right = box[4]; top = box[2]; bottom = box[5];
        break;
    }
    int x = RoundHalfUp(left) + 3, y = RoundHalfUp(top) + 3;
    int width = RoundHalfUp(right) - RoundHalfUp(left) - 6;
    int height = RoundHalfUp(bottom) - RoundHalfUp(top) - 6;
    HWND window = CreateTextEditWindow(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_MULTILINE |
                                           ES_AUTOVSCROLL | ES_WANTRETURN,
                                       x, y, width, height, activePlanPane);

    uint32_t length = 0;
    ReadU32BigEndian(&length);
    if (StreamDamaged() || !RequireStreamBytes(length)) {
        if (window)
            DestroyTextEditWindow(window);
        return nullptr;
    }
    if (length > 0) {
        std::vector<char> text((size_t)length + 1, '\0');
        ReadBytes(text.data(), length);
        text[length] = '\0';
        if (window)
            SetWindowTextA(window, text.data());
    }
    uint32_t skip = 0;
    ReadU32BigEndian(&skip);
    if (StreamDamaged() || !RequireStreamBytes(skip)) {
        if (window)
            DestroyTextEditWindow(window);
        return nullptr;
    }
    SkipStreamBytes(skip);
    uint16_t alignment = 0;
    ReadU16BigEndian(&alignment);
    uint8_t raw[kLogFontBytes] = {};
    ReadBytes(raw, kLogFontBytes);
    if (StreamDamaged()) {
        if (window)
            DestroyTextEditWindow(window);
        return nullptr;
    }
    if (!window)
        return nullptr;
    int code = alignment == 65535 ? AlignTextRight : alignment == 1 ? AlignTextCentre : AlignTextLeft;
    HWND made = CommitTextEdit(window, code, object);
    if (made)
        window = made;
    LOGFONTA font;
    DecodeLogFont(raw, &font);
    SetTextEditFont(window, font);
    EnableWindow(window, FALSE);
    BringWindowToTop(window);
    return window;
}

void ReadObjectExtras(PlanObject* object, PlanFloor* floor)
{
    if (!object || StreamDamaged())
        return;
    uint16_t type = object->type;
    if (type == ObjWall || (type == ObjDeck && planFileVersionRead >= PlanVersion10351)) {
        ReadOpeningParts(object, floor);
    } else if (IsDimensionType(type)) {
        ReadDimensionExtras(object);
    } else if (type == ObjImage) {
        ReadImagePath(object);
    } else if (type == ObjTextFrame) {
        object->link = ReadTextObject(object);
    }
}

static void WriteOpeningParts(PlanObject* object)
{
    uint32_t count = 0;
    for (PlanObject* child = object->firstChild; child; child = child->next)
        if (IsOpeningType(child->type))
            ++count;
    WriteU32BigEndian(count);
    uint16_t tag = object->type == ObjWall ? TagWallPart : TagDeckPart;
    for (PlanObject* child = object->firstChild; child; child = child->next) {
        if (!IsOpeningType(child->type))
            continue;
        WriteU16BigEndian(tag);
        WriteObjectHeader(child);
        WriteObjectPoints(child);
        uint8_t block[kOpeningBlockBytes];
        EncodeOpeningBlock(static_cast<const OpeningRecord*>(child->link), object, block);
        WriteBytes(block, kOpeningBlockBytes);
    }
}

static void WriteDimensionExtras(PlanObject* object)
{
    const AttachmentRecord* record = static_cast<const AttachmentRecord*>(object->link);
    const PlanObject* label = record ? record->label : nullptr;
    const AttachedPartRecord* part =
        label && label->type == ObjDimensionLabel ? static_cast<const AttachedPartRecord*>(label->link) : nullptr;
    if (part) {
        WriteU16BigEndian(TagAttachedPart);
        WriteObjectHeader(label);
        WriteObjectPoints(label);
        WriteU16BigEndian(part->word1);
        WriteU16BigEndian(part->word2);
        WriteU8(part->flag);
        uint8_t raw[kLogFontBytes];
        EncodeLogFont(part->font, raw);
        WriteBytes(raw, kLogFontBytes);
    } else {
        WriteU16BigEndian(TagNoAttachedPart);
    }
    WriteU32BigEndian(record ? record->flags : 0);
    WriteFloatBigEndian(record ? record->tolerance1 : 0.0f);
    WriteFloatBigEndian(record ? record->tolerance2 : 0.0f);
}

static void WriteTextExtras(PlanObject* object)
{
    HWND window = static_cast<HWND>(object->link);
    uint8_t raw[kLogFontBytes];
    if (!window || !IsWindow(window)) {
        WriteU32BigEndian(0);
        WriteU32BigEndian(0);
        WriteU16BigEndian(0);
        EncodeLogFont(dimensionLogFont, raw);
        WriteBytes(raw, kLogFontBytes);
        return;
    }
    int length = GetWindowTextLengthA(window);
    if (length < 0)
        length = 0;
    std::vector<char> text((size_t)length + 1, '\0');
    if (length > 0) {
        int got = GetWindowTextA(window, text.data(), length + 1);
        length = got < 0 ? 0 : got;
        text[length] = '\0';
    }
    WriteU32BigEndian((uint32_t)length + 1);
    WriteBytes(text.data(), (uint32_t)length + 1);
    WriteU32BigEndian(0);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    uint16_t alignment = (style & ES_CENTER) ? 1 : (style & ES_RIGHT) ? 65535 : 0;
    WriteU16BigEndian(alignment);
    LOGFONTA font = dimensionLogFont;
    GetTextEditLogFont(window, &font);
    EncodeLogFont(font, raw);
    WriteBytes(raw, kLogFontBytes);
}

void WriteTextObjectExtras(PlanObject* object)
{
    if (object)
        WriteTextExtras(object);
}

void WriteObjectExtras(PlanObject* object)
{
    uint16_t type = object->type;
    if (type == ObjWall || type == ObjDeck) {
        WriteOpeningParts(object);
    } else if (IsDimensionType(type)) {
        WriteDimensionExtras(object);
    } else if (type == ObjTextFrame) {
        WriteTextExtras(object);
    } else if (type == ObjImage) {
        uint32_t length = object->imagePath ? (uint32_t)std::strlen(object->imagePath) : 0;
        WriteU32BigEndian(length);
        if (length)
            WriteBytes(object->imagePath, length);
    }
}

// ---------------------------------------------------------------------------------
// Whole records.

// A dimension grouped with its own label and nothing else: the reader groups the two
// again when it meets the dimension. Any other group, even one that starts with a
// dimension, is a group of the user's and is stored as one.
static bool IsDimensionGroup(const PlanObject* object)
{
    if (object->type != ObjGroup)
        return false;
    const PlanObject* dimension = object->firstChild;
    if (!dimension || !IsDimensionType(dimension->type) || !dimension->link)
        return false;
    const PlanObject* label = dimension->next;
    const AttachmentRecord* record = static_cast<const AttachmentRecord*>(dimension->link);
    return label && !label->next && record->label == label && label->type == ObjDimensionLabel && label->link;
}

void WritePlanObject(PlanObject* object)
{
    if (!object)
        return;
    if (streamMemoryMode && !IsAnyPointSelected(object))
        return;
    // A dimension group is made again by the reader when it meets the dimension with its
    // label; storing the group itself would leave an empty group behind at every load.
    bool dimensionGroup = IsDimensionGroup(object);
    if (object->type != ObjDimensionLabel && !dimensionGroup) {
        // The boxes stored are the ones a reader computes from the points, so that what
        // an edit left stale (an arrow, a tool that never set them) never reaches a file
        // and a plan saved, opened and saved again is the same file.
        if (object->type != ObjGroup) {
            ComputeProjectionExtents(object);
            ComputeMeshTextureCoords(object);
        }
        WriteU16BigEndian(TagObject);
        WriteObjectHeader(object);
        WriteObjectPoints(object);
        WriteObjectExtras(object);
    }
    // Walls and decks carry their children in their extras; a freehand roof makes its
    // slope marker again when it is rebuilt.
    if (object->type == ObjWall || object->type == ObjDeck || object->type == ObjFreehandRoof)
        return;
    if (!object->firstChild)
        return;
    // Every group but a dimension group is bracketed, nested ones too, so that a group
    // inside a group keeps its members.
    bool bracket = object->type == ObjGroup && !dimensionGroup;
    if (bracket)
        WriteU16BigEndian(TagGroupBegin);
    for (PlanObject* child = object->firstChild; child; child = child->next)
        WritePlanObject(child);
    if (bracket)
        WriteU16BigEndian(TagGroupEnd);
}

PlanObject* ReadPlanObjectBase(PlanFloor* floor, bool attach)
{
    PlanObject* object = CreateEmptyObject(floor);
    if (!object) {
        MarkStreamDamaged();
        return nullptr;
    }
    ReadObjectHeader(object);
    uint16_t rows = object->rows;
    object->rows = 0;
    object->vertexCount = 0;
    ReadObjectPoints(object);
    // The count is what was really read; a mesh of no rows would divide by zero.
    object->rows = rows ? rows : 1;
    if (object->type == ObjPlant && object->firstVertex && !StreamDamaged())
        object->plantData = LoadPlantInfo(object->firstVertex->faceTextureA);
    if (attach)
        AttachObjectToFloor(object, floor);
    UpdateObjectExtents(object);
    ReadObjectExtras(object, floor);
    if (importIntoCurrentFloor)
        SelectObjectAndDrawHandles(object, kSelectSelect, 0);
    if (object->type == ObjGroup || StreamDamaged())
        return object;
    ComputeProjectionExtents(object);
    ComputeMeshTextureCoords(object);
    return object;
}

static void UpgradeOldWall(PlanObject* wall, float floorHeight, float baseElevation)
{
    wall->offsetSide = 0;
    wall->parameters[1] = 16.0f;
    wall->styleOrTexture = 1700;
    wall->colourM[0] = 1;
    wall->imageId1 = 2213;
    wall->imageId2 = 2212;
    wall->value3 = 2219;
    wall->colour3 = kUnsetColour;
    wall->colour4 = kUnsetColour;
    wall->colour5 = kUnsetColour;
    wall->parameters[2] = 0.5f;
    wall->parameters[3] = 12.0f;
    uint16_t side = 0;
    for (PlanVertex* v = wall->firstVertex; v; v = v->next) {
        v->position[1] = 0.0f;
        v->faceTextureA = 0;
        v->faceTextureB = 0;
        v->segmentFlags = 0;
        v->faceFlagsA = 0;
        v->faceFlagsB = 0;
        v->segmentStyle = 0;
        v->segmentStyleExtra = 0;
        v->alternationMarker = side;
        side ^= 1;
        v->segmentElevation = baseElevation;
        if (v->mainHeight < 0.5f)
            v->mainHeight = floorHeight;
        v->angleA = 10.0f;
        v->angleB = 10.0f;
        v->heightC = floorHeight * 1.25f;
        v->heightD = floorHeight * 1.75f;
    }
}

PlanObject* ReadPlanObject(PlanFloor* floor, bool attach)
{
    PlanObject* object = ReadPlanObjectBase(floor, attach);
    if (!object || object->type == ObjGroup || StreamDamaged())
        return object;
    float floorHeight = floor ? floor->height : kDefaultFloorHeight;
    switch (object->type) {
    case ObjWall:
        if (object->parameters[0] < 0.5f)
            object->parameters[0] = floorHeight;
        if (object->parameters[1] < 6.0f)
            object->parameters[1] = 16.0f;
        if (planFileVersionRead < PlanVersion10400)
            UpgradeOldWall(object, floorHeight, GetFloorBaseHeight(floor));
        RebuildByType(object);
        break;
    case ObjStair:
        if (planFileVersionRead < PlanVersion10400)
            object->parameters[4] = floorHeight;
        RebuildByType(object);
        break;
    case ObjFloorSlab: case ObjFloorOpening: case ObjRoof: case ObjPath: case ObjFence:
    case ObjPicketFence: case ObjRailing: case ObjDeck: case ObjFreehandRoof: case ObjImage:
        RebuildByType(object);
        break;
    default:
        break;
    }
    return object;
}
