#include "files/object_exchange.h"
#include "files/kept_paths.h"
#include "files/profile_file.h"
#include "files/plan_file.h"
#include "files/plan_object_records.h"
#include "files/record_stream.h"
#include "files/safe_save.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/texture_coords.h"
#include "model3d/rebuild_driver.h"
#include "planview/plan_background.h"
#include "planview/selection.h"
#include "shell/message_box.h"
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const uint32_t kExchangeVersion = 10000;
const uint32_t kCompanionBlockBytes = 680;
const float kExchangeScale = 3.0f;
const char kExchangeFormatText[] = "Questo file è stato danneggiato oppure non è stato creato da Tovrel.";

// Set from the object file's style file for the length of one import.
bool importAs2D = false;

// ---------------------------------------------------------------------------------
// Writer.

void WriteColourWords(const ColourTriple& c)
{
    WriteU16BigEndian(c.red);
    WriteU16BigEndian(c.green);
    WriteU16BigEndian(c.blue);
}

uint16_t ExchangeType(const PlanObject* object)
{
    if (object->type == 15 || object->type == ObjDrawingElement || object->type == 31)
        return object->closed ? 8 : 9;
    return object->type;
}

void WriteExchangeObjectHeader(PlanObject* object)
{
    WriteU16BigEndian(ExchangeType(object));
    uint8_t bytes[2] = {object->closed, object->creationFlag};
    WriteBytes(bytes, 2);
    // The companion takes an object's colours from its first vertex's faces.
    if (PlanVertex* first = object->firstVertex) {
        object->colourB = first->faceColourA;
        object->colourA = first->faceColourB;
    }
    WriteColourWords(object->colourA);
    WriteU16BigEndian(object->colourM[0]);
    WriteU16BigEndian(object->colourM[1]);
    WriteU16BigEndian(object->colourM[2]);
    WriteColourWords(object->colourB);
    WriteFloatBigEndian(object->size);
    WriteU16BigEndian(object->value1);
    WriteU16BigEndian(object->value2);
    WriteU16BigEndian(object->rows);
    WriteU32BigEndian(object->vertexCount);
    WriteBytes(&object->buildFlag, 1);
    WriteU16BigEndian(static_cast<uint16_t>(object->winding));
    WriteU32BigEndian(object->styleOrTexture);
    WriteBytes(object->textureBlock, 16);
    WriteBytes(object->textureBlock + 16, 16);
    WriteU16BigEndian(object->projectionMode);
}

void WriteScaledVector(const float* v)
{
    for (int i = 0; i < 3; ++i)
        WriteFloatBigEndian(v[i] * kExchangeScale);
}

void WriteExchangePoints(const PlanObject* object)
{
    uint32_t count = 0;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        ++count;
    WriteU32BigEndian(count);
    for (const PlanVertex* v = object->firstVertex; v; v = v->next) {
        WriteU16BigEndian(v->kind);
        uint8_t flags[3] = {v->selected, v->selectable, v->keepFlag};
        WriteBytes(flags, 3);
        WriteScaledVector(v->inTangent);
        WriteScaledVector(v->position);
        WriteScaledVector(v->outTangent);
        WriteScaledVector(v->extra);
        WriteU32BigEndian(v->faceTextureA);
        WriteU32BigEndian(v->faceTextureB);
        WriteFloatBigEndian(v->reserved1);
        WriteFloatBigEndian(v->reserved2);
        WriteFloatBigEndian(v->u);
        WriteFloatBigEndian(v->v);
    }
}

// Extras go with every wall, dimension and text, link record or not: a reader cannot
// tell from the file whether they were left out, and would lose its place.
void WriteExchangeExtras(PlanObject* object)
{
    if (object->type == ObjWall) {
        uint32_t count = 0;
        for (PlanObject* child = object->firstChild; child; child = child->next)
            if (IsOpeningType(child->type))
                ++count;
        WriteU32BigEndian(count);
        for (PlanObject* child = object->firstChild; child; child = child->next) {
            if (!IsOpeningType(child->type))
                continue;
            WriteU16BigEndian(TagWallPart);
            WriteExchangeObjectHeader(child);
            WriteExchangePoints(child);
            uint8_t block[kOpeningBlockBytes] = {};
            if (child->link)
                EncodeOpeningBlock(static_cast<const OpeningRecord*>(child->link), object, block);
            WriteBytes(block, kOpeningBlockBytes);
        }
    } else if (IsDimensionType(object->type)) {
        const AttachmentRecord* record = static_cast<const AttachmentRecord*>(object->link);
        PlanObject* label = record ? record->label : nullptr;
        const AttachedPartRecord* part =
            label && label->type == ObjDimensionLabel ? static_cast<const AttachedPartRecord*>(label->link) : nullptr;
        if (part) {
            WriteU16BigEndian(TagAttachedPart);
            WriteExchangeObjectHeader(label);
            WriteExchangePoints(label);
            WriteU16BigEndian(part->word1);
            WriteU16BigEndian(part->word2);
            WriteBytes(&part->flag, 1);
            uint8_t raw[kLogFontBytes];
            std::memcpy(raw, &part->font, kLogFontBytes);
            WriteBytes(raw, kLogFontBytes);
        } else {
            WriteU16BigEndian(TagNoAttachedPart);
        }
        WriteU32BigEndian(record ? record->flags : 0);
        WriteFloatBigEndian(record ? record->tolerance1 : 0.0f);
        WriteFloatBigEndian(record ? record->tolerance2 : 0.0f);
    } else if (object->type == ObjTextFrame) {
        WriteTextObjectExtras(object);
    }
}

void WriteExchangeObject(PlanObject* object)
{
    if (object->type != ObjDimensionLabel) {
        WriteU16BigEndian(TagObject);
        WriteExchangeObjectHeader(object);
        WriteExchangePoints(object);
        WriteExchangeExtras(object);
    }
    if (object->type == ObjWall || !object->firstChild)
        return;
    bool bracket = object->type == ObjGroup && !object->owner && object->firstChild->type != ObjDimensionLine;
    if (bracket)
        WriteU16BigEndian(TagGroupBegin);
    for (PlanObject* child = object->firstChild; child; child = child->next)
        WriteExchangeObject(child);
    if (bracket)
        WriteU16BigEndian(TagGroupEnd);
}

void WriteExchangeBody()
{
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next) {
        WriteFloorRecord(floor);
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            if (IsAnyPointSelected(object))
                WriteExchangeObject(object);
    }
    WriteU16BigEndian(TagEnd);
}

// ---------------------------------------------------------------------------------
// Reader.

const uint32_t kExchangeHeaderBytes = 77;
const uint32_t kExchangePointBytes = 77;

void ReadColourWords(ColourTriple* c)
{
    ReadU16BigEndian(&c->red);
    ReadU16BigEndian(&c->green);
    ReadU16BigEndian(&c->blue);
}

void ReadExchangeObjectHeader(PlanObject* object)
{
    if (!RequireStreamBytes(kExchangeHeaderBytes))
        return;
    ReadU16BigEndian(&object->type);
    ReadBytes(&object->closed, 1);
    ReadBytes(&object->creationFlag, 1);
    ReadColourWords(&object->colourA);
    ReadU16BigEndian(&object->colourM[0]);
    ReadU16BigEndian(&object->colourM[1]);
    ReadU16BigEndian(&object->colourM[2]);
    ReadColourWords(&object->colourB);
    ReadFloatBigEndian(&object->size);
    ReadU16BigEndian(&object->value1);
    ReadU16BigEndian(&object->value2);
    ReadU16BigEndian(&object->rows);
    ReadU32BigEndian(&object->vertexCount);
    ReadBytes(&object->buildFlag, 1);
    uint16_t winding = 0;
    ReadU16BigEndian(&winding);
    object->winding = static_cast<int16_t>(winding);
    ReadU32BigEndian(&object->styleOrTexture);
    ReadBytes(object->textureBlock, 32);
    ReadU16BigEndian(&object->projectionMode);
}

void ReadScaledVector(float* v)
{
    for (int i = 0; i < 3; ++i) {
        ReadFloatBigEndian(&v[i]);
        v[i] /= kExchangeScale;
    }
}

// A point the plan can hold: its position and tangents are numbers within the plan's
// limits on every axis (not a NaN, an infinity or a value the plan cannot reach).
bool PointWithinPlan(const PlanVertex* v)
{
    for (const float* vector : {v->inTangent, v->position, v->outTangent, v->extra})
        for (int i = 0; i < 3; ++i)
            if (!(vector[i] >= -kPlanLimit && vector[i] <= kPlanLimit))
                return false;
    return true;
}

// The points of an object; `keep` false reads and drops them (extras of the companion's
// objects that this program does not take).
void ReadExchangePoints(PlanObject* object, bool keep)
{
    uint32_t count = 0;
    ReadU32BigEndian(&count);
    if (StreamDamaged() || !RequireStreamBytes((uint64_t)count * kExchangePointBytes))
        return;
    for (uint32_t i = 0; i < count && !StreamDamaged(); ++i) {
        PlanVertex scratch;
        std::memset(&scratch, 0, sizeof scratch);
        PlanVertex* v = keep ? NewVertexNode(1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, object) : &scratch;
        if (!v) {
            MarkStreamDamaged();
            return;
        }
        ReadU16BigEndian(&v->kind);
        ReadBytes(&v->selected, 1);
        ReadBytes(&v->selectable, 1);
        ReadBytes(&v->keepFlag, 1);
        ReadScaledVector(v->inTangent);
        ReadScaledVector(v->position);
        ReadScaledVector(v->outTangent);
        ReadScaledVector(v->extra);
        ReadU32BigEndian(&v->faceTextureA);
        ReadU32BigEndian(&v->faceTextureB);
        ReadFloatBigEndian(&v->reserved1);
        ReadFloatBigEndian(&v->reserved2);
        ReadFloatBigEndian(&v->u);
        ReadFloatBigEndian(&v->v);
        if (!keep)
            continue;
        v->faceColourA = object->colourB;
        v->faceColourB = object->colourA;
        AddObjectPoint(v, object);
        v->selected = 1;
        // Added first, so that the point goes with its object when the file is refused.
        if (!PointWithinPlan(v))
            MarkStreamDamaged();
    }
}

void SkipBytes(uint32_t count)
{
    if (!RequireStreamBytes(count))
        return;
    uint8_t scratch[256];
    while (count && !StreamDamaged()) {
        uint32_t n = count < sizeof scratch ? count : static_cast<uint32_t>(sizeof scratch);
        ReadBytes(scratch, n);
        count -= n;
    }
}

// A part of the extras in exchange form (an opening, a dimension's label), dropped.
void SkipExchangePart()
{
    PlanObject scratch;
    std::memset(&scratch, 0, sizeof scratch);
    ReadExchangeObjectHeader(&scratch);
    ReadExchangePoints(&scratch, false);
}

// The extras the writer puts after walls, dimensions and texts, by the type the file
// stored: read and dropped, so that the records after them are found.
void SkipExchangeExtras(uint16_t storedType)
{
    if (storedType == ObjWall) {
        uint32_t count = 0;
        ReadU32BigEndian(&count);
        if (StreamDamaged() || !RequireStreamBytes((uint64_t)count * (2 + kExchangeHeaderBytes + 4 + kOpeningBlockBytes)))
            return;
        for (uint32_t i = 0; i < count && !StreamDamaged(); ++i) {
            uint16_t tag = 0;
            ReadU16BigEndian(&tag);
            SkipExchangePart();
            SkipBytes(kOpeningBlockBytes);
        }
    } else if (storedType >= ObjDimensionFirst && storedType <= ObjDimensionLast) {
        uint16_t tag = 0;
        ReadU16BigEndian(&tag);
        if (tag == TagAttachedPart) {
            SkipExchangePart();
            SkipBytes(2 + 2 + 1 + kLogFontBytes);
        } else if (tag != TagNoAttachedPart) {
            MarkStreamDamaged();
            return;
        }
        SkipBytes(12);
    } else if (storedType == ObjTextFrame) {
        uint32_t length = 0;
        ReadU32BigEndian(&length);
        SkipBytes(length);
        uint32_t skip = 0;
        ReadU32BigEndian(&skip);
        SkipBytes(skip);
        SkipBytes(2 + kLogFontBytes);
    }
}

PlanObject* ReadExchangeObject(PlanFloor* floor, bool attach)
{
    static const ColourTriple unset = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
    static const ColourTriple black = {0, 0, 0};
    PlanObject* object =
        CreateObject(0, 1, 0, &unset, &black, 1.0f, 0, 0, nullptr, nullptr, nullptr, nullptr, floor, nullptr);
    if (!object) {
        MarkStreamDamaged();
        return nullptr;
    }
    ReadExchangeObjectHeader(object);
    const uint16_t storedType = object->type;
    if (object->type != ObjGroup)
        object->type = importAs2D ? 31 : 15;
    object->category = activeDocument->settings->activeCategory;
    uint16_t rows = object->rows;
    object->rows = 0;
    object->vertexCount = 0;
    ReadExchangePoints(object, true);
    object->rows = rows ? rows : 1;
    SkipExchangeExtras(storedType);
    if (attach)
        AttachObjectToFloor(object, floor);
    UpdateObjectExtents(object);
    SelectObjectAndDrawHandles(object, kSelectSelect, 0);
    if (object->type != ObjGroup && !StreamDamaged()) {
        ComputeProjectionExtents(object);
        ComputeMeshTextureCoords(object);
        BuildObject3D(object);
    }
    return object;
}

// Frees what holds nothing: an object without points, a group left without members
// (those are dropped first). False when the object went.
bool KeepUnlessEmpty(PlanObject* object)
{
    for (PlanObject* member = object->firstChild; member;) {
        PlanObject* next = member->next;
        KeepUnlessEmpty(member);
        member = next;
    }
    if (object->type == ObjGroup ? object->firstChild != nullptr : object->firstVertex != nullptr)
        return true;
    FreeObject(object);
    return false;
}

// Reads the body onto the floor; the top-level objects read are listed so that a
// damaged file can take them all back.
bool ReadExchangeBody(PlanFloor* floor, std::vector<PlanObject*>* added)
{
    std::vector<PlanObject*> groups;
    PlanObject* lastObject = nullptr;
    uint16_t tag = 0;
    ReadU16BigEndian(&tag);
    while (!StreamDamaged()) {
        switch (tag) {
        case TagEnd:
            return true;
        case TagFloor:
            SkipFloorRecord();
            break;
        case TagObject: {
            PlanObject* object = ReadExchangeObject(floor, groups.empty());
            if (!object)
                break;
            if (groups.empty()) {
                added->push_back(object);
            } else {
                object->owner = groups.back();
                object->floor = groups.back()->floor;
                AppendToObjectList(&groups.back()->firstChild, object);
            }
            lastObject = object;
            break;
        }
        case TagGroupBegin:
            BeginGroupRecord(groups, lastObject);
            break;
        case TagGroupEnd:
            EndGroupRecord(groups);
            break;
        default:
            // Nothing else may stand between the records of an object file.
            MarkStreamDamaged();
            break;
        }
        if (StreamDamaged())
            break;
        ReadU16BigEndian(&tag);
    }
    return false;
}

// The companion's block: its size, then 680 bytes. This program writes a size of 0 and
// no block; such a file is known by a body tag right after the size.
void SkipExchangeBlock()
{
    uint32_t size = 0;
    ReadU32BigEndian(&size);
    if (size == 0 && StreamBytesRemaining() >= 2) {
        uint16_t next = 0;
        ReadU16BigEndian(&next);
        if (next == TagFloor || next == TagObject || next == TagEnd) {
            // Not a block: the tag goes back for the body reader.
            RewindRecordStream(2);
            return;
        }
        SkipBytes(kCompanionBlockBytes - 2);
        return;
    }
    SkipBytes(kCompanionBlockBytes);
}

bool ReadStyleIs2D(const char* path)
{
    size_t length = std::strlen(path);
    if (length <= 4)
        return false;
    std::string style(path, length - 3);
    style += "OBD";
    return MeantProfileInt("Style", "Object2D", 0, style.c_str()) == 1;
}

} // namespace

const char* const kUnreadableObjectText =
    "Il file non può essere letto:\n%s\n\nAssicurarsi che esista, che sia possibile leggerlo e che un altro "
    "programma non lo stia scrivendo.";
// As the plan's Open says it of a plan: a file that another program held for writing, or
// wrote at every read, throughout the patience was never read, and is no damaged one.
const char* const kObjectBeingWrittenText =
    "Il file è in corso di scrittura da parte di un altro programma:\n%s\n\nRiprovare più tardi.";

bool ImportObjectFile(const char* path, bool* unreadable)
{
    if (unreadable)
        *unreadable = false;
    if (!activeDocument || !activeDocument->settings || !activePlanPane || !path)
        return false;
    importAs2D = ReadStyleIs2D(path);
    PlanFloor* floor = activeDocument->currentFloor;
    std::vector<PlanObject*> added;
    // What was read of a damaged file, or of one a write met, goes again.
    const auto freeAdded = [&] {
        for (PlanObject* object : added)
            FreeObject(object);
        added.clear();
    };
    bool known = false, intact = false, result = false;
    const bool read = ReadRecordFile(path, [&] {
        ReadPlanVersion();
        known = planFileVersionRead == kExchangeVersion;
        if (known) {
            SkipExchangeBlock();
            intact = floor && ReadExchangeBody(floor, &added) && !StreamDamaged();
        }
        return intact;
    }, freeAdded);
    if (!read && unreadable) {
        *unreadable = true;
    } else if (!read) {
        ShowMessageBoxNaming(nullptr, recordFileChanging ? kObjectBeingWrittenText : kUnreadableObjectText,
                             MeantWidePath(path), "Errore file", MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
    } else if (!known) {
        ShowPlanFormatMessage(kExchangeFormatText);
    } else if (read) {
        // An empty object would be added unseen and saved with the plan: it is left
        // out, and a file with nothing else is no object file.
        if (intact) {
            auto empty = [](PlanObject* object) { return !KeepUnlessEmpty(object); };
            added.erase(std::remove_if(added.begin(), added.end(), empty), added.end());
        }
        if (!intact || added.empty()) {
            freeAdded();
            if (floor)
                ShowPlanFormatMessage(kExchangeFormatText);
        } else {
            DeactivateDocumentChild();
            ForEachFloorObject(activeDocument->firstFloor, 0, SuspendTextEditors, nullptr);
            result = true;
        }
    }
    importAs2D = false;
    return result;
}

bool WriteObjectExchangeFile(const char* path)
{
    if (!activeDocument || !path)
        return false;
    return SaveFileSafely(path, [] {
        WriteU32BigEndian(kExchangeVersion);
        WriteU16BigEndian(kPlanHeaderWord);
        WriteU32BigEndian(0);
        WriteExchangeBody();
    });
}
