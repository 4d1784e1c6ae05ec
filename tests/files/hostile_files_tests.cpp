// velmora-test: timeout 900
// velmora-test: shards 3
#include "support_files.h"
#include "files/plan_file.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/record_memory.h"
#include "support/test_support.h"
#include <chrono>
#include <cstring>
#include <random>

using namespace ftest;

namespace {

const char* const kFormatText =
    "Questo file \xE8 stato danneggiato oppure \xE8 stato creato da una versione pi\xF9 recente di Velmora.";
const char* const kWallTooShortText =
    "Il muro non \xE8 abbastanza lungo perch\xE9 vi si possano inserire tutti gli oggetti: eliminare una o pi\xF9 "
    "finestre, porte o apparecchi elettrici/idraulici.";
const char* const kStepsDoNotFitText =
    "E' stato accorciato un lato di terrazza oppure \xE8 stato inserito un gradino pi\xF9 ampio del lato della "
    "terrazza: eliminare uno o pi\xF9 gradini.";

void Door(TestFileWriter& w, uint16_t tag, uint16_t type, uint32_t start)
{
    w.U16(tag);
    TObject door = Outline(type, {At(10, 0, 0), At(40, 0, 0)});
    w.ObjectHeader(door);
    w.Points(door);
    TOpening block;
    // Centred well inside its segment (every segment here is at least 100 long), so that
    // the refit after loading keeps it and says nothing.
    block.distance = 50;
    block.typeCopy = type;
    block.startIndex = start;
    block.endIndex = start + 1;
    w.OpeningBlock(block);
}

// A valid plan that passes through every kind of record the readers know.
Bytes RichFile(uint32_t version = 10410)
{
    TestFileWriter w(version);
    w.Header(DefaultSettingsBlock());
    w.Floor("First Floor", 1, 1, 96.0f);
    w.Object(Outline(12, {At(0, 0, 0), At(120, 0, 0), At(120, 0, 120)}));
    w.U32(2);
    Door(w, 201, 16, 0);
    Door(w, 201, 17, 1);
    TObject deck = Outline(51, {At(0, 0, 200), At(100, 0, 200), At(100, 0, 300)});
    w.Object(deck);
    if (version >= 10351) {
        w.U32(1);
        Door(w, 204, 53, 0);
    }
    uint8_t font[60] = {};
    std::memcpy(font + 28, "Arial", 5);
    WriteDimensionWithLabel(w, font);
    w.Object(Outline(130, {At(0, 0, 0), At(30, 0, 0)}));
    w.U32(4);
    w.Raw("A.BM", 4);
    w.Object(Outline(200, {At(0, 0, 0), At(40, 0, 20)}));
    w.U32(3);
    w.Raw("Hi", 3);
    w.U32(2);
    w.Raw("xx", 2);
    w.U16(1);
    w.Raw(font, 60);
    w.Object(Outline(1000, {}));
    w.U16(202);
    w.Object(Outline(6, {At(0, 0, 0), At(9, 0, 9)}));
    w.Object(Outline(1000, {}));
    w.U16(202);
    w.Object(Outline(22, {At(0, 0, 0), At(9, 0, 9)}));
    w.U16(203);
    w.U16(203);
    w.Object(Outline(28, {At(3, 0, 3)}));
    w.Floor("Second Floor", 1, 0, 96.0f);
    w.Object(Outline(38, {At(0, 0, 0), At(0, 0, 90)}));
    w.Floor("Third Floor", 1, 0, 96.0f);
    w.End();
    return w.bytes;
}

// The header, one floor and the start of an object record (tag and header of the object).
TestFileWriter Start(const TObject& object)
{
    TestFileWriter w(10410);
    w.Header(DefaultSettingsBlock());
    w.Floor("First Floor", 1, 1, 96.0f);
    w.U16(200);
    w.ObjectHeader(object);
    return w;
}

void Finish(TestFileWriter& w)
{
    w.Floor("Second Floor", 1, 0, 96.0f);
    w.Floor("Third Floor", 1, 0, 96.0f);
    w.End();
}

} // namespace

class HostileFiles : public PlanFileTest {
protected:
    // Loads and expects the format message and failure.
    void ExpectRejected(const Bytes& bytes)
    {
        vtest::MessageBoxRecorder boxes;
        long before = LiveRecordCount();
        EXPECT_FALSE(LoadBytes(bytes));
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ("Errore file - Formato sconosciuto", boxes.Last().caption);
        EXPECT_EQ(kFormatText, boxes.Last().text);
        // Nothing was allocated for the counts the file claimed.
        EXPECT_LT(LiveRecordCount(), before + 200);
    }
};

TEST_F(HostileFiles, TheRichFilesAreValid)
{
    vtest::MessageBoxRecorder boxes;
    for (uint32_t version : {10350u, 10410u}) {
        ASSERT_TRUE(LoadBytes(RichFile(version)));
    }
    EXPECT_EQ(0u, boxes.Count());
    // Trailing bytes after the end tag are never read.
    Bytes padded = RichFile();
    padded.insert(padded.end(), 50, 0xEE);
    EXPECT_TRUE(LoadBytes(padded));
}

TEST_F(HostileFiles, TruncationAtEveryOffsetIsRejected)
{
    for (uint32_t version : {10350u, 10410u}) {
        Bytes file = RichFile(version);
        vtest::MessageBoxRecorder boxes;
        size_t failures = 0;
        for (size_t length = 0; length < file.size(); ++length) {
            Bytes cut(file.begin(), file.begin() + length);
            bool loaded = LoadBytes(cut);
            if (loaded)
                ADD_FAILURE() << "a file cut at " << length << " loaded";
            failures += loaded ? 0 : 1;
        }
        EXPECT_EQ(file.size(), failures);
        ASSERT_EQ(file.size(), boxes.Count());
        for (const auto& box : boxes.Boxes())
            ASSERT_EQ(kFormatText, box.text);
    }
}

TEST_F(HostileFiles, HugePointCountIsRefused)
{
    TObject line = Outline(6, {});
    TestFileWriter w = Start(line);
    w.U32(0xFFFFFFFFu);
    w.Raw(std::vector<uint8_t>(133 * 3).data(), 133 * 3);
    Finish(w);
    ExpectRejected(w.bytes);
}

TEST_F(HostileFiles, HugeOpeningCountIsRefused)
{
    TObject wall = Outline(12, {At(0, 0, 0), At(10, 0, 0)});
    TestFileWriter w = Start(wall);
    w.Points(wall);
    w.U32(0x7FFFFFFFu);
    Finish(w);
    ExpectRejected(w.bytes);
}

TEST_F(HostileFiles, HugeTextAndPathLengthsAreRefused)
{
    for (int which = 0; which < 3; ++which) {
        SCOPED_TRACE(which);
        TObject o = Outline(which == 0 ? 130 : 200, {At(0, 0, 0), At(1, 0, 1)});
        TestFileWriter w = Start(o);
        w.Points(o);
        if (which < 2) {
            w.U32(0xFFFFFFF0u);
        } else {
            w.U32(1);
            w.U8(0);
            w.U32(0x80000000u);  // bytes to skip
        }
        w.Raw(std::vector<uint8_t>(80).data(), 80);
        Finish(w);
        ExpectRejected(w.bytes);
    }
}

TEST_F(HostileFiles, PartsMustBeOpenings)
{
    // A wall part of another type would later be released as that type's link.
    TObject wall = Outline(12, {At(0, 0, 0), At(10, 0, 0)});
    TestFileWriter w = Start(wall);
    w.Points(wall);
    w.U32(1);
    Door(w, 201, 100, 0);
    Finish(w);
    ExpectRejected(w.bytes);

    // A dimension's attached object must be a label.
    TObject dim = Outline(102, {At(0, 0, 0), At(0, 0, 9), At(9, 0, 9), At(9, 0, 0)});
    TestFileWriter d = Start(dim);
    d.Points(dim);
    d.U16(300);
    TObject notLabel = Outline(16, {At(0, 0, 0)});
    d.ObjectHeader(notLabel);
    d.Points(notLabel);
    d.Raw(std::vector<uint8_t>(65 + 12).data(), 65 + 12);
    Finish(d);
    ExpectRejected(d.bytes);
}

TEST_F(HostileFiles, GroupBracketsOnlyFollowGroups)
{
    TObject line = Outline(6, {At(0, 0, 0), At(1, 0, 1)});
    TestFileWriter w = Start(line);
    w.Points(line);
    w.U16(202);
    w.Object(line);
    w.U16(203);
    Finish(w);
    ExpectRejected(w.bytes);
}

TEST_F(HostileFiles, EndlessGroupNestingIsRefused)
{
    TestFileWriter w(10410);
    w.Header(DefaultSettingsBlock());
    w.Floor("First Floor", 1, 1, 96.0f);
    for (int i = 0; i < 500; ++i) {
        w.Object(Outline(1000, {}));
        w.U16(202);
    }
    Finish(w);
    ExpectRejected(w.bytes);
}

TEST_F(HostileFiles, ObjectBeforeAnyFloorIsRefused)
{
    TestFileWriter w(10410);
    w.Header(DefaultSettingsBlock());
    w.Object(Outline(6, {At(0, 0, 0)}));
    Finish(w);
    ExpectRejected(w.bytes);
}

TEST_F(HostileFiles, ThousandsOfDamagedCopiesReturnCleanly)
{
    std::mt19937 random(20240611);
    const Bytes files[2] = {RichFile(10410), RichFile(10350)};
    auto started = std::chrono::steady_clock::now();
    double slowest = 0;
    int loaded = 0, rejected = 0;
    vtest::MessageBoxRecorder boxes;
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = files[round % 2];
        int edits = 1 + (int)(random() % 4);
        for (int e = 0; e < edits; ++e) {
            size_t at = random() % damaged.size();
            switch (random() % 5) {
            case 0: damaged[at] = (uint8_t)random(); break;
            case 1: damaged[at] ^= (uint8_t)(1u << (random() % 8)); break;
            case 2: damaged[at] = 0xFF; if (at + 1 < damaged.size()) damaged[at + 1] = 0xFF; break;
            case 3: damaged.erase(damaged.begin() + at, damaged.begin() + std::min(damaged.size(), at + 1 + random() % 40)); break;
            default: damaged.insert(damaged.begin() + at, damaged.begin() + at, damaged.begin() + std::min(damaged.size(), at + 1 + random() % 40)); break;
            }
            if (damaged.empty())
                damaged.push_back(0);
        }
        auto t0 = std::chrono::steady_clock::now();
        size_t boxesBefore = boxes.Count();
        bool ok = LoadBytes(damaged);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        slowest = std::max(slowest, seconds);
        (ok ? loaded : rejected)++;
        // A rejected file shows the format message at most once (a well-formed file that
        // lacks a storey is refused silently), a loaded one never. A damaged number can
        // leave a well-formed plan whose opening or step no longer fits its segment: the
        // refit after loading removes it with its own notice, the only other box allowed.
        size_t formatMessages = 0;
        for (size_t i = boxesBefore; i < boxes.Count(); ++i) {
            const vtest::MessageBoxRecorder::Box& box = boxes.Boxes()[i];
            if (box.text == kFormatText) {
                ++formatMessages;
                continue;
            }
            ASSERT_TRUE(box.text == kWallTooShortText || box.text == kStepsDoNotFitText)
                << "unexpected box \"" << box.caption << "\": " << box.text;
        }
        ASSERT_LE(formatMessages, ok ? 0u : 1u);
    }
    double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_GT(rejected, 0);
    EXPECT_LT(slowest, 2.0);
    EXPECT_LT(total, 600.0);
    RecordProperty("loaded", loaded);
    RecordProperty("rejected", rejected);
}
