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
#include "render3d/texture_loading.h"
#include "shell/keys_and_menus.h"
#include "shell/message_box.h"
#include "tools/tool_state.h"

HWND renderWindow = nullptr;
HGLRC glContext = nullptr;
uint8_t renderPaintActive = 0;
uint8_t navigationRiseFlag = 0;

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
    // Of equal depth the plainest format: fewest colour and accumulation bits.
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

void Paint(HWND window)
{
    if (!GetUpdateRect(window, nullptr, FALSE))
        return;
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    if (glContext) {
        renderPaintActive = 1;
        if (finalRenderRequested || renderCaptureRequested || !PresentKeptFrame())
            RenderHighQuality();
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
        return 0;
    case WM_DESTROY:
        DeleteRenderContext(window);
        if (renderWindow == window)
            renderWindow = nullptr;
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
