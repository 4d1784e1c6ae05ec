// velmora-test: display
#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "shell/frame_window.h"
#include "files/plan_file.h"
#include "files/render_bmp_export.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "planview/input_gdi.h"
#include "render3d/high_quality_render.h"
#include "shell/status_bar.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "palette/tool_windows.h"
#include "render3d/interactive_view.h"
#include "render3d/kept_polygons.h"
#include "render3d/object_polygons.h"
#include "model/colour_maths.h"
#include "render3d/render_screen.h"
#include "render3d/render_window.h"
#include "render3d/selvith_window.h"
#include "render3d/surface_painting.h"
#include "tools/tool_state.h"
#include "support/dialog_driver.h"
#include "support/input_fixtures.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include "support/window_pixels.h"
#include "support_commands.h"
#include "support_shell.h"
#include <GL/gl.h>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using shelltest::SendCommand;
using shelltest::WindowText;

class LiveViewCommands : public testing::Test {
protected:
    void SetUp() override
    {
        frame = shelltest::StartShell();
        ASSERT_NE(nullptr, frame);
        shelltest::SetFrameClientSize(frame, 1000, 700);
        // The view counts as shown only in a shown frame.
        ShowWindow(frame, SW_SHOWNOACTIVATE);
        SendCommand(frame, FrameCommandNew);
        ASSERT_NE(nullptr, activeDocument);
        settings = activeDocument->settings;
    }
    void TearDown() override
    {
        currentToolId = -1;
        highlightedPane = nullptr;
        vtest::ShowTopView();
        shelltest::ForgetDocumentChanges();
        shelltest::StopShell();
        walkFieldOfView = 45.0f;
        flyFieldOfView = 38.0f;
        fieldOfViewCommand = 5318;
        shadeBrightness = 1.2f;
    }
    // The plan seen from the front, so that 5220 may hide the view.
    void LeaveTopView()
    {
        viewPitchDegrees = 0.0f;
        viewYawDegrees = 0.0f;
        perspectiveOn = 0;
    }

    HWND frame = nullptr;
    PlanSettings* settings = nullptr;
    vtest::MessageBoxRecorder boxes;
};

} // namespace

TEST_F(LiveViewCommands, Command5270MakesAndShowsTheViewWhereTheQuarterLayoutPutsIt)
{
    // The frame shows maximised: its client is made 1000 x 700 again.
    SetWindowLongPtrA(frame, GWL_STYLE, GetWindowLongPtrA(frame, GWL_STYLE) & ~WS_MAXIMIZE);
    shelltest::SetFrameClientSize(frame, 1000, 700);
    RECT client;
    GetClientRect(frame, &client);
    ASSERT_EQ(1000, client.right);
    ASSERT_EQ(700, client.bottom);
    ASSERT_EQ(nullptr, selvithWindow);
    SendCommand(frame, 5270);
    ASSERT_NE(nullptr, selvithWindow);
    ASSERT_NE(nullptr, renderWindow);
    EXPECT_EQ(frame, GetParent(selvithWindow));
    EXPECT_EQ(selvithWindow, GetParent(renderWindow));
    EXPECT_TRUE(IsWindowVisible(selvithWindow));
    EXPECT_TRUE(IsWindowVisible(renderWindow));
    EXPECT_EQ("Selvith (Visuale completa)", WindowText(selvithWindow));
    // Scroll bars 17 wide and high here: the MDI client of the 1000 x 700 frame is 1000
    // - 23 - (18 + 54) = 905 by 700 - 45 = 655, inside its border 903 x 653. Half width
    // 903 / 2 - 30 = 421, height 0.55 x 421 = 231 (231.55 cut): the view at (24 + 421,
    // 29 + 231), 903 - 19 - 421 = 463 wide and 653 - 2 - 17 - 231 = 403 high.
    ASSERT_EQ(17, GetSystemMetrics(SM_CXVSCROLL));
    ASSERT_EQ(17, GetSystemMetrics(SM_CYHSCROLL));
    const RECT place = shelltest::ChildPlacement(selvithWindow);
    EXPECT_EQ(445, place.left);
    EXPECT_EQ(260, place.top);
    EXPECT_EQ(463, place.right);
    EXPECT_EQ(403, place.bottom);
    // A second 5270 makes no second view.
    HWND view = selvithWindow;
    SendCommand(frame, 5270);
    EXPECT_EQ(view, selvithWindow);
}

TEST_F(LiveViewCommands, Command5220MakesTheViewAndTogglesIt)
{
    LeaveTopView();
    SendCommand(frame, 5220);
    ASSERT_NE(nullptr, selvithWindow);
    EXPECT_TRUE(IsWindowVisible(selvithWindow));
    SendCommand(frame, 5220);
    EXPECT_FALSE(IsWindowVisible(selvithWindow));
    SendCommand(frame, 5220);
    EXPECT_TRUE(IsWindowVisible(selvithWindow));
}

TEST_F(LiveViewCommands, ClosingTheViewHidesItAndGoesBackToTheSelectTool)
{
    SendCommand(frame, 5270);
    // The general strip's buttons of tools 200 to 206: going back selects the first.
    HWND buttons[7];
    for (int i = 0; i < 7; ++i)
        buttons[i] = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 22 * i, 20, 20,
                                     frameToolWindows[0], nullptr, nullptr, nullptr);
    highlightedPane = buttons[3];
    currentToolId = 7051;
    SendMessageA(selvithWindow, WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(selvithWindow));
    EXPECT_FALSE(IsWindowVisible(selvithWindow));
    EXPECT_EQ(200, currentToolId);
    EXPECT_EQ(buttons[0], highlightedPane);
}

TEST_F(LiveViewCommands, CameraTransparencyAndFramingCommands)
{
    SendCommand(frame, 5270);
    settings->cameraMode = 2;
    settings->aerialPitch = 7.0f;
    settings->aerialYaw = 100.0f;
    orbitDistance = 900.0f;
    SendCommand(frame, 5241);
    EXPECT_EQ(20.0f, settings->aerialPitch);
    EXPECT_EQ(330.0f, settings->aerialYaw);
    EXPECT_EQ(1500.0f, orbitDistance);

    SendCommand(frame, 5325);
    EXPECT_EQ(1, settings->view3DFlag1490);
    EXPECT_EQ(6, settings->view3DMode);
    SendCommand(frame, 5325);
    EXPECT_EQ(0, settings->view3DFlag1490);
    EXPECT_EQ(5, settings->view3DMode);

    SendCommand(frame, 5287);
    EXPECT_EQ("Selvith (Visuale struttura)", WindowText(selvithWindow));
    EXPECT_EQ(1, settings->framingStyle);
    SendCommand(frame, 5288);
    EXPECT_EQ("Selvith (Visuale completa)", WindowText(selvithWindow));
    EXPECT_EQ(0, settings->framingStyle);
}

TEST_F(LiveViewCommands, Command5317GivesTheWalkProjectionFortyDegrees)
{
    SendCommand(frame, 5270);
    SendCommand(frame, 5317);
    EXPECT_EQ(5317, fieldOfViewCommand);
    settings->cameraMode = 1;
    SetupViewport3D();
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    // The perspective's y scale is the cotangent of half the field of view.
    EXPECT_NEAR(projection[5], 1.0 / std::tan(20.0 * M_PI / 180.0), 1e-4);
    settings->cameraMode = 2;
    SetupViewport3D();
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[5], 1.0 / std::tan(16.5 * M_PI / 180.0), 1e-4);
}

namespace {

// The picture a paint of the view renders (never the kept frame; the final render when
// final is set), as captured.
std::vector<uint8_t> RenderedPicture(bool final = false)
{
    renderCaptureRequested = 1;
    finalRenderRequested = final;
    RedrawWindow(renderWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    renderCaptureRequested = finalRenderRequested = 0;
    const uint8_t* pixels = capturedRender.pixels;
    std::vector<uint8_t> picture(pixels, pixels + ((capturedRender.width * 3 + 3) & ~3) * capturedRender.height);
    FreeCapturedRender();
    return picture;
}

// What the display shows over the view's client area once the program has handed its
// windows over (read through the screen's DC, which this platform answers from the X
// display), as the capture holds a picture. From the back buffer instead when drawn is set;
// a look for a message that none is hands the windows over without handling any.
std::vector<uint8_t> ScreenPicture(bool pump = true, bool drawn = false)
{
    MSG none;
    pump ? vtest::PumpMessages() : (void)PeekMessageA(&none, nullptr, WM_APP + 99, WM_APP + 99, PM_NOREMOVE);
    RECT client;
    GetClientRect(renderWindow, &client);
    POINT origin = {0, 0};
    ClientToScreen(renderWindow, &origin);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, client.bottom, 1, 24, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    if (drawn)
        glReadBuffer(GL_BACK), glReadPixels(0, 0, client.right, client.bottom, GL_BGR_EXT, GL_UNSIGNED_BYTE, bits);
    const uint8_t* pixels = static_cast<uint8_t*>(bits);
    std::vector<uint8_t> picture(pixels, pixels + ((client.right * 3 + 3) & ~3) * client.bottom);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

// The status bar's pixels, to compare what two roads wrote there.
std::vector<COLORREF> StatusBarPixels()
{
    return vtest::ClientPixels(statusBarWindow, 300);
}

// Both mouse buttons held, as the render polls them.
class HeldButtons : public InputSource {
public:
    SHORT KeyState(int key) override
    {
        return key == VK_LBUTTON || key == VK_RBUTTON ? (SHORT)0x8000 : 0;
    }
};

// The left button held for a second of a clock that moves `tick` ms at each poll of it
// (once a pass of the navigation), the cursor 6 pixels below the press once it is read.
struct HeldWalk : InputSource {
    HeldWalk(POINT press, DWORD tick) : press(press), tick(tick) {}
    SHORT KeyState(int key) override { return key == VK_LBUTTON && (now += tick) <= 1000 ? 0x8000 : 0; }
    BOOL CursorPos(POINT* p) override { return *p = {press.x, press.y + (reads++ ? 6 : 0)}, TRUE; }
    DWORD TickCount() override { return now; }
    POINT press;
    DWORD tick, now = 0;
    int reads = 0;
};

} // namespace

TEST_F(LiveViewCommands, AHeldButtonAbortsTheFinalRenderUnshown)
{
    SendCommand(frame, 5270);
    PlanObject* box = vtest::MakePointObject(8, activeDocument->firstFloor,
                                             {{-50, 0, -50}, {50, 0, -50}, {50, 0, 50}, {-50, 0, 50},
                                              {-50, -90, -50}, {50, -90, -50}, {50, -90, 50}, {-50, -90, 50}},
                                             0, 1);
    box->rows = 2;
    RebuildAll3D();
    sceneChanged = 0;
    ClearStatusBar();
    SetStatusText("Rendering interrotto");
    const std::vector<COLORREF> told = StatusBarPixels();
    ClearStatusBar();

    const uint32_t presented = presentedRenderFrames;
    {
        HeldButtons held;
        vtest::InputScope scope(&held);
        SendCommand(frame, 5285);
    }
    EXPECT_EQ(presented, presentedRenderFrames);
    EXPECT_EQ(told, StatusBarPixels());
    EXPECT_EQ(0, renderAborted);
    // Without the button the same render is shown.
    SendCommand(frame, 5285);
    EXPECT_EQ(presented + 1, presentedRenderFrames);
}

TEST_F(LiveViewCommands, TheRenderIsSavedAsA24BitBmpOfTheClientArea)
{
    SendCommand(frame, 5270);
    shelltest::SizeRenderClient(101, 50);
    const std::string path = shelltest::LocalPath("render.bmp");
    ExportRenderBmp(path.c_str());
    std::vector<unsigned char> file = vtest::ReadFileBytes(path);
    ASSERT_EQ(15254u, file.size());
    auto u32 = [&](size_t at) { return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | (uint32_t)file[at + 3] << 24; };
    EXPECT_EQ('B', file[0]);
    EXPECT_EQ('M', file[1]);
    EXPECT_EQ(15254u, u32(2));
    EXPECT_EQ(54u, u32(10));
    EXPECT_EQ(40u, u32(14));
    EXPECT_EQ(101u, u32(18));
    EXPECT_EQ(50u, u32(22));
    EXPECT_EQ(24u, file[28] | file[29] << 8);
    EXPECT_EQ(15200u, u32(34));
    // The picture is the render, not the black a copy of the window gives here.
    size_t lit = 0;
    for (size_t i = 54; i < file.size(); ++i)
        lit += file[i] != 0;
    EXPECT_GT(lit, 10000u);
}

TEST_F(LiveViewCommands, TheResetAndTheSideCamerasStandTheEyeWhereChoosingTheStoreyDoes)
{
    SendCommand(frame, 5270);
    vtest::DialogDriver dialogs;
    for (float scale : {72.0f, 36.0f}) {   // one and two plan units an inch
        settings->drawingScale = scale, settings->cameraMode = 1;
        dialogs.Queue([](HWND d) { vtest::Click(d, 22), vtest::Click(d, IDOK); });   // the second storey
        SendCommand(frame, 5178);
        const float chosen = walkEyeHeight;
        EXPECT_FLOAT_EQ(144.0f * 72.0f / scale, chosen);
        for (int command : {5241, 5151, 5152, 5153, 5154}) {
            walkEyeHeight = 1.0f;
            SendCommand(frame, command);
            EXPECT_FLOAT_EQ(chosen, walkEyeHeight) << scale << " " << command;
        }
    }
}

TEST_F(LiveViewCommands, AWalkKeepsItsSpeedWhateverTheFrameRate)
{
    SendCommand(frame, 5270);
    shelltest::SizeRenderClient(60, 40);
    for (DWORD tick : {4u, 50u}) {   // 250 and 20 passes a second
        settings->cameraMode = 1;
        settings->cameraHeading = settings->cameraX = settings->cameraZ = 0.0f;
        POINT press = {30, 20};
        ClientToScreen(renderWindow, &press);
        HeldWalk walk(press, tick);
        vtest::InputScope scope(&walk);
        SendMessageA(renderWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 20));
        // 6 pixels off walk the plan's speed class 3 units a pass, at 60 passes a second.
        EXPECT_NEAR(180.0f, std::hypot(settings->cameraX, settings->cameraZ), 18.0f) << tick;
    }
}

// With two plans open the view shows the active one: the house shown, a plan of one wall
// opened beside it, the house's window activated; the wall's plan activated and closed,
// the view shown again: each time the house's scene as first built. Coming back to the
// unchanged house takes back the scene it had, and storey commands that show and hide
// nothing keep it; one that hides a storey builds it anew.
TEST_F(LiveViewCommands, TheViewShowsTheActivePlan)
{
    vtest::AddWall(activeDocument->firstFloor, {{-100, 0, 0}, {100, 0, 0}}, 2);
    const std::string wallPlan = shelltest::LocalPath("wall.ZRO");
    ASSERT_TRUE(SavePlanFile(wallPlan.c_str()));
    shelltest::FileDialogAnswers dialogs;
    dialogs.Choose(vtest::SourceFilePath("samples/house.ZRO"));
    SendCommand(frame, FrameCommandOpen);
    const HWND house = GetParent(activePlanPane);
    SendCommand(frame, 5270);
    shelltest::SizeRenderClient(120, 90);
    vtest::DialogDriver lighting;
    lighting.Queue([](HWND d) { vtest::Click(d, IDOK); });
    SendCommand(frame, 5253);
    const std::vector<uint8_t> firstLit = RenderedPicture();
    auto polygons = [] {
        int n = 0;
        for (const ScenePolygon* p = sceneMeshes; p; p = p->next)
            ++n;
        return n;
    };
    const int built = polygons();
    // A mark no build makes: kept while the scene is not built anew.
    sceneMeshes->billboardHalfWidth = -7.0f;
    auto sameScene = [] { return sceneMeshes && sceneMeshes->billboardHalfWidth == -7.0f; };
    dialogs.Choose(wallPlan);
    SendCommand(frame, FrameCommandOpen);
    const HWND other = GetParent(activePlanPane);
    ASSERT_NE(built, polygons());
    // The brightness, the program's, raised from 1.2 to 2.3 in the wall's plan: the house
    // taken back is shaded as a fresh draw shades it.
    lighting.Queue([](HWND d) { vtest::Scroll(d, 15, WM_HSCROLL, SB_THUMBPOSITION, 90), vtest::Click(d, IDOK); });
    SendCommand(frame, 5253);
    SendMessageA(mdiClientWindow, WM_MDIACTIVATE, (WPARAM)house, 0);
    EXPECT_EQ(built, polygons());
    EXPECT_TRUE(sameScene());
    const std::vector<uint8_t> shown = RenderedPicture();
    drawKeptPolygons = false;
    EXPECT_EQ(RenderedPicture(), shown);
    drawKeptPolygons = true;
    EXPECT_NE(firstLit, shown);
    for (int storey : {5276, 5275, 5276}) {
        SendCommand(frame, storey);
        EXPECT_TRUE(sameScene()) << storey;
    }
    // The second storey alone: the house's first is hidden.
    SendCommand(frame, 5279);
    EXPECT_FALSE(sameScene());
    SendCommand(frame, 5278);
    SendCommand(frame, 5275);
    EXPECT_EQ(built, polygons());
    SendMessageA(mdiClientWindow, WM_MDIACTIVATE, (WPARAM)other, 0);
    SendCommand(frame, FrameCommandClose);
    SendCommand(frame, 5270);
    EXPECT_EQ(built, polygons());
}

// One action repaints the view once: the side and reset cameras, whose plan pane asks
// for a repaint of its own, and a plan window's activation, which the other window's
// deactivation, the plan's new camera and both panes follow. A paint that finds nothing
// changed shows the same picture again without drawing the scene; after each action (the
// frame or the view minimised and restored, a final render) the display shows what a
// fresh draw draws, from the view's opening on. Until the surface has the new size, a
// paint draws nothing: every frame shown is drawn on a surface of the client's size, and a
// final render asked for meanwhile is drawn once it has; one never read as of that size is
// taken to have it at the timer's last look. A walk reaches the display frame by frame: when
// a frame is swapped the display shows the one before. A step drawn after a new size, before
// the surface has it, shows nothing: the display keeps its frame, and a render presented then
// captures nothing.
TEST_F(LiveViewCommands, OneActionRepaintsTheViewOnce)
{
    vtest::AddWall(activeDocument->firstFloor, {{-100, 0, 0}, {100, 0, 0}}, 2);
    const HWND first = GetParent(activePlanPane);
    SendCommand(frame, FrameCommandNew);
    // Every kind of object on two storeys, whose picture reaches the view's edges.
    ASSERT_TRUE(LoadPlanFile(vtest::SourceFilePath("tests/shell/data/view-mixed-tile.ZRO").c_str()));
    const HWND second = GetParent(activePlanPane);
    // The paints the view's timer asks for again, each once the window system had its turn.
    auto settle = [] {
        uint32_t looks = 0;
        for (vtest::PumpMessages(); KillTimer(renderWindow, kRenderSurfaceTimer); vtest::PumpMessages(), ++looks)
            Sleep(50), vtest::PumpMessages(), SendMessageA(renderWindow, WM_TIMER, kRenderSurfaceTimer, 0);
        return looks;
    };
    SendCommand(frame, 5270);
    settle();
    const std::vector<uint8_t> opened = ScreenPicture();
    EXPECT_EQ(RenderedPicture(), opened) << "opened";
    // The window that shows the picture lets the presses, the cursor and the palette's drops
    // through to the render window, and hands the focus on to it.
    POINT inside = {5, 5};
    ClientToScreen(renderWindow, &inside);
    EXPECT_EQ(renderWindow, WindowFromPoint(inside));
    SetFocus(renderScreenWindow);
    EXPECT_EQ(renderWindow, GetFocus());
    shelltest::SizeRenderClient(120, 90);
    auto minimised = [&](HWND window, int command) {
        ShowWindow(window, SW_MINIMIZE), vtest::PumpMessages(), SendCommand(frame, command), ShowWindow(window, SW_RESTORE);
    };
    const struct {
        const char* name;
        std::function<void()> act;
        bool late = false, final = false, never = false;   // never: the surface never reads as fitting
    } actions[] = {
        {"side camera", [&] { SendCommand(frame, 5151); }},
        {"reset camera", [&] { SendCommand(frame, 5241); }},
        {"other plan", [&] { SendMessageA(mdiClientWindow, WM_MDIACTIVATE, (WPARAM)first, 0); }},
        {"plan back", [&] { SendMessageA(mdiClientWindow, WM_MDIACTIVATE, (WPARAM)second, 0); }},
        {"a wall added", [] {
             RebuildObject3D(vtest::AddWall(activeDocument->firstFloor, {{-50, 0, 80}, {50, 0, 80}}, 2));
             InvalidateRect(renderWindow, nullptr, FALSE);
         }},
        {"a colour dropped", [] { ApplyColorAtPoint3D(60, 2, RGB(200, 30, 30)), InvalidateRect(renderWindow, nullptr, FALSE); }},
        {"final render", [&] { SendCommand(frame, FrameCommandFinalRender); }, false, true},
        {"frame minimised, side camera, restored", [&] { minimised(frame, 5152); }, true},
        {"view minimised, doors hidden, restored", [&] { minimised(selvithWindow, 5322); }, true},
        {"view minimised, a final render, restored", [&] { minimised(selvithWindow, FrameCommandFinalRender); }, true, true},
        {"view maximised", [] { ShowWindow(selvithWindow, SW_MAXIMIZE); }, true},
        {"view restored", [] { ShowWindow(selvithWindow, SW_RESTORE); }, true},
        {"view maximised, a final render at once", [&] {
             ShowWindow(selvithWindow, SW_MAXIMIZE), SendCommand(frame, FrameCommandFinalRender);
         }, true, true},
        {"view restored again", [] { ShowWindow(selvithWindow, SW_RESTORE); }, true},
        {"view enlarged", [] { SetWindowPos(selvithWindow, nullptr, 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER); }, true},
        {"view shrunk", [] { SetWindowPos(selvithWindow, nullptr, 0, 0, 500, 420, SWP_NOMOVE | SWP_NOZORDER); }, true},
        {"view shrunk, never read so", [] { SetWindowPos(selvithWindow, nullptr, 0, 0, 480, 400, SWP_NOMOVE | SWP_NOZORDER); },
         true, false, true},
    };
    // The frames the view shows, counted before each is read back; the surface taken as
    // not yet of the client's size during the first paint of an action marked late, as a
    // window system that hands it over late.
    struct Seen {
        uint32_t frames, lateThrough, late;
    } seen = {};
    SetRenderSwapHook([](void* c) {
        ++static_cast<Seen*>(c)->frames;
        static_cast<Seen*>(c)->late += !RenderSurfaceFitsClient();
    }, &seen);
    SetSurfaceFitHook([](bool fits, void* c) { return fits && renderWindowPaints > static_cast<Seen*>(c)->lateThrough; }, &seen);
    for (const auto& action : actions) {
        const uint32_t before = presentedRenderFrames, frames = seen.frames, late = seen.late;
        seen.lateThrough = renderWindowPaints + (action.never ? 99 : action.late);
        action.act();
        const uint32_t looks = settle(), renders = presentedRenderFrames - before;
        // One frame drawn and shown, none on a surface not yet of the client's size; the
        // view asks for a few paints, the window system for the others.
        EXPECT_TRUE(renders == 1 && seen.frames - frames == 1 && seen.late == late && looks <= 4)
            << action.name << ": " << renders << " presented, " << seen.frames - frames << " shown, "
            << seen.late - late << " late, " << looks << " looks";
        const std::vector<uint8_t> shown = ScreenPicture();
        EXPECT_EQ(RenderedPicture(action.final), shown) << action.name;
        // A repaint of the unchanged view shows the kept frame, drawing nothing (a final
        // render is not kept: at a new size it leaves none).
        const uint32_t kept = keptFramesShown, presented = presentedRenderFrames;
        RedrawWindow(renderWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const std::vector<uint8_t> repainted = ScreenPicture();
        const bool keeps = !(action.late && action.final);
        EXPECT_TRUE(keptFramesShown == kept + keeps && presentedRenderFrames == presented + !keeps) << action.name;
        EXPECT_EQ(RenderedPicture(), repainted) << action.name;
    }
    SetSurfaceFitHook(nullptr, nullptr);
    shelltest::SizeRenderClient(120, 90);
    settle();
    settings->cameraMode = 1;
    using Pictures = std::vector<std::vector<uint8_t>>;
    Pictures walked;   // the display, then the frame drawn, at each swap
    SetRenderSwapHook([](void* c) {
        static_cast<Pictures*>(c)->insert(static_cast<Pictures*>(c)->end(), {ScreenPicture(false), ScreenPicture(false, true)});
    }, &walked);
    auto walk = [](DWORD tick) {
        POINT press = {60, 40};
        ClientToScreen(renderWindow, &press);
        HeldWalk held(press, tick);
        vtest::InputScope scope(&held);
        SendMessageA(renderWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 40));
    };
    walk(100);
    ASSERT_GE(walked.size(), 10u);
    for (size_t k = 2; k < walked.size(); k += 2) {
        EXPECT_NE(walked[k - 1], walked[k + 1]) << "frame " << k / 2;
        EXPECT_EQ(walked[k - 1], walked[k]) << "frame " << k / 2;
    }
    SetSurfaceFitHook([](bool, void*) { return false; }, nullptr);
    shelltest::SizeRenderClient(100, 80);
    const std::shared_ptr<ViewFrame> shown = ShownViewFrame();
    const std::vector<uint8_t> displayed = ScreenPicture();
    walk(500);
    renderCaptureRequested = 1;
    RenderHighQuality();
    renderCaptureRequested = 0;
    EXPECT_EQ(nullptr, capturedRender.pixels);
    EXPECT_EQ(shown, ShownViewFrame());
    EXPECT_EQ(displayed, ScreenPicture());
    SetRenderSwapHook(nullptr, nullptr);
    SetSurfaceFitHook(nullptr, nullptr);
}
