#include "files/symbol_library.h"
#include "files/plan_file.h"
#include "files/plan_object_records.h"
#include "files/record_stream.h"
#include "model/generated_children.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/texture_coords.h"
#include "model3d/rebuild_driver.h"
#include "planview/selection.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

PlanObject* symbolTemplates2D = nullptr;
PlanObject* symbolTemplates3D = nullptr;

uint32_t currentPathTexture = 1103;
uint32_t currentFillTexture = 1115;
uint32_t currentFenceTexture = 2202;
uint32_t currentPicketFenceTexture = 2212;

const char* const kSymbolFolder2D = "\\OBJECTS\\SYMBOL2D\\";
const char* const kSymbolFolder3D = "\\OBJECTS\\SYMBOL3D\\";

const SymbolLibraryEntry symbolLibrary2D[] = {
    {"RECSINGL", 55}, {"RECGFI", 65}, {"RECSW", 66}, {"RECWP", 67}, {"RECFLR", 68},
    {"RECCLG", 69}, {"REC220", 70}, {"REC220FLR", 71}, {"REC220CLG", 72}, {"SWSINGL", 73},
    {"SW3WAY", 74}, {"SW4WAY", 75}, {"SW5WAY", 76}, {"SWDIM", 77}, {"SWWP", 78},
    {"LTFIXTURE", 79}, {"LTRECESSED", 80}, {"LTHVL", 81}, {"LTVL", 82}, {"LTFLOOD", 83},
    {"TVOUTLET", 84}, {"PHOUTLET", 85}, {"SMKDETECT", 86}, {"THERMOST", 87}, {"CLGFAN", 88},
    {"TOILET", 90}, {"KIT1SINK", 91}, {"KIT2SINK", 92}, {"KIT3SINK", 93}, {"OVALSINK", 94},
    {"STDTUB", 95}, {"SPATUB", 96}, {"SHOWER", 97}, {"WATERHTR", 98}, {"HOSEBIB", 99},
    {"GASBIB", 109}, {"FLRDRAIN", 110}, {"HVACAC", 122}, {"HVACHEATPUMP", 123},
    {"HVACBBHTR", 124}, {"HVACCLGREG", 119}, {"HVACFLRREG", 118}, {"HVACFURNACE", 121},
    {"HVACRETURN", 120},
};
const int symbolLibrary2DCount = sizeof symbolLibrary2D / sizeof symbolLibrary2D[0];

const SymbolLibraryEntry symbolLibrary3D[] = {
    {"RECSINGL", 55}, {"RECGFI", 65}, {"RECSW", 66}, {"RECWP", 67}, {"REC220", 70},
    {"SWSINGL", 73}, {"SW3WAY", 74}, {"SW4WAY", 75}, {"SW5WAY", 76}, {"SWDIM", 77},
    {"SWWP", 78}, {"LTFLOOD", 83}, {"TVOUTLET", 84}, {"PHOUTLET", 85}, {"SMKDETECT", 86},
    {"THERMOST", 87}, {"TOILET", 90}, {"KIT1SINK", 91}, {"KIT2SINK", 92}, {"KIT3SINK", 93},
    {"OVALSINK", 94}, {"STDTUB", 95}, {"SPATUB", 96}, {"SHOWER", 97}, {"HOSEBIB", 99},
    {"GASBIB", 109}, {"HVACBBHTR", 124},
};
const int symbolLibrary3DCount = sizeof symbolLibrary3D / sizeof symbolLibrary3D[0];

static const char* const kSymbolFormatText =
    "Il file di un simbolo è stato danneggiato oppure è stato creato da una versione più recente di Velmora.";
static const char* const kModelFormatText =
    "Questo file modello è stato danneggiato oppure è stato creato da una versione più recente di Velmora.";

static const ColourTriple kUnsetColour = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};

// ---------------------------------------------------------------------------------
// Templates.

void AppendToTemplate(PlanObject* object, PlanObject* templateObject)
{
    if (!object || !templateObject)
        return;
    // What the shape was read with is still its own, and goes with it as such.
    if (!object->extrasType && object->type != templateObject->type)
        object->extrasType = object->type;
    object->type = templateObject->type;
    object->owner = templateObject;
    AppendToObjectList(&templateObject->firstChild, object);
}

PlanObject* ReadSymbolObject(PlanFloor* floor, bool asPart, PlanObject* templateObject)
{
    PlanObject* object = CreateObject(0, 1, 0, &kUnsetColour, nullptr, 1.0f, 0, 0, nullptr, nullptr,
                                      nullptr, nullptr, floor, nullptr);
    if (!object) {
        MarkStreamDamaged();
        return nullptr;
    }
    ReadObjectHeader(object);
    uint16_t rows = object->rows;
    object->rows = 0;
    object->vertexCount = 0;
    ReadObjectPoints(object);
    object->rows = rows ? rows : 1;
    UpdateObjectExtents(object);
    // The extras belong to the stored type: read them before the object takes the
    // template's code.
    ReadObjectExtras(object, floor);
    if (IsDimensionType(object->type) && object->link) {
        // A symbol keeps its shapes only. The label read with a dimension was put on the
        // plan's floor, where it does not belong; and once retyped to the symbol's code
        // the dimension's record would be released by nobody.
        AttachmentRecord* record = static_cast<AttachmentRecord*>(object->link);
        if (PlanObject* label = record->label) {
            UnlinkObject(label);
            FreeObject(label);
        }
        ReleaseRecord(object->link);
        object->link = nullptr;
    }
    if (asPart && object->type != ObjGroup)
        AppendToTemplate(object, templateObject);
    SelectObjectAndDrawHandles(object, kSelectSelect, 0);
    if (object->type != ObjGroup && !StreamDamaged()) {
        ComputeProjectionExtents(object);
        ComputeMeshTextureCoords(object);
    }
    return object;
}

bool ReadSymbolBody(PlanObject* templateObject)
{
    if (!activeDocument)
        return false;
    LONG length = GetFileSize(planFileHandle);
    uint16_t tag = 0;
    ReadU16BigEndian(&tag);
    while (!StreamDamaged()) {
        if (tag == TagEnd)
            return true;
        if (GetFilePosition(planFileHandle) >= length)
            break;
        if (tag == TagFloor) {
            SkipFloorRecord();
        } else if (tag == TagObject) {
            PlanObject* object = ReadSymbolObject(activeDocument->currentFloor, true, templateObject);
            // A group of the file only brackets its members, which go to the template
            // one by one; the group record itself holds nothing.
            if (object && object->owner != templateObject)
                FreeObject(object);
        }
        // Groups (202, 203) and unknown tags carry nothing here.
        if (StreamDamaged())
            break;
        ReadU16BigEndian(&tag);
    }
    return false;
}

static void ClearTreeFloor(PlanObject* object)
{
    for (; object; object = object->next) {
        object->floor = nullptr;
        ClearTreeFloor(object->firstChild);
        ClearTreeFloor(object->firstPart);
    }
}

void GetTemplateCentringOffset(PlanObject* templateObject, float* offsetX, float* offsetZ)
{
    *offsetX = 0.0f;
    *offsetZ = 0.0f;
    if (!templateObject)
        return;
    ExtentBox box;
    ResetExtentBox(box);
    for (PlanObject* child = templateObject->firstChild; child; child = child->next)
        GetObjectExtents3D(child, 0, box, 0);
    *offsetX = -(box[kBoxMinX] + box[kBoxMaxX]) / 2.0f;
    switch (templateObject->type) {
    // Floor, ceiling and free-standing symbols are centred in both plan axes.
    case 68: case 69: case 71: case 72: case 79: case 80: case 81: case 82: case 88: case 98: case 110:
        *offsetZ = -(box[kBoxMinZ] + box[kBoxMaxZ]) / 2.0f;
        break;
    // Wall-mounted symbols put their back edge on the origin line.
    default:
        *offsetZ = -box[kBoxMinZ];
        break;
    }
}

void CentreTemplateOnOrigin(PlanObject* templateObject)
{
    if (!templateObject || !templateObject->firstChild)
        return;
    TransformRecord move;
    std::memset(&move, 0, sizeof move);
    GetTemplateCentringOffset(templateObject, &move.offset[0], &move.offset[2]);
    for (PlanObject* child = templateObject->firstChild; child; child = child->next)
        MoveObjectTree(child, &move);
}

static void FreeTemplateChildren(PlanObject* templateObject)
{
    PlanObject* child = templateObject->firstChild;
    templateObject->firstChild = nullptr;
    FreeMemberChain(child);
}

// Symbol and model files are plan files whose settings block is skipped: reads one's body
// with readBody, which undo takes back where a write met the read (and it is read again),
// with the version read and the pictures numbered. False for a file that cannot be opened
// or was always being written; false after the format message with formatText for an
// unknown version or a damaged body, when discard first drops what the body had read.
template <typename ReadBody, typename Undo, typename Discard>
static bool ReadHeaderlessPlanFile(const char* path, const char* formatText, ReadBody readBody, Undo undo,
                                   Discard discard)
{
    bool known = false, intact = false;
    uint32_t version = 0, pictures = 0;
    uint16_t headerWord = 0;
    if (!ReadRecordFile(path, [&] {
            version = planFileVersionRead, headerWord = planFileHeaderWord, pictures = imageTextureCounter;
            ReadPlanVersion();
            known = SkipHeaderForVersion(planFileVersionRead);
            return intact = known && readBody();
        }, [&] {
            undo();
            planFileVersionRead = version, planFileHeaderWord = headerWord, imageTextureCounter = pictures;
        }))
        return false;
    if (known && !intact)
        discard();
    if (!intact)
        ShowPlanFormatMessage(formatText);
    return intact;
}

bool LoadSymbolFile(const char* path, PlanObject* templateObject)
{
    if (!activeDocument || !activePlanPane || !templateObject)
        return false;
    // A damaged symbol adds nothing rather than half a drawing.
    const auto drop = [&] { FreeTemplateChildren(templateObject); };
    bool read = ReadHeaderlessPlanFile(
        path, kSymbolFormatText, [&] { return ReadSymbolBody(templateObject); }, drop, drop);
    if (!read)
        return false;
    CentreTemplateOnOrigin(templateObject);
    // Templates outlive the document whose floor they were read on.
    ClearTreeFloor(templateObject->firstChild);
    return true;
}

void FreeSymbolTemplates(PlanObject* first)
{
    FreeObjectChain(first);
}

const char* const kSymbolFolderTooLongText =
    "I simboli non possono essere letti: il percorso della loro cartella è troppo lungo "
    "(un file vi avrebbe un percorso di più di 259 caratteri):\n%s\n\n"
    "Spostare il programma in una cartella con un percorso più corto.";

static bool LoadSymbolLibrary(PlanObject** list, const char* folder, const char* suffix,
                              const SymbolLibraryEntry* entries, int count)
{
    FreeSymbolTemplates(*list);
    *list = nullptr;
    std::string directory = std::string(programDirectory ? programDirectory : "") + folder;
    for (int i = 0; i < count; ++i)
        if (directory.size() + std::strlen(entries[i].stem) + std::strlen(suffix) + 4 >= MAX_PATH) {
            std::string text(std::strlen(kSymbolFolderTooLongText) + directory.size(), '\0');
            text.resize(std::snprintf(&text[0], text.size(), kSymbolFolderTooLongText, directory.c_str()));
            ShowMessageBox(nullptr, text.c_str(), "Errore file - Percorso troppo lungo",
                           MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
            return false;
        }
    PlanObject* last = nullptr;
    for (int i = 0; i < count; ++i) {
        PlanObject* templateObject = AllocateRecordOf<PlanObject>();
        if (!templateObject)
            return true;
        templateObject->type = entries[i].code;
        std::string path = directory + entries[i].stem + suffix + ".ZTM";
        LoadSymbolFile(path.c_str(), templateObject);
        if (last) {
            last->next = templateObject;
            templateObject->previous = last;
        } else {
            *list = templateObject;
        }
        last = templateObject;
    }
    return true;
}

bool LoadSymbolLibrary2D()
{
    return LoadSymbolLibrary(&symbolTemplates2D, kSymbolFolder2D, "2D", symbolLibrary2D, symbolLibrary2DCount);
}

bool LoadSymbolLibrary3D()
{
    return LoadSymbolLibrary(&symbolTemplates3D, kSymbolFolder3D, "3D", symbolLibrary3D, symbolLibrary3DCount);
}

// ---------------------------------------------------------------------------------
// Model files.

static PlanObject* FirstRoofOfDocument()
{
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            if (object->type == ObjRoof)
                return object;
    return nullptr;
}

static void SetVertexTextures(PlanObject* object, uint32_t texture)
{
    for (PlanVertex* v = object->firstVertex; v; v = v->next) {
        v->faceTextureA = texture;
        v->faceTextureB = texture;
    }
}

PlanObject* ReadModelObject(PlanFloor* floor, bool attach)
{
    PlanObject* object = ReadPlanObjectBase(floor, attach);
    if (!object || object->type == ObjGroup || StreamDamaged())
        return object;
    PlanSettings* settings = activeDocument->settings;
    float floorHeight = floor ? floor->height : kDefaultFloorHeight;
    // Fit the inserted object to the current plan and its current defaults.
    switch (object->type) {
    case ObjWall:
        if (object->parameters[0] < 0.5f)
            object->parameters[0] = floorHeight;
        if (object->parameters[1] < 6.0f)
            object->parameters[1] = 16.0f;
        if (object->styleOrTexture == 0)
            object->styleOrTexture = 1700;
        object->size = settings->wallThickness;
        object->imageId1 = 0;
        object->colour3 = kUnsetColour;
        RebuildByType(object);
        break;
    case ObjRoof: {
        PlanObject* roof = FirstRoofOfDocument();
        if (roof) {
            object->size = roof->size;
            if (PlanVertex* model = roof->firstVertex) {
                // Copy first: the roof found may be this one.
                uint32_t textureA = model->faceTextureA, textureB = model->faceTextureB;
                ColourTriple colourA = model->faceColourA, colourB = model->faceColourB;
                for (PlanVertex* v = object->firstVertex; v; v = v->next) {
                    v->faceTextureA = textureA;
                    v->faceTextureB = textureB;
                    v->faceColourA = colourA;
                    v->faceColourB = colourB;
                }
            }
        }
        RebuildByType(object);
        break;
    }
    case ObjPath:
        object->size = settings->pathWidth;
        SetVertexTextures(object, currentPathTexture);
        RebuildByType(object);
        break;
    case ObjFence:
        SetVertexTextures(object, currentFenceTexture);
        RebuildByType(object);
        break;
    case ObjPicketFence:
        object->styleOrTexture = settings->fenceStyle;
        SetVertexTextures(object, currentPicketFenceTexture);
        RebuildByType(object);
        break;
    case 26:
        SetVertexTextures(object, currentFillTexture);
        break;
    case ObjFloorSlab: case ObjFloorOpening: case ObjStair: case ObjRailing: case ObjDeck: case ObjImage:
        RebuildByType(object);
        break;
    default:
        break;
    }
    BuildObject3D(object);
    return object;
}

bool ReadModelBody()
{
    if (!activeDocument || !activeDocument->currentFloor)
        return false;
    LONG length = GetFileSize(planFileHandle);
    PlanObject* lastObject = nullptr;
    std::vector<PlanObject*> groups;
    uint16_t tag = 0;
    ReadU16BigEndian(&tag);
    while (!StreamDamaged()) {
        if (tag == TagEnd)
            return true;
        if (GetFilePosition(planFileHandle) >= length)
            break;
        switch (tag) {
        case TagFloor:
            SkipFloorRecord();
            break;
        case TagObject: {
            PlanObject* object = ReadModelObject(activeDocument->currentFloor, groups.empty());
            if (!object)
                break;
            SelectObjectAndDrawHandles(object, kSelectSelect, 0);
            AddToOpenGroup(groups, object);
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
            break;
        }
        if (StreamDamaged())
            break;
        ReadU16BigEndian(&tag);
    }
    return false;
}

bool LoadModelFile(const char* path)
{
    if (!activeDocument || !activePlanPane)
        return false;
    PlanFloor* floor = activeDocument->currentFloor;
    PlanObject* last = LastFloorObject(floor);
    return ReadHeaderlessPlanFile(
        path, kModelFormatText, ReadModelBody, [&] { FreeFloorObjectsAfter(floor, last); }, [] {});
}

void AppendChildObject(PlanObject* object, PlanObject* owner)
{
    if (!object || !owner || object->type == ObjGroup)
        return;
    AppendToObjectList(&owner->firstPart, object);
}

PlanObject* FindSymbolTemplate(PlanObject* first, uint32_t code)
{
    for (PlanObject* t = first; t; t = t->next)
        if (t->type == code)
            return t;
    return nullptr;
}

PlanObject* CopySymbolTemplatePart(PlanObject* part, float x, float z)
{
    // The copy code of a paste without the children: members come one by one.
    const uint32_t kPartCopyCode = 5329;
    return CreateObjectFromTemplate(part, nullptr, nullptr, x, z, 0, kPartCopyCode);
}
