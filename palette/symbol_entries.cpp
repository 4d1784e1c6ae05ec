// The entries of the library side bar: painting, the item's name in the status bar, and
// the three drags that bring an item into the design (paint onto the 3D view with the
// left button, repeated painting with the right one, insertion onto the plan).
#include "palette/symbol_bar.h"
#include "files/profile_file.h"
#include "files/object_exchange.h"
#include "files/picture_files.h"
#include "files/symbol_library.h"
#include "model/colour_maths.h"
#include "model/object_copies.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model3d/array_objects.h"
#include "palette/tool_windows.h"
#include "palette/variant_list.h"
#include "planview/input_gdi.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "render3d/render_screen.h"
#include "render3d/render_window.h"
#include "render3d/surface_painting.h"
#include "render3d/texture_names.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/keys_and_menus.h"
#include "shell/message_box.h"
#include "shell/status_bar.h"
#include "tools/point_mapping.h"
#include <commdlg.h>
#include <cstdlib>
#include <cstring>

namespace {

const char kNoPlanForTexture[] =
    "Creare un nuovo disegno o aprire un disegno esistente prima di applicare una texture.";
const char kNoPlanForPaint[] =
    "Creare un nuovo disegno o aprire un disegno esistente prima di applicare un colore o una "
    "texture.";
const char kNoPlanForObject[] =
    "Creare un nuovo disegno o aprire un disegno esistente prima di inserire un oggetto.";
const char kFrameOnly[] =
    "Impossibile applicare colori e texture nella visualizzazione Stile di resa 3D in modalità "
    "Solo struttura. Impostare lo Stile di resa 3D in modalità Con texture.";
const char kColourHint[] =
    "Doppio clic per modificare il colore, cliccare e trascinare per applicare il colore.";
const char kAbsentKey[] = "Done";
// A Shift+Ctrl drop of these trees gives their variant 461 ids further on.
const uint32_t kFirstTreeVariant = 7000;
const uint32_t kLastTreeVariant = 7013;
const uint32_t kTreeVariantOffset = 461;

// The drag state shared by the entries.
POINT lastCursor;
bool paintDragActive = false;
bool leftPressOnPaint = false;
bool objectDragActive = false;
RECT paintSquare;
RECT repeatSquare;
RECT objectSquare;
bool paintSquareShown = false;
bool repeatSquareShown = false;
bool objectSquareShown = false;

SymEntryRecord* RecordOf(HWND entry)
{
    return reinterpret_cast<SymEntryRecord*>(GetWindowLongPtrA(entry, 0));
}

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

void Tell(const char* text)
{
    ShowMessageBox(frameWindow, text, applicationTitle, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

void UseCursor(int index)
{
    if (namedCursors[index])
        SetCursor(namedCursors[index]);
}

// The square of a drag on the screen: the pointer's point grown by 22 with a cross of 10
// each way, dotted, in NOT-XOR so that drawing it twice removes it.
void DrawSquare(const RECT& square, COLORREF colour)
{
    HDC dc = GetDC(nullptr);
    if (!dc)
        return;
    HPEN pen = CreatePen(PS_DOT, 1, colour);
    HGDIOBJ oldPen = pen ? SelectObject(dc, pen) : nullptr;
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    int oldMode = SetROP2(dc, R2_NOTXORPEN);
    Rectangle(dc, square.left, square.top, square.right, square.bottom);
    int cx = square.left + 23;
    int cy = square.top + 23;
    MoveToEx(dc, cx - 10, cy, nullptr);
    LineTo(dc, cx + 10, cy);
    MoveToEx(dc, cx, cy - 10, nullptr);
    LineTo(dc, cx, cy + 10);
    SetROP2(dc, oldMode);
    SelectObject(dc, oldBrush);
    if (oldPen)
        SelectObject(dc, oldPen);
    if (pen)
        DeleteObject(pen);
    ReleaseDC(nullptr, dc);
}

RECT SquareAt(POINT p)
{
    return {p.x - 23, p.y - 23, p.x + 22, p.y + 22};
}

void MoveSquare(RECT* saved, bool* shown, POINT p, COLORREF colour)
{
    if (*shown)
        DrawSquare(*saved, colour);
    *saved = SquareAt(p);
    DrawSquare(*saved, colour);
    *shown = true;
}

void EraseSquare(RECT* saved, bool* shown, COLORREF colour)
{
    if (*shown)
        DrawSquare(*saved, colour);
    *shown = false;
}

POINT CursorNow()
{
    POINT p = {0, 0};
    CurrentInput().CursorPos(&p);
    return p;
}

// The entry's client centre on the screen: where the fly-in starts.
POINT EntryCentre(HWND entry)
{
    RECT rect;
    GetClientRect(entry, &rect);
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(entry, &centre);
    return centre;
}

void FlyIn(HWND entry, POINT target, const RECT& box)
{
    POINT from = EntryCentre(entry);
    AnimateZoomRect(from.x, from.y, target.x, target.y, &box);
}

// A screen point in the window's client and logical coordinates.
POINT ToLogical(HWND window, POINT screen)
{
    POINT p = screen;
    ScreenToClient(window, &p);
    if (HDC dc = GetDC(window)) {
        DPtoLP(dc, &p, 1);
        ReleaseDC(window, dc);
    }
    return p;
}

// Shows the item's name once per item; an empty name puts the default prompt back.
void ShowItemName(int32_t itemId, const char* name)
{
    if (symbarHoverId == itemId)
        return;
    symbarHoverId = itemId;
    if (!name || !*name) {
        if (lastStatusId != StatusDefaultId)
            ShowStatusHelp(StatusDefaultId);
        return;
    }
    std::strncpy(customStatusText, name, StatusTextSize - 1);
    customStatusText[StatusTextSize - 1] = 0;
    lastStatusId = StatusDefaultId;
    ShowStatusHelp(StatusCustomTextId);
}

// "Description" key of an information file; empty when absent ("Done") or unreadable.
void ReadDescription(const char* path, const char* key, char* text, DWORD size)
{
    text[0] = 0;
    if (!path || !*path)
        return;
    MeantProfileString("Description", key, kAbsentKey, text, size, path);
    if (std::strcmp(text, kAbsentKey) == 0)
        text[0] = 0;
}

// The value an entry hands to the paint routines by the bar's mode; false when the
// entry has none (colour indexes past the table, swatches past 50, mode 5).
bool PaintValue(const SymEntryRecord* record, uint32_t* value)
{
    const PlanSettings* s = Settings();
    switch (symbarMode) {
    case 1:
        if (!s || record->colourIndex >= 72)
            return false;
        *value = s->swatchColours[record->colourIndex];
        return true;
    case 2:
    case 7:
        *value = record->itemId;
        return true;
    case 8:
        if (record->colourIndex > 50)
            return false;
        *value = GetSwatchColour((int)record->colourIndex);
        return true;
    default:
        return false;
    }
}

void ApplyAt(POINT logical, uint32_t value)
{
    switch (symbarMode) {
    case 1:
    case 8:
        ApplyColorAtPoint3D(logical.x, logical.y, (COLORREF)value);
        break;
    case 2:
        ApplyTextureAtPoint3D(logical.x, logical.y, value);
        break;
    case 7:
        ApplySurfaceStyleAtPoint3D(logical.x, logical.y, value);
        break;
    default:
        break;
    }
}

void FillWithColour(HWND entry, COLORREF colour)
{
    HDC dc = GetDC(entry);
    if (!dc)
        return;
    RECT rect;
    GetClientRect(entry, &rect);
    HBRUSH brush = CreateSolidBrush(colour);
    if (brush) {
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
    ReleaseDC(entry, dc);
}

void PaintEntry(HWND entry)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(entry, &ps);
    SymEntryRecord* record = RecordOf(entry);
    bool needed = dc && record && !IsRectEmpty(&ps.rcPaint);
    if (needed) {
        char path[kTextureNameSize] = "";
        switch (symbarMode) {
        case 2:
        case 5:
            MakeTexturePreviewPath((int32_t)record->itemId, path);
            DrawDibFile(entry, dc, path);
            break;
        case 7:
            MakeTrimTexturePreviewPath((int32_t)record->itemId, path);
            DrawDibFile(entry, dc, path);
            break;
        case 4:
            MakeTexturePreviewPath((int32_t)record->itemId, path);
            DrawDibFile(entry, dc, path);
            break;
        case 3:
        case 6:
            if (record->previewPath)
                DrawDibFile(entry, dc, record->previewPath);
            break;
        case 1:
            if (record->colourIndex < 72 && Settings())
                FillWithColour(entry, Settings()->swatchColours[record->colourIndex]);
            break;
        case 8:
            if (record->colourIndex <= 50)
                FillWithColour(entry, GetSwatchColour((int)record->colourIndex));
            break;
        default:
            break;
        }
        if (record->index == symbarSelection)
            DrawChosenEntryFrame(entry, dc);
    }
    EndPaint(entry, &ps);
}

// At the entry's last message, so its window word needs no clearing.
void DestroyEntry(HWND entry)
{
    SymEntryRecord* record = RecordOf(entry);
    if (record) {
        std::free(record->previewPath);
        std::free(record->objectPath);
        std::free(record->descriptionPath);
        std::free(record);
    }
    if (hoveredToolButton == entry)
        hoveredToolButton = nullptr;
}

void EditCustomColour(HWND entry, SymEntryRecord* record)
{
    PlanSettings* s = Settings();
    if (symbarMode != 1 || !frameWindow || !s)
        return;
    if (record->colourIndex < 72) {
        CHOOSECOLORA choose = {};
        choose.lStructSize = sizeof(choose);
        choose.hwndOwner = frameWindow;
        choose.rgbResult = s->swatchColours[record->colourIndex];
        choose.lpCustColors = customColours;
        choose.Flags = CC_RGBINIT | CC_FULLOPEN;
        if (ChooseColorA(&choose)) {
            s->swatchColours[record->colourIndex] = choose.rgbResult;
            RedrawWindow(entry, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
    }
    s->modified = 1;
}

HWND EntryByIndex(HWND bar, int32_t index)
{
    for (HWND child = bar ? GetWindow(bar, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        SymEntryRecord* record = RecordOf(child);
        if (record && record->index == index)
            return child;
    }
    return nullptr;
}

void SelectEntry(HWND entry, SymEntryRecord* record)
{
    if (record->index == symbarSelection)
        return;
    int32_t old = symbarSelection;
    symbarSelection = record->index;
    RememberSymbarSelection(symbarMode, record->index);
    if (HWND previous = EntryByIndex(GetParent(entry), old))
        RedrawWindow(previous, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RedrawWindow(entry, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void MouseOnEntry(HWND entry, UINT message, LPARAM position)
{
    SymEntryRecord* record = RecordOf(entry);
    if (!record)
        return;
    if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN)
        ClearToolButtonHover();
    if (message == WM_LBUTTONDOWN) {
        swallowNextToolClick = 0;
        SelectEntry(entry, record);
    }
    switch (symbarMode) {
    case 1: case 2: case 7: case 8: {
        uint32_t value = 0;
        if (PaintValue(record, &value))
            DragPaintToView3D(value, entry, message, position);
        break;
    }
    case 3: case 4: case 6:
        DragInsertObject(record, entry, message, position);
        break;
    default:
        break;
    }
    Settings()->modified = 1;
}

void RightPressOnEntry(HWND entry)
{
    SymEntryRecord* record = RecordOf(entry);
    if (!record || leftPressOnPaint)
        return;
    uint32_t value = 0;
    if (symbarMode == 1 || symbarMode == 2 || symbarMode == 7 || symbarMode == 8)
        if (PaintValue(record, &value))
            RepeatPaintInView3D(value, entry, WM_RBUTTONDOWN, 0);
    Settings()->modified = 1;
}

// The drop point of an object drag on the plan pane: the model point and whether it
// lies inside the plan extents as the view plane shows them.
bool DropPoint(POINT screen, float* x, float* y, float* z)
{
    POINT p = ToLogical(activePlanPane, screen);
    *x = *y = *z = 0.0f;
    MapPlanPointToModel(p.x, p.y, x, y, z, 0, nullptr, 1);
    const PlanSettings* s = Settings();
    if (!s)
        return true;
    auto whole = [](float v) { return (int32_t)(v + 0.5f); };
    const int32_t e1 = whole(s->extentTop), e2 = whole(s->extentLeft);
    const int32_t e3 = whole(s->extentBottom), e4 = whole(s->extentRight);
    float u = *x;
    float v = *z;
    int32_t left = e2, top = e1, right = e4, bottom = e3;
    switch (s->viewPlane) {
    case 1:
        v = *y;
        break;
    case 3:
        u = *z;
        v = *y;
        left = e1;
        right = e3;
        break;
    default:
        break;
    }
    return u >= left && u < right && v >= top && v < bottom;
}

void InsertAt(SymEntryRecord* record, HWND entry, POINT screen)
{
    PlanSettings* s = Settings();
    PlanFloor* first = activeDocument->firstFloor;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    if (!DropPoint(screen, &x, &y, &z))
        return;
    SetSelectionAllFloors(first, 2, 1);
    const uint16_t plane = s->viewPlane;
    auto whole16 = [](float v) { return (float)(int16_t)(int32_t)(v + 0.5f); };
    float a = whole16(x), b = whole16(z), e = y;
    if (plane == 1) {
        b = whole16(y);
        e = z;
    } else if (plane == 3) {
        a = whole16(z);
        b = whole16(y);
        e = x;
    }
    if (!record->objectPath && symbarMode != 4)
        return;
    SetSelectionAllFloors(first, 2, 1);
    float box[4] = {0, 0, 0, 0};
    if (symbarMode == 3) {
        exchangeImportActive = 1;
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        ImportObjectFile(record->objectPath);
        exchangeImportActive = 0;
        UseCursor(FingerCursorIndex);
        RecentreDrawing(1, box);
        FlyIn(entry, screen, {(LONG)box[1], (LONG)box[0], (LONG)box[3], (LONG)box[2]});
        if (frameWindow)
            SendMessageA(frameWindow, WM_COMMAND, 5205, 0);
    } else if (symbarMode == 6) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        LoadModelFile(record->objectPath);
        UseCursor(FingerCursorIndex);
        RecentreDrawing(1, box);
        FlyIn(entry, screen, {(LONG)box[1], (LONG)box[0], (LONG)box[3], (LONG)box[2]});
    } else if (symbarMode == 4) {
        uint32_t id = record->itemId;
        bool shiftCtrl = (CurrentInput().KeyState(VK_SHIFT) & 0x8000) &&
                         (CurrentInput().KeyState(VK_CONTROL) & 0x8000);
        if (shiftCtrl && id >= kFirstTreeVariant && id <= kLastTreeVariant)
            id += kTreeVariantOffset;
        if (PlanObject* plant = CreatePlantObject(activeDocument->currentFloor, 1, id))
            SelectObjectAndDrawHandles(plant, 1, 1);
        RecentreDrawing(1, box);
        FlyIn(entry, screen, {(LONG)box[1], (LONG)box[0], (LONG)box[3], (LONG)box[2]});
    }
    TransformRecord move = {};
    if (plane == 1) {
        move.offset[0] = a;
        move.offset[1] = b;
    } else if (plane == 3) {
        move.offset[1] = b;
        move.offset[2] = a;
    } else {
        move.offset[0] = a;
        move.offset[2] = b;
    }
    ForEachObjectOnFloor(activeDocument->currentFloor, 1, MoveBy, &move);
    // The elevation, with the view plane switched for that one move.
    TransformRecord lift = {};
    uint16_t liftPlane = 2;
    if (plane == 1) {
        lift.offset[2] = e;
    } else if (plane == 3) {
        lift.offset[0] = e;
    } else {
        liftPlane = 1;
        lift.offset[1] = e;
    }
    s->viewPlane = liftPlane;
    ForEachObjectOnFloor(activeDocument->currentFloor, 1, MoveBy, &lift);
    s->viewPlane = plane;
    SetSelectionAllFloors(first, 2, 1);
    InvalidatePlanView();
}

} // namespace

COLORREF GetSwatchColour(int index)
{
    const PlanSettings* s = Settings();
    if (!s)
        return 0;
    uint32_t hue = s->swatchColour > 240 ? 240 : s->swatchColour;
    uint16_t hsv[3];
    hsv[0] = (uint16_t)(hue * 257);
    if (index >= 1 && index <= 25) {
        hsv[1] = (uint16_t)(index * 2570);
        hsv[2] = 65535;
    } else {
        hsv[1] = 65535;
        int value = 65535 - (index - 25) * 2570;
        hsv[2] = (uint16_t)(value < 0 ? 0 : value);
    }
    uint16_t rgb[3] = {0, 0, 0};
    HsvToRgb(hsv, rgb);
    return RGB(rgb[0] / 257, rgb[1] / 257, rgb[2] / 257);
}

void DragPaintToView3D(uint32_t value, HWND entry, UINT message, LPARAM)
{
    PlanSettings* s = Settings();
    if (message == WM_LBUTTONDOWN) {
        if (!activePlanPane || !renderWindow) {
            Tell(kNoPlanForTexture);
            return;
        }
        if (s && s->view3DMode == 1) {
            Tell(kFrameOnly);
            return;
        }
    }
    lastCursor = CursorNow();
    if (message == WM_MOUSEMOVE) {
        if (!frameWindow)
            return;
        if (paintDragActive) {
            HWND under = WindowFromPoint(lastCursor);
            if (under == renderWindow)
                UseCursor(FingerCursorIndex);
            else if (under == activePlanPane)
                UseCursor(NoDragCursorIndex);
            MoveSquare(&paintSquare, &paintSquareShown, lastCursor, RGB(0, 0, 0));
            return;
        }
        SymEntryRecord* record = RecordOf(entry);
        char name[256] = "";
        if (symbarMode == 2) {
            char path[kTextureNameSize] = "";
            MakeTextureInfoPath((int32_t)value, path);
            ReadDescription(path, "Name", name, 251);
        } else if (symbarMode == 7) {
            char path[kTextureNameSize] = "";
            MakeTrimTextureInfoPath((int32_t)value, path);
            ReadDescription(path, "Name", name, 251);
        } else if (symbarMode == 1) {
            std::strcpy(name, kColourHint);
        }
        if (symbarMode == 8) {
            if (lastStatusId != StatusDefaultId)
                ShowStatusHelp(StatusDefaultId);
            return;
        }
        ShowItemName(record ? (int32_t)(record->itemId ? record->itemId : record->colourIndex) : -1, name);
        return;
    }
    if (message == WM_LBUTTONDOWN) {
        UseCursor(FingerCursorIndex);
        paintDragActive = true;
        leftPressOnPaint = true;
        SetCapture(entry);
        MoveSquare(&paintSquare, &paintSquareShown, lastCursor, RGB(0, 0, 0));
        return;
    }
    if (message == WM_LBUTTONUP && paintDragActive && frameWindow) {
        paintDragActive = false;
        ReleaseCapture();
        EraseSquare(&paintSquare, &paintSquareShown, RGB(0, 0, 0));
        if (WindowFromPoint(lastCursor) == renderWindow && renderWindow) {
            POINT logical = ToLogical(renderWindow, lastCursor);
            HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
            FlyIn(entry, lastCursor, {0, 0, 10, 10});
            ApplyAt(logical, value);
            SetCursor(previous);
            InvalidateRect(renderWindow, nullptr, FALSE);
        }
    }
    if (message == WM_LBUTTONUP)
        leftPressOnPaint = false;
}

void RepeatPaintInView3D(uint32_t value, HWND entry, UINT, LPARAM)
{
    if (!activePlanPane || !renderWindow) {
        Tell(kNoPlanForPaint);
        return;
    }
    if (!entry || !frameWindow || !activeDocument)
        return;
    UseCursor(FingerCursorIndex);
    if (Settings() && Settings()->view3DMode == 1) {
        Tell(kFrameOnly);
        return;
    }
    const COLORREF green = RGB(0, 128, 0);
    lastCursor = CursorNow();
    paintDragActive = true;
    SetCapture(entry);
    MoveSquare(&repeatSquare, &repeatSquareShown, lastCursor, green);
    auto follow = [&]() {
        POINT now = CursorNow();
        if (now.x != lastCursor.x || now.y != lastCursor.y) {
            lastCursor = now;
            MoveSquare(&repeatSquare, &repeatSquareShown, lastCursor, green);
        }
    };
    while (IsMouseButtonDown())
        follow();
    bool painted = false;
    for (;;) {
        MSG message;
        if (!PeekClickOrKeyMessage(&message)) {
            follow();
            continue;
        }
        if (message.message == WM_LBUTTONDOWN)
            break;
        if (message.message != WM_RBUTTONDOWN)
            continue;
        POINT at = CursorNow();
        if (WindowFromPoint(at) != renderWindow)
            continue;
        POINT logical = ToLogical(renderWindow, at);
        FlyIn(entry, at, {0, 0, 10, 10});
        HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        ApplyAt(logical, value);
        SetCursor(previous);
        // The mark goes over the picture the screen shows, at the render window's place.
        const HWND shown = renderScreenWindow ? renderScreenWindow : renderWindow;
        if (HDC dc = GetDC(shown)) {
            POINT client = at;
            ScreenToClient(shown, &client);
            MoveToEx(dc, client.x - 10, client.y, nullptr);
            LineTo(dc, client.x + 10, client.y);
            MoveToEx(dc, client.x, client.y - 10, nullptr);
            LineTo(dc, client.x, client.y + 10);
            ReleaseDC(shown, dc);
        }
        painted = true;
    }
    EraseSquare(&repeatSquare, &repeatSquareShown, green);
    paintDragActive = false;
    ReleaseCapture();
    if (painted)
        InvalidateRect(renderWindow, nullptr, FALSE);
}

void DragInsertObject(SymEntryRecord* record, HWND entry, UINT message, LPARAM)
{
    if (message == WM_LBUTTONDOWN && !activePlanPane) {
        Tell(kNoPlanForObject);
        return;
    }
    if (!record || !entry || !Settings())
        return;
    lastCursor = CursorNow();
    if (message == WM_MOUSEMOVE) {
        if (!frameWindow)
            return;
        if (objectDragActive) {
            MoveSquare(&objectSquare, &objectSquareShown, lastCursor, RGB(0, 0, 0));
            HWND under = WindowFromPoint(lastCursor);
            if (under != activePlanPane && under != entry) {
                UseCursor(NoDragCursorIndex);
            } else {
                float x, y, z;
                bool inside = under != activePlanPane || DropPoint(lastCursor, &x, &y, &z);
                UseCursor(inside ? FingerCursorIndex : NoDragCursorIndex);
            }
            return;
        }
        char name[256] = "";
        if (symbarMode == 4) {
            char path[kTextureNameSize] = "";
            MakeTextureInfoPath((int32_t)record->itemId, path);
            ReadDescription(path, "CommonName", name, 251);
            ShowItemName((int32_t)record->itemId, name);
        } else {
            ReadDescription(record->descriptionPath, "ObjectName", name, 251);
            ShowItemName(record->index + 100000, name);
        }
        return;
    }
    if (message == WM_LBUTTONDOWN) {
        objectDragActive = true;
        SetCapture(entry);
        MoveSquare(&objectSquare, &objectSquareShown, lastCursor, RGB(0, 0, 0));
        return;
    }
    if (message == WM_LBUTTONUP && objectDragActive && frameWindow) {
        objectDragActive = false;
        ReleaseCapture();
        EraseSquare(&objectSquare, &objectSquareShown, RGB(0, 0, 0));
        UseCursor(FingerCursorIndex);
        if (activePlanPane && WindowFromPoint(lastCursor) == activePlanPane)
            InsertAt(record, entry, lastCursor);
    }
}

LRESULT CALLBACK SymEntryWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY) {
        DestroyEntry(window);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (!activeDocument || !activeDocument->settings)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        PaintEntry(window);
        return 0;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (SymEntryRecord* record = RecordOf(window))
            EditCustomColour(window, record);
        return 0;
    case WM_RBUTTONDOWN:
        RightPressOnEntry(window);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        MouseOnEntry(window, message, lParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
