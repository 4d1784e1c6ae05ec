#include "palette/tool_windows.h"
#include "files/picture_files.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "palette/symbol_bar.h"
#include "palette/tool_press.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/keys_and_menus.h"
#include "shell/status_bar.h"
#include "tools/tool_state.h"
#include <commctrl.h>
#include <cstdlib>

HWND highlightedPane = nullptr;
HWND hoveredToolButton = nullptr;

unsigned char swallowNextToolClick = 0;
HWND hoveredBarWindow = nullptr;
RECT hoveredBarRect = {0, 0, 0, 0};

HWND FindSelectToolButton(HWND generalStrip)
{
    HWND button = generalStrip ? GetWindow(generalStrip, GW_CHILD) : nullptr;
    if (button)
        button = GetWindow(button, GW_HWNDLAST);
    for (int step = 0; step < 6 && button; ++step)
        button = GetWindow(button, GW_HWNDPREV);
    return button;
}

namespace {

const int kCurrentPictureOffset = 2000;

struct ToolNameRow {
    uint16_t id;
    const char* name;
};

const ToolNameRow kToolNames[] = {
    {200, "Seleziona oggetti"}, {201, "Ruota"}, {202, "Quota"}, {203, "Testo"}, {204, "Muovi"},
    {205, "Zoom"}, {206, "Visuale"},
    {7000, "Perimetro fondamenta"}, {7001, "Trave di rinforzo"}, {7002, "Pilastri di fondazione"},
    {7003, "Cavo di tensione"}, {7004, "Pendenza fondamenta"},
    {7050, "Muro esterno"}, {7051, "Parete interna"}, {7052, "Apertura squadrata"}, {7053, "Porta"},
    {7054, "Finestra"}, {7055, "Scala diritta"}, {7056, "Scala curva"}, {7057, "Ringhiera diritta"},
    {7058, "Ringhiera curva"}, {7059, "Pavimento"}, {7060, "Apertura pavimento"},
    {7061, "Oggetti disponibili"},
    {7100, "Presa 110v"}, {7101, "Presa Esterni/Messa terra/Commutatore 110v"},
    {7102, "Presa pavimento/soffitto 110v"}, {7103, "Presa 220v"},
    {7104, "Presa pavimento/soffitto 220v"}, {7105, "Interruttore"},
    {7106, "Interruttore a 3/4/5"}, {7107, "Dimmer/Interruttore da esterni"},
    {7108, "Interruttore"}, {7109, "Impianto luci"}, {7110, "Luci ad incasso"},
    {7111, "Illuminazione ventilazione/riscaldamento"}, {7112, "Faretti"},
    {7113, "Presa via cavo"}, {7114, "Presa del telefono"}, {7115, "Rilevatore di fumo"},
    {7116, "Termostato"}, {7117, "Ventilatore da soffitto"},
    {7200, "WC"}, {7201, "Lavandino singolo"}, {7202, "Lavandino doppio"},
    {7203, "Lavandino triplo"}, {7204, "Lavandino ovale"}, {7205, "Vasca da bagno"},
    {7206, "Vasca idromassaggio"}, {7207, "Doccia"}, {7208, "Scaldabagno"},
    {7209, "Tubo flessibile"}, {7210, "Tubo gas"}, {7211, "Piletta di scarico"},
    {7300, "Doppia falda"}, {7301, "A 4 falde"}, {7302, "A 3 falde"}, {7303, "Connettore a 2 falde"},
    {7304, "Connettore a 3 falde"}, {7305, "Connettore semplice"}, {7306, "Tetto a mano libera"},
    {7400, "Conduttura aria"}, {7401, "Griglia aria a pavimento"}, {7402, "Griglia aria a soffitto"},
    {7403, "Griglia areazione"}, {7404, "Caldaia"}, {7405, "Condizionatore"},
    {7406, "Pompa di calore"}, {7407, "Scaldabagno da terra"},
    {7500, "Proprietà"}, {7501, "Zona riempimento"}, {7502, "Sentiero/viottolo"},
    {7503, "Riempimento"}, {7504, "Recinzione"}, {7505, "Steccato"}, {7506, "Cancello"},
    {7507, "Muro di sostegno"}, {7508, "Irrigatore"}, {7509, "Lotto pendio"},
    {7510, "Topografia curva"}, {7511, "Topografia diritta"}, {7512, "Piante disponibili"},
    {7600, "Terrazza con ringhiera"}, {7601, "Terrazza senza ringhiera"},
    {7602, "Ringhiera diritta"}, {7603, "Ringhiera curva"}, {7604, "Scala diritta"},
    {7605, "Scala curva"},
    {7700, "Rettangolo"}, {7701, "Cerchio/Ovale"}, {7702, "Linea"}, {7703, "Poligono"},
    {7704, "Arco"}, {7705, "Arco circolare"}, {7706, "Multigono"}, {7707, "Curva"},
    {3500, "Visualizzazione pianta tutto schermo"}, {3501, "Visualizzazione 3D quarto"},
    {3502, "Visualizzazione pianta/3D metà"}, {3503, "Visualizzazione 3D tutto schermo"},
    {400, "Visita"}, {401, "Sorvola"},
    {3400, "Texture disponibili"}, {3401, "Colori disponibili"}, {3402, "Colori personalizzata"},
    {3403, "Pannello libreria"},
    {3430, "Illuminazione"}, {3431, "Ombre"}, {3432, "Visuale in trasparenza"},
    {3433, "Resa qualità finale"}, {3450, "Mostra/nascondi porte 3D"},
};

struct StripLayout {
    int width;
    int height;
    int x;
    int y;
    bool column;
};

bool LayoutOfKind(uint16_t kind, StripLayout* layout)
{
    switch (kind) {
    case 1: case 30:
        *layout = {21, 23, 0, 0, true};
        return true;
    case 3: case 10: case 11: case 12: case 13: case 14: case 15: case 16: case 17: case 18:
    case 31: case 32: case 33:
        *layout = {34, 27, 1, 0, false};
        return true;
    case 34:
        *layout = {34, 23, 1, 0, false};
        return true;
    default:
        return false;
    }
}

// Draws one line from start to end (end excluded) with a fresh one-pixel pen.
void Line(HDC dc, int colour, int x0, int y0, int x1, int y1)
{
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(colour));
    if (!pen)
        return;
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// The four edges of a bevel: the first colour along the top and the left, the second
// along the right and the bottom.
void Bevel(HWND window, HDC dc, const RECT* r, int topLeft, int bottomRight)
{
    if (!window || !dc || !r)
        return;
    Line(dc, topLeft, r->left, r->top, r->right, r->top);
    Line(dc, topLeft, r->left, r->top, r->left, r->bottom);
    Line(dc, bottomRight, r->right, r->top, r->right, r->bottom);
    Line(dc, bottomRight, r->right, r->bottom, r->left - 1, r->bottom);
}

// The 3D-bar buttons whose picture follows a setting of the open plan; 0 for the others.
int StatePicture(uint16_t toolId, const PlanSettings* settings)
{
    switch (toolId) {
    case 3431:
        return settings->renderQuality ? 11051 : 11050;
    case 3432:
        return settings->view3DFlag1490 ? 11053 : 11052;
    case 3450:
        return settings->hideDoors3D ? 3450 : 3459;
    default:
        return 0;
    }
}

void DrawPictureOnce(HDC dc, int id)
{
    if (HBITMAP picture = LoadPaletteBitmap(id)) {
        BlitBitmap(dc, picture, 1, 1);
        DeleteObject(picture);
    }
}

// Whether the tool's picture can be loaded, told from its resource without loading it.
bool ToolPictureAvailable(HINSTANCE instance, uint16_t toolId)
{
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(toolId), RT_BITMAP);
    HGLOBAL data = found ? LoadResource(instance, found) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    return bytes && IsSoundPackedDib(bytes, SizeofResource(instance, found));
}

bool ShowsStatusHelp(uint16_t id)
{
    return (id >= 200 && id <= 206) || (id >= 400 && id <= 401) || (id >= 7050 && id <= 7061) ||
           (id >= 7500 && id <= 7512) || (id >= 7700 && id <= 7707) || id == 3300 ||
           (id >= 3400 && id <= 3403) || (id >= 3430 && id <= 3433);
}

void RepaintNow(HWND window)
{
    if (window)
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void PaintStrip(HWND strip)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(strip, &ps);
    const ToolPaneDescriptor* descriptor = ToolStripDescriptor(strip);
    if (dc && descriptor && !IsRectEmpty(&ps.rcPaint)) {
        RECT rect;
        GetClientRect(strip, &rect);
        InflateRect(&rect, -1, -1);
        if (descriptor->kind == 1 || descriptor->kind == 30)
            DrawEtchedHorizontalLine(strip, dc, &rect);
        else
            DrawEtchedVerticalLine(strip, dc, &rect);
    }
    EndPaint(strip, &ps);
}

// Every paint draws the whole button, its face included, whatever part was invalidated
// and whether or not it was erased: a repaint of one button after a tool change or a
// hover then leaves what a repaint of the whole palette draws. The one-pixel overlap
// with the next button belongs to the button above it (the buttons clip their siblings).
void PaintButton(HWND button)
{
    PAINTSTRUCT ps;
    HDC paintDC = BeginPaint(button, &ps);
    bool needed = paintDC && !IsRectEmpty(&ps.rcPaint);
    EndPaint(button, &ps);
    if (!needed)
        return;
    // The whole window, so the edge can sit on the button's border pixels.
    HDC dc = GetWindowDC(button);
    if (!dc)
        return;
    RECT rect;
    GetClientRect(button, &rect);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    InflateRect(&rect, -1, -1);
    // A button without its record stays an empty face.
    if (ToolButtonRecord* record = ToolButtonOf(button)) {
        DrawToolButtonBitmap(dc, record, button);
        if (record->toolId == (uint16_t)currentToolId)
            DrawBevelSunken(button, dc, &rect);
        else if (button == hoveredToolButton)
            DrawBevelRaised(button, dc, &rect);
    }
    ReleaseDC(button, dc);
}

void HoverButton(HWND button)
{
    if (!applicationActive || !activePlanPane)
        return;
    symbarHoverId = -1;
    if (hoveredToolButton != button) {
        ClearToolButtonHover();
        hoveredToolButton = button;
        RepaintNow(button);
    }
    if (ToolButtonRecord* record = ToolButtonOf(button))
        if (ShowsStatusHelp(record->toolId))
            ShowStatusHelp(record->toolId);
    toolHoverRefresh = 0;
}

void PressButton(HWND button, UINT message, LPARAM position)
{
    ToolButtonRecord* record = ToolButtonOf(button);
    if (!record)
        return;
    if (swallowNextToolClick) {
        swallowNextToolClick = 0;
        return;
    }
    SetWindowPos(GetParent(button), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HandleToolButtonPress(record, button, message, position);
}

void DoubleClickButton(HWND button, LPARAM position)
{
    ToolButtonRecord* record = ToolButtonOf(button);
    if (!record)
        return;
    const ToolPaneDescriptor* descriptor = ToolStripDescriptor(GetParent(button));
    if (descriptor && descriptor->kind >= 10 && descriptor->kind <= 18) {
        // On a creation tool a double click is a second press.
        PressButton(button, WM_LBUTTONDOWN, position);
        return;
    }
    OpenToolPropertiesDialog(record, button, WM_LBUTTONDBLCLK, position);
}

// Runs at the button's last message: nothing reads its window word afterwards, so the
// word is not cleared (one call to the system less for each of a hundred buttons).
void DestroyButton(HWND button)
{
    ToolButtonRecord* record = ToolButtonOf(button);
    if (record) {
        if (record->bitmap)
            DeleteObject(record->bitmap);
        std::free(record);
    }
    if (hoveredToolButton == button)
        hoveredToolButton = nullptr;
    if (highlightedPane == button)
        highlightedPane = nullptr;
}

} // namespace

const char* ToolName(uint16_t toolId)
{
    for (const ToolNameRow& row : kToolNames)
        if (row.id == toolId)
            return row.name;
    return nullptr;
}

ToolButtonRecord* ToolButtonOf(HWND button)
{
    return button ? reinterpret_cast<ToolButtonRecord*>(GetWindowLongPtrA(button, 0)) : nullptr;
}

const ToolPaneDescriptor* ToolStripDescriptor(HWND strip)
{
    return strip ? reinterpret_cast<const ToolPaneDescriptor*>(GetWindowLongPtrA(strip, 0)) : nullptr;
}

HWND FindToolButton(HWND strip, uint16_t toolId)
{
    for (HWND child = strip ? GetWindow(strip, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ToolButtonRecord* record = ToolButtonOf(child);
        if (record && record->toolId == toolId)
            return child;
    }
    return nullptr;
}

HBITMAP LoadPaletteBitmap(int id)
{
    return static_cast<HBITMAP>(
        LoadImageA(hInstance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

void AddToolTooltip(HWND strip, HWND button, uint16_t toolId)
{
    const char* name = ToolName(toolId);
    if (!name || !tooltipWindow || !strip || !button)
        return;
    TOOLINFOA info = {};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = strip;
    info.uId = reinterpret_cast<UINT_PTR>(button);
    info.hinst = hInstance;
    info.lpszText = const_cast<char*>(name);
    SendMessageA(tooltipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CreateToolPaneButtons(HWND strip, HINSTANCE instance, const ToolPaneDescriptor* descriptor)
{
    StripLayout layout;
    if (!strip || !instance || !descriptor || !LayoutOfKind(descriptor->kind, &layout))
        return;
    int x = layout.x;
    int y = layout.y;
    for (int i = 0; i < descriptor->count; ++i) {
        const uint16_t toolId = (uint16_t)(descriptor->firstToolId + i);
        HWND button = CreateWindowExA(0, "ToolPaneClass", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y,
                                      layout.width, layout.height, strip, nullptr, instance, nullptr);
        if (!button)
            continue;
        if (i == 0 && descriptor->kind == 1) {
            highlightedPane = button;
            currentToolId = 200;
        }
        if (ToolPictureAvailable(instance, toolId)) {
            ToolButtonRecord* record =
                static_cast<ToolButtonRecord*>(std::calloc(1, sizeof(ToolButtonRecord)));
            if (record) {
                record->toolId = toolId;
                SetWindowLongPtrA(button, 0, reinterpret_cast<LONG_PTR>(record));
            }
        }
        if (layout.column)
            y += 22;
        else
            x += 33;
        AddToolTooltip(strip, button, toolId);
    }
}

void DrawToolButtonBitmap(HDC dc, ToolButtonRecord* record, HWND button)
{
    if (!dc || !record || !ToolStripDescriptor(GetParent(button)))
        return;
    if (activeDocument) {
        PlanSettings* settings = activeDocument->settings;
        bool stateButton = record->toolId == 3431 || record->toolId == 3432 || record->toolId == 3450;
        if (stateButton) {
            if (settings)
                DrawPictureOnce(dc, StatePicture(record->toolId, settings));
            return;
        }
    }
    if (record->toolId == (uint16_t)currentToolId) {
        DrawPictureOnce(dc, record->toolId + kCurrentPictureOffset);
        return;
    }
    if (!record->bitmap) {
        HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(button, GWLP_HINSTANCE));
        record->bitmap = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(record->toolId),
                                                         IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    }
    BlitBitmap(dc, record->bitmap, 1, 1);
}

void ShowCurrentToolButton()
{
    HWND button = nullptr;
    for (int i = 0; i < FrameToolWindowCount && !button; ++i)
        button = FindToolButton(frameToolWindows[i], (uint16_t)currentToolId);
    if (!button)
        return;
    HWND old = highlightedPane;
    highlightedPane = button;
    RepaintNow(old);
    RepaintNow(button);
}

void ClearToolButtonHover()
{
    if (HWND button = hoveredToolButton) {
        hoveredToolButton = nullptr;
        RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    if (HWND window = hoveredBarWindow) {
        RECT rect = hoveredBarRect;
        hoveredBarWindow = nullptr;
        SetRectEmpty(&hoveredBarRect);
        InflateRect(&rect, 1, 1);
        RedrawWindow(window, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void DrawBevelRaised(HWND window, HDC dc, const RECT* rect)
{
    Bevel(window, dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
}

void DrawBevelSunken(HWND window, HDC dc, const RECT* rect)
{
    Bevel(window, dc, rect, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
}

void EraseBevel(HWND window, HDC dc, const RECT* rect)
{
    Bevel(window, dc, rect, COLOR_BTNFACE, COLOR_BTNFACE);
}

void DrawEtchedVerticalLine(HWND window, HDC dc, const RECT* r)
{
    if (!window || !dc || !r)
        return;
    Line(dc, COLOR_BTNSHADOW, r->right - 1, r->top + 3, r->right - 1, r->bottom - 1);
    Line(dc, COLOR_BTNHIGHLIGHT, r->right, r->top + 3, r->right, r->bottom - 1);
}

void DrawEtchedHorizontalLine(HWND window, HDC dc, const RECT* r)
{
    if (!window || !dc || !r)
        return;
    Line(dc, COLOR_BTNSHADOW, r->left + 1, r->bottom - 1, r->right + 1, r->bottom - 1);
    Line(dc, COLOR_BTNHIGHLIGHT, r->left + 1, r->bottom, r->right + 1, r->bottom);
}

void BlitBitmap(HDC dc, HBITMAP bitmap, int x, int y)
{
    if (!dc || !bitmap)
        return;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return;
    HGDIOBJ old = SelectObject(memory, bitmap);
    SetMapMode(memory, GetMapMode(dc));
    BITMAP info;
    GetObjectA(bitmap, sizeof(info), &info);
    // Size and source origin from device to logical units of the target's mapping.
    POINT size = {info.bmWidth, info.bmHeight};
    DPtoLP(dc, &size, 1);
    POINT origin = {0, 0};
    DPtoLP(memory, &origin, 1);
    BitBlt(dc, x, y, size.x, size.y, memory, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

LRESULT CALLBACK ToolWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintStrip(window);
        return 0;
    case WM_NCDESTROY: {
        // The strip owns the copy of its descriptor that the frame stored in its window data.
        void* descriptor = reinterpret_cast<void*>(GetWindowLongPtrA(window, 0));
        SetWindowLongPtrA(window, 0, 0);
        std::free(descriptor);
        break;
    }
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ToolPaneWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;   // the paint draws the face
    case WM_PAINT:
        PaintButton(window);
        return 0;
    case WM_MOUSEMOVE:
        HoverButton(window);
        return 0;
    case WM_LBUTTONDOWN:
        PressButton(window, message, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        DoubleClickButton(window, lParam);
        return 0;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        return 0;
    case WM_NCDESTROY:
        DestroyButton(window);
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
