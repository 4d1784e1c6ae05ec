// velmora-test: shards 2
// Files built to hurt: text and dimension-label fonts no device can draw, a deck
// railing spaced to a hair, library shapes that carry a picture path or a text, the
// same texts through the copy buffer's memory stream, and a save that the disk cannot
// take.
#include "support_files.h"
#include "files/copy_buffer.h"
#include "files/plan_file.h"
#include "files/plan_object_records.h"
#include "files/record_stream.h"
#include "files/symbol_library.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "model3d/generator_limits.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "support/test_support.h"
#include <psapi.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace ftest;

namespace {

const uint8_t kHugeFont[8] = {0xE4, 0xFF, 0x00, 0x00,    // lfHeight 65508
                              0x00, 0x00, 0xE4, 0xFF};   // lfWidth -1835008

// A text frame's extras: the text, no skipped block, left aligned, the raw font.
void TextExtras(TestFileWriter& w, const char* text, const uint8_t* font60)
{
    w.U32(static_cast<uint32_t>(std::strlen(text) + 1));
    w.Raw(text, std::strlen(text) + 1);
    w.U32(0);
    w.U16(0);
    w.Raw(font60, 60);
}

int CountChildWindows(HWND parent)
{
    int n = 0;
    EnumChildWindows(parent, [](HWND, LPARAM count) {
        ++*reinterpret_cast<int*>(count);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&n));
    return n;
}

struct Counters {
    long records;
    int windows;
};

Counters Count(HWND pane)
{
    return {LiveRecordCount(), CountChildWindows(pane)};
}

// The fonts of the text controls of a list and its members.
void CollectTextFonts(const PlanObject* first, std::vector<HGDIOBJ>* fonts)
{
    for (const PlanObject* o = first; o; o = o->next) {
        if (o->link && IsWindow(static_cast<HWND>(o->link)) && (o->type == ObjTextFrame || o->extrasType == ObjTextFrame))
            fonts->push_back(reinterpret_cast<HGDIOBJ>(SendMessageA(static_cast<HWND>(o->link), WM_GETFONT, 0, 0)));
        CollectTextFonts(o->firstChild, fonts);
    }
}

// True when every font is gone (checked at once, before a handle can be handed out again).
bool AllDeleted(const std::vector<HGDIOBJ>& fonts)
{
    for (HGDIOBJ font : fonts)
        if (!font || GetObjectType(font) != 0)
            return false;
    return !fonts.empty();
}

// A screen redraw of the whole plan on a memory DC.
void RedrawOnBitmap(PlanDocument* document, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RedrawPlan(dc, document->firstFloor, nullptr, DrawAllObjects, nullptr);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// The plan printed into a metafile at the scale of a 300 dpi printer; the largest height
// or width of the fonts the page made.
LONG LargestPrintedFont(PlanDocument* document)
{
    HDC page = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    planDC = page;
    planOutputMode = 1;
    printScaleX = printScaleY = 300.0f / 72.0f;
    RedrawPlan(page, document->firstFloor, nullptr, DrawAllObjects, nullptr);
    planDC = nullptr;
    planOutputMode = 0;
    printScaleX = printScaleY = 1.0f;
    HENHMETAFILE printed = CloseEnhMetaFile(page);
    LONG largest = 0;
    EnumEnhMetaFile(nullptr, printed, [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM out) {
        if (record->iType == EMR_EXTCREATEFONTINDIRECTW) {
            const LOGFONTW& f = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record)->elfw.elfLogFont;
            LONG* l = reinterpret_cast<LONG*>(out);
            *l = std::max({*l, std::labs(f.lfHeight), std::labs(f.lfWidth)});
        }
        return 1;
    }, &largest, nullptr);
    DeleteEnhMetaFile(printed);
    return largest;
}

size_t GeneratedParts(const PlanObject* owner)
{
    size_t n = 0;
    for (const PlanObject* p = static_cast<const PlanObject*>(owner->link); p; p = p->next)
        ++n;
    return n;
}

// A disk that takes only so many bytes: the write that passes them fails, short.
uint32_t diskRoom = 0;
UINT WINAPI FillingDiskWrite(HFILE file, const void* data, UINT count)
{
    UINT n = count < diskRoom ? count : diskRoom;
    diskRoom -= n;
    return n ? _lwrite(file, static_cast<LPCCH>(data), n) : 0;
}

} // namespace

class HostileCases : public PlanFileTest {};

TEST_F(HostileCases, AFontNoDeviceDrawsLoadsDrawsAndSavesAsStored)
{
    uint8_t font[60] = {};
    std::memcpy(font, kHugeFont, sizeof kHugeFont);
    std::memcpy(font + 28, "Arial", 5);
    TestFileWriter w(10410);
    w.Header(DefaultSettingsBlock());
    w.Floor("First Floor", 1, 1, 96.0f);
    w.Object(Outline(200, {At(0, 0, 0), At(120, 0, 60)}));
    TextExtras(w, "Huge", font);
    w.Floor("Second Floor", 1, 0, 96.0f);
    w.Floor("Third Floor", 1, 0, 96.0f);
    w.End();
    ASSERT_TRUE(LoadBytes(w.bytes));
    RedrawOnBitmap(document, 200, 200);

    Bytes saved = SaveBytes();
    EXPECT_NE(std::search(saved.begin(), saved.end(), font, font + 60), saved.end())
        << "the stored font is saved as it was read";
}

TEST_F(HostileCases, DimensionLabelFontsNoDeviceDrawsDrawOnEveryRoad)
{
    // Found by mutating plans: a dimension in a group whose label font reads lfHeight
    // 65536, lfWidth -1047806; read as a plan, as a model file and as pasted copies.
    enum Road { Plan, Model, Paste };
    const struct Case {
        const char* file;
        Road road;
    } cases[] = {{"dimension-label-font-1.ZRO", Plan}, {"dimension-label-font-4.model", Model},
                 {"dimension-label-font-2.body", Paste}, {"dimension-label-font-3.body", Paste}};
    vtest::MessageBoxRecorder boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = vtest::SourceFilePath(std::string("tests/files/data/") + c.file);
        const Bytes bytes = vtest::ReadFileBytes(path);
        ASSERT_FALSE(bytes.empty()) << path;
        if (c.road == Plan) {
            ASSERT_TRUE(LoadPlanFile(path.c_str()));
        } else if (c.road == Model) {
            ASSERT_TRUE(LoadModelFile(path.c_str()));
        } else {
            streamBuffer = static_cast<uint8_t*>(std::malloc(bytes.size()));
            std::memcpy(streamBuffer, bytes.data(), bytes.size());
            streamBufferLength = static_cast<uint32_t>(bytes.size());
            copySourceFloor = document->currentFloor;
            std::strcpy(copySourceFloorName, copySourceFloor->name);
            PasteSelection();
            std::free(streamBuffer);
            streamBuffer = nullptr;
            copySourceFloor = nullptr;
        }
        RedrawOnBitmap(document, 320, 240);
        // The label is printed, held to what a device draws once scaled to the page.
        EXPECT_EQ(LargestPrintedFont(document), kMaxFontUnits);
        for (PlanFloor* f = document->firstFloor; f; f = f->next)
            FreeFloorObjects(f);
    }
}

TEST_F(HostileCases, RailingsOfAnySpacingStayWithinTheLimit)
{
    struct Case {
        uint16_t type;
        int sides;
        float spacing;
    } cases[] = {{51, 4, 0.01f}, {51, 8, 1e-6f}, {45, 8, 1e-6f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sides);
        std::initializer_list<TPoint> square = {At(0, 0, 0), At(400, 0, 0), At(400, 0, 400), At(0, 0, 400)};
        std::initializer_list<TPoint> octagon = {At(100, 0, 0), At(300, 0, 0), At(400, 0, 100), At(400, 0, 300),
                                                 At(300, 0, 400), At(100, 0, 400), At(0, 0, 300), At(0, 0, 100)};
        PlanObject* owner = Make(c.type, Storey(0), c.sides == 4 ? square : octagon, c.type == 51);
        owner->subType = 802;
        owner->parameters[0] = 36.0f;
        owner->parameters[1] = c.spacing;
        for (PlanVertex* v = owner->firstVertex; v; v = v->next) {
            v->segmentFlags = 1;   // a railing on every side of a deck
            v->mainHeight = 36.0f;
        }
        Bytes saved = SaveBytes();
        ASSERT_TRUE(LoadBytes(saved));
        PlanObject* loaded = Storey(0)->firstObject;
        ASSERT_NE(loaded, nullptr);
        EXPECT_GT(GeneratedParts(loaded), 4u);
        // The pieces of its railings, and a deck's one edge face for each side.
        const size_t faces = c.type == 51 ? c.sides : 0;
        EXPECT_LE(GeneratedParts(loaded), static_cast<size_t>(kMaxGeneratedPieces) + faces);
        FreeFloorObjects(Storey(0));
    }
}

TEST_F(HostileCases, LibraryShapesFreeWhatTheyWereReadWith)
{
    uint8_t font[60] = {};
    std::memcpy(font + 28, "Arial", 5);
    font[0] = 0xF4;   // lfHeight -12
    font[1] = font[2] = font[3] = 0xFF;
    TestFileWriter w(10410);
    w.Header(DefaultSettingsBlock());
    w.Object(Outline(130, {At(0, 0, 0), At(30, 0, 0)}));
    w.U32(6);
    w.Raw("P.BMP", 6);
    w.Object(Outline(200, {At(0, 0, 0), At(40, 0, 20)}));
    TextExtras(w, "Label", font);
    w.End();
    vtest::WriteFileBytes("SHAPES.ZTM", w.bytes);

    auto loadOnce = [&] {
        PlanObject* symbol = static_cast<PlanObject*>(AllocateRecord(sizeof(PlanObject)));
        symbol->type = 55;
        EXPECT_TRUE(LoadSymbolFile("SHAPES.ZTM", symbol));
        std::vector<HGDIOBJ> fonts;
        CollectTextFonts(symbol->firstChild, &fonts);
        FreeObject(symbol);
        EXPECT_TRUE(AllDeleted(fonts)) << fonts.size() << " " << (fonts.empty() ? -1 : (int)GetObjectType(fonts[0])) << " " << (void*)(fonts.empty()?nullptr:fonts[0]);
    };
    loadOnce();   // first use of the edit class and the font
    const Counters before = Count(pane);
    for (int i = 0; i < 100; ++i)
        loadOnce();
    const Counters after = Count(pane);
    EXPECT_EQ(after.records, before.records);
    EXPECT_EQ(after.windows, before.windows);
}

TEST_F(HostileCases, TextsThroughTheMemoryStreamLeaveNothingBehind)
{
    PlanFloor* sheet = CreateFloor("X_TOP_FIRST_FLOOR", 1, 0, nullptr);
    AppendFloorToDocument(sheet);
    for (int i = 0; i < 20; ++i)
        Make(200, sheet, {At(10.0f * i, 0, 0), At(10.0f * i + 40, 0, 20)});
    Bytes saved = SaveBytes();
    ASSERT_TRUE(LoadBytes(saved));
    sheet = FindFloorByName("X_TOP_FIRST_FLOOR");
    ASSERT_NE(sheet, nullptr);
    for (PlanObject* o = sheet->firstObject; o; o = o->next)
        o->firstVertex->selected = 1;
    document->currentFloor = Storey(0);

    // What a copy writes and a paste reads: the selection in the memory stream, read
    // onto the current floor.
    auto copyAndPaste = [] {
        std::free(streamBuffer);
        streamBuffer = nullptr;
        streamBufferLength = 0;
        streamPosition = 0;
        streamMemoryMode = 1;
        ResetStreamFlags();
        WriteAllFloors();
        streamPosition = 0;
        ReadPlanBody();
        streamMemoryMode = 0;
        streamPosition = 0;
    };
    auto freePasted = [&] {
        std::vector<HGDIOBJ> fonts;
        CollectTextFonts(Storey(0)->firstObject, &fonts);
        EXPECT_EQ(fonts.size(), 20u);
        FreeFloorObjects(Storey(0));
        EXPECT_TRUE(AllDeleted(fonts));
    };
    copyAndPaste();
    freePasted();
    PROCESS_MEMORY_COUNTERS_EX memoryBefore = {};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memoryBefore),
                         sizeof memoryBefore);
    const Counters before = Count(pane);
    for (int i = 0; i < 100; ++i) {
        copyAndPaste();
        freePasted();
    }
    const Counters after = Count(pane);
    PROCESS_MEMORY_COUNTERS_EX memoryAfter = {};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memoryAfter),
                         sizeof memoryAfter);
    EXPECT_EQ(after.records, before.records);
    EXPECT_EQ(after.windows, before.windows);
    // 2,000 texts read: a kilobyte kept for each would be 2 MB.
    EXPECT_LT(memoryAfter.PrivateUsage, memoryBefore.PrivateUsage + 256 * 1024);
    std::free(streamBuffer);
    streamBuffer = nullptr;
    streamBufferLength = 0;
}

TEST_F(HostileCases, ASaveTheDiskCannotTakeKeepsTheOldFile)
{
    for (int i = 0; i < 3000; ++i)
        Make(6, Storey(0), {At(i, 0, 0), At(i, 0, 10)});
    ASSERT_TRUE(SavePlanFile("full.ZRO"));
    const Bytes old = vtest::ReadFileBytes("full.ZRO");
    Make(6, Storey(0), {At(0, 0, 50), At(10, 0, 50)});
    // Room for nothing, for part of the first block, for the first block only, for all
    // but the end of the last.
    const uint32_t rooms[] = {0, 100, 1u << 20, static_cast<uint32_t>(old.size())};
    for (uint32_t room : rooms) {
        SCOPED_TRACE(room);
        vtest::MessageBoxRecorder boxes;
        Settings()->modified = 1;
        diskRoom = room;
        SetRecordFileWriteFunction(FillingDiskWrite);
        bool saved = SavePlanFile("full.ZRO");
        SetRecordFileWriteFunction(nullptr);
        EXPECT_FALSE(saved);
        EXPECT_EQ(1u, boxes.Count());
        EXPECT_EQ(1u, Settings()->modified);
        EXPECT_TRUE(vtest::ReadFileBytes("full.ZRO") == old);
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA("~*", &found);
        EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "a temporary file stayed behind";
        if (find != INVALID_HANDLE_VALUE)
            FindClose(find);
    }
    ASSERT_TRUE(LoadPlanFile("full.ZRO"));
    EXPECT_EQ(3000, CountObjects(Storey(0)));
}
