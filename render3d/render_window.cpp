#include "render3d/render_window.h"
#include "model/colour_maths.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model3d/face_triangulation.h"
#include "palette/tool_windows.h"
#include "planview/drag_zoom_camera.h"
#include "planview/input_gdi.h"
#include "render3d/ground_height_grid.h"
#include "render3d/high_quality_render.h"
#include "render3d/interactive_view.h"
#include "render3d/render_screen.h"
#include "render3d/texture_loading.h"
#include "shell/keys_and_menus.h"
#include "shell/message_box.h"
#include "tools/tool_state.h"
#include <GL/gl.h>
#include <string.h>

HWND renderWindow = nullptr;
HGLRC glContext = nullptr;
uint8_t renderPaintActive = 0;
uint8_t navigationRiseFlag = 0;
uint32_t renderWindowPaints = 0;

namespace {

constexpr DWORD kWindowFormatFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;

// The descriptor the program asks ChoosePixelFormat for when it must.
PIXELFORMATDESCRIPTOR RequestedFormat()
{
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = kWindowFormatFlags;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 24;
    format.cAccumBits = 32;
    format.cDepthBits = 32;
    format.cStencilBits = 8;
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

bool Better(const PIXELFORMATDESCRIPTOR& candidate, const PIXELFORMATDESCRIPTOR& best)
{
    if (candidate.cDepthBits != best.cDepthBits)
        return candidate.cDepthBits > best.cDepthBits;
    // A back buffer with alpha holds its pixels as the screen's frame does (blue, green,
    // red and a fourth byte): read back, they are copied; without alpha the rasteriser
    // converts them byte by byte, 3.5 times as long here.
    if ((candidate.cAlphaBits == 8) != (best.cAlphaBits == 8))
        return candidate.cAlphaBits == 8;
    // Then the plainest format: fewest colour and accumulation bits.
    if (candidate.cColorBits != best.cColorBits)
        return candidate.cColorBits < best.cColorBits;
    return candidate.cAccumBits < best.cAccumBits;
}

void CreateRenderContext(HWND window)
{
    HDC dc = GetDC(window);
    if (!dc)
        return;
    PIXELFORMATDESCRIPTOR format;
    int index = ChooseRenderPixelFormat(dc, &format);
    if (!index)
        ShowMessageBox(nullptr, "Impossibile eseguire ChoosePixelFormat", "Errore OpenGL", MB_OK);
    SetPixelFormat(dc, index, &format);
    glContext = wglCreateContext(dc);
    if (!glContext)
        ShowMessageBox(nullptr, "OpenGL non è riuscito a creare il contesto del rendering",
                       "Errore OpenGL", MB_OK);
    wglMakeCurrent(dc, glContext);
    ReleaseDC(window, dc);
}

void DeleteRenderContext(HWND window)
{
    ForgetKeptFrame();
    if (!glContext || !window)
        return;
    HDC dc = GetDC(window);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(glContext);
    glContext = nullptr;
    if (dc)
        ReleaseDC(window, dc);
}

// A surface that has not yet taken the client's size: the window system hands a new size
// over only after a buffer swap that follows it, and after its own messages have been
// handled, so a paint that finds it so cannot wait for it. It draws nothing (a frame drawn
// there is not one of the client's size: the screen keeps the frame it shows), swaps to
// hand the size over, and a one-shot timer asks for the paint again, at most four times,
// 60, 120, 240 and 480 ms after the paint before (the last 900 ms after the first): a
// window system slow to hand the size over costs a few paints. The last draws the frame
// whatever the surface reads as: the reading looks at pixels outside the window, which
// OpenGL leaves undefined, and a driver that writes them must not leave the view blank.
constexpr UINT kFirstSurfaceLook = 60;   // ms
constexpr int kSurfaceLooks = 4;
UINT surfaceLookDelay = kFirstSurfaceLook;
int surfaceLooksLeft = 0;
bool lookingAgain = false;   // the paint asked for is the timer's
// The client size the surface is taken to have after the last look, whatever it reads as.
SIZE surfaceTaken = {0, 0};
// A final render asked for while the view was not shown or its surface had not yet the
// client's size: the paint that finds both draws it.
bool finalRenderOwed = false;

void HandSizeOver(HWND window)
{
    if (HDC dc = GetDC(window)) {
        SwapBuffers(dc);
        ReleaseDC(window, dc);
    }
}

// A paint's frame: the kept frame when nothing changed (unless a render is asked for),
// else the render. A view minimised or being restored would read back black: it draws
// nothing. A paint during a wait for the surface goes on with it, any other begins one.
void PaintFrame(HWND window, bool waiting)
{
    const bool final = finalRenderRequested || finalRenderOwed;
    if (!RenderViewShown()) {
        ForgetKeptFrame();
        finalRenderOwed = final;
        return;
    }
    if (!final && !renderCaptureRequested && PresentKeptFrame())
        return;
    RECT client = {0, 0, 0, 0};
    if (waiting && surfaceLooksLeft == 0 && GetClientRect(window, &client))
        surfaceTaken = {client.right, client.bottom};
    if (RenderSurfaceFitsClient()) {
        finalRenderOwed = false;
        const unsigned char asked = finalRenderRequested;
        finalRenderRequested = final ? 1 : 0;
        RenderHighQuality();
        finalRenderRequested = asked;
        return;
    }
    finalRenderOwed = final;
    HandSizeOver(window);
    if (!waiting) {
        surfaceLookDelay = kFirstSurfaceLook;
        surfaceLooksLeft = kSurfaceLooks;
    }
    if (surfaceLooksLeft > 0)
        SetTimer(window, kRenderSurfaceTimer, surfaceLookDelay, nullptr);
}

void LookAgainAtSurface(HWND window)
{
    KillTimer(window, kRenderSurfaceTimer);
    --surfaceLooksLeft;
    surfaceLookDelay *= 2;
    lookingAgain = true;
    InvalidateRect(window, nullptr, FALSE);
}

void Paint(HWND window)
{
    if (!GetUpdateRect(window, nullptr, FALSE))
        return;
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    ++renderWindowPaints;
    // Any paint answers the timer.
    const bool waiting = KillTimer(window, kRenderSurfaceTimer) || lookingAgain;
    lookingAgain = false;
    if (glContext) {
        renderPaintActive = 1;
        PaintFrame(window, waiting);
        renderPaintActive = 0;
    }
    EndPaint(window, &paint);
}

LRESULT StartNavigation(HWND window)
{
    // A press already released when its message is handled is dropped.
    if (!IsMouseButtonDown())
        return 0;
    if (activeDocument && activeDocument->settings)
        activeDocument->settings->orthographic3D = 0;
    navigating3D = 1;
    SetCapture(window);
    toolDragActive = 1;
    NavigateIn3DView();
    toolDragActive = 0;
    ReleaseCapture();
    navigating3D = 0;
    return 0;
}

} // namespace

bool RenderViewShown()
{
    if (!renderWindow || !IsWindowVisible(renderWindow))
        return false;
    const HWND desktop = GetDesktopWindow();
    for (HWND window = renderWindow; window && window != desktop; window = GetAncestor(window, GA_PARENT))
        if (IsIconic(window))
            return false;
    RECT client = {0, 0, 0, 0};
    GetClientRect(renderWindow, &client);
    return client.right > 0 && client.bottom > 0;
}

namespace {

SurfaceFitHook surfaceFitHook = nullptr;
void* surfaceFitHookContext = nullptr;

// The client size the surface was last read to have; it keeps it until the window's next
// new size, so the read (a wait for the drawing under way) is made once for each size.
SIZE surfaceFound = {0, 0};

bool SurfaceReadFitsClient()
{
    RECT client = {0, 0, 0, 0};
    if (!glContext || !renderWindow || !GetClientRect(renderWindow, &client) || client.right <= 0 ||
        client.bottom <= 0)
        return false;
    if (surfaceFound.cx == client.right && surfaceFound.cy == client.bottom)
        return true;
    // A read alone still sees the former size: a clear takes the new one (the stencil's,
    // which every drawing clears first, and only round the pixels read). Then the client's
    // last pixel, the one to its right and the one above it are read twice into different
    // bytes: a pixel outside the surface is not read, its bytes stay as they were. Only the
    // first lies inside a surface of the client's size; a larger one, as a shrink leaves for
    // a while, holds the others too.
    glViewport(0, 0, client.right, client.bottom);
    glPushAttrib(GL_SCISSOR_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(client.right - 1, client.bottom - 1, 2, 2);
    glClear(GL_STENCIL_BUFFER_BIT);
    glPopAttrib();
    GLubyte first[2][2][4], second[2][2][4];
    memset(first, 0, sizeof first);
    memset(second, 255, sizeof second);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(client.right - 1, client.bottom - 1, 2, 2, GL_RGBA, GL_UNSIGNED_BYTE, first);
    glReadPixels(client.right - 1, client.bottom - 1, 2, 2, GL_RGBA, GL_UNSIGNED_BYTE, second);
    auto read = [&](int row, int column) { return memcmp(first[row][column], second[row][column], 4) == 0; };
    if (!read(0, 0) || read(0, 1) || read(1, 0))
        return false;
    surfaceFound = {client.right, client.bottom};
    return true;
}

} // namespace

void OweFinalRender()
{
    finalRenderOwed = true;
}

void SetSurfaceFitHook(SurfaceFitHook hook, void* context)
{
    surfaceFitHook = hook;
    surfaceFitHookContext = context;
}

bool RenderSurfaceFitsClient()
{
    RECT client = {0, 0, 0, 0};
    if (renderWindow && GetClientRect(renderWindow, &client) && surfaceTaken.cx == client.right &&
        surfaceTaken.cy == client.bottom && client.right > 0 && client.bottom > 0)
        return true;
    const bool fits = SurfaceReadFitsClient();
    return surfaceFitHook ? surfaceFitHook(fits, surfaceFitHookContext) : fits;
}

int ChooseRenderPixelFormat(HDC dc, PIXELFORMATDESCRIPTOR* chosen)
{
    PIXELFORMATDESCRIPTOR best = {};
    int bestIndex = 0;
    const int count = DescribePixelFormat(dc, 1, sizeof best, nullptr);
    for (int index = 1; index <= count; ++index) {
        PIXELFORMATDESCRIPTOR candidate;
        if (!DescribePixelFormat(dc, index, sizeof candidate, &candidate))
            continue;
        if ((candidate.dwFlags & kWindowFormatFlags) != kWindowFormatFlags ||
            candidate.iPixelType != PFD_TYPE_RGBA || candidate.cColorBits < 24 ||
            candidate.cAccumBits == 0 || candidate.cStencilBits != 8)
            continue;
        if (!bestIndex || Better(candidate, best)) {
            best = candidate;
            bestIndex = index;
        }
    }
    if (!bestIndex) {
        best = RequestedFormat();
        bestIndex = ChoosePixelFormat(dc, &best);
        if (bestIndex)
            DescribePixelFormat(dc, bestIndex, sizeof best, &best);
        else
            best = RequestedFormat();
    }
    if (chosen)
        *chosen = best;
    return bestIndex;
}

LRESULT CALLBACK RenderWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        AllocGroundHeightGrid();
        UpdateSunDirection();
        // A new context: every texture may be tried again, its size read again.
        ForgetFailedTextures();
        ForgetTextureSizes();
        CreateRenderContext(window);
        CreateRenderScreen(window);
        return 0;
    case WM_DESTROY:
        KillTimer(window, kRenderSurfaceTimer);
        finalRenderOwed = false;
        surfaceFound = surfaceTaken = {0, 0};
        DeleteRenderContext(window);
        if (renderWindow == window)
            renderWindow = nullptr;
        return 0;
    case WM_SIZE:
        // A new size, or the view minimised or restored: the kept frame no longer shows it,
        // and the paint that follows a size to show looks at the surface afresh.
        ForgetKeptFrame();
        KillTimer(window, kRenderSurfaceTimer);
        lookingAgain = false;
        surfaceFound = surfaceTaken = {0, 0};
        FitRenderScreen(window);
        break;
    case WM_TIMER:
        if (wParam == kRenderSurfaceTimer)
            LookAgainAtSurface(window);
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        ClearToolButtonHover();
        break;
    case WM_LBUTTONDOWN:
        return StartNavigation(window);
    case WM_RBUTTONDOWN:
        if (!IsMouseButtonDown())
            return 0;
        navigationRiseFlag = navigationRiseFlag ? 0 : 1;
        return StartNavigation(window);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
