#include "support_files.h"
#include "files/object_exchange.h"
#include "files/plan_file.h"
#include "files/record_stream.h"
#include "files/symbol_library.h"
#include "files/whole_reads.h"
#include "model/generated_children.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "model/view_projection.h"
#include "palette/category_tabs.h"
#include "support/test_support.h"
#include <cmath>
#include <cstring>

using namespace ftest;

namespace {

const char* const kFormatText =
    "Questo file \xE8 stato danneggiato oppure \xE8 stato creato da una versione pi\xF9 recente di Velmora.";

// A file of the version with the three storeys and whatever `body` adds to them.
Bytes StoreyFile(uint32_t version, const Bytes& settings, void (*body)(TestFileWriter&) = nullptr)
{
    TestFileWriter w(version);
    w.Header(settings);
    w.Floor("First Floor", 1, 1, 96.0f);
    if (body)
        body(w);
    w.Floor("Second Floor", 1, 0, 96.0f);
    w.Floor("Third Floor", 1, 0, 96.0f);
    w.End();
    return w.bytes;
}

float SettingsFloat(const PlanSettings* s, size_t offset)
{
    float v;
    std::memcpy(&v, reinterpret_cast<const uint8_t*>(s) + offset, 4);
    return v;
}

uint32_t SettingsU32(const PlanSettings* s, size_t offset)
{
    uint32_t v;
    std::memcpy(&v, reinterpret_cast<const uint8_t*>(s) + offset, 4);
    return v;
}

} // namespace

class PlanFile : public PlanFileTest {};

TEST_F(PlanFile, EmptyPlanIsSavedByteForByte)
{
    Settings()->zoom = 0.6f;
    Settings()->modified = 1;
    Bytes expectedSettings(1614);
    std::memcpy(expectedSettings.data(), Settings(), 1614);
    PokeLEFloat(expectedSettings, 172, 1.0f);  // the zoom is stored as 1.0
    PokeLE32(expectedSettings, 1410, 1);        // the flag as it was while writing

    Bytes got = SaveBytes();

    Bytes want;
    want.reserve(4096);
    for (uint8_t b : {0x00, 0x00, 0x28, 0xAA, 0x00, 0x02, 0x00, 0x00, 0x06, 0x4E})
        want.push_back(b);
    for (uint8_t b : expectedSettings)
        want.push_back(b);
    auto floorRecord = [&](const char* name, uint8_t active) {
        want.push_back(0); want.push_back(100);
        uint8_t raw[256] = {};
        std::strcpy(reinterpret_cast<char*>(raw), name);
        want.insert(want.end(), raw, raw + 256);
        want.push_back(1);
        want.push_back(active);
        const uint8_t height[4] = {0x42, 0xC0, 0x00, 0x00};  // 96.0
        want.insert(want.end(), height, height + 4);
    };
    floorRecord("First Floor", 1);
    floorRecord("Second Floor", 0);
    floorRecord("Third Floor", 0);
    want.push_back(0x01); want.push_back(0x90);
    ASSERT_EQ(want.size(), got.size());
    EXPECT_TRUE(want == got);

    EXPECT_FLOAT_EQ(0.6f, Settings()->zoom);
    EXPECT_EQ(0u, Settings()->modified);
    EXPECT_EQ(0, saveInProgress);
}

TEST_F(PlanFile, SavingOverALongerFileLeavesNothingBehind)
{
    vtest::WriteFileBytes("out.ZRO", Bytes(9000, 0xAB));
    Bytes got = SaveBytes("out.ZRO");
    EXPECT_EQ(6u + 4 + 1614 + 3 * 262 + 3 * 2 + 2, got.size());
}

TEST_F(PlanFile, SaveThatCannotCreateTheFileKeepsTheModifiedFlag)
{
    vtest::MessageBoxRecorder boxes;
    Settings()->modified = 1;
    Settings()->zoom = 1.0f;
    EXPECT_FALSE(SavePlanFile("no-such-folder\\plan.ZRO"));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("Errore di salvataggio", boxes.Last().caption);
    EXPECT_EQ(0u, boxes.Last().text.find("Si \xE8 verificato un errore durante il salvataggio"));
    EXPECT_NE(std::string::npos, boxes.Last().text.find(".\n\nUsare l'opzione Salva con nome"));
    EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL), boxes.Last().flags);
    EXPECT_EQ(1u, Settings()->modified);
    EXPECT_EQ(1, saveInProgress);
    EXPECT_FLOAT_EQ(1.0f, Settings()->zoom);
}

TEST_F(PlanFile, UnknownVersionShowsTheFormatMessageAndChangesNothing)
{
    vtest::MessageBoxRecorder boxes;
    Bytes settings = DefaultSettingsBlock();
    for (uint32_t version : {10200u, 10411u, 0u, 9999u}) {
        TestFileWriter w(10410);
        w.Header(settings);
        w.bytes[0] = (uint8_t)(version >> 24); w.bytes[1] = (uint8_t)(version >> 16);
        w.bytes[2] = (uint8_t)(version >> 8); w.bytes[3] = (uint8_t)version;
        w.End();
        PlanSettings* before = Settings();
        PlanFloor* first = document->firstFloor;
        EXPECT_FALSE(LoadBytes(w.bytes));
        EXPECT_EQ(before, document->settings);
        EXPECT_EQ(first, document->firstFloor);
    }
    ASSERT_EQ(4u, boxes.Count());
    EXPECT_EQ("Errore file - Formato sconosciuto", boxes.Last().caption);
    EXPECT_EQ(kFormatText, boxes.Last().text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL), boxes.Last().flags);
}

// Every reader of record files: a file whose date a write moves once its first part is read
// is read again, and only that read stays (nothing of the first doubled); one that every read
// meets is refused, and the plan, its settings and the template are as they were.
TEST_F(PlanFile, AReadThatAWriteMetLeavesNothing)
{
    static const char* file;
    static int moves, reads;
    SetReadStageHook([](ReadStage stage) {
        static FILETIME date = {0, 0x01D00000};   // a new one at every move
        HANDLE h = CreateFileA(file, FILE_WRITE_ATTRIBUTES, 7, nullptr, OPEN_EXISTING, 0, nullptr);
        reads += stage == ReadStage::PartRead;
        stage == ReadStage::PartRead && moves && moves-- && (++date.dwLowDateTime, SetFileTime(h, nullptr, nullptr, &date));
        CloseHandle(h);
    });
    TPoint picked = At(0, 0, 0);
    picked.selected = 1;
    Make(6, Storey(1), {picked, At(5, 0, 5)});
    ASSERT_TRUE(WriteObjectExchangeFile("O.ZOB"));
    vtest::WriteFileBytes("P.ZRO", StoreyFile(10410, DefaultSettingsBlock(), [](TestFileWriter& w) {
        w.Object(Outline(6, {At(0, 0, 0), At(9, 0, 9)}));
        w.Object(Outline(3, {At(0, 0, 9), At(9, 0, 0)}));
        w.Object(Outline(130, {At(0, 0, 0), At(30, 0, 0)}));   // a picture, numbered once
        w.U32(4);
        w.Raw("A.BM", 4);
        w.Object(Outline(200, {At(0, 0, 0), At(40, 0, 20)}));   // a text, with its window
        w.U32(3);
        w.Raw("Hi", 3);
        w.U32(0);
        w.U16(1);
        w.Raw(std::string(60, '\0').data(), 60);
        w.Object(Outline(12, {At(0, 0, 0), At(20, 0, 0)}));   // a wall too short for its door:
        w.U32(1);                                              // a reader that builds it says so
        w.U16(201);
        const TObject door = Outline(16, {At(10, 0, 0), At(40, 0, 0)});
        w.ObjectHeader(door);
        w.Points(door);
        w.OpeningBlock(TOpening());
    }));
    PlanObject symbol = {};
    const auto windows = [&] {
        int n = 0;
        for (HWND child = GetWindow(pane, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            ++n;
        return n;
    };
    const auto count = [&] {
        int n = CountChildren(&symbol);
        for (PlanFloor* f = document->firstFloor; f; f = f->next)
            n += CountObjects(f);
        return n;
    };
    const struct {
        const char* file;
        std::function<bool()> load;
        int added;
        bool replaces;
        size_t boxes;   // shown by a load taken, none by one refused (but the import's own, that another program writes it)
    } readers[] = {{"P.ZRO", [] { return LoadPlanFile("P.ZRO"); }, 5, true, 1},
                   {"P.ZRO", [] { return LoadModelFile("P.ZRO"); }, 5, false, 1},
                   {"P.ZRO", [&] { return LoadSymbolFile("P.ZRO", &symbol); }, 5, false, 0},
                   {"O.ZOB", [] { return ImportObjectFile("O.ZOB"); }, 1, false, 0},
                   {"O.ZOB", [] {   // the companions' way back: read into the current floor
                        importIntoCurrentFloor = 1;
                        const bool read = ImportObjectFile("O.ZOB");
                        return importIntoCurrentFloor = 0, read;
                    }, 1, false, 0}};
    for (const auto& reader : readers)
        for (bool always : {true, false}) {
            SCOPED_TRACE(std::string(always ? "every read met: " : "one read met: ") + std::to_string(&reader - readers));
            const int before = count();
            const PlanSettings settings = *Settings();
            const PlanFloor* first = document->firstFloor;
            const long records = LiveRecordCount();
            const uint32_t pictures = imageTextureCounter;
            const int texts = windows();
            viewPitchDegrees = 30, viewYawDegrees = 45;   // not the plan's: a view not restored shows
            const float pitch = viewPitchDegrees, yaw = viewYawDegrees;
            file = reader.file, moves = always ? 1 << 30 : 1, reads = 0;
            vtest::MessageBoxRecorder boxes;
            EXPECT_EQ(!always, reader.load());
            EXPECT_EQ(always ? size_t(reader.file == std::string("O.ZOB")) : reader.boxes, boxes.Count());
            EXPECT_EQ(always, recordFileChanging);
            EXPECT_GE(reads, 2);
            EXPECT_EQ(always ? before : (reader.replaces ? 0 : before) + reader.added, count());
            EXPECT_EQ(pictures + (always || reader.file != std::string("P.ZRO") ? 0 : 1), imageTextureCounter);
            if (always) {
                EXPECT_TRUE(first == document->firstFloor && !std::memcmp(&settings, Settings(), sizeof settings));
                EXPECT_EQ(records, LiveRecordCount());
                EXPECT_EQ(texts, windows());
                EXPECT_TRUE(pitch == viewPitchDegrees && yaw == viewYawDegrees);
            }
            FreeSymbolTemplates(symbol.firstChild);
            symbol.firstChild = nullptr;
        }
    SetReadStageHook(nullptr);
}

// A write whose date is put back is still seen (the file's change moves): one in a plan's
// last bytes, past the first part read, makes the read go again; a plan that another
// program refills, cut for a second and then whole with its old date (cp -p), is read
// again until whole, never shown as damaged.
TEST_F(PlanFile, AWriteThatPutsTheDateBackIsSeen)
{
    static std::vector<TPoint> points(120000, At(1, 0, 1));
    static std::string rewrite;
    SetReadStageHook([](ReadStage stage) {
        stage == ReadStage::PartRead && !rewrite.empty() ? RunToEnd(rewrite), rewrite.clear() : void();
    });
    const auto plan = [](const char* name, float ends) {
        points.front() = points.back() = At(ends, 0, 0);
        vtest::WriteFileBytes(name, StoreyFile(10410, DefaultSettingsBlock(), [](TestFileWriter& w) {
            w.Object(Outline(6, points));
        }));
        RunToEnd(std::string("touch -d 2020-01-01 ") + name);
    };
    plan("A.ZRO", 7), plan("B.ZRO", 9);
    ASSERT_GT(vtest::ReadFileBytes("A.ZRO").size(), WholeFileRead::kPartBytes + 4096);
    const auto ends = [&] {   // of one version, not a mix
        PlanObject* object = document->firstFloor ? document->firstFloor->firstObject : nullptr;
        const PlanVertex* vertex = object ? object->firstVertex : nullptr;
        const float first = vertex ? vertex->position[0] : 0.0f;
        while (vertex && vertex->next)
            vertex = vertex->next;
        return vertex && vertex->position[0] == first ? first : 0.0f;
    };
    vtest::MessageBoxRecorder boxes;
    RunToEnd("cp -p A.ZRO P.ZRO");
    rewrite = "dd if=B.ZRO of=P.ZRO conv=notrunc 2>/dev/null && touch -r A.ZRO P.ZRO";
    EXPECT_TRUE(LoadPlanFile("P.ZRO"));
    EXPECT_EQ(9.0f, ends());
    RunToEnd("head -c 700000 A.ZRO >P.ZRO && touch -r A.ZRO P.ZRO; (sleep 1 && cp -p B.ZRO P.ZRO) & true");
    EXPECT_TRUE(LoadPlanFile("P.ZRO"));
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_EQ(9.0f, ends());
    // Rewritten in place by two blocks 30 ms apart, its date put back each time, the read
    // falling wholly between them (the second block once it is done): never taken as a mix.
    // Smaller plans, read well within the settling span.
    points.resize(20000, At(1, 0, 1));
    plan("A2.ZRO", 7), plan("B2.ZRO", 9);
    EXPECT_TRUE(ftest::ReadBetweenTwoBlocks("B2.ZRO", "P.ZRO", "A2.ZRO", [] { EXPECT_TRUE(LoadPlanFile("P.ZRO")); }));
    EXPECT_EQ(9.0f, ends());
    // The same where the dates cannot show a write, held as four such file systems keep them
    // whatever is written: the second block, written while the read waits to settle, is seen
    // by the bytes read again.
    static uint64_t held[2];
    SetFileStateHook([](FileState* state) { state->written = held[0], state->changed = held[1]; });
    SetReadStageHook([](ReadStage stage) {
        stage == ReadStage::Settling && !rewrite.empty() ? RunToEnd(rewrite), rewrite.clear() : void();
    });
    const uint64_t now = FileClock(), second = now / 10000000 * 10000000;
    const std::pair<uint64_t, uint64_t> rows[] = {{second - 36000000000ull, second}, {second - 20000000, second - 20000000},
                                                  {now - 10000, now - 20000}, {now + 50000000, now + 50000000}};
    for (const auto& dates : rows) {
        RunToEnd("cp A2.ZRO P.ZRO && dd if=B2.ZRO of=P.ZRO bs=65536 count=1 conv=notrunc 2>/dev/null");
        held[0] = dates.first, held[1] = dates.second;
        rewrite = "dd if=B2.ZRO of=P.ZRO bs=65536 skip=1 seek=1 conv=notrunc 2>/dev/null";
        EXPECT_TRUE(LoadPlanFile("P.ZRO"));
        EXPECT_EQ(9.0f, ends()) << &dates - rows;
    }
    SetFileStateHook(nullptr);
    // A plan this instance has just saved is read at once (Save, then Revert); one another
    // program has just written waits to settle.
    static int settled;
    settled = 0;
    SetReadStageHook([](ReadStage stage) { settled += stage == ReadStage::Settling; });
    ASSERT_TRUE(SavePlanFile("S.ZRO"));
    EXPECT_TRUE(LoadPlanFile("S.ZRO"));
    EXPECT_EQ(0, settled);
    for (int attempt = 0; attempt < 5 && !settled; ++attempt) {   // copied again where read after the span
        ASSERT_TRUE(CopyFileA("S.ZRO", "T.ZRO", FALSE));
        EXPECT_TRUE(LoadPlanFile("T.ZRO"));
    }
    EXPECT_EQ(1, settled);
    // Cut and dated tomorrow: damaged, and said so, not "being saved".
    RunToEnd("head -c 1000000 A.ZRO >C.ZRO && touch -d tomorrow C.ZRO");
    EXPECT_FALSE(LoadPlanFile("C.ZRO"));
    EXPECT_FALSE(recordFileChanging);
    EXPECT_EQ("Errore file - Formato sconosciuto", boxes.Last().caption);
    SetReadStageHook(nullptr);
}

// A save waits for a reader of this server that lets none write: it goes through once the reader lets go within the
// patience, and past it says that another program is reading the plan.
TEST_F(PlanFile, ASaveWaitsForAReaderWithinThePatience)
{
    static HANDLE reader;
    ASSERT_TRUE(SavePlanFile("R.ZRO"));
    for (DWORD held : {300ul, kRereadPatience + 700ul}) {
        reader = CreateFileA("R.ZRO", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        HANDLE letGo = CreateThread(nullptr, 0, [](void* ms) -> DWORD {
            return Sleep(static_cast<DWORD>(reinterpret_cast<uintptr_t>(ms))), CloseHandle(reader), 0; }, reinterpret_cast<void*>(held), 0, nullptr);
        vtest::MessageBoxRecorder boxes;
        EXPECT_EQ(held < kRereadPatience, SavePlanFile("R.ZRO"));
        EXPECT_EQ(held < kRereadPatience ? 0u : 1u, boxes.Count());
        EXPECT_TRUE(held < kRereadPatience || boxes.Last().text.find("Un altro programma sta leggendo il file") == 0);
        WaitForSingleObject(letGo, INFINITE), CloseHandle(letGo);
    }
}

TEST_F(PlanFile, MissingFileFailsWithoutAMessage)
{
    vtest::MessageBoxRecorder boxes;
    EXPECT_FALSE(LoadPlanFile("absent.ZRO"));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(PlanFile, SettingsPrefixAndRepairsByVersion)
{
    Bytes settings = DefaultSettingsBlock();
    PokeLEFloat(settings, 1386, 4.0f);   // stud spacing
    PokeLEFloat(settings, 1390, 0.0f);
    PokeLE32(settings, 1410, 1);         // modified
    PokeLEFloat(settings, 794, 99.0f);   // stair width, only in longer prefixes
    PokeLEFloat(settings, 1418, 77.0f);  // deck height
    PokeLE32(settings, 1592, 7);         // plant search
    PokeLE16(settings, 114, 0); PokeLE16(settings, 116, 192); PokeLE16(settings, 118, 0);

    struct Case { uint32_t version; float stair, deck; uint32_t search; };
    for (Case c : {Case{10000, 48.0f, 24.0f, 65535}, Case{10300, 99.0f, 24.0f, 65535},
                   Case{10350, 99.0f, 77.0f, 65535}, Case{10351, 99.0f, 77.0f, 65535},
                   Case{10400, 99.0f, 77.0f, 65535}, Case{10410, 99.0f, 77.0f, 7}}) {
        SCOPED_TRACE(c.version);
        ASSERT_TRUE(LoadBytes(StoreyFile(c.version, settings)));
        const PlanSettings* s = Settings();
        EXPECT_FLOAT_EQ(c.stair, SettingsFloat(s, 794));
        EXPECT_FLOAT_EQ(c.deck, SettingsFloat(s, 1418));
        EXPECT_EQ(c.search, SettingsU32(s, 1592));
        // Every version, 10400 included, comes in sane and unmodified.
        EXPECT_FLOAT_EQ(16.0f, s->studSpacing);
        EXPECT_FLOAT_EQ(1.0f, s->value3D1390);
        EXPECT_EQ(0u, s->modified);
        EXPECT_EQ(24415, s->groundColour.red);
        EXPECT_EQ(36751, s->groundColour.green);
        EXPECT_EQ(12079, s->groundColour.blue);
    }
}

TEST_F(PlanFile, SaneStudSpacingAndThe1390ValueSurvive)
{
    Bytes settings = DefaultSettingsBlock();
    PokeLEFloat(settings, 1386, 24.0f);
    PokeLEFloat(settings, 1390, 2.5f);
    ASSERT_TRUE(LoadBytes(StoreyFile(10410, settings)));
    EXPECT_FLOAT_EQ(24.0f, Settings()->studSpacing);
    EXPECT_FLOAT_EQ(2.5f, Settings()->value3D1390);
    ASSERT_TRUE(LoadBytes(StoreyFile(10300, settings)));
    EXPECT_FLOAT_EQ(1.0f, Settings()->value3D1390);
}

TEST_F(PlanFile, FloorsCurrentStoreyAndCamera)
{
    Bytes settings = DefaultSettingsBlock();
    TestFileWriter w(10410);
    w.Header(settings);
    w.Floor("First Floor", 0, 1, 96.0f);
    w.Floor("Second Floor", 1, 1, 110.0f);
    w.Floor("Third Floor", 1, 0, 96.0f);
    w.Floor("X_TOP", 1, 0, 96.0f);
    w.Floor("X_LEFT", 0, 0, 96.0f);
    w.End();
    ASSERT_TRUE(LoadBytes(w.bytes));
    ASSERT_NE(nullptr, document->currentFloor);
    EXPECT_STREQ("Second Floor", document->currentFloor->name);
    EXPECT_FLOAT_EQ(110.0f, document->currentFloor->height);
    EXPECT_STREQ("X_TOP_FIRST_FLOOR", Storey(3)->name);
    EXPECT_STREQ("X_LEFT", Storey(4)->name);
    EXPECT_EQ(nullptr, Storey(5));
    // The camera follows the last floor record.
    EXPECT_FLOAT_EQ(0.0f, viewPitchDegrees);
    EXPECT_FLOAT_EQ(270.0f, viewYawDegrees);
    EXPECT_EQ(3, Settings()->viewPlane);
}

TEST_F(PlanFile, MissingStoreyLoadsTheObjectsButFails)
{
    vtest::MessageBoxRecorder boxes;
    TestFileWriter w(10410);
    w.Header(DefaultSettingsBlock());
    w.Floor("First Floor", 1, 1, 96.0f);
    TObject line;
    line.points = {At(0, 0, 0), At(10, 0, 0)};
    w.Object(line);
    w.Floor("Second Floor", 1, 0, 96.0f);
    w.End();
    EXPECT_FALSE(LoadBytes(w.bytes));
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_EQ(1, CountObjects(document->firstFloor));
}

TEST_F(PlanFile, UnknownTagsStandAlone)
{
    Bytes file = StoreyFile(10410, DefaultSettingsBlock(), [](TestFileWriter& w) {
        w.U16(999);
        w.U16(204);
        TObject line;
        line.points = {At(0, 0, 0), At(10, 0, 0)};
        w.Object(line);
    });
    ASSERT_TRUE(LoadBytes(file));
    EXPECT_EQ(1, CountObjects(Storey(0)));
}

TEST_F(PlanFile, VisibleCategoriesComeFromTheFloorPlanTab)
{
    Bytes settings = DefaultSettingsBlock();
    PokeLE32(settings, 1444, 0x80);            // stored visible mask
    PokeLE32(settings, 1448 + 4, 2 | 16 | 64);  // floor-plan tab remembers floor plan, roof, deck
    PokeLE32(settings, 1484, 128);
    for (uint16_t tabBefore : {uint16_t(0), uint16_t(1), uint16_t(7)}) {
        activeToolTab = tabBefore;
        ASSERT_TRUE(LoadBytes(StoreyFile(10410, settings)));
        EXPECT_EQ(1, activeToolTab);
        EXPECT_EQ(2u | 16u | 64u, Settings()->visibleCategories);
        EXPECT_EQ(2u, Settings()->activeCategory);
    }
    // Files older than the layers get the default masks.
    activeToolTab = 0;
    ASSERT_TRUE(LoadBytes(StoreyFile(10350, settings)));
    EXPECT_EQ(14u, Settings()->visibleCategories);
}

TEST_F(PlanFile, TabSwitchAppliesTheRememberedMasks)
{
    Settings()->tabCategoryMasks[4] = 16 | 2;
    activeToolTab = 1;
    SetActiveToolTab(4);
    EXPECT_EQ(18u, Settings()->visibleCategories);
    EXPECT_EQ(16u, Settings()->activeCategory);
    // The drawing-shape tab keeps the plan's masks.
    SetActiveToolTab(8);
    EXPECT_EQ(8, activeToolTab);
    EXPECT_EQ(18u, Settings()->visibleCategories);
    EXPECT_EQ(16u, Settings()->activeCategory);
    ApplyTabLayerToPlan();
    EXPECT_EQ(18u, Settings()->visibleCategories);
    activeToolTab = 6;
    ApplyTabLayerToPlan();
    EXPECT_EQ(66u, Settings()->visibleCategories);
    EXPECT_EQ(64u, Settings()->activeCategory);
}

TEST_F(PlanFile, TracingImagePathIsTerminatedInsideItsBuffer)
{
    Bytes settings = DefaultSettingsBlock();
    for (size_t i = 822; i < 822 + 512; ++i)
        settings[i] = 'A';
    ASSERT_TRUE(LoadBytes(StoreyFile(10410, settings)));
    EXPECT_EQ(511u, strnlen(Settings()->tracingImagePath, 512));
}

TEST_F(PlanFile, FloorNameIsTerminatedInsideItsBuffer)
{
    TestFileWriter w(10410);
    w.Header(DefaultSettingsBlock());
    uint8_t name[256];
    std::memset(name, 'Q', sizeof name);
    w.Floor(name, 1, 1, 96.0f);
    w.Floor("First Floor", 1, 1, 96.0f);
    w.Floor("Second Floor", 1, 1, 96.0f);
    w.Floor("Third Floor", 1, 1, 96.0f);
    w.End();
    ASSERT_TRUE(LoadBytes(w.bytes));
    EXPECT_EQ(255u, strnlen(Storey(0)->name, 256));
}
