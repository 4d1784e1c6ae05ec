// The layers under and over the plan on a memory surface: grid lines and points at the
// pixels the top view gives, skipped grids, the plan border with its surround, the
// camera marker, and the scroll ranges from the extents.
#include "support_plan.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "planview/plan_background.h"
#include "planview/plan_pane.h"
#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& os, const Rgb& c)
{
    return os << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

const Rgb kCanvas = {1, 2, 3};
const Rgb kGrey = {192, 192, 192};
const Rgb kGray = {128, 128, 128}; // the stock gray brush of the surround
const Rgb kPaper = {250, 240, 230}; // the plan background colour of these tests
Rgb Rgb16(const ColourTriple& c) { return {uint8_t(c.red / 257), uint8_t(c.green / 257), uint8_t(c.blue / 257)}; }

// A 24-bit surface whose logical (0, 0) lies at its centre.
struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    uint8_t* bits = nullptr;
    int width, height, stride;

    Canvas(int w, int h) : width(w), height(h), stride((w * 3 + 3) & ~3)
    {
        BITMAPINFO info;
        std::memset(&info, 0, sizeof info);
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        dc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint8_t*>(p);
        old = SelectObject(dc, bitmap);
        for (int i = 0; i < w * h; ++i) {
            uint8_t* q = bits + (i / w) * stride + (i % w) * 3;
            q[0] = kCanvas.b, q[1] = kCanvas.g, q[2] = kCanvas.r;
        }
        SetWindowOrgEx(dc, -w / 2, -h / 2, nullptr);
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // Pixel at logical (x, y).
    Rgb At(int x, int y) const
    {
        GdiFlush();
        int px = x + width / 2, py = y + height / 2;
        if (px < 0 || py < 0 || px >= width || py >= height)
            return {0, 0, 0};
        const uint8_t* q = bits + py * stride + px * 3;
        return {q[2], q[1], q[0]};
    }
    std::vector<uint8_t> Snapshot() const
    {
        GdiFlush();
        return std::vector<uint8_t>(bits, bits + stride * height);
    }
};

// The +0.5-and-truncate rounding of the plan view: negative whole values move up by 1.
int R(float v) { return static_cast<int>(v + 0.5f); }

class PlanBackground : public vtest::PlanViewTest {
protected:
    void SetUp() override
    {
        vtest::PlanViewTest::SetUp();
        PlanSettings* s = Settings();
        s->backgroundColour = {uint16_t(kPaper.r * 257), uint16_t(kPaper.g * 257), uint16_t(kPaper.b * 257)};
        s->drawingScale = 72.0f; // with inches, display lengths are plan lengths
        s->drawingUnit = 1;
        s->referenceHeight = 0.0f;
        // Far off every surface, unless a test wants the marker.
        s->cameraX = 20000.0f;
        s->cameraZ = 20000.0f;
    }
    void SetExtents(float top, float left, float bottom, float right)
    {
        Settings()->extentTop = top;
        Settings()->extentLeft = left;
        Settings()->extentBottom = bottom;
        Settings()->extentRight = right;
    }
    const float reference[3] = {0.0f, 0.0f, 0.0f};
};

// Extents 240 x 200 with a 48 x 40 grid: (240 / 48) / 2 = 2.5 gives ox = 24 and
// (200 / 40) / 2 = 2.5 gives oy = 20, so the lines lie at x = -96, -48, 0, 48, 96 and
// z = -80, -40, 0, 40, 80, with the edge lines added on both sides.
TEST_F(PlanBackground, GridLinesAreEngravedAtTheProjectedPositions)
{
    Canvas canvas(400, 300); // the pane stand-in is 400 x 300 too: K = (-200, -150, 200, 150)
    const float extents[4] = {-100, -120, 100, 120};
    DrawGridLines(canvas.dc, 48, 40, 24, 20, extents, 1, 2, reference, 0);

    // Along the row z = 10 (between two grid rows): each vertical line is grey with the
    // background colour one unit to its right.
    const float xs[] = {-120, -96, -48, 0, 48, 96, 120};
    std::vector<Rgb> expected(400, kCanvas);
    for (int x = -200; x < -119; ++x)
        expected[x + 200] = kGray; // left surround, up to the border
    for (int x = 121; x < 200; ++x)
        expected[x + 200] = kGray;
    for (float x : xs) {
        expected[R(x) + 200] = kGrey;
        expected[R(x) + 1 + 200] = kPaper;
    }
    for (int x = -200; x < 200; ++x)
        ASSERT_EQ(canvas.At(x, 10), expected[x + 200]) << "x " << x;

    // Down the column x = 10: each horizontal line, background colour one unit below.
    const float zs[] = {-100, -80, -40, 0, 40, 80, 100};
    std::vector<Rgb> column(300, kCanvas);
    for (int y = -150; y < R(-100); ++y)
        column[y + 150] = kGray;
    for (int y = R(100) + 1; y < 150; ++y)
        column[y + 150] = kGray;
    for (float z : zs) {
        column[R(z) + 150] = kGrey;
        column[R(z) + 1 + 150] = kPaper;
    }
    for (int y = -150; y < 150; ++y)
        ASSERT_EQ(canvas.At(10, y), column[y + 150]) << "y " << y;
}

TEST_F(PlanBackground, GridOffsetsCentreTheGridOnTheExtents)
{
    PlanSettings* s = Settings();
    s->gridVisible = 1;
    s->limitLockHeight = 1;
    s->gridStyle = 1;
    s->gridSpacingX = 12.0f;
    s->gridSpacingY = 12.0f;

    // 48 wide, grid 12: (48 / 12) / 2 = 2, no fraction: lines on both edges and through
    // the centre, no extra edge lines (nothing drawn twice, so the engraving is clean).
    {
        SetExtents(-20, -24, 20, 24);
        Canvas canvas(400, 300);
        DrawPlanBackground(canvas.dc, nullptr, PaintWithoutBackground);
        for (int x : {-24, -12, 0, 12, 24}) {
            EXPECT_EQ(canvas.At(R(x), 2), kGrey) << x;
            EXPECT_EQ(canvas.At(R(x) + 1, 2), kPaper) << x;
        }
        EXPECT_EQ(canvas.At(R(-18), 2), kCanvas);
        EXPECT_EQ(canvas.At(R(6), 2), kCanvas);
    }
    // 58 wide: (58 / 12) / 2 has the fraction 5/12, so ox = 5: lines at left + 5,
    // left + 17, ... and at both edges.
    {
        SetExtents(-20, -29, 20, 29);
        Canvas canvas(400, 300);
        DrawPlanBackground(canvas.dc, nullptr, PaintWithoutBackground);
        for (int x : {-29, -24, -12, 0, 12, 24, 29}) {
            EXPECT_EQ(canvas.At(R(x), 2), kGrey) << x;
            EXPECT_EQ(canvas.At(R(x) + 1, 2), kPaper) << x;
        }
        EXPECT_EQ(canvas.At(R(-18), 2), kCanvas);
    }
}

TEST_F(PlanBackground, GridPointsOnlyInsideTheClientArea)
{
    // The pane's client area (400 x 300) in this surface's logical units is
    // K = (-300, -200, 100, 100): the surface is larger, its origin at its centre.
    Canvas canvas(600, 400);
    const float extents[4] = {-180, -260, 180, 260};
    // 520 / 40 / 2 = 6.5: ox = 20; 360 / 40 / 2 = 4.5: oy = 20. Points at x = -240,
    // -200, ..., 240 and z = -160, -120, ..., 160.
    DrawGridPoints(canvas.dc, 40, 40, 20, 20, extents, 1, 2, reference, 0);
    for (int i = 0; i <= 12; ++i) {
        for (int j = 0; j <= 8; ++j) {
            float x = -240.0f + 40.0f * i, z = -160.0f + 40.0f * j;
            int px = R(x), py = R(z);
            bool inside = px >= -300 && px < 100 && py >= -200 && py < 100;
            SCOPED_TRACE(testing::Message() << x << "," << z);
            EXPECT_EQ(canvas.At(px, py), inside ? kGrey : kCanvas);
            if (inside) {
                EXPECT_EQ(canvas.At(px + 1, py), kCanvas) << "a one-pixel dot";
                EXPECT_EQ(canvas.At(px, py + 1), kCanvas);
            }
        }
    }
    EXPECT_EQ(canvas.At(R(-20), R(0)), kCanvas) << "between points";
    // The surround: above the top edge and left of the left edge, inside K only.
    EXPECT_EQ(canvas.At(0, -190), kGray);
    EXPECT_EQ(canvas.At(-280, 0), kGray);
    EXPECT_EQ(canvas.At(280, 0), kCanvas) << "right of K";
}

TEST_F(PlanBackground, UnusableGridStepsDrawOnlyTheBorder)
{
    const float extents[4] = {-100, -120, 100, 120};
    const float steps[] = {0.0f, -12.0f, std::nanf(""), INFINITY, 0.001f};
    for (float step : steps) {
        for (int style = 0; style < 2; ++style) {
            SCOPED_TRACE(testing::Message() << "step " << step << " style " << style);
            Canvas canvas(400, 300);
            auto start = std::chrono::steady_clock::now();
            if (style == 0)
                DrawGridLines(canvas.dc, step, 40, 0, 0, extents, 1, 2, reference, 0);
            else
                DrawGridPoints(canvas.dc, 40, step, 0, 0, extents, 1, 2, reference, 0);
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
            // The border and the surround are there, the inside is empty.
            EXPECT_EQ(canvas.At(-150, 0), kGray);
            EXPECT_EQ(canvas.At(R(-120), 0), (Rgb{0, 0, 0})) << "left border";
            for (int x = -110; x < 110; x += 7)
                for (int y = -90; y < 90; y += 9)
                    ASSERT_EQ(canvas.At(x, y), kCanvas) << x << "," << y;
        }
    }
    // A step that is valid but would give too many lines: 240 / 0.02 = 12000 lines.
    Canvas dense(400, 300);
    DrawGridLines(dense.dc, 0.02f, 40, 0, 0, extents, 1, 2, reference, 0);
    EXPECT_EQ(dense.At(3, 3), kCanvas);
    // Just under the limit it is drawn: 240 / 0.05 + 1 = 4801 and 200 / 0.05 + 1 = 4001.
    Canvas fine(400, 300);
    DrawGridLines(fine.dc, 0.05f, 0.05f, 0, 0, extents, 1, 2, reference, 0);
    EXPECT_NE(fine.At(3, 3), kCanvas);
    // Points: 1201 x 1001 points is more than the points limit.
    Canvas points(400, 300);
    DrawGridPoints(points.dc, 0.2f, 0.2f, 0, 0, extents, 1, 2, reference, 0);
    EXPECT_EQ(points.At(0, 0), kCanvas);
}

TEST_F(PlanBackground, GridVisibleWithoutPermissionDrawsNothingAndHiddenGridDrawsTheBorder)
{
    PlanSettings* s = Settings();
    SetExtents(-40, -40, 40, 40);
    s->gridSpacingX = s->gridSpacingY = 10.0f;
    s->gridVisible = 1;
    s->limitLockHeight = 0;
    Canvas none(400, 300);
    DrawPlanBackground(none.dc, nullptr, PaintWithoutBackground);
    EXPECT_EQ(none.At(-150, 0), kCanvas) << "no surround";
    EXPECT_EQ(none.At(R(-40), 0), kCanvas) << "no border";
    EXPECT_EQ(none.At(R(-30), 5), kCanvas) << "no grid";

    // Grid off: the border in the current-storey colour, the button-shadow surround
    // 150 units away from it.
    s->gridVisible = 0;
    Canvas border(600, 500); // the pane stand-in stays 400 x 300
    MoveWindow(pane, 0, 0, 600, 500, FALSE);
    DrawPlanBackground(border.dc, nullptr, PaintWithoutBackground);
    Rgb storey = Rgb16(s->foregroundColour);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    Rgb surround = {GetRValue(shadow), GetGValue(shadow), GetBValue(shadow)};
    EXPECT_EQ(border.At(0, R(-40)), storey) << "top edge";
    EXPECT_EQ(border.At(R(-40), 0), storey) << "left edge";
    EXPECT_EQ(border.At(R(40), 0), storey) << "right edge";
    EXPECT_EQ(border.At(0, R(40)), storey) << "bottom edge";
    // Left fill: columns up to X2 - 150 (exclusive); right fill from X1 + 151.
    EXPECT_EQ(border.At(R(-40) - 151, 0), surround);
    EXPECT_EQ(border.At(R(-40) - 150, 0), kCanvas);
    EXPECT_EQ(border.At(R(40) + 151, 0), surround);
    EXPECT_EQ(border.At(R(40) + 150, 0), kCanvas);
    // Top fill: rows above Y2 - 150, over the edge's width and the margins.
    EXPECT_EQ(border.At(0, R(-40) - 151), surround);
    EXPECT_EQ(border.At(0, R(-40) - 150), kCanvas);
    EXPECT_EQ(border.At(0, R(40) + 151), surround);
    EXPECT_EQ(border.At(0, R(40) + 150), kCanvas);
}

TEST_F(PlanBackground, CameraMarkerInvertsAndASecondCallRemovesIt)
{
    PlanSettings* s = Settings();
    s->cameraX = 30.0f;
    s->cameraZ = 20.0f;
    s->cameraHeading = 0.0f;
    Canvas canvas(200, 200);
    std::vector<uint8_t> before = canvas.Snapshot();
    DrawCameraMarker(canvas.dc);
    const Rgb inverted = {254, 253, 252};
    EXPECT_EQ(canvas.At(30, 20), inverted) << "circle centre";
    EXPECT_EQ(canvas.At(30, 4), inverted) << "inside the triangle pointing up (heading 0)";
    EXPECT_EQ(canvas.At(30, -2), kCanvas) << "beyond the apex at 20 units";
    EXPECT_EQ(canvas.At(30, 27), kCanvas) << "below the circle";
    EXPECT_EQ(canvas.At(0, 0), kCanvas);
    DrawCameraMarker(canvas.dc);
    EXPECT_EQ(canvas.Snapshot(), before);

    // Heading 90: the apex points left.
    s->cameraHeading = 90.0f;
    DrawCameraMarker(canvas.dc);
    EXPECT_EQ(canvas.At(14, 20), inverted);
    EXPECT_EQ(canvas.At(30, 4), kCanvas);
    DrawCameraMarker(canvas.dc);
    EXPECT_EQ(canvas.Snapshot(), before);
}

// A window with a DC of its own, like the plan pane, with no document.
struct OwnDcPane {
    HWND window = nullptr;
    OwnDcPane(int w, int h)
    {
        WNDCLASSA wc;
        if (!GetClassInfoA(GetModuleHandleA(nullptr), "BackgroundTestPane", &wc)) {
            std::memset(&wc, 0, sizeof wc);
            wc.style = CS_OWNDC;
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "BackgroundTestPane";
            RegisterClassA(&wc);
        }
        window = CreateWindowA("BackgroundTestPane", "", WS_POPUP, 0, 0, w, h, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    ~OwnDcPane() { DestroyWindow(window); }
    void SetOrigin(int x, int y)
    {
        HDC dc = GetDC(window);
        SetWindowOrgEx(dc, x, y, nullptr);
        ReleaseDC(window, dc);
    }
    POINT Origin()
    {
        POINT p;
        HDC dc = GetDC(window);
        GetWindowOrgEx(dc, &p);
        ReleaseDC(window, dc);
        return p;
    }
};

struct Bar {
    HWND window;
    explicit Bar(bool vertical)
    {
        window = CreateWindowA("SCROLLBAR", "", WS_POPUP | (vertical ? SBS_VERT : SBS_HORZ), 0, 0, 100, 16, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~Bar() { DestroyWindow(window); }
    int Max() const
    {
        int low = -1, high = -1;
        GetScrollRange(window, SB_CTL, &low, &high);
        return high;
    }
    int Position() const { return GetScrollPos(window, SB_CTL); }
};

TEST_F(PlanBackground, ScrollRangesAreTwiceTheZoomedExtents)
{
    OwnDcPane own(400, 300);
    ASSERT_NE(own.window, nullptr);
    activePlanPane = own.window;
    Bar h(false), v(true);
    SetExtents(-2400, -2400, 2400, 2400);
    own.SetOrigin(-400, -300);
    UpdatePlanScrollBars(h.window, v.window);
    // Doubled zoomed extents: (r(2400) - r(-2400)) x 2 = (2400 - (-2399)) x 2 = 9598,
    // less the window (400 - 2, 300 - 2); positions from 2 x the minimum.
    EXPECT_EQ(h.Max(), 9598 - 398);
    EXPECT_EQ(v.Max(), 9598 - 298);
    EXPECT_EQ(h.Position(), -400 + 4800);
    EXPECT_EQ(v.Position(), -300 + 4800);
    EXPECT_EQ(own.Origin().x, -400);
    EXPECT_EQ(own.Origin().y, -300);

    // At zoom 0.5 the area halves.
    Settings()->zoom = 0.5f;
    UpdatePlanScrollBars(h.window, v.window);
    EXPECT_EQ(h.Max(), (1200 - (-1199)) * 2 - 398);
    EXPECT_EQ(h.Position(), -400 + 2400);
    Settings()->zoom = 1.0f;
}

TEST_F(PlanBackground, APlanSmallerThanThePaneIsCentred)
{
    OwnDcPane own(400, 300);
    activePlanPane = own.window;
    Bar h(false), v(true);
    SetExtents(-60, -90, 60, 90); // 358 x 238 doubled: smaller than the pane
    own.SetOrigin(5, 7);
    UpdatePlanScrollBars(h.window, v.window);
    EXPECT_EQ(h.Max(), 0);
    EXPECT_EQ(v.Max(), 0);
    EXPECT_EQ(h.Position(), 0);
    EXPECT_EQ(v.Position(), 0);
    EXPECT_EQ(own.Origin().x, -200);
    EXPECT_EQ(own.Origin().y, -150);
}

TEST_F(PlanBackground, DeactivateDocumentChildEndsTheTextEditor)
{
    HWND edit = CreateWindowA("EDIT", "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    document->textEditChild = edit;
    DeactivateDocumentChild();
    EXPECT_EQ(document->textEditChild, nullptr);
    DeactivateDocumentChild(); // nothing to end
    DestroyWindow(edit);
}

} // namespace
