#include <gtest/gtest.h>

#include <windows.h>
#include <math.h>

#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "tools/tool_state.h"
#include "support_model.h"

namespace {

using ActiveDocumentTest = mtest::ActiveSettingsTest;

// A pane like the plan pane: its own device context, so the window origin persists.
HWND CreateOwnDcWindow(int width, int height, bool visible)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "UnitsTestPane";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "UnitsTestPane", "", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0,
                           width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

POINT WindowOrigin(HWND window)
{
    POINT p = {12345, 12345};
    HDC dc = GetDC(window);
    GetWindowOrgEx(dc, &p);
    ReleaseDC(window, dc);
    return p;
}

}  // namespace

TEST(LengthUnits, FixedFactorsBothWays)
{
    EXPECT_FLOAT_EQ(24.0f, FeetToInches(2.0f));
    EXPECT_FLOAT_EQ(2.5f, InchesToFeet(30.0f));
    EXPECT_FLOAT_EQ(72.0f, YardsToInches(2.0f));
    EXPECT_FLOAT_EQ(0.5f, InchesToYards(18.0f));
    EXPECT_FLOAT_EQ(63360.0f, MilesToInches(1.0f));
    EXPECT_FLOAT_EQ(0.25f, InchesToMiles(15840.0f));
    // The metric factors are the rounded 0.03937 family, not 1/25.4.
    EXPECT_FLOAT_EQ(39.37f, MillimetresToInches(1000.0f));
    EXPECT_FLOAT_EQ(1.0f, InchesToMillimetres(0.03937f));
    EXPECT_FLOAT_EQ(39.37f, CentimetresToInches(100.0f));
    EXPECT_FLOAT_EQ(10.0f, InchesToCentimetres(3.937f));
    EXPECT_FLOAT_EQ(39.37f, DecimetresToInches(10.0f));
    EXPECT_FLOAT_EQ(2.0f, InchesToDecimetres(7.874f));
    EXPECT_FLOAT_EQ(78.74f, MetresToInches(2.0f));
    EXPECT_FLOAT_EQ(1.0f, InchesToMetres(39.37f));
    EXPECT_FLOAT_EQ(144.0f, InchesToPoints(2.0f));
    EXPECT_NE(25.4f, InchesToMillimetres(1.0f));
}

TEST(LengthUnits, ConversionByTheDrawingUnit)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    const float tenUnitsInInches[9] = {10.0f, 10.0f, 120.0f, 360.0f, 633600.0f,
                                       0.3937f, 3.937f, 39.37f, 393.7f};
    for (uint16_t unit = 1; unit <= 8; ++unit) {
        s->drawingUnit = unit;
        EXPECT_FLOAT_EQ(tenUnitsInInches[unit], ConvertUnitsToInches(10.0f, s)) << "unit " << unit;
        EXPECT_FLOAT_EQ(10.0f, ConvertInchesToUnits(tenUnitsInInches[unit], s)) << "unit " << unit;
    }
    // Codes outside 1..8 and missing settings convert nothing.
    for (uint16_t unit : {uint16_t(0), uint16_t(9), uint16_t(65535)}) {
        s->drawingUnit = unit;
        EXPECT_EQ(10.0f, ConvertUnitsToInches(10.0f, s));
        EXPECT_EQ(10.0f, ConvertInchesToUnits(10.0f, s));
    }
    EXPECT_EQ(7.5f, ConvertUnitsToInches(7.5f, nullptr));
    EXPECT_EQ(7.5f, ConvertInchesToUnits(7.5f, nullptr));

    // The paper side has its own unit.
    s->drawingUnit = kUnitMetre;
    s->paperUnit = kUnitFoot;
    EXPECT_FLOAT_EQ(12.0f, ConvertPaperUnitsToInches(1.0f, s));
    EXPECT_EQ(3.0f, ConvertPaperUnitsToInches(3.0f, nullptr));
    FreePlanSettings(s);
}

TEST_F(ActiveDocumentTest, PlanLengthsThroughTheDrawingScale)
{
    settings->zoom = 1.0f;
    // 96 inches at 1:36 is 96 / 36 * 72 = 192 points of paper.
    settings->drawingUnit = kUnitInch;
    EXPECT_FLOAT_EQ(192.0f, UnitsToPlanLength(96.0f, settings, 0));
    settings->drawingUnit = kUnitFoot;
    EXPECT_FLOAT_EQ(8.0f, PlanLengthToUnits(192.0f, settings, 0));
    EXPECT_FLOAT_EQ(192.0f, UnitsToPlanLength(8.0f, settings, 0));
    // 1 m at 1:50 is 39.37 / 50 * 72 = 56.6928.
    settings->drawingUnit = kUnitMetre;
    settings->drawingScale = 50.0f;
    EXPECT_FLOAT_EQ(56.6928f, UnitsToPlanLength(1.0f, settings, 0));
    EXPECT_FLOAT_EQ(1.0f, PlanLengthToUnits(56.6928f, settings, 0));

    // The zoom flag multiplies by the zoom of the active plan.
    settings->drawingScale = 36.0f;
    settings->drawingUnit = kUnitInch;
    settings->zoom = 0.5f;
    EXPECT_FLOAT_EQ(96.0f, UnitsToPlanLength(96.0f, settings, 1));
    EXPECT_FLOAT_EQ(48.0f, PlanLengthToUnits(192.0f, settings, 1));

    EXPECT_EQ(192.0f, PlanLengthToUnits(192.0f, nullptr, 1));
    EXPECT_EQ(96.0f, UnitsToPlanLength(96.0f, nullptr, 1));
}

TEST_F(ActiveDocumentTest, UnusableDrawingScaleCountsAsTheDefault)
{
    settings->zoom = 1.0f;
    settings->drawingUnit = kUnitInch;
    // A damaged file's scale would make every length infinite or NaN: 1:36 is used.
    const float bad[] = {0.0f, -12.0f, NAN, INFINITY};
    for (float scale : bad) {
        settings->drawingScale = scale;
        EXPECT_FLOAT_EQ(192.0f, UnitsToPlanLength(96.0f, settings, 0)) << scale;
        EXPECT_FLOAT_EQ(96.0f, PlanLengthToUnits(192.0f, settings, 0)) << scale;
    }
}

TEST(Zoom, WithoutActiveDocumentNothingChanges)
{
    PlanDocument* saved = activeDocument;
    activeDocument = nullptr;
    EXPECT_EQ(7, ZoomInt(7));
    EXPECT_EQ(-3, UnzoomInt(-3));
    EXPECT_EQ(2.5f, ZoomFloat(2.5f));
    EXPECT_EQ(2.5f, UnzoomFloat(2.5f));
    RECT r = {1, 2, 3, 4};
    ZoomRect16(&r);
    EXPECT_EQ(1, r.left);
    EXPECT_EQ(4, r.bottom);
    activeDocument = saved;
}

TEST_F(ActiveDocumentTest, ZoomOfExactlyOneChangesNothing)
{
    settings->zoom = 1.0f;
    EXPECT_EQ(7, ZoomInt(7));
    // The +0.5 rounding would turn -3 into -2; a zoom of 1 must not touch it.
    EXPECT_EQ(-3, ZoomInt(-3));
    EXPECT_EQ(-3, UnzoomInt(-3));
    EXPECT_EQ(2.5f, ZoomFloat(2.5f));
    float rect[4] = {-1.5f, 2.0f, 3.0f, 4.0f};
    ZoomFloatRect(rect);
    EXPECT_EQ(-1.5f, rect[0]);
}

TEST_F(ActiveDocumentTest, ZoomRoundsByHalfAndTruncatesTowardZero)
{
    settings->zoom = 0.5f;
    EXPECT_EQ(-1, ZoomInt(-3));   // -1.5 + 0.5 = -1.0
    EXPECT_EQ(0, ZoomInt(-2));    // -1.0 + 0.5 = -0.5 -> 0
    EXPECT_EQ(4, ZoomInt(7));     // 3.5 + 0.5 = 4.0
    EXPECT_EQ(3, ZoomInt(5));     // 2.5 + 0.5 = 3.0
    EXPECT_EQ(14, UnzoomInt(7));  // 14.0 + 0.5
    EXPECT_EQ(-5, UnzoomInt(-3)); // -6.0 + 0.5 = -5.5 -> -5
    EXPECT_EQ(1.25f, ZoomFloat(2.5f));
    EXPECT_EQ(5.0f, UnzoomFloat(2.5f));

    settings->zoom = 0.6f;
    EXPECT_EQ(4, ZoomInt(7));     // 4.2 + 0.5 = 4.7
    EXPECT_EQ(-3, ZoomInt(-6));   // -3.6 + 0.5 = -3.1
}

TEST_F(ActiveDocumentTest, UnusableZoomNeverDividesByZero)
{
    // Zero, negative or no number: the default 0.6 is used, both ways alike.
    const float bad[] = {0.0f, -2.0f, NAN, INFINITY};
    for (float zoom : bad) {
        settings->zoom = zoom;
        EXPECT_EQ(12, UnzoomInt(7)) << zoom;  // 11.67 + 0.5
        EXPECT_FLOAT_EQ(2.5f / 0.6f, UnzoomFloat(2.5f)) << zoom;
        EXPECT_EQ(4, ZoomInt(7)) << zoom;     // 4.2 + 0.5
        EXPECT_FLOAT_EQ(1.5f, ZoomFloat(2.5f)) << zoom;
    }
    // A vanishing zoom is held at the minimum.
    settings->zoom = 1.0e-30f;
    EXPECT_EQ(700, UnzoomInt(7));
    EXPECT_EQ(10, ZoomInt(1000));  // 10.0 + 0.5
    // An explicit factor that is unusable changes nothing.
    EXPECT_EQ(2.5f, UnzoomFloatBy(2.5f, 0.0f));
    EXPECT_EQ(7, UnzoomIntBy(7, NAN));
    // Far beyond the integer range: saturates instead of overflowing.
    settings->zoom = 1.0e6f;
    EXPECT_EQ(INT32_MAX, ZoomInt(1000000));
    EXPECT_EQ(INT32_MIN, ZoomInt(-1000000));
}

TEST_F(ActiveDocumentTest, RectanglesAreZoomedMemberByMember)
{
    settings->zoom = 2.0f;
    RECT r = {100, -50, 20000, -30000};
    ZoomRect16(&r);
    EXPECT_EQ(200, r.left);
    EXPECT_EQ(-99, r.top);  // -100 + 0.5 truncated toward zero
    // 40000 and -60000 do not fit in 16 bits: they stop at the ends of the range.
    EXPECT_EQ(32767, r.right);
    EXPECT_EQ(-32768, r.bottom);

    RECT wide = {100, -50, 20000, -30000};
    ZoomRect(&wide);
    EXPECT_EQ(40000, wide.right);
    EXPECT_EQ(-59999, wide.bottom);

    float f[4] = {1.5f, -2.0f, 3.0f, 4.25f};
    ZoomFloatRect(f);
    EXPECT_EQ(3.0f, f[0]);
    EXPECT_EQ(-4.0f, f[1]);
    EXPECT_EQ(8.5f, f[3]);
    UnzoomFloatRect(f);
    EXPECT_EQ(1.5f, f[0]);
    EXPECT_EQ(4.25f, f[3]);

    ZoomRect16(nullptr);
    ZoomRect(nullptr);
    ZoomFloatRect(nullptr);
    UnzoomFloatRect(nullptr);
}

TEST_F(ActiveDocumentTest, VertexZoomTouchesOnlyXAndY)
{
    settings->zoom = 2.0f;
    PlanVertex v{};
    v.position[0] = 1.0f;
    v.position[1] = -3.0f;
    v.position[2] = 5.0f;
    v.outTangent[0] = 4.0f;
    v.outTangent[2] = 7.0f;
    ZoomVertex(&v);
    EXPECT_EQ(2.0f, v.position[0]);
    EXPECT_EQ(-6.0f, v.position[1]);
    EXPECT_EQ(5.0f, v.position[2]);
    EXPECT_EQ(8.0f, v.outTangent[0]);
    EXPECT_EQ(0.0f, v.outTangent[1]);
    EXPECT_EQ(7.0f, v.outTangent[2]);
    EXPECT_EQ(0.0f, v.inTangent[0]);
    ZoomVertex(nullptr);
}

TEST(ZoomLimit, WholeNumberLimitFromTheLargerSpan)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    // Default extents are 4800 wide: floor(32000 / 4800) = 6.
    s->zoom = 7.5f;
    EXPECT_TRUE(LimitZoom(s));
    EXPECT_EQ(6.0f, s->zoom);
    s->zoom = 0.6f;
    EXPECT_FALSE(LimitZoom(s));
    EXPECT_EQ(0.6f, s->zoom);
    s->zoom = 6.0f;
    EXPECT_FALSE(LimitZoom(s));

    // 10000 wide: floor(3.2) = 3.
    s->extentLeft = -5000.0f;
    s->extentRight = 5000.0f;
    s->zoom = 4.0f;
    EXPECT_TRUE(LimitZoom(s));
    EXPECT_EQ(3.0f, s->zoom);

    // The taller side decides when it is the larger span.
    s->extentLeft = 0.0f;
    s->extentRight = 100.0f;
    s->extentTop = 0.0f;
    s->extentBottom = 10000.0f;
    s->zoom = 4.0f;
    EXPECT_TRUE(LimitZoom(s));
    EXPECT_EQ(3.0f, s->zoom);

    EXPECT_FALSE(LimitZoom(nullptr));
    FreePlanSettings(s);
}

TEST(ZoomLimit, NeverZero)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    // 40000 wide: the whole-number limit would be 0; the exact 0.8 keeps the plan in range.
    s->extentLeft = -20000.0f;
    s->extentRight = 20000.0f;
    s->zoom = 1.0f;
    EXPECT_TRUE(LimitZoom(s));
    EXPECT_FLOAT_EQ(0.8f, s->zoom);
    EXPECT_GT(s->zoom, 0.0f);

    // Absurdly wide: held at the minimum.
    s->extentLeft = -1.0e9f;
    s->extentRight = 1.0e9f;
    s->zoom = 1.0f;
    EXPECT_TRUE(LimitZoom(s));
    EXPECT_EQ(kMinimumZoom, s->zoom);

    // Empty or inverted extents give no limit at all.
    s->extentLeft = s->extentRight = 0.0f;
    s->extentTop = s->extentBottom = 0.0f;
    s->zoom = 3.0f;
    EXPECT_FALSE(LimitZoom(s));
    s->extentLeft = 10.0f;
    s->extentRight = -10.0f;
    EXPECT_FALSE(LimitZoom(s));
    EXPECT_EQ(3.0f, s->zoom);

    // A stored zoom that is no number is limited as the 0.6 it is used as.
    s->extentLeft = -32000.0f;
    s->extentRight = 32000.0f;
    s->zoom = NAN;
    EXPECT_TRUE(LimitZoom(s));
    EXPECT_FLOAT_EQ(0.5f, s->zoom);
    s->extentLeft = -20000.0f;
    s->extentRight = 20000.0f;
    s->zoom = 0.0f;
    EXPECT_FALSE(LimitZoom(s));  // 0.6 is within the 0.8 limit
    FreePlanSettings(s);
}

TEST_F(ActiveDocumentTest, ZoomOriginIsCentredAndClampedToTheExtents)
{
    HWND pane = CreateOwnDcWindow(400, 300, false);
    ASSERT_NE(nullptr, pane);
    settings->zoom = 2.0f;

    // (100, 50) zoomed is (200, 100); centring takes off half of 400 x 300.
    ApplyZoomOrigin(pane, settings, 100, 50, 1);
    POINT p = WindowOrigin(pane);
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(-50, p.y);

    // Zoomed extents are 4800 and trunc(-4800 + 0.5) = -4799: (6000, -5999) is held there.
    ApplyZoomOrigin(pane, settings, 3000, -3000, 0);
    p = WindowOrigin(pane);
    EXPECT_EQ(4800, p.x);
    EXPECT_EQ(-4799, p.y);

    // The origin point itself is never shifted by the centring.
    ApplyZoomOrigin(pane, settings, 0, 0, 1);
    p = WindowOrigin(pane);
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(0, p.y);

    // Without settings nothing happens.
    ApplyZoomOrigin(pane, nullptr, 500, 500, 0);
    EXPECT_EQ(0, WindowOrigin(pane).x);
    DestroyWindow(pane);
}

TEST_F(ActiveDocumentTest, SetZoomPlacesTheCurrentPaneAndRefreshesTheStrip)
{
    HWND pane = CreateOwnDcWindow(400, 300, false);
    HWND strip = CreateOwnDcWindow(310, 20, true);
    ASSERT_NE(nullptr, pane);
    ASSERT_NE(nullptr, strip);
    activePlanPane = pane;
    document.measurementStrip = strip;
    ValidateRect(strip, nullptr);
    settings->zoom = 2.0f;

    SetZoom(settings, 100, 50, 1);
    POINT p = WindowOrigin(pane);
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(-50, p.y);
    EXPECT_TRUE(GetUpdateRect(strip, nullptr, FALSE));

    // No active document: nothing.
    activeDocument = nullptr;
    SetZoom(settings, 1000, 1000, 0);
    EXPECT_EQ(0, WindowOrigin(pane).x);
    activeDocument = &document;
    DestroyWindow(strip);
    DestroyWindow(pane);
}

TEST_F(ActiveDocumentTest, FitToPlanExtentsTakesTheSmallerRatio)
{
    HWND pane = CreateOwnDcWindow(400, 300, false);
    ASSERT_NE(nullptr, pane);
    activePlanPane = pane;
    // Extents +-2400 widened by 5: 4810 each way; min(400, 300) / 4810.
    ZoomToFitPlanExtents(pane, settings);
    EXPECT_FLOAT_EQ(300.0f / 4810.0f, settings->zoom);
    // Corner (-2405 + 0.5 truncated) = -2404, zoomed: -2404 * 0.062370 + 0.5 -> -149.
    POINT p = WindowOrigin(pane);
    EXPECT_EQ(-149, p.x);
    EXPECT_EQ(-149, p.y);

    // Extents far wider than any pane: the fit stops at the minimum zoom.
    settings->extentLeft = settings->extentTop = -1.0e7f;
    settings->extentRight = settings->extentBottom = 1.0e7f;
    ZoomToFitPlanExtents(pane, settings);
    EXPECT_EQ(kMinimumZoom, settings->zoom);
    DestroyWindow(pane);
}

TEST_F(ActiveDocumentTest, SetZoomSuspendsTextEditorsAwayFromOneHundredPercent)
{
    PlanFloor* floor = CreateFloor("First Floor", 1, 1, nullptr);
    ASSERT_NE(nullptr, floor);
    document.firstFloor = floor;
    document.currentFloor = floor;
    HWND holder = CreateOwnDcWindow(200, 100, false);
    HWND edit = CreateWindowExA(0, "EDIT", "text", WS_CHILD, 0, 0, 50, 20, holder, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, edit);
    PlanObject* text = CreateObject(ObjTextFrame, 0, 0, nullptr, nullptr, 1.0f, 0, 0, nullptr,
                                    nullptr, nullptr, nullptr, floor, edit);
    ASSERT_NE(nullptr, text);
    AttachObjectToFloor(text, floor);
    const short savedTool = currentToolId;

    // Near 100 % with another tool: the editors are left alone.
    currentToolId = 200;
    settings->zoom = 1.02f;
    SetZoom(settings, 0, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(edit));
    // Near 100 % with the text tool: resumed, never suspended.
    currentToolId = 203;
    SetZoom(settings, 0, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(edit));
    settings->zoom = 0.95f;
    SetZoom(settings, 0, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(edit));
    // Any other zoom suspends them, whatever the tool.
    settings->zoom = 1.2f;
    SetZoom(settings, 0, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(edit));
    EnableWindow(edit, TRUE);
    currentToolId = 200;
    settings->zoom = 0.9f;
    SetZoom(settings, 0, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(edit));

    currentToolId = savedTool;
    RemoveFloor(floor);
    DestroyWindow(holder);
}
