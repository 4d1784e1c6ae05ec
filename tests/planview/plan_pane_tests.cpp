// The plan pane window (MainClass with PlanWindowProc): painting through the background
// and the redraw with a borrowed document and view, scrolling by the window origin,
// and freeing the document with the window.
#include "support_plan.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "model/view_projection.h"
#include "palette/tool_windows.h"
#include "planview/plan_pane.h"
#include "planview/plan_redraw.h"
#include "support/window_pixels.h"
#include <cstring>

namespace {

using vtest::WindowPixel;

const COLORREF kPaper = RGB(250, 240, 230);
const COLORREF kGrey = RGB(192, 192, 192);

int R(float v) { return static_cast<int>(v + 0.5f); }

class PlanPane : public vtest::PlanViewTest {
protected:
    void SetUp() override
    {
        vtest::PlanViewTest::SetUp();
        WNDCLASSA wc;
        if (!GetClassInfoA(GetModuleHandleA(nullptr), "MainClass", &wc)) {
            std::memset(&wc, 0, sizeof wc);
            wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_OWNDC | CS_BYTEALIGNWINDOW;
            wc.lpfnWndProc = PlanWindowProc;
            wc.cbWndExtra = sizeof(LONG_PTR);
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.hbrBackground = CreateSolidBrush(RGB(248, 248, 255));
            wc.lpszClassName = "MainClass";
            ASSERT_NE(RegisterClassA(&wc), 0);
        }
    }
    void TearDown() override
    {
        for (HWND w : panes)
            if (IsWindow(w))
                DestroyWindow(w);
        vtest::PlanViewTest::TearDown();
    }
    // A document of its own (the active one afterwards, as a new document is).
    PlanDocument* NewDocument()
    {
        PlanDocument* d = CreatePlanDocument();
        PlanSettings* s = d->settings;
        s->zoom = 1.0f;
        s->drawingScale = 72.0f;
        s->drawingUnit = 1;
        s->backgroundColour = {250 * 257, 240 * 257, 230 * 257};
        s->cameraX = s->cameraZ = 20000.0f;
        s->extentTop = -100, s->extentLeft = -120, s->extentBottom = 100, s->extentRight = 120;
        s->gridVisible = 1;
        s->limitLockHeight = 1;
        s->gridStyle = 1;
        s->gridSpacingX = 48.0f;
        s->gridSpacingY = 40.0f;
        return d;
    }
    // A visible pane that owns the document, logical (0, 0) at its centre.
    HWND MakePane(PlanDocument* d, int x, int y = 0)
    {
        HWND w = CreateWindowExA(0, "MainClass", "", WS_POPUP | WS_VISIBLE, x, y, 400, 300, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(w, nullptr);
        SetWindowLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(d));
        HDC dc = GetDC(w);
        SetWindowOrgEx(dc, -200, -150, nullptr);
        ReleaseDC(w, dc);
        panes.push_back(w);
        return w;
    }
    static void Repaint(HWND w)
    {
        InvalidateRect(w, nullptr, FALSE);
        UpdateWindow(w);
    }
    static POINT Origin(HWND w)
    {
        POINT p;
        HDC dc = GetDC(w);
        GetWindowOrgEx(dc, &p);
        ReleaseDC(w, dc);
        return p;
    }
    static bool SameTrig(const float* saved)
    {
        const float now[4] = {viewPitchCos, viewPitchSin, viewYawCos, viewYawSin};
        return std::memcmp(saved, now, sizeof now) == 0;
    }
    std::vector<HWND> panes;
};

TEST_F(PlanPane, CreationLeavesTheNullBrushAndTransparentModeInItsDc)
{
    HWND w = MakePane(nullptr, 0);
    HDC dc = GetDC(w);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    ReleaseDC(w, dc);
}

TEST_F(PlanPane, DestroyingThePaneFreesItsDocument)
{
    long before = LiveRecordCount();
    PlanDocument* mine = NewDocument();
    AddObject(6, {{0, 0, 0}, {50, 0, 30}, {80, 0, -20}}, false, mine->firstFloor);
    EXPECT_GT(LiveRecordCount(), before);
    HWND w = MakePane(mine, 0);
    activePlanPane = w;
    activeDocument = mine;
    DestroyWindow(w);
    EXPECT_EQ(LiveRecordCount(), before) << "document, floors, object and settings are all released";
    EXPECT_EQ(activePlanPane, nullptr);
    EXPECT_EQ(activeDocument, nullptr);
}

TEST_F(PlanPane, DestroyingAnotherPaneLeavesTheActiveOnesAlone)
{
    long before = LiveRecordCount();
    PlanDocument* other = NewDocument();
    HWND w = MakePane(other, 420);
    activePlanPane = pane;
    activeDocument = document;
    DestroyWindow(w);
    EXPECT_EQ(LiveRecordCount(), before);
    EXPECT_EQ(activePlanPane, pane);
    EXPECT_EQ(activeDocument, document);

    // A pane without a document frees nothing.
    HWND empty = MakePane(nullptr, 420);
    DestroyWindow(empty);
    EXPECT_EQ(LiveRecordCount(), before);
    EXPECT_EQ(activeDocument, document);
}

TEST_F(PlanPane, PaintingDrawsTheBackgroundAndGrid)
{
    PlanDocument* mine = NewDocument();
    HWND w = MakePane(mine, 0);
    activePlanPane = w;
    activeDocument = mine;
    Repaint(w);
    EXPECT_EQ(WindowPixel(w, 20, 10), kPaper);
    // The vertical grid lines of extents 240 x 200 and grid 48 x 40 (see the background
    // tests): x = -96 and 48, engraved one unit to the right.
    EXPECT_EQ(WindowPixel(w, R(-96), 10), kGrey);
    EXPECT_EQ(WindowPixel(w, R(-96) + 1, 10), kPaper);
    EXPECT_EQ(WindowPixel(w, R(48), 10), kGrey);
    EXPECT_EQ(WindowPixel(w, -150, 10), RGB(128, 128, 128)) << "surround";
    EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
    EXPECT_EQ(planViewInvalid, 0);
}

TEST_F(PlanPane, PaintingBorrowsTheActivePairAndAPlainTopViewAndGivesThemBack)
{
    PlanDocument* docA = NewDocument();
    HWND a = MakePane(docA, 0);
    PlanDocument* docB = NewDocument();
    HWND b = MakePane(docB, 420);
    activePlanPane = a;
    activeDocument = docA;
    // The active pane shows a side view in perspective.
    viewPitchDegrees = 30.0f;
    viewYawDegrees = 45.0f;
    perspectiveOn = 1;
    ApplyViewAngles(30.0f, 45.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 1);
    const float trig[4] = {viewPitchCos, viewPitchSin, viewYawCos, viewYawSin};
    const PlaneEquation plane = workPlane;

    Repaint(b);
    // B was drawn as a top view with its own document: its grid lines stand upright.
    for (int y : {-60, 10, 70}) {
        EXPECT_EQ(WindowPixel(b, R(-96), y), kGrey) << y;
        EXPECT_EQ(WindowPixel(b, R(48), y), kGrey) << y;
    }
    // Everything borrowed is back, to the bit.
    EXPECT_EQ(activePlanPane, a);
    EXPECT_EQ(activeDocument, docA) << "painting does not make its document active";
    EXPECT_EQ(viewPitchDegrees, 30.0f);
    EXPECT_EQ(viewYawDegrees, 45.0f);
    EXPECT_EQ(perspectiveOn, 1);
    EXPECT_TRUE(SameTrig(trig));
    EXPECT_EQ(std::memcmp(&plane, &workPlane, sizeof plane), 0);
    EXPECT_EQ(planViewInvalid, 0);

    // The active pane keeps its own view for its paint, and still gets it all back.
    Repaint(a);
    int upright = 0;
    for (int y = -60; y <= 60; ++y)
        upright += WindowPixel(a, R(-96), y) == kGrey;
    EXPECT_LT(upright, 60) << "not a top view";
    EXPECT_EQ(activePlanPane, a);
    EXPECT_EQ(activeDocument, docA);
    EXPECT_EQ(viewPitchDegrees, 30.0f);
    EXPECT_TRUE(SameTrig(trig));

    vtest::ShowTopView();
}

TEST_F(PlanPane, APaintWithoutADocumentOnlyValidates)
{
    HWND w = MakePane(nullptr, 0);
    activePlanPane = pane;
    activeDocument = document;
    Repaint(w);
    EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
    EXPECT_EQ(activePlanPane, pane);
    EXPECT_EQ(activeDocument, document);
}

TEST_F(PlanPane, ALoadedPlanPaintsWhereItsObjectsLie)
{
    PlanDocument* empty = NewDocument();
    empty->settings->gridVisible = 0;
    HWND e = MakePane(empty, 0);
    PlanDocument* loaded = NewDocument();
    loaded->settings->gridVisible = 0;
    // A closed square outline on the current storey.
    AddObject(1, {{-50, 0, -50}, {50, 0, -50}, {50, 0, 50}, {-50, 0, 50}}, true, loaded->firstFloor);
    HWND l = MakePane(loaded, 420);
    activePlanPane = e;
    activeDocument = empty;
    Repaint(e);
    Repaint(l);
    int differing = 0;
    for (int x = -60; x <= 60; ++x)
        for (int y : {R(-50), R(50)})
            differing += WindowPixel(e, x, y) != WindowPixel(l, x, y);
    EXPECT_GT(differing, 80) << "the square's top and bottom edges";
    EXPECT_EQ(WindowPixel(e, 0, 0), WindowPixel(l, 0, 0)) << "inside the square both are paper";
}

TEST_F(PlanPane, ScrollingMovesTheWindowOriginWithTheBar)
{
    PlanDocument* mine = NewDocument();
    HWND w = MakePane(mine, 0);
    activePlanPane = w;
    activeDocument = mine;
    HWND bar = CreateWindowA("SCROLLBAR", "", WS_POPUP | SBS_HORZ, 0, 320, 200, 16, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    HWND vbar = CreateWindowA("SCROLLBAR", "", WS_POPUP | SBS_VERT, 500, 0, 16, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetScrollRange(bar, SB_CTL, 0, 1000, FALSE);
    SetScrollPos(bar, SB_CTL, 500, FALSE);
    SetScrollRange(vbar, SB_CTL, 0, 300, FALSE);
    SetScrollPos(vbar, SB_CTL, 100, FALSE);
    // Grid lines at x = -300 + 12 + 48 k: ..., 192, 240, 288.
    mine->settings->extentLeft = -300;
    mine->settings->extentRight = 300;
    Repaint(w);

    ScrollPlanView(bar, w, 0, 60, 123, 1);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 560);
    EXPECT_EQ(Origin(w).x, -200 + 60);
    EXPECT_EQ(Origin(w).y, -150);
    // The moved pixels and the newly painted strip (logical 200 to 259) agree with the
    // plan's positions.
    EXPECT_EQ(WindowPixel(w, R(192), 10), kGrey) << "moved";
    EXPECT_EQ(WindowPixel(w, R(192) + 1, 10), kPaper);
    EXPECT_EQ(WindowPixel(w, R(240), 10), kGrey) << "in the strip painted after the scroll";
    EXPECT_EQ(WindowPixel(w, R(240) + 1, 10), kPaper);
    EXPECT_EQ(WindowPixel(w, R(220), 10), kPaper);
    EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE)) << "updated at once";

    // Past the end: only to the end of the range.
    ScrollPlanView(bar, w, 0, 2000, 0, 0);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 1000);
    EXPECT_EQ(Origin(w).x, -200 + 500);
    EXPECT_TRUE(GetUpdateRect(w, nullptr, FALSE)) << "without the update flag the strip waits";
    ScrollPlanViewRepaint(bar, w, 0, -3000, 1);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
    EXPECT_EQ(Origin(w).x, -200 - 500);

    // A step of 0, or no bar, does nothing at all.
    ScrollPlanView(bar, w, 0, 0, 0, 1);
    ScrollPlanView(nullptr, w, 0, 50, 0, 1);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
    EXPECT_EQ(Origin(w).x, -700);

    // The vertical bar moves only y.
    ScrollPlanView(vbar, w, 1, -150, 0, 1);
    EXPECT_EQ(GetScrollPos(vbar, SB_CTL), 0);
    EXPECT_EQ(Origin(w).y, -150 - 100);
    EXPECT_EQ(Origin(w).x, -700);
    DestroyWindow(bar);
    DestroyWindow(vbar);
}

TEST_F(PlanPane, SizeAndSwallowedClicksChangeNothing)
{
    PlanDocument* mine = NewDocument();
    HWND w = MakePane(mine, 0);
    activePlanPane = pane;
    activeDocument = document;
    SetWindowPos(w, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(reinterpret_cast<PlanDocument*>(GetWindowLongPtrA(w, 0)), mine);
    EXPECT_EQ(activePlanPane, pane) << "a pane becomes current only by a click";

    // A click that closed a palette pop-up is dropped, and the byte cleared.
    swallowNextToolClick = 1;
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(swallowNextToolClick, 0);
    EXPECT_EQ(activePlanPane, pane);
    EXPECT_EQ(activeDocument, document);
}

} // namespace
