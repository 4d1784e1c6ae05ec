#include "support_drawing.h"
#include "planview/output_routing.h"

namespace vtest {

DibSurface::DibSurface(int w, int h, COLORREF fill) : width(w), height(h)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;   // top-down: row y at bits + y * w
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = static_cast<uint32_t*>(pixels);
    surfaceDC = CreateCompatibleDC(nullptr);
    previous = SelectObject(surfaceDC, bitmap);
    RECT all = {0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(surfaceDC, &all, brush);
    DeleteObject(brush);
    GdiFlush();
}

DibSurface::~DibSurface()
{
    SelectObject(surfaceDC, previous);
    DeleteDC(surfaceDC);
    DeleteObject(bitmap);
}

COLORREF DibSurface::Pixel(int x, int y) const
{
    GdiFlush();
    if (!bits || x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    uint32_t v = bits[y * width + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

int DibSurface::CountInRow(int y, COLORREF colour) const
{
    int n = 0;
    for (int x = 0; x < width; ++x)
        n += Pixel(x, y) == colour ? 1 : 0;
    return n;
}

std::vector<uint32_t> DibSurface::Snapshot() const
{
    GdiFlush();
    if (!bits)
        return {};
    return std::vector<uint32_t>(bits, bits + static_cast<size_t>(width) * height);
}

int DibSurface::CountAll(COLORREF colour) const
{
    int n = 0;
    for (int y = 0; y < height; ++y)
        n += CountInRow(y, colour);
    return n;
}

SHORT ScriptedInput::KeyState(int virtualKey)
{
    int index = calls[virtualKey]++;
    auto found = keys.find(virtualKey);
    if (found == keys.end() || found->second.empty())
        return 0;
    const std::vector<SHORT>& script = found->second;
    return script[index < static_cast<int>(script.size()) ? index : script.size() - 1];
}

BOOL ScriptedInput::CursorPos(POINT* screenPoint)
{
    if (!screenPoint)
        return FALSE;
    *screenPoint = cursor;
    return TRUE;
}

void OutputStateTest::SetUp()
{
    PlanViewTest::SetUp();
    ResetOutputState();
}

void OutputStateTest::TearDown()
{
    ResetOutputState();
    PlanViewTest::TearDown();
}

void OutputStateTest::ResetOutputState()
{
    planDC = nullptr;
    planOutputMode = 0;
    printScaleX = printScaleY = 1.0f;
    exportDxf2D = exportDxf3D = 0;
    interactiveRedraw = 0;
    dragFeedbackActive = 0;
}

} // namespace vtest
