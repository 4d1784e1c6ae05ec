#include <gtest/gtest.h>
#include "shell/frame_window.h"
#include "shell/measurement_bar.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// A shown frame with one plan, so that what the readouts draw on the bar can be read
// back and set against the text drawn alone, with the bar's font, on the bar's face.
class MeasurementBar : public testing::Test {
protected:
    void SetUp() override
    {
        frame = shelltest::StartShell();
        ASSERT_NE(nullptr, frame);
        // Along the top of the screen, clear of the frames other tests show, and never
        // taking the keyboard from them.
        SetWindowPos(frame, HWND_TOP, 0, 0, 1280, 240, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        shelltest::SendCommand(frame, 2);
        ASSERT_NE(nullptr, activeDocument);
        bar = activeDocument->measurementStrip;
        ASSERT_NE(nullptr, bar);
        SendMessageA(mdiClientWindow, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(GetParent(bar)), 0);
        settings = activeDocument->settings;
        settings->displayFormat = 5059;
        vtest::PumpMessages();
    }
    void TearDown() override
    {
        shelltest::ForgetDocumentChanges();
        shelltest::StopShell();
    }

    // The readout area's pixels (from x = 80) as drawn on the bar, or, given a text, as
    // that text alone draws them on the bar's face with the bar's font.
    std::vector<COLORREF> Pixels(const char* text = nullptr)
    {
        RECT client;
        GetClientRect(bar, &client);
        HDC screen = GetDC(bar);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        HGDIOBJ held = SelectObject(dc, bitmap);
        SelectObject(dc, GetCurrentObject(screen, OBJ_FONT));
        if (text) {
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            SetTextAlign(dc, TA_BASELINE);
            TextOutA(dc, 85, 12, text, static_cast<int>(strlen(text)));
        } else {
            BitBlt(dc, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
        }
        // Read at once: the area commands compare the bar with many texts.
        SelectObject(dc, held);
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = client.right;
        format.bmiHeader.biHeight = -client.bottom;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        std::vector<COLORREF> all(static_cast<size_t>(client.right) * client.bottom);
        GetDIBits(dc, bitmap, 0, client.bottom, all.data(), &format, DIB_RGB_COLORS);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < client.bottom; ++y)
            pixels.insert(pixels.end(), all.begin() + y * client.right + 80, all.begin() + (y + 1) * client.right);
        DeleteDC(dc);
        DeleteObject(bitmap);
        ReleaseDC(bar, screen);
        return pixels;
    }
    // The number the readout shows in the format, low to high; -1 when it shows none.
    long ShownNumber(const char* format, long low, long high)
    {
        const std::vector<COLORREF> shown = Pixels();
        for (long n = low; n <= high; ++n) {
            char text[128];
            std::snprintf(text, sizeof text, format, n);
            if (Pixels(text) == shown)
                return n;
        }
        return -1;
    }

    HWND frame = nullptr;
    HWND bar = nullptr;
    PlanSettings* settings = nullptr;
};

TEST_F(MeasurementBar, ReadoutsDrawTheirTexts)
{
    struct Case {
        uint16_t units;
        float zoom;
        std::function<void()> show;
        const char* text;   // empty: the readout is cleared
    };
    const Case cases[] = {
        {4, 1.0f, [] { ShowLengthReadout(39.37f); }, "Lunghezza:  1.00 m"},
        {4, 1.0f, [] { ShowLengthReadout(0.0f); }, ""},
        {3, 1.0f, [] { ShowLengthReadout(30.0f); }, "Lunghezza:  30.0"},
        {4, 1.0f, [] { ShowDiameterReadout(78.74f); }, "Diametro:  2.00 m."},
        {4, 1.0f, [] { ShowDistanceReadout(19.685f); }, "Visualizza distanza:  0.50 m"},
        {4, 1.0f, [] { ShowAngleReadout(0.0f); }, "Angle:  0 degrees"},
        {4, 1.0f, [] { ShowAngleReadout(44.5f); }, "Angle:  45 degrees"},
        {4, 1.0f, [] { ShowAngleReadout(32000.0f); }, ""},
        // A depth that rounds to 0 leaves its part out; -1.4 rounds to 0, -1.5 does not.
        {4, 1.0f, [] { ShowSizeReadout(39.37f, 0.4f, 78.74f); }, "Larghezza: 1.00 m, Altezza: 2.00 m"},
        {4, 1.0f, [] { ShowSizeReadout(-1.4f, -39.37f, 0.0f); }, "Profondità: 1.00 m"},
        {3, 1.0f, [] { ShowSizeReadout(-1.5f, 0.0f, 0.0f); }, "Larghezza: 1.5"},
        {4, 1.0f, [] { ShowSizeReadout(0.49f, -1.4f, 0.0f); }, ""},
        // Sizes come zoomed and are shown without the zoom.
        {3, 2.0f, [] { ShowSizeReadout(60.0f, 0.0f, 24.0f); }, "Larghezza: 30.0, Altezza: 12.0"},
        // 72 x 144 plan units at 36 inches to the inch of paper: 36 by 72 inches.
        {4, 1.0f, [] { ShowAreaReadout(72.0f, 144.0f); }, "Larghezza: 36.0, Profondità: 72.0, Area: 1.67 m.q."},
        {3, 1.0f, [] { ShowAreaReadout(72.0f, 144.0f); }, "Larghezza: 36.0, Profondità: 72.0, Area: 18.00 ft.q."},
        {3, 1.0f, [] { ShowAreaReadout(0.0f, 0.0f); }, ""},
        {4, 1.0f, [] { ShowReadoutText("Pianterreno: 12 m.q. (±)"); }, "Pianterreno: 12 m.q. (±)"},
    };
    for (const Case& c : cases) {
        settings->unitSystem = c.units;
        settings->zoom = c.zoom;
        // A clearing call must wipe what was there; a readout keeps its label's pixels.
        ShowReadoutText(c.text[0] ? "" : "MMMMMMMMMMMMMMMM");
        c.show();
        EXPECT_TRUE(Pixels() == Pixels(c.text)) << c.text;
    }
}

// The area commands of the plan's context menu on objects 20 m by 5 m: the area inside
// a slab's, storey area's, floor opening's, deck's (its sides with railings), plot's and
// fill zone's own outline, and a path's walking surface, bordered by fences or not. The
// surface's pixels are 6 cm across: the value is within 3 per cent of 100 m.q., 1076 ft.q.
TEST_F(MeasurementBar, AreaCommandsShowTheAreaInsideTheObject)
{
    const struct {
        int command;
        uint16_t type, border;   // the path's border kind: 2 fences
        const char* label;
    } cases[] = {
        {5305, ObjFloorSlab, 0, "Pavimento"}, {5305, 50, 0, "Pavimento"},
        {5331, ObjFloorOpening, 0, "Apertura pavimento"}, {5309, ObjDeck, 0, "Terrazza"},
        {5330, 21, 0, "Proprietà"}, {5306, 26, 0, "Zona riempimento"},
        {5306, 27, 0, "Zona riempimento"}, {5304, ObjPath, 0, "Sentiero"},
        {5304, ObjPath, 2, "Sentiero"},
    };
    // Display units are inches.
    const float x = UnitsToPlanLength(10.0f * 39.37f, settings, 0);
    const float z = UnitsToPlanLength(2.5f * 39.37f, settings, 0);
    for (const auto& c : cases) {
        for (uint16_t units : {4, 3}) {
            settings->unitSystem = units;
            PlanObject* object = nullptr;
            if (c.type == ObjPath) {
                object = vtest::MakePointObject(ObjPath, activeDocument->currentFloor, {{-x, 0, 0}, {x, 0, 0}}, 0, 0);
                object->size = 5.0f * 39.37f;
                object->value2 = c.border;
            } else {
                object = vtest::MakePointObject(c.type, activeDocument->currentFloor,
                                                {{-x, 0, -z}, {x, 0, -z}, {x, 0, z}, {-x, 0, z}}, 0, 1);
                object->parameters[0] = settings->deckHeight;
                object->parameters[2] = 6.0f;   // a slab's thickness
                for (PlanVertex* v = object->firstVertex; v; v = v->next) {
                    v->segmentFlags = c.type == ObjDeck ? 1 : 0;
                    v->mainHeight = settings->deckRailingHeight;
                }
            }
            RebuildByType(object);
            shelltest::SendCommand(frame, c.command, reinterpret_cast<LPARAM>(object));
            char format[64];
            std::snprintf(format, sizeof format, "%s: %%ld %s.q. (±)", c.label, units == 4 ? "m" : "ft");
            const long shown = units == 4 ? ShownNumber(format, 97, 103) : ShownNumber(format, 1044, 1108);
            EXPECT_NE(-1, shown) << c.command << " type " << c.type << " border " << c.border << " units " << units;
            FreeObject(object);
        }
    }
}

TEST_F(MeasurementBar, PressesOnTheBar)
{
    // The first button switches the measuring line; past the third nothing happens.
    activeDocument->measuringLineShown = 0;
    HandleMiscBarClick(bar, 24, 5);
    EXPECT_EQ(1, activeDocument->measuringLineShown);
    HandleMiscBarClick(bar, 79, 5);
    EXPECT_EQ(1, activeDocument->measuringLineShown);
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 5));
    EXPECT_EQ(0, activeDocument->measuringLineShown);

    // Readouts need the active plan's bar.
    ShowReadoutText("");
    const std::vector<COLORREF> blank = Pixels();
    activeDocument->measurementStrip = nullptr;
    ShowLengthReadout(39.37f);
    activeDocument->measurementStrip = bar;
    EXPECT_TRUE(Pixels() == blank);
}

} // namespace
