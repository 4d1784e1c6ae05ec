#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "files/plan_file.h"
#include "planview/plan_pane.h"
#include "shell/app_globals.h"
#include "shell/measurement_bar.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<WPARAM> frameCommands;
bool saveFails = false;
HWND mdiClient = nullptr;

LRESULT CALLBACK TestFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        frameCommands.push_back(wParam);
        if (wParam == 5) {
            saveInProgress = saveFails ? 1 : 0;
            if (!saveFails && activeDocument && activeDocument->settings)
                activeDocument->settings->modified = 0;
        }
        return 0;
    }
    return DefFrameProcA(window, mdiClient, message, wParam, lParam);
}

void RegisterOnce(const char* name, WNDPROC procedure)
{
    WNDCLASSEXA existing = {sizeof(existing)};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), name, &existing))
        return;
    WNDCLASSEXA wc = {sizeof(wc)};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClassExA(&wc), 0) << name;
}

class DocumentWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        activeDocument = nullptr;
        activePlanPane = nullptr;
        frameCommands.clear();
        saveFails = false;
        saveInProgress = 0;
        baselineRecords = LiveRecordCount();
        RegisterOnce("VelmoraTestFrame", TestFrameProc);
        RegisterOnce("DocumentClass", DocumentWndProc);
        RegisterOnce("MainClass", PlanWindowProc);
        RegisterOnce("MiscClass", MiscBarWndProc);
        frame = CreateWindowExA(0, "VelmoraTestFrame", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1000,
                                800, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(frame, nullptr);
        CLIENTCREATESTRUCT ccs = {nullptr, 25000};
        mdiClient = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 990,
                                    760, frame, nullptr, GetModuleHandleA(nullptr), &ccs);
        ASSERT_NE(mdiClient, nullptr);
        frameWindow = frame;
    }

    void TearDown() override
    {
        DestroyWindow(frame);
        frameWindow = nullptr;
        mdiClient = nullptr;
        EXPECT_EQ(activeDocument, nullptr);
        EXPECT_EQ(LiveRecordCount(), baselineRecords) << "records left behind";
    }

    HWND OpenDocument(const char* title, int width = 600, int height = 400)
    {
        MDICREATESTRUCTA create = {};
        create.szClass = "DocumentClass";
        create.szTitle = title;
        create.hOwner = GetModuleHandleA(nullptr);
        create.x = 10;
        create.y = 10;
        create.cx = width;
        create.cy = height;
        return reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    }

    static RECT ChildPlace(HWND parent, int id)
    {
        HWND child = GetDlgItem(parent, id);
        RECT r = {0, 0, 0, 0};
        if (!child)
            return r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};  // x, y, width, height
    }

    static void ExpectPlace(HWND parent, int id, int x, int y, int w, int h)
    {
        RECT r = ChildPlace(parent, id);
        EXPECT_EQ(r.left, x) << "child " << id;
        EXPECT_EQ(r.top, y) << "child " << id;
        EXPECT_EQ(r.right, w) << "child " << id;
        EXPECT_EQ(r.bottom, h) << "child " << id;
    }

    static std::string ClassOf(HWND parent, int id)
    {
        char name[64] = "";
        GetClassNameA(GetDlgItem(parent, id), name, sizeof(name));
        return name;
    }

    HWND frame = nullptr;
    long baselineRecords = 0;
};

TEST_F(DocumentWindowTest, CreationBuildsThePlanAndItsChildren)
{
    HWND window = OpenDocument("Piano 1");
    ASSERT_NE(window, nullptr);
    HWND pane = reinterpret_cast<HWND>(GetWindowLongPtrA(window, 0));
    ASSERT_EQ(pane, GetDlgItem(window, DocumentPaneId));
    PlanDocument* document = reinterpret_cast<PlanDocument*>(GetWindowLongPtrA(pane, 0));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(GetWindowDocument(window), document);
    EXPECT_EQ(activeDocument, document);
    EXPECT_EQ(activePlanPane, pane);
    EXPECT_EQ(ClassOf(window, DocumentPaneId), "MainClass");
    EXPECT_EQ(ClassOf(window, DocumentStripId), "MiscClass");
    EXPECT_STRCASEEQ(ClassOf(window, DocumentHScrollId).c_str(), "scrollbar");
    EXPECT_STRCASEEQ(ClassOf(window, DocumentSizeBoxId).c_str(), "scrollbar");
    EXPECT_EQ(document->horizontalScrollBar, GetDlgItem(window, DocumentHScrollId));
    EXPECT_EQ(document->verticalScrollBar, GetDlgItem(window, DocumentVScrollId));
    EXPECT_EQ(document->sizeBox, GetDlgItem(window, DocumentSizeBoxId));
    EXPECT_EQ(document->measurementStrip, GetDlgItem(window, DocumentStripId));
    EXPECT_EQ(GetWindowLongA(document->measurementStrip, 0), 1);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(window, DocumentHScrollId), GWL_STYLE) & WS_VISIBLE);
    ASSERT_NE(document->firstFloor, nullptr);
    EXPECT_STREQ(document->firstFloor->name, "First Floor");
    EXPECT_STREQ(document->firstFloor->next->name, "Second Floor");
    EXPECT_STREQ(document->firstFloor->next->next->name, "Third Floor");
    EXPECT_NE(document->settings, nullptr);
    EXPECT_EQ(document->lastEditKind, -1);
    EXPECT_EQ(GetWindowLongA(pane, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
}

TEST_F(DocumentWindowTest, ChildrenSitAtTheirPlacesForTheClientSize)
{
    HWND window = OpenDocument("Piano 1", 640, 480);
    ASSERT_NE(window, nullptr);
    int v = GetSystemMetrics(SM_CXVSCROLL);
    int s = GetSystemMetrics(SM_CYHSCROLL);
    auto check = [&]() {
        RECT client;
        GetClientRect(window, &client);
        int w = client.right;
        int h = client.bottom;
        ExpectPlace(window, DocumentPaneId, -1, -1, w + 2 - v, h + 2 - s);
        ExpectPlace(window, DocumentHScrollId, 308, h - s, w + 2 - v - 309, s);
        ExpectPlace(window, DocumentVScrollId, w - v, -1, v, h + 2 - s);
        ExpectPlace(window, DocumentSizeBoxId, w - v + 1, h - s + 1, v, s);
        ExpectPlace(window, DocumentStripId, -1, h - s, 310, s);
    };
    check();
    MoveWindow(window, 0, 0, 720, 530, TRUE);
    check();
    RECT client;
    GetClientRect(window, &client);
    EXPECT_GT(client.right, 640);
}

TEST_F(DocumentWindowTest, ClosingAnUnchangedPlanAsksNothing)
{
    vtest::MessageBoxRecorder boxes;
    HWND window = OpenDocument("Piano 1");
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(activeDocument, nullptr);
    EXPECT_EQ(activePlanPane, nullptr);
}

TEST_F(DocumentWindowTest, ClosingAModifiedPlanAsksOnceAndCancelKeepsIt)
{
    vtest::MessageBoxRecorder boxes;
    HWND window = OpenDocument("Casa al lago");
    PlanDocument* document = GetWindowDocument(window);
    document->settings->modified = 1;
    boxes.QueueAnswer(IDCANCEL);
    SendMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Salvare le modifiche prima di chiudere?");
    EXPECT_EQ(boxes.Last().caption, "Casa al lago");
    EXPECT_EQ(boxes.Last().owner, frame);
    EXPECT_EQ(boxes.Last().flags, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(GetWindowDocument(window), document);
    EXPECT_EQ(document->settings->modified, 1u);

    boxes.QueueAnswer(IDNO);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(DocumentWindowTest, YesWithAFailedSaveKeepsThePlanOpen)
{
    vtest::MessageBoxRecorder boxes;
    HWND window = OpenDocument("Piano 1");
    PlanDocument* document = GetWindowDocument(window);
    document->settings->modified = 1;
    saveFails = true;
    boxes.QueueAnswer(IDYES);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(document->settings->modified, 1u);
    EXPECT_NE(std::find(frameCommands.begin(), frameCommands.end(), WPARAM(5)), frameCommands.end());

    saveFails = false;
    boxes.QueueAnswer(IDYES);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(DocumentWindowTest, ClosingAnotherWindowAsksAboutAndFreesItsOwnPlan)
{
    vtest::MessageBoxRecorder boxes;
    HWND first = OpenDocument("Primo");
    PlanDocument* firstDocument = GetWindowDocument(first);
    HWND second = OpenDocument("Secondo");
    PlanDocument* secondDocument = GetWindowDocument(second);
    ASSERT_EQ(activeDocument, secondDocument);
    firstDocument->settings->modified = 1;

    // The active plan is unchanged, the closing one is modified: the question comes,
    // captioned with the closing window's title.
    boxes.QueueAnswer(IDNO);
    SendMessageA(first, WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().caption, "Primo");
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(activeDocument, secondDocument);
    EXPECT_EQ(GetWindowDocument(second), secondDocument);
    EXPECT_NE(secondDocument->firstFloor, nullptr);

    // And the other way: an unchanged window closes without asking even while a
    // modified plan is the active one.
    HWND third = OpenDocument("Terzo");
    PlanDocument* thirdDocument = GetWindowDocument(third);
    thirdDocument->settings->modified = 1;
    ASSERT_EQ(activeDocument, thirdDocument);
    SendMessageA(second, WM_CLOSE, 0, 0);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(activeDocument, thirdDocument);
    thirdDocument->settings->modified = 0;
}

TEST_F(DocumentWindowTest, ActivationMakesTheWindowsPlanTheActiveOne)
{
    HWND first = OpenDocument("Primo");
    PlanDocument* firstDocument = GetWindowDocument(first);
    HWND second = OpenDocument("Secondo");
    ASSERT_NE(activeDocument, firstDocument);
    frameCommands.clear();
    SendMessageA(mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first), 0);
    EXPECT_EQ(activeDocument, firstDocument);
    EXPECT_EQ(activePlanPane, GetDlgItem(first, DocumentPaneId));
    EXPECT_NE(std::find(frameCommands.begin(), frameCommands.end(), WPARAM(5149)), frameCommands.end());
    (void)second;
}

TEST_F(DocumentWindowTest, MinimisingSendsThePlanViewCommand)
{
    HWND window = OpenDocument("Piano 1");
    frameCommands.clear();
    SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    ASSERT_FALSE(frameCommands.empty());
    EXPECT_EQ(frameCommands.front(), WPARAM(5149));
}

TEST_F(DocumentWindowTest, OpenAndCloseCyclesLeaveNoRecordBehind)
{
    long before = LiveRecordCount();
    for (int i = 0; i < 5; ++i) {
        HWND window = OpenDocument("Ciclo");
        ASSERT_NE(window, nullptr);
        PlanDocument* document = GetWindowDocument(window);
        PlanObject* object = CreateObject(ObjLine, 0, 0, nullptr, nullptr, 1.0f, 6, 2, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr);
        AddObjectPoint(NewVertexNode(1, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, nullptr), object);
        AttachObjectToFloor(object, document->firstFloor->next);
        SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(window));
    }
    EXPECT_EQ(LiveRecordCount(), before);
}

// ---------------------------------------------------------------------------------
// Plan colours in the preferences file.

class PlanColoursTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory = vtest::CurrentDirectory();
        savedDirectory = programDirectory;
        programDirectory = &directory[0];
        strcpy(preferencesFileName, "\\Z!PREFS.INI");
        path = directory + "\\Z!PREFS.INI";
        DeleteFileA(path.c_str());
        activeDocument = nullptr;
        document = CreatePlanDocument();
    }
    void TearDown() override
    {
        FreePlanDocument(document);
        programDirectory = savedDirectory;
        DeleteFileA(path.c_str());
    }
    std::string directory;
    std::string path;
    char* savedDirectory = nullptr;
    PlanDocument* document = nullptr;
};

TEST_F(PlanColoursTest, MissingSectionsGiveTheDefaults)
{
    PlanSettings* settings = document->settings;
    settings->foregroundColour = {1, 1, 1};
    settings->backgroundColour = {1, 1, 1};
    settings->inactiveColour = {1, 1, 1};
    LoadPlanColours();
    EXPECT_EQ(settings->foregroundColour.red, 0);
    EXPECT_EQ(settings->foregroundColour.green, 16448);
    EXPECT_EQ(settings->foregroundColour.blue, 34952);
    EXPECT_EQ(settings->backgroundColour.red, 63736);
    EXPECT_EQ(settings->backgroundColour.green, 63736);
    EXPECT_EQ(settings->backgroundColour.blue, 65535);
    EXPECT_EQ(settings->inactiveColour.red, 53456);
    EXPECT_EQ(settings->inactiveColour.green, 59624);
    EXPECT_EQ(settings->inactiveColour.blue, 65535);
}

TEST_F(PlanColoursTest, SavedColoursAreWrittenInDecimalAndReadBack)
{
    PlanSettings* settings = document->settings;
    settings->foregroundColour = {65535, 257, 0};
    settings->backgroundColour = {12, 34, 56};
    settings->inactiveColour = {7, 8, 9};
    SavePlanColours();
    std::vector<unsigned char> bytes = vtest::ReadFileBytes(path);
    std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("[ForegroundColor]"), std::string::npos);
    EXPECT_NE(text.find("Red=65535"), std::string::npos);
    EXPECT_NE(text.find("Green=257"), std::string::npos);
    EXPECT_NE(text.find("[BackgroundColor]"), std::string::npos);
    EXPECT_NE(text.find("Blue=56"), std::string::npos);
    EXPECT_NE(text.find("[InactiveColor]"), std::string::npos);
    EXPECT_LT(text.find("[ForegroundColor]"), text.find("[BackgroundColor]"));
    EXPECT_LT(text.find("[BackgroundColor]"), text.find("[InactiveColor]"));

    settings->foregroundColour = {0, 0, 0};
    settings->inactiveColour = {0, 0, 0};
    LoadPlanColours();
    EXPECT_EQ(settings->foregroundColour.red, 65535);
    EXPECT_EQ(settings->foregroundColour.green, 257);
    EXPECT_EQ(settings->inactiveColour.blue, 9);
}

TEST_F(PlanColoursTest, EveryChannelSurvivesTheRoundTrip)
{
    PlanSettings* settings = document->settings;
    const ColourTriple saved[3] = {{0, 65535, 1}, {65534, 2, 32768}, {257, 514, 771}};
    settings->foregroundColour = saved[0];
    settings->backgroundColour = saved[1];
    settings->inactiveColour = saved[2];
    const PlanSettings before = *settings;
    SavePlanColours();
    settings->foregroundColour = {9, 9, 9};
    settings->backgroundColour = {9, 9, 9};
    settings->inactiveColour = {9, 9, 9};
    LoadPlanColours();
    const ColourTriple* read[3] = {&settings->foregroundColour, &settings->backgroundColour,
                                   &settings->inactiveColour};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(read[i]->red, saved[i].red) << i;
        EXPECT_EQ(read[i]->green, saved[i].green) << i;
        EXPECT_EQ(read[i]->blue, saved[i].blue) << i;
    }
    // Nothing else in the record moves.
    EXPECT_EQ(memcmp(&before, settings, sizeof(PlanSettings)), 0);
}

TEST_F(PlanColoursTest, NothingHappensWithoutADocumentOrSettings)
{
    activeDocument = nullptr;
    SavePlanColours();
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    activeDocument = document;
    PlanSettings* settings = document->settings;
    document->settings = nullptr;
    SavePlanColours();
    LoadPlanColours();
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    document->settings = settings;
}

} // namespace
