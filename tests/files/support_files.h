#pragma once
// Plan files made by the tests themselves: a small writer that follows the format tables
// (independent of the program's writer, so it can produce every older version) and a
// walker of the version-10410 body grammar, plus a fixture with an active document.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "support/plan_fixtures.h"

struct PlanDocument;
struct PlanFloor;
struct PlanObject;
struct PlanVertex;
struct PlanSettings;

namespace ftest {

typedef std::vector<uint8_t> Bytes;

struct TPoint {
    uint16_t kind = 1;
    uint8_t selected = 0, selectable = 1, keep = 0;
    float in[3] = {0, 0, 0}, pos[3] = {0, 0, 0}, out[3] = {0, 0, 0}, extra[3] = {0, 0, 0};
    uint32_t textureA = 0, textureB = 0;
    float reserved[2] = {0, 0};
    float u = 1.0f, v = 1.0f;
    uint16_t colourA[3] = {65535, 65535, 65535}, colourB[3] = {65535, 65535, 65535};
    // Tails (the fields each version carries).
    float elevation = 0;
    uint32_t word3 = 0;
    uint16_t short1 = 0, side = 0;
    uint32_t flags = 0, word1 = 0;
    float height = 0, value1 = 0;
    uint32_t word2 = 0;
    float value2 = 0, value3 = 0, value4 = 0;
};

TPoint At(float x, float y, float z);

struct TObject {
    uint16_t type = 6;
    uint8_t closed = 0, creation = 0;
    uint16_t colourA[3] = {0, 0, 0}, colourM[3] = {0, 0, 0}, colourB[3] = {0, 0, 0};
    float size = 1.0f;
    uint16_t value1 = 6, value2 = 2, rows = 1;
    int64_t headerCount = -1;  // the header's point count; -1: the number of points
    uint8_t build = 1;
    int16_t winding = 0;
    uint32_t style = 0;
    uint8_t texture[32] = {};
    uint16_t projection = 2;
    float plantAge = 0;
    uint32_t subType = 0, image1 = 0, image2 = 0;
    uint16_t colour3[3] = {0, 0, 0}, colour4[3] = {0, 0, 0};
    float elevation = 0;
    uint8_t onTerrain = 0;
    uint32_t value3 = 0;
    uint16_t colour5[3] = {0, 0, 0};
    uint32_t category = 2;
    float params[5] = {0, 0, 0, 0, 0};
    uint32_t offsetSide = 0, value4 = 0;
    std::vector<TPoint> points;
};

struct TOpening {
    uint16_t typeCopy = 16, style = 501;
    uint32_t startIndex = 0, endIndex = 1;
    float distance = 10, remaining = 10, width = 30, height = 80, elevation = 0;
    uint8_t hinge = 0;
    float swing = 0;
    uint16_t flags = 0, bars1 = 0, bars2 = 0;
    float casing = 3;
};

class TestFileWriter {
public:
    explicit TestFileWriter(uint32_t version) : version(version) {}
    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void F32(float v);
    void Raw(const void* data, size_t n);
    // Version, header word 2, the stored size 1614 and the version's prefix of the block.
    void Header(const Bytes& settings1614);
    void Floor(const char* name, uint8_t shown, uint8_t active, float height);
    void Floor(const uint8_t* name256, uint8_t shown, uint8_t active, float height);
    void ObjectHeader(const TObject& o);
    void Points(const TObject& o);
    // Tag 200, header and points (the caller adds the extras).
    void Object(const TObject& o);
    void OpeningBlock(const TOpening& b);
    void End() { U16(400); }

    uint32_t version;
    Bytes bytes;
};

// An object of the type through the points, every other field the writer's default.
TObject Outline(uint16_t type, std::vector<TPoint> points, uint8_t closed = 0);
// A dimension line (type 102 over four points) with its label part: tag 300, the label
// (type 201) with words 1 and 2, flag 0, the 60-byte font, then 8 and two zero floats.
void WriteDimensionWithLabel(TestFileWriter& w, const uint8_t* font60);

// Runs a shell command (programs of the system keep no share modes) to its end, which it
// tells by a file, "ran": Wine does not wait for a Unix program.
void RunToEnd(const std::string& command);
// Rewrites `file` in place from `from`, of its size, as a program of the system would: its
// first 64 KB, then its last, 30 ms after WriteSecondBlock (or 2 s after the first),
// putting its date back to that of `dated` after each. Returns once the first is written.
void RewriteInTwoBlocks(const std::string& from, const std::string& file, const std::string& dated);
// Lets that writer go on to its second block, and waits until it is written.
void WriteSecondBlock();
// `file` made a copy of `dated` (cp -p) and rewritten so, with `read` called meanwhile and
// the second block written once that read waits for the file to settle. A read that a
// loaded machine begins only after the settling span comes after a pause longer than any
// a reader waits for: the writer is let finish and all is done again, up to eight times.
// Whether a read settled.
bool ReadBetweenTwoBlocks(const std::string& from, const std::string& file, const std::string& dated,
                          const std::function<void()>& read);

// The default settings record (1614 bytes) as the model makes it, and field pokes by offset.
Bytes DefaultSettingsBlock();
void PokeLE16(Bytes& b, size_t offset, uint16_t v);
void PokeLE32(Bytes& b, size_t offset, uint32_t v);
void PokeLEFloat(Bytes& b, size_t offset, float v);
uint32_t ReadLE32(const Bytes& b, size_t offset);
uint32_t ReadBE32(const Bytes& b, size_t offset);
uint16_t ReadBE16(const Bytes& b, size_t offset);

// Walks a version-10410 plan file by the body grammar alone, the way any reader of the
// format does, and lists what it met: "F:<name>", "O:<type>", "{" and "}" for 202 and
// 203, "E" for the end tag. `ok` is false when the walk left the grammar or the data.
struct BodyWalk {
    bool ok = false;
    std::vector<std::string> events;
    std::string Joined() const;
};
BodyWalk WalkPlanBody(const Bytes& file);

class PlanFileTest : public vtest::PaneDocumentTest {
protected:
    void SetUp() override;
    void TearDown() override;

    PlanFloor* Storey(int index) const;
    PlanSettings* Settings() const;
    // An object on the floor (attached), one straight vertex per point.
    PlanObject* Make(uint16_t type, PlanFloor* floor, std::initializer_list<TPoint> points, bool closed = false);
    // An object in the owner's child list.
    PlanObject* MakeChild(PlanObject* owner, uint16_t type, std::initializer_list<TPoint> points);
    static PlanVertex* VertexAt(PlanObject* object, int index) { return vtest::VertexAt(object, index); }
    static int CountObjects(const PlanFloor* floor) { return vtest::CountFloorObjects(floor); }
    static int CountChildren(const PlanObject* object);
    // Brings an object made by a test into the state the program keeps a placed object in,
    // the one loading gives it: projection and texture coordinates and the parts generated
    // from it (wall openings fitted, meshes rebuilt); group members alike. Without it a
    // round trip would compare derived fields the hand-made object never had.
    static void NormaliseAsPlaced(PlanObject* object);

    // Writes the bytes to a file and loads it.
    bool LoadBytes(const Bytes& bytes, const char* name = "in.ZRO");
    // Saves the active document and returns the file's bytes.
    Bytes SaveBytes(const char* name = "out.ZRO");
    // Loads a saved plan and saves it again: the bytes must not change.
    void ExpectSameBytesAfterReload(const Bytes& saved);

    char directory[MAX_PATH] = {};
    char* savedProgramDirectory = nullptr;
};

} // namespace ftest
