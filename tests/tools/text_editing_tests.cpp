// velmora-test: shards 2
#include <gtest/gtest.h>
#include "files/plan_file.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "model/texture_coords.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "palette/category_tabs.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/plan_pane.h"
#include "shell/app_globals.h"
#include "shell/startup.h"
#include "support/frame_fixtures.h"
#include "support/test_support.h"
#include "support/window_pixels.h"
#include "tools/kept_text_lines.h"
#include "tools/text_editing.h"
#include "tools/text_layout_font.h"
#include "tools/tool_framework.h"
#include "support/metafile_recorder.h"
#include "tools/tool_state.h"
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// The style the plan reader gives a text's control.
const DWORD kReaderStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
const char kAccentedText[] = "Été à Noël, façade\r\nDeuxième ligne";

LOGFONTA ArialFont()
{
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = -28;
    font.lfWeight = FW_BOLD;
    font.lfCharSet = ANSI_CHARSET;
    font.lfQuality = NONANTIALIASED_QUALITY;  // plain pixels in the pen colour
    std::strcpy(font.lfFaceName, "Arial");
    return font;
}

std::string ControlText(HWND control)
{
    int length = GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(control, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

HFONT FontHandle(HWND control)
{
    return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
}

bool IsLiveFont(HFONT font)
{
    return GetObjectType(font) == OBJ_FONT;
}

// The whole LOGFONT of a font handle, zero-filled first so that two compare bytewise.
LOGFONTA LogFontOf(HFONT font)
{
    LOGFONTA got;
    std::memset(&got, 0, sizeof got);
    EXPECT_GT(GetObjectA(font, sizeof got, &got), 0);
    return got;
}

bool SameLogFont(const LOGFONTA& a, const LOGFONTA& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Every font a control is given while it is subclassed by FontRecorder.
std::vector<HFONT> fontsGiven;
WNDPROC recordedProc = nullptr;

LRESULT CALLBACK RecordFonts(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETFONT)
        fontsGiven.push_back(reinterpret_cast<HFONT>(wParam));
    return CallWindowProcA(recordedProc, window, message, wParam, lParam);
}

struct FontRecorder {
    explicit FontRecorder(HWND control) : control(control)
    {
        fontsGiven.clear();
        recordedProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordFonts)));
    }
    ~FontRecorder() { SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordedProc)); }
    HWND control;
};

LOGFONTA ControlFont(HWND control)
{
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    HFONT handle = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    EXPECT_NE(nullptr, handle);
    if (handle)
        GetObjectA(handle, sizeof font, &font);
    return font;
}

// The control's rectangle in its parent's client coordinates.
RECT PlacementInParent(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

size_t FindBytes(const std::vector<unsigned char>& haystack, const std::string& needle)
{
    for (size_t at = 0; at + needle.size() <= haystack.size(); ++at)
        if (std::memcmp(&haystack[at], needle.data(), needle.size()) == 0)
            return at;
    return std::string::npos;
}

// The first offsets at which two files differ, for the failure message.
std::string Differences(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    std::string text = "sizes " + std::to_string(a.size()) + ", " + std::to_string(b.size()) + "; differ at";
    for (size_t at = 0, shown = 0; at < a.size() && at < b.size() && shown < 12; ++at)
        if (a[at] != b[at]) {
            text += " " + std::to_string(at) + " (" + std::to_string(a[at]) + "/" + std::to_string(b[at]) + ")";
            ++shown;
        }
    return text;
}

uint32_t BigEndian32(const std::vector<unsigned char>& b, size_t at)
{
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}

// A white 32-bit drawing surface for what the plan draws.
struct Surface {
    Surface(int width, int height) : width(width), height(height)
    {
        BITMAPINFO info;
        std::memset(&info, 0, sizeof info);
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        previous = SelectObject(dc, bitmap);
        std::memset(bits, 0xFF, static_cast<size_t>(width) * height * 4);
    }
    ~Surface()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const
    {
        uint32_t p = bits[static_cast<size_t>(y) * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The bounding box of every pixel that is not white; empty when none.
    RECT Ink(COLORREF* someColour = nullptr) const
    {
        RECT ink = {width, height, -1, -1};
        GdiFlush();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                COLORREF c = At(x, y);
                if (c == RGB(255, 255, 255))
                    continue;
                if (someColour)
                    *someColour = c;
                if (x < ink.left) ink.left = x;
                if (y < ink.top) ink.top = y;
                if (x > ink.right) ink.right = x;
                if (y > ink.bottom) ink.bottom = y;
            }
        return ink;
    }
    int width, height;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;
};

class TextEditing : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RegisterWindowClasses(GetModuleHandleA(nullptr)));
        document = CreatePlanDocument();
        ASSERT_NE(nullptr, document);
        ASSERT_NE(nullptr, document->settings);
        document->settings->zoom = 1.0f;
        pane = MakePane();
        activePlanPane = pane;
        activeToolTab = 1;
        ApplyTabLayerToPlan();
        importIntoCurrentFloor = 0;
        viewPitchDegrees = 90.0f;
        viewYawDegrees = 0.0f;
        perspectiveOn = 0;
        viewOrigin = ViewPoint{0.0f, -96.0f, 0.0f};
        ApplyViewAngles(90.0f, 0.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
        currentToolId = 200;
        GetCurrentDirectoryA(MAX_PATH, directory);
        savedProgramDirectory = programDirectory;
        programDirectory = directory;
    }
    void TearDown() override
    {
        planOutputMode = 0;
        planDC = nullptr;
        SetWindowLongPtrA(pane, 0, 0);  // the pane would free the document it shows
        for (PlanDocument* d : {second, document}) {
            if (d) {
                activeDocument = d;
                FreePlanDocument(d);
            }
        }
        activeDocument = nullptr;
        activePlanPane = nullptr;
        for (HWND p : panes)
            if (IsWindow(p))
                DestroyWindow(p);
        programDirectory = savedProgramDirectory;
        currentToolId = -1;
        vtest::UnregisterShellClasses();
    }

    HWND MakePane()
    {
        HWND made = CreateWindowExA(0, "MainClass", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(nullptr, made);
        panes.push_back(made);
        return made;
    }

    PlanFloor* Storey(int index) const
    {
        PlanFloor* floor = activeDocument->firstFloor;
        while (floor && index-- > 0)
            floor = floor->next;
        return floor;
    }

    // A text frame on the floor with its corners at (left, top) and (right, bottom) in
    // the plan, its control made as the plan reader makes it.
    PlanObject* MakeTextFrame(PlanFloor* floor, float left, float top, float right, float bottom,
                              const char* text, const LOGFONTA* font, int alignment = AlignTextLeft)
    {
        ColourTriple black = {0, 0, 0};
        PlanObject* frame = CreateObject(ObjTextFrame, 1, 0, &black, nullptr, 1.0f, 6, 2, nullptr, nullptr,
                                         nullptr, nullptr, floor, nullptr);
        EXPECT_NE(nullptr, frame);
        if (!frame)
            return nullptr;
        const float corners[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
        for (const auto& c : corners)
            AddObjectPoint(NewVertexNode(1, 0, 0, 0, 0, 0, c[0], 0, c[1], 0, 0, 0, 0, 0, 0, frame), frame);
        frame->category = 2;
        AttachObjectToFloor(frame, floor);
        UpdateObjectExtents(frame);
        // What loading derives from the corners, so that a saved copy compares whole.
        ComputeProjectionExtents(frame);
        ComputeMeshTextureCoords(frame);
        HWND control = CreateTextEditWindow(kReaderStyle, static_cast<int>(left) + 3, static_cast<int>(top) + 3,
                                            static_cast<int>(right - left) - 6,
                                            static_cast<int>(bottom - top) - 6, activePlanPane);
        EXPECT_NE(nullptr, control);
        SetWindowTextA(control, text);
        if (font) {
            EXPECT_TRUE(SetTextEditFont(control, *font));
        }
        if (alignment != AlignTextLeft)
            control = CommitTextEdit(control, alignment, frame);
        frame->link = control;
        return frame;
    }

    static HWND Control(const PlanObject* frame) { return static_cast<HWND>(frame->link); }

    static PlanObject* FirstText(PlanDocument* d)
    {
        for (PlanFloor* floor = d->firstFloor; floor; floor = floor->next)
            for (PlanObject* o = floor->firstObject; o; o = o->next)
                if (o->type == ObjTextFrame)
                    return o;
        return nullptr;
    }

    LONG LineHeightOf(const LOGFONTA& font)
    {
        HDC dc = GetDC(pane);
        HFONT handle = CreateFontIndirectA(&font);
        HGDIOBJ old = SelectObject(dc, handle);
        TEXTMETRICA metrics;
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        DeleteObject(handle);
        ReleaseDC(pane, dc);
        return metrics.tmHeight;
    }

    PlanDocument* document = nullptr;
    PlanDocument* second = nullptr;
    HWND pane = nullptr;
    std::vector<HWND> panes;
    char directory[MAX_PATH] = {};
    char* savedProgramDirectory = nullptr;
};

// ---------------------------------------------------------------------------------
// Plan files: a text keeps its text, font, alignment and colour.

TEST_F(TextEditing, TextSurvivesSaveLoadIntoNewDocumentAndSaveAgain)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 100, 50, 300, 110, kAccentedText, &arial, AlignTextCentre);
    ASSERT_NE(nullptr, frame);
    frame->colourA = ColourTriple{257 * 200, 257 * 10, 257 * 30};
    ASSERT_TRUE(SavePlanFile("first.ZRO"));
    std::vector<unsigned char> first = vtest::ReadFileBytes("first.ZRO");

    // The record itself: length with its NUL, the text in Windows-1252, no skipped
    // bytes, "centred", then the font as it lies in memory.
    const std::string text(kAccentedText);
    size_t at = FindBytes(first, text);
    ASSERT_NE(std::string::npos, at);
    EXPECT_EQ(0xC9, first[at]);  // "É"
    EXPECT_EQ(text.size() + 1, BigEndian32(first, at - 4));
    EXPECT_EQ(0, first[at + text.size()]);
    EXPECT_EQ(0u, BigEndian32(first, at + text.size() + 1));
    size_t alignment = at + text.size() + 5;
    EXPECT_EQ(0, first[alignment]);
    EXPECT_EQ(1, first[alignment + 1]);
    size_t font = alignment + 2;
    EXPECT_EQ(0xE4, first[font]);  // -28, little-endian
    EXPECT_EQ(0xFF, first[font + 3]);
    EXPECT_STREQ("Arial", reinterpret_cast<const char*>(&first[font + 28]));

    second = CreatePlanDocument();
    ASSERT_NE(nullptr, second);
    HWND secondPane = MakePane();
    activePlanPane = secondPane;
    ASSERT_TRUE(LoadPlanFile("first.ZRO"));

    PlanObject* loaded = FirstText(second);
    ASSERT_NE(nullptr, loaded);
    HWND control = Control(loaded);
    ASSERT_TRUE(IsWindow(control));
    EXPECT_EQ(secondPane, GetParent(control));
    EXPECT_EQ(text, ControlText(control));
    EXPECT_TRUE(GetWindowLongA(control, GWL_STYLE) & ES_CENTER);
    LOGFONTA got;
    ASSERT_TRUE(GetTextEditLogFont(control, &got));
    EXPECT_EQ(-28, got.lfHeight);
    EXPECT_EQ(FW_BOLD, got.lfWeight);
    EXPECT_STREQ("Arial", got.lfFaceName);
    EXPECT_EQ(257 * 200, loaded->colourA.red);
    EXPECT_EQ(257 * 10, loaded->colourA.green);
    EXPECT_EQ(257 * 30, loaded->colourA.blue);
    // Loading leaves the control to the plan: disabled, not drawing itself.
    EXPECT_FALSE(IsWindowEnabled(control));

    ASSERT_TRUE(SavePlanFile("second.ZRO"));
    std::vector<unsigned char> again = vtest::ReadFileBytes("second.ZRO");
    EXPECT_TRUE(first == again) << Differences(first, again);
}

TEST_F(TextEditing, RightAlignedAndEmptyTextsKeepTheirAlignmentThroughAFile)
{
    LOGFONTA arial = ArialFont();
    MakeTextFrame(Storey(0), 0, 0, 200, 42, "", &arial, AlignTextRight);
    MakeTextFrame(Storey(1), 0, 100, 200, 142, "à droite", &arial, AlignTextRight);
    ASSERT_TRUE(SavePlanFile("first.ZRO"));
    std::vector<unsigned char> first = vtest::ReadFileBytes("first.ZRO");

    ASSERT_TRUE(LoadPlanFile("first.ZRO"));
    int rightAligned = 0;
    for (PlanFloor* floor = document->firstFloor; floor; floor = floor->next)
        for (PlanObject* o = floor->firstObject; o; o = o->next)
            if (o->type == ObjTextFrame && (GetWindowLongA(Control(o), GWL_STYLE) & ES_RIGHT))
                ++rightAligned;
    EXPECT_EQ(2, rightAligned);
    ASSERT_TRUE(SavePlanFile("again.ZRO"));
    std::vector<unsigned char> again = vtest::ReadFileBytes("again.ZRO");
    EXPECT_TRUE(first == again) << Differences(first, again);
}

// ---------------------------------------------------------------------------------
// The control lives and dies with its frame; the model's operations reach it.

TEST_F(TextEditing, FreeingTheFrameDestroysItsControl)
{
    long before = LiveRecordCount();
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 10, 10, 210, 52, "Texte", &arial);
    HWND control = Control(frame);
    ASSERT_TRUE(IsWindow(control));
    FreeObject(frame);
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(before, LiveRecordCount());

    // A loaded document frees its texts' controls with it.
    ASSERT_NE(nullptr, MakeTextFrame(Storey(0), 10, 10, 210, 52, "Texte", &arial));
    ASSERT_TRUE(SavePlanFile("plan.ZRO"));
    second = CreatePlanDocument();
    activePlanPane = MakePane();
    ASSERT_TRUE(LoadPlanFile("plan.ZRO"));
    HWND loaded = Control(FirstText(second));
    ASSERT_TRUE(IsWindow(loaded));
    FreePlanDocument(second);
    second = nullptr;
    EXPECT_FALSE(IsWindow(loaded));
}

TEST_F(TextEditing, SuspendHidesAndResumeShowsTheControlsOfActiveFloors)
{
    LOGFONTA arial = ArialFont();
    PlanObject* onActive = MakeTextFrame(Storey(0), 10, 10, 210, 52, "Rez", &arial);
    PlanObject* onInactive = MakeTextFrame(Storey(1), 10, 100, 210, 142, "Étage", &arial);
    ASSERT_TRUE(Storey(0)->active);
    ASSERT_FALSE(Storey(1)->active);
    HWND a = Control(onActive), b = Control(onInactive);
    ASSERT_TRUE(IsWindowVisible(a));
    ASSERT_TRUE(IsWindowEnabled(a));

    ForEachFloorObject(document->firstFloor, 0, SuspendTextEditors, nullptr);
    for (HWND control : {a, b}) {
        EXPECT_FALSE(IsWindowEnabled(control));
        EXPECT_FALSE(GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE);
    }

    ForEachFloorObject(document->firstFloor, 0, ResumeTextEditors, nullptr);
    EXPECT_TRUE(IsWindowEnabled(a));
    EXPECT_TRUE(GetWindowLongA(a, GWL_STYLE) & WS_VISIBLE);
    // The other storey cannot be edited: its text stays with the plan.
    EXPECT_FALSE(IsWindowEnabled(b));
    EXPECT_FALSE(GetWindowLongA(b, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(TextEditing, CopyOfAFrameGetsAControlOfItsOwn)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 10, 10, 210, 52, "Copie", &arial, AlignTextCentre);
    PlanObject* copy = CreateObject(ObjTextFrame, 1, 0, nullptr, nullptr, 1.0f, 6, 2, nullptr, nullptr, nullptr,
                                    nullptr, Storey(0), nullptr);
    ASSERT_NE(nullptr, copy);
    CopyObjectLink(frame, copy);
    HWND control = Control(copy);
    ASSERT_TRUE(IsWindow(control));
    EXPECT_NE(Control(frame), control);
    EXPECT_EQ(pane, GetParent(control));
    EXPECT_EQ("Copie", ControlText(control));
    EXPECT_TRUE(GetWindowLongA(control, GWL_STYLE) & ES_CENTER);
    FreeObject(copy);
    EXPECT_FALSE(IsWindow(control));
    EXPECT_TRUE(IsWindow(Control(frame)));
}

// ---------------------------------------------------------------------------------
// Each control owns exactly one font, which goes with it.

TEST_F(TextEditing, FreeingATextDeletesItsFont)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 10, 10, 210, 52, "Texte", &arial);
    HFONT font = FontHandle(Control(frame));
    ASSERT_TRUE(IsLiveFont(font));
    EXPECT_TRUE(SameLogFont(TextLayoutLogFont(arial), LogFontOf(font)));
    FreeObject(frame);
    EXPECT_EQ(0u, GetObjectType(font));

    // The font a loaded text gets goes with its document.
    ASSERT_NE(nullptr, MakeTextFrame(Storey(0), 10, 10, 210, 52, "Texte", &arial));
    ASSERT_TRUE(SavePlanFile("plan.ZRO"));
    second = CreatePlanDocument();
    activePlanPane = MakePane();
    ASSERT_TRUE(LoadPlanFile("plan.ZRO"));
    HFONT loaded = FontHandle(Control(FirstText(second)));
    ASSERT_TRUE(IsLiveFont(loaded));
    FreePlanDocument(second);
    second = nullptr;
    EXPECT_EQ(0u, GetObjectType(loaded));
}

TEST_F(TextEditing, LoadingOverAPlanDeletesTheFontsOfTheTextsItReplaces)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 100, 50, 300, 110, kAccentedText, &arial, AlignTextCentre);
    HFONT before = FontHandle(Control(frame));
    ASSERT_TRUE(SavePlanFile("first.ZRO"));
    std::vector<unsigned char> first = vtest::ReadFileBytes("first.ZRO");

    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(LoadPlanFile("first.ZRO"));
        EXPECT_EQ(0u, GetObjectType(before)) << round;
        HWND control = Control(FirstText(document));
        HFONT now = FontHandle(control);
        ASSERT_TRUE(IsLiveFont(now));
        EXPECT_TRUE(SameLogFont(TextLayoutLogFont(arial), LogFontOf(now)));
        before = now;
    }
    // The file still comes back byte for byte.
    ASSERT_TRUE(SavePlanFile("again.ZRO"));
    std::vector<unsigned char> again = vtest::ReadFileBytes("again.ZRO");
    EXPECT_TRUE(first == again) << Differences(first, again);
}

TEST_F(TextEditing, CopiedTextHasAnEqualFontOfItsOwn)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 10, 10, 210, 52, "Copie", &arial);
    PlanObject* copy = CreateObject(ObjTextFrame, 1, 0, nullptr, nullptr, 1.0f, 6, 2, nullptr, nullptr, nullptr,
                                    nullptr, Storey(0), nullptr);
    ASSERT_NE(nullptr, copy);
    CopyObjectLink(frame, copy);
    HFONT original = FontHandle(Control(frame));
    HFONT copied = FontHandle(Control(copy));
    ASSERT_NE(nullptr, copied);
    EXPECT_NE(original, copied);
    EXPECT_TRUE(SameLogFont(LogFontOf(original), LogFontOf(copied)));

    FreeObject(frame);
    EXPECT_EQ(0u, GetObjectType(original));
    ASSERT_TRUE(IsLiveFont(copied));
    EXPECT_TRUE(SameLogFont(TextLayoutLogFont(arial), LogFontOf(copied)));
    FreeObject(copy);
    EXPECT_EQ(0u, GetObjectType(copied));

    // A text without a font of its own gives its copy none of the text's.
    PlanObject* plain = MakeTextFrame(Storey(0), 10, 10, 210, 52, "Sans", nullptr);
    PlanObject* plainCopy = CreateObject(ObjTextFrame, 1, 0, nullptr, nullptr, 1.0f, 6, 2, nullptr, nullptr,
                                         nullptr, nullptr, Storey(0), nullptr);
    ASSERT_NE(nullptr, plainCopy);
    CopyObjectLink(plain, plainCopy);
    ASSERT_TRUE(IsWindow(Control(plainCopy)));
    LOGFONTA none;
    EXPECT_FALSE(GetTextEditLogFont(Control(plainCopy), &none));
    FreeObject(plainCopy);
}

TEST_F(TextEditing, ChangingTheFontDeletesTheFontItReplaces)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 100, 50, 300, 92, "Police", &arial);
    HWND control = Control(frame);
    HFONT old = FontHandle(control);
    LOGFONTA larger = arial;
    larger.lfHeight = -40;
    std::strcpy(larger.lfFaceName, "Times New Roman");
    ApplyObjectOperation(frame, 0, SetTextFont, &larger);
    HFONT now = FontHandle(control);
    ASSERT_TRUE(IsLiveFont(now));
    EXPECT_NE(old, now);
    EXPECT_EQ(0u, GetObjectType(old));
    EXPECT_TRUE(SameLogFont(TextLayoutLogFont(larger), LogFontOf(now)));
    // The frame has grown to the taller font.
    EXPECT_GT(frame->box2D[kRectMaxY] - frame->box2D[kRectMinY], static_cast<float>(LineHeightOf(arial)));
}

TEST_F(TextEditing, CommitHandsTheOneFontToTheNewControl)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 100, 50, 300, 110, "Ligne", &arial);
    HWND control = Control(frame);
    HFONT font = FontHandle(control);
    for (int code : {AlignTextRight, AlignTextCentre, AlignTextLeft}) {
        FontRecorder recorder(control);
        HWND made = CommitTextEdit(control, code, frame);
        ASSERT_NE(nullptr, made);
        ASSERT_FALSE(IsWindow(control));
        // No font was made: the old control's one lives on in the new control.
        EXPECT_TRUE(fontsGiven.empty());
        EXPECT_EQ(font, FontHandle(made));
        EXPECT_TRUE(IsLiveFont(font)) << code;
        control = made;
        frame->link = made;
    }
    FreeObject(frame);
    EXPECT_EQ(0u, GetObjectType(font));
}

// Every font given to a window while WH_CALLWNDPROC is hooked by RecordEveryFont, with
// its height then.
std::vector<std::pair<HWND, std::pair<HFONT, LONG>>> everyFontGiven;

LRESULT CALLBACK RecordEveryFont(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->message == WM_SETFONT) {
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HFONT>(sent->wParam), sizeof font, &font);
        everyFontGiven.push_back({sent->hwnd, {reinterpret_cast<HFONT>(sent->wParam), font.lfHeight}});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The zoomed font lays the text out in a fresh control, never in the text's own, and goes
// afterwards; the text's control keeps its own font.
TEST_F(TextEditing, DrawingLendsAZoomedFontAndDeletesItAfterwards)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 50, 25, 200, 75, "Zoom", &arial);
    HWND control = Control(frame);
    HFONT own = FontHandle(control);
    document->settings->zoom = 2.0f;
    Surface surface(640, 480);
    everyFontGiven.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordEveryFont, nullptr, GetCurrentThreadId());
    FitTextEditToObject(surface.dc, control, frame);
    UnhookWindowsHookEx(hook);
    std::vector<HFONT> lent;
    for (const auto& given : everyFontGiven) {
        EXPECT_NE(control, given.first);
        if (given.second.second == -56) {
            EXPECT_EQ(pane, GetParent(given.first));
            lent.push_back(given.second.first);
        }
    }
    ASSERT_EQ(1u, lent.size());
    EXPECT_EQ(0u, GetObjectType(lent[0]));
    EXPECT_EQ(own, FontHandle(control));
    EXPECT_TRUE(IsLiveFont(own));
}

TEST_F(TextEditing, DestroyingAControlDeletesItsFont)
{
    HWND control = CreateTextEditWindow(kReaderStyle, 0, 0, 100, 40, pane);
    ASSERT_NE(nullptr, control);
    LOGFONTA arial = ArialFont();
    EXPECT_FALSE(SetTextEditFont(nullptr, arial));
    ASSERT_TRUE(SetTextEditFont(control, arial));
    HFONT first = FontHandle(control);
    ASSERT_TRUE(SetTextEditFont(control, arial));
    HFONT second = FontHandle(control);
    EXPECT_NE(first, second);
    EXPECT_EQ(0u, GetObjectType(first));
    DestroyTextEditWindow(control);
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(0u, GetObjectType(second));
    DestroyTextEditWindow(control);  // a control already gone is nothing to do
}

// ---------------------------------------------------------------------------------
// Re-creation with an alignment.

TEST_F(TextEditing, CommitRecreatesTheControlWithTheAlignmentOverTheFrame)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 100.4f, 50.6f, 300.0f, 110.0f, "Ligne", &arial);
    HWND old = Control(frame);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(old, WM_GETFONT, 0, 0));

    const struct { int code; LONG style; } cases[] = {
        {AlignTextRight, ES_RIGHT}, {AlignTextCentre, ES_CENTER}, {AlignTextLeft, ES_LEFT}, {7, ES_LEFT}};
    for (const auto& c : cases) {
        HWND made = CommitTextEdit(old, c.code, frame);
        ASSERT_NE(nullptr, made);
        EXPECT_NE(old, made);
        EXPECT_FALSE(IsWindow(old));
        EXPECT_EQ(c.style, GetWindowLongA(made, GWL_STYLE) & (ES_CENTER | ES_RIGHT)) << c.code;
        EXPECT_TRUE(GetWindowLongA(made, GWL_STYLE) & ES_MULTILINE);
        EXPECT_EQ("Ligne", ControlText(made));
        EXPECT_EQ(font, reinterpret_cast<HFONT>(SendMessageA(made, WM_GETFONT, 0, 0)));
        EXPECT_EQ(1, GetDlgCtrlID(made));
        // Over the frame's box rounded (100.4 -> 100, 50.6 -> 51), 3 inside.
        RECT placed = PlacementInParent(made);
        EXPECT_EQ(103, placed.left);
        EXPECT_EQ(54, placed.top);
        EXPECT_EQ(297, placed.right);
        EXPECT_EQ(107, placed.bottom);
        old = made;
    }
    frame->link = old;
}

TEST_F(TextEditing, CommitKeepsTheOldControlWithoutADocument)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 0, 0, 200, 42, "Texte", &arial);
    HWND old = Control(frame);
    activeDocument = nullptr;
    EXPECT_EQ(old, CommitTextEdit(old, AlignTextRight, frame));
    activeDocument = document;
    EXPECT_TRUE(IsWindow(old));
    EXPECT_FALSE(GetWindowLongA(old, GWL_STYLE) & ES_RIGHT);
    EXPECT_EQ(nullptr, CreateTextEditWindow(kReaderStyle, 0, 0, 10, 10, nullptr));
}

// ---------------------------------------------------------------------------------
// Finding the frame of a control.

TEST_F(TextEditing, FindsTheFrameOfAControlOnAnyFloorAndInGroups)
{
    LOGFONTA arial = ArialFont();
    PlanObject* first = MakeTextFrame(Storey(0), 0, 0, 200, 42, "Un", &arial);
    PlanObject* upstairs = MakeTextFrame(Storey(2), 0, 0, 200, 42, "Deux", &arial);
    // A third text as a member of a group on the second storey.
    PlanObject* grouped = MakeTextFrame(Storey(1), 0, 0, 200, 42, "Trois", &arial);
    UnlinkObject(grouped);
    PlanObject* group = CreateObject(ObjGroup, 0, 0, nullptr, nullptr, 1.0f, 6, 2, nullptr, nullptr, grouped,
                                     nullptr, Storey(1), nullptr);
    ASSERT_NE(nullptr, group);
    grouped->owner = group;
    grouped->floor = Storey(1);
    AttachObjectToFloor(group, Storey(1));

    EXPECT_EQ(first, FindTextLabelOfObject(Control(first), 0));
    EXPECT_EQ(upstairs, FindTextLabelOfObject(Control(upstairs), 0));
    EXPECT_EQ(grouped, FindTextLabelOfObject(Control(grouped), 0));
    EXPECT_EQ(nullptr, FindTextLabelOfObject(pane, 0));
    EXPECT_EQ(nullptr, FindTextLabelOfObject(nullptr, 0));

    // Only selected frames with the flag.
    EXPECT_EQ(nullptr, FindTextLabelOfObject(Control(first), 1));
    first->firstVertex->selected = 1;
    EXPECT_EQ(first, FindTextLabelOfObject(Control(first), 1));

    activeDocument = nullptr;
    EXPECT_EQ(nullptr, FindTextLabelOfObject(Control(first), 0));
    activeDocument = document;
}

// ---------------------------------------------------------------------------------
// Drawing the text and placing the control.

TEST_F(TextEditing, ScreenDrawingPlacesTheControlAndWritesTheLinesInThePenColour)
{
    LOGFONTA arial = ArialFont();
    document->settings->foregroundColour = ColourTriple{257 * 20, 257 * 40, 257 * 160};
    PlanObject* frame = MakeTextFrame(Storey(0), 100, 50, 400, 150, "Ligne un\r\nLigne deux", &arial);
    HWND control = Control(frame);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    Surface surface(640, 480);
    FitTextEditToObject(surface.dc, control, frame);

    RECT placed = PlacementInParent(control);
    EXPECT_EQ(103, placed.left);
    EXPECT_EQ(53, placed.top);
    EXPECT_EQ(397, placed.right);
    EXPECT_EQ(147, placed.bottom);
    EXPECT_EQ(font, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));

    COLORREF colour = 0;
    RECT ink = surface.Ink(&colour);
    EXPECT_EQ(RGB(20, 40, 160), colour);
    EXPECT_GE(ink.left, 103);
    EXPECT_LE(ink.left, 108);
    EXPECT_GE(ink.top, 53);
    // Two lines, one line height apart.
    LONG lineHeight = LineHeightOf(arial);
    EXPECT_GT(ink.bottom, 53 + lineHeight);
    EXPECT_LT(ink.bottom, 53 + 2 * lineHeight);
    // An empty line takes its height too: the third line lies two below the first.
    PlanObject* spaced = MakeTextFrame(Storey(0), 100, 50, 400, 150, "Ligne un\r\n\r\nLigne trois", &arial);
    FitTextEditToObject(surface.dc, Control(spaced), spaced);
    EXPECT_GT(surface.Ink().bottom, 53 + 2 * lineHeight);
    EXPECT_LT(surface.Ink().bottom, 53 + 3 * lineHeight);
}

TEST_F(TextEditing, RightAlignedTextEndsAtTheFramesRightEdge)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 100, 50, 400, 100, "Fin", &arial, AlignTextRight);
    Surface surface(640, 480);
    FitTextEditToObject(surface.dc, Control(frame), frame);
    RECT ink = surface.Ink();
    EXPECT_LE(ink.right, 397);
    EXPECT_GE(ink.right, 390);
    EXPECT_GT(ink.left, 250);
}

TEST_F(TextEditing, EmptyTextDrawsNothing)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 100, 50, 400, 100, "", &arial);
    Surface surface(640, 480);
    FitTextEditToObject(surface.dc, Control(frame), frame);
    EXPECT_EQ(-1, surface.Ink().right);
}

TEST_F(TextEditing, ZoomedDrawingPlacesTheControlOnTheZoomedFrame)
{
    LOGFONTA arial = ArialFont();
    PlanObject* frame = MakeTextFrame(Storey(0), 50, 25, 200, 75, "Zoom", &arial);
    HWND control = Control(frame);
    document->settings->zoom = 2.0f;
    Surface surface(640, 480);
    FitTextEditToObject(surface.dc, control, frame);
    RECT placed = PlacementInParent(control);
    EXPECT_EQ(106, placed.left);
    EXPECT_EQ(56, placed.top);
    EXPECT_EQ(394, placed.right);
    EXPECT_EQ(144, placed.bottom);
    EXPECT_EQ(-28, ControlFont(control).lfHeight);
    // Drawing changes nothing of the frame itself.
    EXPECT_FLOAT_EQ(75.0f, frame->firstVertex->next->next->position[2]);
    EXPECT_FLOAT_EQ(200.0f, frame->firstVertex->next->next->position[0]);
    // The letters are drawn twice as tall as the font.
    RECT ink = surface.Ink();
    EXPECT_GT(ink.bottom - ink.top, LineHeightOf(arial));
}

TEST_F(TextEditing, PrintedTextIsBlackAndScaledWhileTheControlStaysPut)
{
    LOGFONTA arial = ArialFont();
    document->settings->foregroundColour = ColourTriple{257 * 20, 257 * 40, 257 * 160};
    PlanObject* frame = MakeTextFrame(Storey(0), 100, 50, 300, 100, "Imprimé", &arial);
    HWND control = Control(frame);
    Surface page(800, 600);
    planOutputMode = 1;
    planDC = page.dc;
    printScaleX = 2.0f;
    printScaleY = 2.0f;
    FitTextEditToObject(page.dc, control, frame);
    planOutputMode = 0;
    planDC = nullptr;

    COLORREF colour = 1;
    RECT ink = page.Ink(&colour);
    EXPECT_EQ(RGB(0, 0, 0), colour);
    EXPECT_GE(ink.left, 206);
    EXPECT_LE(ink.left, 216);
    EXPECT_GE(ink.top, 106);
    EXPECT_GT(ink.bottom - ink.top, LineHeightOf(arial));
    RECT placed = PlacementInParent(control);
    EXPECT_EQ(103, placed.left);
    EXPECT_EQ(53, placed.top);
    EXPECT_EQ(-28, ControlFont(control).lfHeight);
}

// ---------------------------------------------------------------------------------
// What the pane shows after edits, zooms and scrolls is the same whether the screen
// keeps the texts' lines or lays every text out and places its control at every repaint;
// a repaint that finds nothing changed sets no font and moves no control.

int controlFontsAndMoves = 0;
HWND countedPane = nullptr;

LRESULT CALLBACK CountFontsAndMoves(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if ((sent->message == WM_SETFONT || sent->message == WM_WINDOWPOSCHANGING) && GetParent(sent->hwnd) == countedPane)
        ++controlFontsAndMoves;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(TextEditing, KeptLinesShowWhatLayingOutEveryRepaintShows)
{
    LOGFONTA arial = ArialFont();
    HWND bar = CreateWindowA("SCROLLBAR", "", WS_POPUP | SBS_HORZ, 0, 500, 200, 16, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(pane, 0, reinterpret_cast<LONG_PTR>(document));
    countedPane = pane;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountFontsAndMoves, nullptr, GetCurrentThreadId());
    LOGFONTA italic = arial;
    italic.lfItalic = TRUE;
    std::vector<PlanObject*> texts;
    auto edit = [&](int i) { return Control(texts[i]); };
    auto tool = [&](int16_t id) {
        currentToolId = id;
        ForEachFloorObject(document->firstFloor, 0, id == 203 ? ResumeTextEditors : SuspendTextEditors, nullptr);
    };
    const struct { const char* name; std::function<void()> act; bool quiet; } steps[] = {
        {"first repaint", [] {}, false},
        {"nothing changed", [] {}, true},
        {"typing", [&] { SendMessageA(edit(0), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(" et la suite")); }, false},
        {"WM_SETTEXT of as many letters", [&] { SetWindowTextA(edit(1), "Dernier texte"); }, false},
        {"font", [&] { LOGFONTA small = arial; small.lfHeight = -15; SetTextEditFont(edit(2), small); }, false},
        {"alignment", [&] { texts[3]->link = CommitTextEdit(edit(3), AlignTextCentre, texts[3]); }, false},
        {"zoom 2", [&] { document->settings->zoom = 2.0f; }, false},
        {"nothing changed at zoom 2", [] {}, true},
        {"scroll", [&] { ScrollPlanView(bar, pane, 0, 150, 0, 1); }, false},
        {"zoom 0.5", [&] { document->settings->zoom = 0.5f; }, false},
        {"text tool at zoom 1", [&] { document->settings->zoom = 1.0f; tool(203); }, false},
        {"scroll with the text tool", [&] { ScrollPlanView(bar, pane, 0, -200, 0, 1); }, false},
        {"select tool", [&] { tool(200); }, false},
        // Narrow texts: at 0.3 their controls are too narrow for margins from their font.
        {"zoom 0.3", [&] { document->settings->zoom = 0.3f; }, false},
        {"zoom 1 after 0.3", [&] { document->settings->zoom = 1.0f; }, false},
        {"font change at 0.3", [&] { document->settings->zoom = 0.3f; SetTextEditFont(edit(6), italic); }, false},
        {"zoom 1 after the font change", [&] { document->settings->zoom = 1.0f; }, false},
        {"paste at 0.3", [&] { document->settings->zoom = 0.3f; SendMessageA(edit(7), EM_SETSEL, 0, -1);
             SendMessageA(edit(7), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("Cellier")); }, false},
        {"zoom 1 after the paste", [&] { document->settings->zoom = 1.0f; }, false},
        {"last letter changed", [&] { SetWindowTextA(edit(8), "Salona"); }, false},
        {"frame narrowed", [&] { texts[6]->firstVertex->next->position[0] -= 24.0f;
             texts[6]->firstVertex->next->next->position[0] -= 24.0f; }, false},
    };
    // What the user sees after each step: the pane's pixels, and where the controls that
    // lie in its client area are, with the margins and rectangle they break lines in.
    auto run = [&](bool kept) {
        textLayoutsKept = kept;
        document->settings->zoom = 1.0f;
        currentToolId = 200;
        HDC dc = GetDC(pane);
        SetWindowOrgEx(dc, 0, 0, nullptr);
        ReleaseDC(pane, dc);
        SetScrollRange(bar, SB_CTL, 0, 1000, FALSE);
        SetScrollPos(bar, SB_CTL, 500, FALSE);
        texts = {MakeTextFrame(Storey(0), 40, 40, 240, 110, "Ligne un\r\nLigne deux", &arial),
                 MakeTextFrame(Storey(0), 300, 40, 500, 80, "Premier texte", &arial),
                 MakeTextFrame(Storey(0), 40, 200, 260, 260, "Une police plus grande", &arial, AlignTextRight),
                 MakeTextFrame(Storey(0), 300, 200, 560, 240, "Au centre", &arial),
                 MakeTextFrame(Storey(0), 400, 330, 600, 370, "Loin au zoom 2", &arial),
                 MakeTextFrame(Storey(0), 900, 100, 1100, 140, "Hors du cadre", &arial),
                 MakeTextFrame(Storey(0), 40, 300, 160, 380, "Salle de bains et buanderie", &arial),
                 MakeTextFrame(Storey(0), 200, 300, 330, 380, "Chambre d'amis", &arial, AlignTextCentre),
                 MakeTextFrame(Storey(0), 360, 400, 460, 440, "Salone", &arial)};
        std::vector<std::pair<std::vector<COLORREF>, std::vector<RECT>>> seen;
        for (const auto& step : steps) {
            step.act();
            controlFontsAndMoves = 0;
            InvalidateRect(pane, nullptr, FALSE);
            UpdateWindow(pane);
            EXPECT_TRUE(!kept || !step.quiet || controlFontsAndMoves == 0) << step.name;
            std::vector<RECT> places;
            RECT client, common;
            GetClientRect(pane, &client);
            for (PlanObject* text : texts) {
                RECT place = PlacementInParent(Control(text)), format = {};
                SendMessageA(Control(text), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
                const LRESULT margins = SendMessageA(Control(text), EM_GETMARGINS, 0, 0);
                const bool shown = IntersectRect(&common, &place, &client);
                for (const RECT& r : {place, format, RECT{LOWORD(margins), 0, HIWORD(margins), 0}})
                    places.push_back(shown ? r : RECT{});
            }
            seen.emplace_back(vtest::ClientPixels(pane), places);
        }
        for (PlanObject* text : texts)
            FreeObject(text);
        return seen;
    };
    const auto plain = run(false);
    const auto keptLines = run(true);
    for (size_t i = 0; i < plain.size(); ++i) {
        EXPECT_TRUE(plain[i].first == keptLines[i].first) << "pixels after " << steps[i].name;
        for (size_t t = 0; t < plain[i].second.size(); ++t)
            EXPECT_TRUE(EqualRect(&plain[i].second[t], &keptLines[i].second[t]))
                << "control " << t / 3 << (t % 3 == 0 ? " place" : t % 3 == 1 ? " formatting rectangle" : " margins")
                << " after " << steps[i].name;
    }
    UnhookWindowsHookEx(hook);
    SetWindowLongPtrA(pane, 0, 0);
    DestroyWindow(bar);
    textLayoutsKept = true;
}

// ---------------------------------------------------------------------------------
// The frame follows the text while it is typed.

TEST_F(TextEditing, TypingAWrappingLineGrowsTheFrameByOneLine)
{
    LOGFONTA arial = ArialFont();
    arial.lfWeight = FW_NORMAL;
    PlanObject* frame = MakeTextFrame(Storey(0), 100, 50, 300, 92, "Mot", &arial);
    HWND control = Control(frame);
    Surface surface(640, 480);
    FitTextEditToObject(surface.dc, control, frame);
    const LONG lineHeight = LineHeightOf(arial);
    RECT typedFrom = {}, after = {};
    SendMessageA(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&typedFrom));

    RefitTextEditWindow(frame);
    // One line: the control's area is the line plus 5, the frame 3 larger all round.
    EXPECT_FLOAT_EQ(50.0f, frame->box2D[kRectMinY]);
    EXPECT_FLOAT_EQ(100.0f, frame->box2D[kRectMinX]);
    EXPECT_FLOAT_EQ(300.0f, frame->box2D[kRectMaxX]);
    EXPECT_FLOAT_EQ(50.0f + lineHeight + 5 + 6, frame->box2D[kRectMaxY]);
    const float oneLine = frame->box2D[kRectMaxY];
    // The corners follow, in the plan's x and z.
    PlanVertex* v = frame->firstVertex;
    EXPECT_NEAR(100.0f, v->position[0], 0.01f);
    EXPECT_NEAR(50.0f, v->position[2], 0.01f);
    v = v->next->next;
    EXPECT_NEAR(300.0f, v->position[0], 0.01f);
    EXPECT_NEAR(oneLine, v->position[2], 0.01f);
    EXPECT_NEAR(oneLine, frame->box3D[kBoxMaxZ], 0.01f);

    // Typing through the control: the plan pane hears of it and refits the frame.
    FitTextEditToObject(surface.dc, control, frame);
    ValidateRect(pane, nullptr);
    SendMessageA(control, EM_SETSEL, 3, 3);
    SendMessageA(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(" suivi d'un autre"));
    const LONG lines = static_cast<LONG>(SendMessageA(control, EM_GETLINECOUNT, 0, 0));
    ASSERT_GE(lines, 2);
    const float grown = oneLine + static_cast<float>((lines - 1) * lineHeight);
    EXPECT_FLOAT_EQ(grown, frame->box2D[kRectMaxY]);
    EXPECT_FLOAT_EQ(300.0f, frame->box2D[kRectMaxX]);
    // The old and the new frame areas, 5 wider, wait for a repaint.
    RECT update;
    ASSERT_TRUE(GetUpdateRect(pane, &update, FALSE));
    EXPECT_EQ(95, update.left);
    EXPECT_EQ(45, update.top);
    EXPECT_EQ(305, update.right);
    EXPECT_EQ(static_cast<LONG>(grown) + 5, update.bottom);
    // Typing, Return and the refits they bring leave the text where the font put it.
    for (char typed : std::string("XYZ\rriga due"))
        SendMessageA(control, WM_CHAR, static_cast<unsigned char>(typed), 0);
    SendMessageA(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&after));
    EXPECT_EQ(typedFrom.left, after.left);
}


// Typing refits the frame in each view plane; its 3D box stays the box of its corners,
// each coordinate in its own slot (the box puts the height first), its top edge where the
// pane shows it, and refits after it leave the frame where it lies, its edges at
// fractions included. In the plan a commit after typing (an alignment change) then puts
// the control over the frame.
TEST_F(TextEditing, TypingKeepsTheBoxOfTheCornersInEveryViewPlane)
{
    LOGFONTA arial = ArialFont();
    const struct { uint16_t plane; float pitch, yaw; } views[] = {{1, 0, 0}, {2, 90, 0}, {3, 0, 90}, {1, 180, 0}, {3, 180, 90}};
    for (const auto& v : views) {
        document->settings->viewPlane = v.plane;
        viewPitchDegrees = v.pitch;
        viewYawDegrees = v.yaw;
        ApplyViewAngles(v.pitch, v.yaw, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
        PlanObject* frame = MakeTextFrame(Storey(0), 100.4f, 50.3f, 300.7f, 92.6f, "Mot", &arial);
        // The corners in the plane's two coordinates, the third 0, as the text tool lays them.
        if (v.plane != 2)
            SwapObjectYZ(frame);
        if (v.plane == 3)
            SwapObjectXZ(frame);
        UpdateObjectExtents(frame);
        HWND control = Control(frame);
        Surface surface(640, 480);
        FitTextEditToObject(surface.dc, control, frame);
        const float top = frame->box2D[kRectMinY], left = frame->box2D[kRectMinX], right = frame->box2D[kRectMaxX];
        SendMessageA(control, EM_SETSEL, 3, 3);
        SendMessageA(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(" suivi d'un autre"));
        EXPECT_FLOAT_EQ(top, frame->box2D[kRectMinY]) << "plane " << v.plane;
        EXPECT_GT(frame->box2D[kRectMaxY] - top, 50.0f) << "plane " << v.plane;

        float corners[6], typed[6];
        ResetExtentBox(corners);
        GetObjectExtents3D(frame, 0, corners, 0);
        std::memcpy(typed, frame->box3D, sizeof typed);
        for (int refit = 0; refit < 50; ++refit)
            RefitTextEditWindow(frame);
        for (int slot = 0; slot < 6; ++slot) {
            EXPECT_NEAR(corners[slot], frame->box3D[slot], 0.01f) << "plane " << v.plane << ", slot " << slot;
            EXPECT_FLOAT_EQ(typed[slot], frame->box3D[slot]) << "plane " << v.plane << ", slot " << slot;
        }
        EXPECT_FLOAT_EQ(left, frame->box2D[kRectMinX]) << "plane " << v.plane;
        EXPECT_FLOAT_EQ(right, frame->box2D[kRectMaxX]) << "plane " << v.plane;
        if (v.plane != 2)
            continue;
        frame->link = CommitTextEdit(control, AlignTextCentre, frame);
        ASSERT_NE(frame->link, nullptr);
        const RECT placed = PlacementInParent(Control(frame));
        // The frame in whole pixels: its corner rounded, its size rounded apart.
        const float* b = frame->box2D;
        const LONG x = static_cast<LONG>(b[kRectMinX] + 0.5f), y = static_cast<LONG>(b[kRectMinY] + 0.5f);
        const LONG box[4] = {x + 3, y + 3, x + static_cast<LONG>(b[kRectMaxX] - b[kRectMinX] + 0.5f) - 3,
                             y + static_cast<LONG>(b[kRectMaxY] - b[kRectMinY] + 0.5f) - 3};
        EXPECT_EQ(box[0], placed.left);
        EXPECT_EQ(box[1], placed.top);
        EXPECT_EQ(box[2], placed.right);
        EXPECT_EQ(box[3], placed.bottom);
    }
}

// The text tool pressed at points with fractions, at several zooms, then typed into: the
// control stays as wide as it was made, the caret inside, the lines as many as at 100 %.
TEST_F(TextEditing, TypingLeavesANewTextAsWideAsItWasMade)
{
    SetWindowLongPtrA(pane, 0, reinterpret_cast<LONG_PTR>(document));
    HDC dc = GetDC(pane);
    SetWindowOrgEx(dc, -400, -300, nullptr);  // the points lie in the client area
    ReleaseDC(pane, dc);
    document->currentViewSheet = Storey(0);
    currentToolId = 203;
    const struct { float x, z, zoom; int16_t alignment; LRESULT lines; } presses[] = {
        {-150.2f, -200, 1, 41, 2}, {-150.7f, -200.6f, 1, 41, 2}, {37.3f, 12.8f, 1, 41, 2}, {-3.5f, 60.5f, 1, 41, 2},
        {-150.2f, -200, 1, 40, 2}, {120.4f, -0.4f, 0.35f, 41, 2}, {-75.3f, -33.3f, 2, 40, 6}};
    for (const auto& p : presses) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.z) + " at " + std::to_string(p.zoom));
        document->settings->zoom = p.zoom, textAlignment = p.alignment;
        HandleTextTool(p.x, 0.0f, p.z, kToolPress);
        HWND control = document->textEditChild;
        for (char typed : std::string("abcdefghij\rklmnopqrst")) {
            SendMessageA(control, WM_CHAR, static_cast<unsigned char>(typed), 0);
            UpdateWindow(pane);
        }
        const RECT placed = PlacementInParent(control);
        EXPECT_EQ(200, placed.right - placed.left);
        POINT caret = {-1, -1};
        EXPECT_TRUE(GetCaretPos(&caret) && caret.x < placed.right - placed.left) << caret.x;
        EXPECT_EQ(p.lines, SendMessageA(control, EM_GETLINECOUNT, 0, 0));
    }
    textAlignment = AlignTextLeft;
}

// What a text's lines were laid out in: its formatting rectangle, margins, line count and
// each line's first character.
std::string LayoutState(const KeptTextLayout& laid)
{
    const RECT& r = laid.format;
    std::string state = std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                        std::to_string(r.bottom) + " margins " + std::to_string(laid.margins) + " lines " +
                        std::to_string(laid.lineCount) + ":";
    for (LRESULT start : laid.starts)
        state += " " + std::to_string(start);
    return state;
}

// That of a control made now, as a text's control is made, at the size of the text's
// control, given the text's font at the zoom (in the face's layout copy), then its text.
std::string FreshControlState(HWND control)
{
    RECT client;
    GetClientRect(control, &client);
    HWND fresh = CreateTextEditWindow(GetWindowLongA(control, GWL_STYLE) & ~(WS_VISIBLE | WS_DISABLED), 0, 0,
                                      client.right, client.bottom, GetParent(control));
    LOGFONTA font;
    EXPECT_TRUE(GetTextEditLogFont(control, &font));
    const LONG zoomed = static_cast<LONG>(ZoomFloat(static_cast<float>(font.lfHeight)));
    font.lfHeight = zoomed == 0 ? -1 : zoomed;
    const LOGFONTA lent = TextLayoutLogFont(MakeDrawableFont(font));
    HFONT handle = CreateFontIndirectA(&lent);
    SendMessageA(fresh, WM_SETFONT, reinterpret_cast<WPARAM>(handle), FALSE);
    SetWindowTextA(fresh, ControlText(control).c_str());
    KeptTextLayout laid = {};
    SendMessageA(fresh, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&laid.format));
    laid.margins = SendMessageA(fresh, EM_GETMARGINS, 0, 0);
    laid.lineCount = static_cast<int>(SendMessageA(fresh, EM_GETLINECOUNT, 0, 0));
    for (int i = 0; i < laid.lineCount; ++i)
        laid.starts.push_back(SendMessageA(fresh, EM_LINEINDEX, static_cast<WPARAM>(i), 0));
    DestroyWindow(fresh);
    DeleteObject(handle);
    return LayoutState(laid);
}

// Texts after a font change at a zoom, and narrow ones after a low zoom or fonts changed,
// show as a fresh open of the saved plan does (after the same change at 100 %): each
// control's margins, each frame's height, the lines printed and the pane's pixels. After
// zooms in and out their lines are laid out as a control made fresh at the last zoom lays
// them out; a page printed after a zoom holds the lines of a page printed after an open;
// a line typed at a zoom gives the frame that typing it after an open gives.
TEST_F(TextEditing, TextsShowAsAFreshOpenAfterZoomsAndFontChanges)
{
    SetWindowLongPtrA(pane, 0, reinterpret_cast<LONG_PTR>(document));
    viewOrigin = ViewPoint{-320.0f, -96.0f, -120.0f};  // the texts lie in the client area
    auto paint = [&](float zoom) { document->settings->zoom = zoom; InvalidateRect(pane, nullptr, FALSE); UpdateWindow(pane); };
    auto refont = [&](LONG height, const char* face) {
        for (PlanObject* text = Storey(0)->firstObject; text && height; text = text->next) {
            LOGFONTA font;
            GetTextEditLogFont(Control(text), &font);
            font.lfHeight = height;
            std::strcpy(font.lfFaceName, face);
            ApplyObjectOperation(text, 0, SetTextFont, &font);
        }
    };
    // 31 texts in several faces, styles and sizes (6 to 60 pixels), with tabs and words
    // wider than their frames, saved as a plan.
    {
        const char* faces[] = {"Arial", "DejaVu Serif", "Courier New", "Symbol", "Tahoma", "DejaVu Sans Mono"};
        const char* texts[] = {"Soggiorno", "Camera\tda letto", "Lavanderia e stenditoio", "Precipitevolissimevolmente",
                               "a b c d e f", "Terrazza\r\ncoperta a sud"};
        for (int i = 0; i < 31; ++i) {
            LOGFONTA font = ArialFont();
            std::strcpy(font.lfFaceName, faces[i % 6]);
            font.lfHeight = -(6 + (i * 13) % 55);
            font.lfWeight = i % 4 == 1 ? FW_BOLD : FW_NORMAL;
            font.lfItalic = i % 5 == 2;
            const float left = static_cast<float>(-300 + (i % 6) * 140), top = static_cast<float>(-100 + (i / 6) * 60);
            MakeTextFrame(Storey(0), left, top, left + 20.0f + static_cast<float>((i * 29) % 130), top + 50.0f, texts[i % 6],
                          &font, i % 3 == 1 ? AlignTextCentre : i % 3 == 2 ? AlignTextRight : AlignTextLeft);
        }
        ASSERT_TRUE(SavePlanFile("faces.ZRO"));
    }
    auto seen = [&](std::vector<std::string>* what, float zoom, bool painted) {
        if (painted)
            paint(zoom);
        document->settings->zoom = zoom;
        vtest::MetafileRecorder page;
        planDC = page.dc();
        planOutputMode = printScaleX = printScaleY = 1;
        for (PlanObject* text = Storey(0)->firstObject; text && painted; text = text->next) {
            what->push_back(std::to_string(SendMessageA(Control(text), EM_GETMARGINS, 0, 0)) + " " +
                            std::to_string(text->box3D[kBoxMaxZ] - text->box3D[kBoxMinZ]));
            EXPECT_EQ(FreshControlState(Control(text)), LayoutState(*KeptLayoutFor(Control(text))))
                << ControlText(Control(text));
        }
        for (PlanObject* text = Storey(0)->firstObject; text; text = text->next)
            FitTextEditToObject(page.dc(), Control(text), text);
        planOutputMode = 0;
        const std::vector<std::string> printed = page.TextStrings();
        what->insert(what->end(), printed.begin(), printed.end());
        return painted ? vtest::ClientPixels(pane) : std::vector<COLORREF>();
    };
    auto type = [&](const char* typed) {
        for (PlanObject* text = Storey(0)->firstObject; text && typed; text = text->next) {
            SendMessageA(Control(text), EM_SETSEL, 0x7FFF, 0x7FFF);
            for (const char* c = typed; *c; ++c)
                SendMessageA(Control(text), WM_CHAR, static_cast<unsigned char>(*c), 0);
        }
    };
    // Zooms painted, then the zoom the text is seen at; the fonts given between; printed
    // without a repaint at the last zoom; typed at the first zoom.
    const struct { const char* plan; std::vector<float> zooms; float last; LONG first, second; const char* face;
                   bool again, painted; const char* typed; } rows[] = {
        {"three", {0.35f}, 1, 0, -30, "Courier New", true, true, nullptr},
        {"three", {2}, 1, 0, -30, "Courier New", true, true, nullptr},
        {"narrow", {0.01f}, 1, 0, 0, "", false, true, nullptr},
        {"narrow5", {1}, 1, -12, -28, "Arial", false, true, nullptr},
        {"faces", {2}, 0.35f, 0, 0, "", false, true, nullptr},
        {"faces", {6}, 0.35f, 0, 0, "", false, true, nullptr},
        {"faces", {0.01f}, 0.35f, 0, 0, "", false, true, nullptr},
        {"narrow5", {3}, 1, 0, 0, "", false, true, nullptr},
        {"narrow5", {2, 0.35f}, 1, 0, 0, "", false, true, nullptr},
        {"narrow", {0.35f}, 1, 0, 0, "", false, false, nullptr},
        {"narrow", {0.01f}, 1, 0, 0, "", false, false, nullptr},
        {"narrow5", {0.35f}, 1, 0, 0, "", false, true, "\rPiano terra"},
        {"three", {2}, 1, 0, 0, "", false, true, "\r1"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.plan) + " after " + std::to_string(row.zooms.back()));
        const std::string plan = row.plan == std::string("faces") ? "faces.ZRO" :
                                 vtest::SourceFilePath(std::string("tests/tools/data/texts-") + row.plan + ".ZRO");
        ASSERT_TRUE(LoadPlanFile(plan.c_str()));
        for (float zoom : row.zooms)
            paint(zoom);
        type(row.typed);
        for (LONG height : {row.first, row.second})
            refont(height, row.face);
        std::vector<std::string> changed, fresh;
        const std::vector<COLORREF> pixels = seen(&changed, row.last, row.painted);
        ASSERT_TRUE(SavePlanFile("saved.ZRO") && LoadPlanFile(row.typed ? plan.c_str() : "saved.ZRO"));
        if (row.typed) {
            paint(1);
            type(row.typed);
        }
        refont(row.again ? row.second : 0, row.face);
        EXPECT_TRUE(seen(&fresh, row.last, row.painted) == pixels);
        EXPECT_EQ(changed, fresh);
    }
}

} // namespace
