#pragma once
// Plan files (.ZRO, .ZVK, .ZQW, also "\PRINT.TMP" and "\Z!3DQW.TMP"): a version, a header
// word, the raw settings record, then tagged floor, object and group records. Every
// version ever written is read (10000, 10300, 10350, 10351, 10400, 10410); 10410 is written.
#include <cstdint>
#include <string>
#include <vector>

struct PlanFloor;
struct PlanObject;

enum PlanFileVersion : uint32_t {
    PlanVersion10000 = 10000,
    PlanVersion10300 = 10300,
    PlanVersion10350 = 10350,
    PlanVersion10351 = 10351,
    PlanVersion10400 = 10400,
    PlanVersion10410 = 10410,
};

// `PlanRecordTag`: the u16 that begins each record of the body.
enum PlanRecordTag : uint16_t {
    TagFloor = 100,
    TagObject = 200,
    TagWallPart = 201,
    TagGroupBegin = 202,
    TagGroupEnd = 203,
    TagDeckPart = 204,
    TagAttachedPart = 300,
    TagNoAttachedPart = 301,
    TagEnd = 400,
};

const uint16_t kPlanHeaderWord = 2;
const uint32_t kFloorRecordNameBytes = 256;

// Version of the stream being read; steers every version test of the readers.
extern uint32_t planFileVersionRead;
// Version the writers produce (10410).
extern uint32_t planFileVersionWritten;
extern uint16_t planFileHeaderWord;
// While set, readers add what they read to the document's current floor, selected,
// and keep the document's floors. It is the frame's exchangeImportActive flag (set by the
// shell, the companions and the library side bar) under the readers' name.
extern unsigned char& importIntoCurrentFloor;
// 1 from the start of SavePlanFile until it succeeds.
extern uint8_t saveInProgress;

// Loads a plan file into the active document; false on any failure (a rejected or damaged
// file shows "Errore file - Formato sconosciuto").
bool LoadPlanFile(const char* path);
// Writes the active document as a version 10410 plan file; false without an active
// document or when the file cannot be written (then the message "Errore di salvataggio").
bool SavePlanFile(const char* path);
// True when the file reads to its end as a plan (a known version, its whole settings
// block and a body that closes with its end tag). Opens no window and changes no plan.
bool PlanFileReadsWhole(const char* path);

// Reads version and header word.
void ReadPlanVersion();
// Settings block of each version into a fresh record made the document's, with the
// repairs of the version. False when the data is too short (the document is untouched).
bool ReadPlanHeaderV10000();
bool ReadPlanHeaderV10300();
bool ReadPlanHeaderV10350();
bool ReadPlanHeaderV10400();
bool ReadPlanHeaderV10410();
// The same bytes read and dropped (symbol and model files).
bool SkipHeaderV10000();
bool SkipHeaderV10300();
bool SkipHeaderV10350();
bool SkipHeaderV10400();
bool SkipHeaderV10410();
// Reader or skip reader of the version just read; false for an unknown version or short data.
bool ReadPlanHeaderForVersion(uint32_t version);
bool SkipHeaderForVersion(uint32_t version);

// Reads the body into the active document (file or memory mode); true when it ended
// with its end tag and nothing in it was damaged.
bool ReadPlanBody();
PlanFloor* ReadFloorRecord();
void SkipFloorRecord();

// Makes the object the group's last member, on the group's floor.
void AppendGroupMember(PlanObject* group, PlanObject* object);
// Group records of a body being read; the open groups are kept innermost last. A begin
// record opens the object read just before it, which must be a group: anything else
// marks the stream damaged. An object read while a group is open becomes its member.
void BeginGroupRecord(std::vector<PlanObject*>& groups, PlanObject* lastObject);
void EndGroupRecord(std::vector<PlanObject*>& groups);
void AddToOpenGroup(const std::vector<PlanObject*>& groups, PlanObject* object);

void WritePlanHeader();
void WritePlanSettings();
void WriteAllFloors();
void WriteFloorRecord(const PlanFloor* floor);

// "Errore di salvataggio": a file could not be written (plans and every other file the
// program writes over); the message names `stoppedBy`, where another file stopped it.
void ShowSaveFailure(const std::string& stoppedBy = std::string());
// Shows the format message of a damaged or unknown plan file.
void ShowPlanFormatMessage(const char* text);
extern const char* const kPlanFormatCaption;      // "Errore file - Formato sconosciuto"
extern const char* const kPlanFormatText;         // the plan file's text
