#include "files/plan_file.h"
#include "files/kept_paths.h"
#include "files/plan_object_records.h"
#include "files/record_stream.h"
#include "files/safe_save.h"
#include "model/generated_children.h"
#include "model/object_copies.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "model3d/rebuild_driver.h"
#include "palette/category_tabs.h"
#include "planview/plan_background.h"
#include "planview/plan_redraw.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/message_box.h"
#include "shell/status_bar.h"
#include <cmath>
#include <cstring>
#include <vector>

uint32_t planFileVersionRead = 0;
uint32_t planFileVersionWritten = PlanVersion10410;
uint16_t planFileHeaderWord = 0;
unsigned char& importIntoCurrentFloor = exchangeImportActive;
uint8_t saveInProgress = 0;

const char* const kPlanFormatCaption = "Errore file - Formato sconosciuto";
const char* const kPlanFormatText =
    "Questo file è stato danneggiato oppure è stato creato da una versione più recente di Velmora.";

static const char* const kSaveErrorCaption = "Errore di salvataggio";
static const char* const kSaveErrorText =
    "Si è verificato un errore durante il salvataggio di questo file. Assicurarsi che gli attributi "
    "del file non siano impostati come Sola lettura, e che il percorso del file non si trovi su una "
    "periferica di Solo lettura.\n\nUsare l'opzione Salva con nome per salvare questo file in un'altra "
    "posizione.";

// Groups nest through the stream; deeper trees than this come only from damaged files
// and would make every later walk of the tree recurse without end in sight.
static const size_t kMaxGroupNesting = 64;

static const char* const kSaveStoppedByText = "\n\nIl salvataggio è stato impedito dal file:\n";
static const char* const kSaveWhileReadText =
    "Un altro programma sta leggendo il file, che non è di Sola lettura: riprovare più tardi.";

// A kept path whose short form a neighbour made since answers first: nothing was written.
static const char* const kMisdirectedSaveText =
    "Il file non è stato salvato: il nome breve con cui Velmora raggiunge la sua cartella è ora anche "
    "quello di un'altra cartella accanto, che verrebbe scritta al suo posto. Non è stato scritto nulla. "
    "Il file è:\n%s\n\nRinominare l'altra cartella, oppure usare l'opzione Salva con nome per salvare "
    "questo file in un'altra posizione.";

void ShowSaveFailure(const std::string& stoppedBy)
{
    const std::wstring misdirected = TakeMisdirectedPath();
    if (!misdirected.empty()) {
        ShowMessageBoxNaming(nullptr, kMisdirectedSaveText, misdirected, kSaveErrorCaption,
                             MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
        return;
    }
    // A reader that held the file longer than a save waits is no read-only file.
    const std::string text = recordFileRead ? kSaveWhileReadText
                                            : kSaveErrorText + (stoppedBy.empty() ? "" : kSaveStoppedByText + stoppedBy);
    ShowMessageBox(nullptr, text.c_str(), kSaveErrorCaption, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

void ShowPlanFormatMessage(const char* text)
{
    ShowMessageBox(nullptr, text, kPlanFormatCaption, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

// ---------------------------------------------------------------------------------
// Version and settings block.

void ReadPlanVersion()
{
    // A file too short for its version reads as no version at all.
    planFileVersionRead = 0;
    planFileHeaderWord = 0;
    ReadU32BigEndian(&planFileVersionRead);
    ReadU16BigEndian(&planFileHeaderWord);
    if (StreamDamaged())
        planFileVersionRead = 0;
}

static size_t SettingsPrefixForVersion(uint32_t version)
{
    switch (version) {
    case PlanVersion10000: return kPlanSettingsPrefix794;
    case PlanVersion10300: return kPlanSettingsPrefix1418;
    case PlanVersion10350:
    case PlanVersion10351: return kPlanSettingsPrefix1444;
    case PlanVersion10400: return kPlanSettingsPrefix1592;
    case PlanVersion10410: return kPlanSettingsSize;
    default: return 0;
    }
}

static bool IsSaneFloat(float value)
{
    return !std::isnan(value);
}

static void RepairSettings(PlanSettings* settings, uint32_t version)
{
    // Stud spacing below 6 inches (or garbage) would make framed walls endless.
    if (!IsSaneFloat(settings->studSpacing) || settings->studSpacing < 6.0f)
        settings->studSpacing = 16.0f;
    if (version < PlanVersion10400)
        settings->value3D1390 = 1.0f;
    else if (!IsSaneFloat(settings->value3D1390) || settings->value3D1390 <= 0.0f)
        settings->value3D1390 = 1.0f;
    // A freshly loaded plan is never modified, whatever the file carried.
    settings->modified = 0;
}

static bool ReadPlanHeader(uint32_t version)
{
    size_t prefix = SettingsPrefixForVersion(version);
    if (!prefix || !activeDocument)
        return false;
    // The whole block must be there before the document's settings are touched.
    if (!RequireStreamBytes(4 + (uint64_t)prefix))
        return false;
    PlanSettings* settings = CreatePlanSettings();
    if (!settings)
        return false;
    uint32_t storedSize = 0;
    ReadU32BigEndian(&storedSize);
    std::vector<uint8_t> block(prefix);
    ReadBytes(block.data(), (uint32_t)prefix);
    if (StreamDamaged()) {
        FreePlanSettings(settings);
        return false;
    }
    // The record is stored exactly as it lies in memory (little-endian, packed).
    std::memcpy(settings, block.data(), prefix);
    settings->tracingImagePath[sizeof settings->tracingImagePath - 1] = '\0';
    RepairSettings(settings, version);
    FreePlanSettings(activeDocument->settings);
    activeDocument->settings = settings;
    return true;
}

bool ReadPlanHeaderV10000() { return ReadPlanHeader(PlanVersion10000); }
bool ReadPlanHeaderV10300() { return ReadPlanHeader(PlanVersion10300); }
bool ReadPlanHeaderV10350() { return ReadPlanHeader(planFileVersionRead == PlanVersion10351 ? PlanVersion10351 : PlanVersion10350); }
bool ReadPlanHeaderV10400() { return ReadPlanHeader(PlanVersion10400); }
bool ReadPlanHeaderV10410() { return ReadPlanHeader(PlanVersion10410); }

static bool SkipHeader(uint32_t version)
{
    size_t prefix = SettingsPrefixForVersion(version);
    if (!prefix || !RequireStreamBytes(4 + (uint64_t)prefix))
        return false;
    uint32_t storedSize = 0;
    ReadU32BigEndian(&storedSize);
    std::vector<uint8_t> block(prefix);
    ReadBytes(block.data(), (uint32_t)prefix);
    return !StreamDamaged();
}

bool SkipHeaderV10000() { return SkipHeader(PlanVersion10000); }
bool SkipHeaderV10300() { return SkipHeader(PlanVersion10300); }
bool SkipHeaderV10350() { return SkipHeader(PlanVersion10350); }
bool SkipHeaderV10400() { return SkipHeader(PlanVersion10400); }
bool SkipHeaderV10410() { return SkipHeader(PlanVersion10410); }

bool ReadPlanHeaderForVersion(uint32_t version)
{
    switch (version) {
    case PlanVersion10000: return ReadPlanHeaderV10000();
    case PlanVersion10300: return ReadPlanHeaderV10300();
    case PlanVersion10350:
    case PlanVersion10351: return ReadPlanHeaderV10350();
    case PlanVersion10400: return ReadPlanHeaderV10400();
    case PlanVersion10410: return ReadPlanHeaderV10410();
    default: return false;
    }
}

bool SkipHeaderForVersion(uint32_t version)
{
    switch (version) {
    case PlanVersion10000: return SkipHeaderV10000();
    case PlanVersion10300: return SkipHeaderV10300();
    case PlanVersion10350:
    case PlanVersion10351: return SkipHeaderV10350();
    case PlanVersion10400: return SkipHeaderV10400();
    case PlanVersion10410: return SkipHeaderV10410();
    default: return false;
    }
}

static bool IsKnownVersion(uint32_t version)
{
    return SettingsPrefixForVersion(version) != 0;
}

// ---------------------------------------------------------------------------------
// Floors.

static bool ReadFloorFields(char* name, uint8_t* shown, uint8_t* active, float* height)
{
    if (!RequireStreamBytes(kFloorRecordNameBytes + 6))
        return false;
    ReadBytes(name, kFloorRecordNameBytes);
    name[kFloorRecordNameBytes - 1] = '\0';
    ReadBytes(shown, 1);
    ReadBytes(active, 1);
    ReadFloatBigEndian(height);
    return !StreamDamaged();
}

PlanFloor* ReadFloorRecord()
{
    PlanFloor* floor = CreateFloor("Untitled", 1, 1, nullptr);
    if (!floor) {
        SkipFloorRecord();
        MarkStreamDamaged();
        return nullptr;
    }
    if (!ReadFloorFields(floor->name, &floor->shown, &floor->active, &floor->height)) {
        RemoveFloor(floor);
        return nullptr;
    }
    if (std::strcmp(floor->name, "X_TOP") == 0)
        std::strcpy(floor->name, "X_TOP_FIRST_FLOOR");
    if (!importIntoCurrentFloor)
        AppendFloorToDocument(floor);
    return floor;
}

void SkipFloorRecord()
{
    char name[kFloorRecordNameBytes];
    uint8_t shown = 0, active = 0;
    float height = 0;
    ReadFloorFields(name, &shown, &active, &height);
}

void WriteFloorRecord(const PlanFloor* floor)
{
    WriteU16BigEndian(TagFloor);
    WriteBytes(floor->name, kFloorRecordNameBytes);
    WriteBytes(&floor->shown, 1);
    WriteBytes(&floor->active, 1);
    WriteFloatBigEndian(floor->height);
}

static void SetCameraForFloorName(const char* name)
{
    float pitch = 90.0f, yaw = 0.0f;
    uint16_t plane = 2;
    if (std::strcmp(name, "X_FRONT") == 0) {
        pitch = 0.0f; yaw = 0.0f; plane = 1;
    } else if (std::strcmp(name, "X_BACK") == 0) {
        pitch = 0.0f; yaw = 180.0f; plane = 1;
    } else if (std::strcmp(name, "X_LEFT") == 0) {
        pitch = 0.0f; yaw = 270.0f; plane = 3;
    } else if (std::strcmp(name, "X_RIGHT") == 0) {
        pitch = 0.0f; yaw = 90.0f; plane = 3;
    }
    viewPitchDegrees = pitch;
    viewYawDegrees = yaw;
    if (activeDocument && activeDocument->settings)
        activeDocument->settings->viewPlane = plane;
    ApplyViewAngles(pitch, yaw, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, perspectiveOn);
}

// ---------------------------------------------------------------------------------
// Body.

void AppendGroupMember(PlanObject* group, PlanObject* object)
{
    object->owner = group;
    object->floor = group->floor;
    AppendToObjectList(&group->firstChild, object);
}

void BeginGroupRecord(std::vector<PlanObject*>& groups, PlanObject* lastObject)
{
    // Only a group can take members; anything else is a damaged stream.
    if (!lastObject || lastObject->type != ObjGroup || groups.size() >= kMaxGroupNesting ||
        (!groups.empty() && lastObject == groups.back())) {
        MarkStreamDamaged();
        return;
    }
    groups.push_back(lastObject);
}

void EndGroupRecord(std::vector<PlanObject*>& groups)
{
    if (!groups.empty()) {
        UpdateObjectExtentsFiltered(groups.back(), 0, 1);
        groups.pop_back();
    }
}

void AddToOpenGroup(const std::vector<PlanObject*>& groups, PlanObject* object)
{
    if (object && !groups.empty())
        AppendGroupMember(groups.back(), GroupDimensionMember(object));
}

// The body into the active document; `build` false only reads it through, as a check
// does: no camera, and objects without their generated parts.
static bool ReadBody(bool build)
{
    if (!activeDocument)
        return false;
    bool memory = streamMemoryMode != 0;
    LONG length = memory ? 0 : GetFileSize(planFileHandle);
    if (memory)
        SetCameraForFloorName("X_TOP_FIRST_FLOOR");

    PlanFloor* lastFloor = nullptr;
    PlanObject* lastObject = nullptr;
    // Open groups, innermost last.
    std::vector<PlanObject*> groups;
    bool ended = false;

    uint16_t tag = 0;
    ReadU16BigEndian(&tag);
    while (!StreamDamaged()) {
        if (tag == TagEnd) {
            ended = true;
            break;
        }
        if (!memory && GetFilePosition(planFileHandle) >= length)
            break;
        switch (tag) {
        case TagFloor:
            if (memory) {
                // The copy never holds floor records.
                MarkStreamDamaged();
                break;
            }
            if (PlanFloor* floor = ReadFloorRecord()) {
                if (build)
                    SetCameraForFloorName(floor->name);
                if (importIntoCurrentFloor) {
                    // Read for its camera only: the objects go to the current floor.
                    RemoveFloor(floor);
                } else {
                    lastFloor = floor;
                }
            }
            break;
        case TagObject: {
            PlanFloor* target = (memory || importIntoCurrentFloor) ? activeDocument->currentFloor : lastFloor;
            if (!target) {
                // An object before any floor has nowhere to live.
                MarkStreamDamaged();
                break;
            }
            PlanObject* object = build ? ReadPlanObject(target, groups.empty())
                                       : ReadPlanObjectBase(target, groups.empty());
            AddToOpenGroup(groups, object);
            if (object)
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
            // Unknown tags stand alone.
            break;
        }
        if (StreamDamaged())
            break;
        ReadU16BigEndian(&tag);
    }
    return ended && !StreamDamaged();
}

bool ReadPlanBody()
{
    return ReadBody(true);
}

void WritePlanHeader()
{
    WriteU32BigEndian(planFileVersionWritten);
    WriteU16BigEndian(kPlanHeaderWord);
}

void WritePlanSettings()
{
    if (!activeDocument || !activeDocument->settings)
        return;
    WriteU32BigEndian((uint32_t)kPlanSettingsSize);
    uint8_t block[kPlanSettingsSize];
    std::memcpy(block, activeDocument->settings, kPlanSettingsSize);
    WriteBytes(block, (uint32_t)kPlanSettingsSize);
}

// The floors a copy takes objects from: the storeys, where walls and everything built
// stand, and their top-view sheets; side-view sheets stay out.
static bool IsCopiedFloor(const char* name)
{
    return std::strcmp(name, "X_TOP_FIRST_FLOOR") == 0 || std::strcmp(name, "X_TOP_SECOND_FLOOR") == 0 ||
           std::strcmp(name, "X_TOP_THIRD_FLOOR") == 0 || std::strcmp(name, "First Floor") == 0 ||
           std::strcmp(name, "Second Floor") == 0 || std::strcmp(name, "Third Floor") == 0;
}

void WriteAllFloors()
{
    if (activeDocument) {
        for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next) {
            if (streamMemoryMode) {
                if (!IsCopiedFloor(floor->name))
                    continue;
            } else {
                WriteFloorRecord(floor);
            }
            for (PlanObject* object = floor->firstObject; object; object = object->next)
                WritePlanObject(object);
        }
    }
    WriteU16BigEndian(TagEnd);
}

// ---------------------------------------------------------------------------------
// Load and save.

static void SendFrameCommand(WPARAM command)
{
    if (frameWindow && IsWindow(frameWindow))
        SendMessageA(frameWindow, WM_COMMAND, command, 0);
}

namespace {

// What a load changes in the active document and the view, held from the start of each read
// until the plan is known to have read whole: a read that a write met gives it all back,
// so that nothing of it stays. The document's floors are set aside rather than freed; an
// import into the current floor only appends to it.
class HeldPlan {
public:
    void Take()
    {
        hadSettings = activeDocument->settings != nullptr;
        if (hadSettings)
            settings = *activeDocument->settings;
        version = planFileVersionRead;
        headerWord = planFileHeaderWord;
        pictures = imageTextureCounter;
        pitch = viewPitchDegrees, yaw = viewYawDegrees, plane = workPlane;
        pitchCos = viewPitchCos, pitchSin = viewPitchSin, yawCos = viewYawCos, yawSin = viewYawSin;
        if (importIntoCurrentFloor) {
            last = LastFloorObject(activeDocument->currentFloor);
            return;
        }
        floors = activeDocument->firstFloor;
        current = activeDocument->currentFloor;
        sheet = activeDocument->currentViewSheet;
        activeDocument->firstFloor = activeDocument->currentFloor = activeDocument->currentViewSheet = nullptr;
    }

    // The read is taken: the floors it replaced go.
    void Release()
    {
        while (PlanFloor* floor = floors) {
            floors = floor->next;
            RemoveFloor(floor);
        }
    }

    void GiveBack()
    {
        if (importIntoCurrentFloor) {
            FreeFloorObjectsAfter(activeDocument->currentFloor, last);
        } else {
            while (activeDocument->firstFloor)
                RemoveFloor(activeDocument->firstFloor);
            activeDocument->firstFloor = floors;
            activeDocument->currentFloor = current;
            activeDocument->currentViewSheet = sheet;
            floors = nullptr;
        }
        if (hadSettings) {
            *activeDocument->settings = settings;
        } else {
            FreePlanSettings(activeDocument->settings);
            activeDocument->settings = nullptr;
        }
        planFileVersionRead = version;
        planFileHeaderWord = headerWord;
        imageTextureCounter = pictures;
        viewPitchDegrees = pitch, viewYawDegrees = yaw, workPlane = plane;
        viewPitchCos = pitchCos, viewPitchSin = pitchSin, viewYawCos = yawCos, viewYawSin = yawSin;
    }

private:
    bool hadSettings = false;
    PlanSettings settings;
    uint32_t version = 0, pictures = 0;
    uint16_t headerWord = 0;
    float pitch = 0, yaw = 0, pitchCos = 0, pitchSin = 0, yawCos = 0, yawSin = 0;
    PlaneEquation plane;
    PlanObject* last = nullptr;
    PlanFloor *floors = nullptr, *current = nullptr, *sheet = nullptr;
};

} // namespace

bool LoadPlanFile(const char* path)
{
    if (!activeDocument || !activePlanPane)
        return false;
    HeldPlan held;
    bool known = false, bodyIntact = false;
    const bool read = ReadRecordFile(path, [&] {
        held.Take();
        ResetStatusProgress();
        ReadPlanVersion();
        known = IsKnownVersion(planFileVersionRead) && ReadPlanHeaderForVersion(planFileVersionRead);
        if (!known)
            return false;
        PlanSettings* settings = activeDocument->settings;
        if (settings->groundColour.red == 0 && settings->groundColour.green == 192 &&
            settings->groundColour.blue == 0)
            settings->groundColour = ColourTriple{24415, 36751, 12079};
        return bodyIntact = ReadPlanBody();
    }, [&] { held.GiveBack(); });
    if (read && !known)
        held.GiveBack();
    if (!read || !known) {
        if (read)
            ShowPlanFormatMessage(kPlanFormatText);
        return false;
    }
    held.Release();
    if (!bodyIntact)
        ShowPlanFormatMessage(kPlanFormatText);

    bool result = false;
    PlanFloor* storeys[3] = {FindFloorByName("First Floor"), FindFloorByName("Second Floor"),
                             FindFloorByName("Third Floor")};
    if (storeys[0] && storeys[1] && storeys[2]) {
        for (PlanFloor* storey : storeys) {
            if (storey->active && storey->shown) {
                activeDocument->currentFloor = storey;
                break;
            }
        }
        SendFrameCommand(5149);
        DeactivateDocumentChild();
        if (activeDocument->firstFloor)
            ForEachFloorObject(activeDocument->firstFloor, 0, SuspendTextEditors, nullptr);
        result = bodyIntact;
        // The plan shows the layers remembered for the floor-plan tab.
        uint16_t before = activeToolTab;
        SetActiveToolTab(1);
        if (before == 1)
            ApplyTabLayerToPlan();
    }
    InvalidatePlanView();
    RebuildAll3D();
    ResetStatusProgress();
    return result;
}

bool PlanFileReadsWhole(const char* path)
{
    // Read into a document of its own, which nothing shows, and freed: the open plans,
    // the view and the picture numbering stay as they were.
    PlanDocument* document = activeDocument;
    HWND pane = activePlanPane;
    const uint32_t version = planFileVersionRead, pictures = imageTextureCounter;
    const uint16_t headerWord = planFileHeaderWord;
    bool whole = false;
    if (PlanDocument* scratch = CreatePlanDocument()) {
        activePlanPane = nullptr;
        const bool read = ReadRecordFile(path, [&] {
            // Only a disk file is read: a pipe would be waited on for ever.
            whole = GetFileType(LongToHandle(planFileHandle)) == FILE_TYPE_DISK;
            if (whole) {
                ReadPlanVersion();
                whole = ReadPlanHeaderForVersion(planFileVersionRead) && ReadBody(false);
            }
            return whole;
        }, [] {
            while (activeDocument->firstFloor)
                RemoveFloor(activeDocument->firstFloor);
        });
        whole = read && whole;
        FreePlanDocument(scratch);
    }
    activeDocument = document;
    activePlanPane = pane;
    planFileVersionRead = version;
    planFileHeaderWord = headerWord;
    imageTextureCounter = pictures;
    return whole;
}

bool SavePlanFile(const char* path)
{
    planFileVersionWritten = PlanVersion10410;
    saveInProgress = 1;
    if (!activeDocument)
        return false;
    PlanSettings* settings = activeDocument->settings;
    float zoom = settings ? settings->zoom : 1.0f;
    if (settings)
        settings->zoom = 1.0f;

    // The old plan is replaced only by a complete new one.
    std::string stoppedBy;
    TakeMisdirectedPath();
    bool written = SaveFileSafely(path, [] {
        WritePlanHeader();
        WritePlanSettings();
        WriteAllFloors();
    }, PlanFileReadsWhole, &stoppedBy);
    if (settings)
        settings->zoom = zoom;
    if (!written) {
        ShowSaveFailure(stoppedBy);
        return false;
    }
    if (settings)
        settings->modified = 0;
    saveInProgress = 0;
    return true;
}
