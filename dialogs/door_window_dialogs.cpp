#include "dialogs/door_window_dialogs.h"

#include <cmath>
#include <initializer_list>

#include "dialogs/dialog_pattern.h"
#include "model/dialog_fields.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model/wall_openings.h"
#include "render3d/object_polygons.h"
#include "resources/resource_ids.h"

uint8_t windowMirrorHorizontal = 0;
uint8_t windowMirrorVertical = 0;

namespace {

enum : int {
    kCheckSmallPanes = 6,
    kScrollBarsDown = 17,
    kWidthField = 23,
    kHeightField = 24,
    kElevationField = 25,
    kScrollBarsAcross = 26,
    kCasingField = 28,
    kPreview = 29,
    kSwingLabel = 84,
    kSwingField = 85,
    kFeaturesGroup = 101,
    kMirrorHorizontalCheck = 200,
    kMirrorVerticalCheck = 201,
    kReverseHingesCheck = 3000,
    kFlipDoorCheck = 3001,
    kFirstStyleRadio = 3023,
    kLastDoorRadio = 3034,
    kSecondWindowRadio = 3024,
    kLastWindowRadio = 3041,
};

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr uint16_t kSlidingGlassDoor = 502;
constexpr uint16_t kGarageDoor = 503;
constexpr uint16_t kPlainWindow = 600;

// Door radios 3023 to 3034 and their styles; 3023 also stands for unknown styles.
const uint16_t kDoorStyleOfRadio[12] = {500, 504, 505, 501, 506, 507, 508, 509, 510, 511, 502, 503};

// Window radios 3023 to 3041: the style a click sets, and the mirror style shown by the
// same radio (0 for none). 3023 and 3024 both set 600, told apart by the glazing bars.
struct WindowRadio {
    uint16_t style;
    uint16_t mirror;
};
const WindowRadio kWindowRadios[19] = {
    {600, 0},   {600, 0},   {601, 0},   {609, 610}, {604, 0},   {605, 606}, {602, 0},
    {624, 625}, {603, 0},   {607, 608}, {613, 0},   {611, 612}, {614, 615}, {618, 0},
    {616, 617}, {619, 0},   {620, 621}, {622, 0},   {623, 0},
};

// Door working values; those of the edited door are filled by EditSelectedDoor.
float doorSwingDegrees;
uint8_t doorHingeSide;
uint8_t editingDoor;
float doorElevation;
uint8_t doorToggle;
uint16_t doorStyle;
uint16_t doorRadio;
float doorWidth, doorHeight, doorCasing;

// Window working values.
int windowBarsAcross, windowBarsDown;
uint16_t windowStyle;
uint16_t windowRadio;

// A typed door elevation is taken as a whole number of display units, the nearest one.
float WholeElevation(float elevation)
{
    return static_cast<float>(static_cast<int32_t>(elevation + 0.5f));
}

uint16_t DoorRadioOfStyle(uint16_t style)
{
    for (int i = 0; i < 12; ++i)
        if (kDoorStyleOfRadio[i] == style) return static_cast<uint16_t>(kFirstStyleRadio + i);
    return kFirstStyleRadio;
}

uint16_t WindowRadioOfStyle(uint16_t style, int across, int down)
{
    if (style == kPlainWindow)
        return across == 0 && down == 1 ? kFirstStyleRadio : kSecondWindowRadio;
    for (int i = 2; i < 19; ++i)
        if (kWindowRadios[i].style == style || kWindowRadios[i].mirror == style)
            return static_cast<uint16_t>(kFirstStyleRadio + i);
    return kFirstStyleRadio;
}

bool IsHingedDoorStyle(uint16_t style)
{
    return style == 501 || (style >= 506 && style <= 509);
}

bool IsFlippedDoorStyle(uint16_t style)
{
    return style == 503 || style == 510 || style == 511;
}

void ShowItems(HWND dialog, std::initializer_list<int> ids, bool show)
{
    for (int id : ids)
        show ? ShowDlgItem(dialog, id) : HideDlgItem(dialog, id);
}

// The controls of the edited door's style: the swing and hinge choice of hinged doors,
// the flip of garage, sliding and folding doors, none for the others.
void ShowDoorStyleControls(HWND dialog, uint16_t style)
{
    ShowItems(dialog, {kReverseHingesCheck, kSwingLabel, kSwingField, kFeaturesGroup, kFlipDoorCheck}, false);
    if (IsHingedDoorStyle(style)) {
        ShowItems(dialog, {kSwingLabel, kSwingField, kReverseHingesCheck, kFeaturesGroup}, true);
        SetDlgButtonCheck(dialog, kReverseHingesCheck, doorToggle);
    } else if (IsFlippedDoorStyle(style)) {
        ShowItems(dialog, {kFeaturesGroup, kFlipDoorCheck}, true);
        SetDlgButtonCheck(dialog, kFlipDoorCheck, doorToggle);
    }
}

void InitDoorDialog(HWND dialog, PlanSettings* settings)
{
    CentreDialog(dialog);
    doorStyle = settings->doorStyle;
    doorWidth = settings->doorWidth;
    doorHeight = settings->doorHeight;
    doorCasing = settings->doorCasingWidth;
    doorToggle = 0;
    ShowItems(dialog, {kReverseHingesCheck, kSwingLabel, kSwingField, kFeaturesGroup, kFlipDoorCheck}, false);
    if (editingDoor) {
        ShowDoorStyleControls(dialog, doorStyle);
        SetDlgItemLong(dialog, kSwingField, static_cast<int32_t>(doorSwingDegrees), 0);
        RememberFieldValue(dialog, kSwingField, doorSwingDegrees);
    }
    doorRadio = DoorRadioOfStyle(doorStyle);
    CheckDlgRadio(dialog, doorRadio, kFirstStyleRadio, kLastDoorRadio);
    SetDlgItemLength(dialog, kHeightField, doorHeight, settings, 0, 0);
    SetDlgItemLength(dialog, kElevationField, doorElevation, settings, 0, 0);
    SetDlgItemLength(dialog, kCasingField, doorCasing, settings, 0, 0);
    SetDlgItemLength(dialog, kWidthField, doorWidth, settings, 1, 0);
}

void SelectDoorStyle(HWND dialog, PlanSettings* settings, int radio)
{
    const uint16_t previous = doorStyle;
    doorStyle = kDoorStyleOfRadio[radio - kFirstStyleRadio];
    if (!SelectDialogRadio(dialog, radio, kFirstStyleRadio, kLastDoorRadio, &doorRadio)) return;
    if (editingDoor) ShowDoorStyleControls(dialog, doorStyle);
    const bool wide = doorStyle == kSlidingGlassDoor || doorStyle == kGarageDoor;
    const bool wasWide = previous == kSlidingGlassDoor || previous == kGarageDoor;
    if (wide == wasWide) return;
    doorWidth = wide ? 72.0f : 30.0f;
    doorHeight = 80.0f;
    doorCasing = 3.0f;
    SetDlgItemLength(dialog, kWidthField, doorWidth, settings, 0, 0);
    SetDlgItemLength(dialog, kHeightField, doorHeight, settings, 0, 0);
    SetDlgItemLength(dialog, kCasingField, doorCasing, settings, 0, 0);
}

void AcceptDoorDialog(HWND dialog, PlanSettings* settings)
{
    float width = 0.0f, height = 0.0f, casing = 0.0f, elevation = 0.0f, swing = 0.0f;
    if (!ReadLengthField(dialog, kWidthField, &width) || !ReadLengthField(dialog, kHeightField, &height) ||
        !ReadLengthField(dialog, kCasingField, &casing) ||
        !ReadLengthField(dialog, kElevationField, &elevation))
        return;
    // The swing is shown in whole degrees and read as the plain number typed.
    if (editingDoor && IsHingedDoorStyle(doorStyle) && !ReadNumberField(dialog, kSwingField, &swing)) return;
    settings->doorStyle = doorStyle;
    settings->doorWidth = std::fabs(width);
    settings->doorHeight = std::fabs(height);
    settings->doorCasingWidth = std::fabs(casing);
    if (!RecallFieldValue(dialog, kElevationField, nullptr)) elevation = WholeElevation(elevation);
    doorElevation = elevation < 0.0f ? 0.0f : elevation;
    if (editingDoor) {
        if (IsHingedDoorStyle(doorStyle)) doorSwingDegrees = swing == 0.0f ? 1.0f : swing;
        if ((IsHingedDoorStyle(doorStyle) || IsFlippedDoorStyle(doorStyle)) && doorToggle)
            doorHingeSide = doorHingeSide ? 0 : 1;
    }
    EndDialog(dialog, 1);
}

void DoorDialogCommand(HWND dialog, PlanSettings* settings, int id)
{
    if (id >= kFirstStyleRadio && id <= kLastDoorRadio) {
        SelectDoorStyle(dialog, settings, id);
    } else if (id == kReverseHingesCheck || id == kFlipDoorCheck) {
        ToggleDialogCheck(dialog, id, &doorToggle);
    } else if (id == IDOK) {
        AcceptDoorDialog(dialog, settings);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    }
}

// ---- Windows ----

void ShowGlazingBarControls(HWND dialog, bool show)
{
    ShowItems(dialog, {kCheckSmallPanes, kPreview, kScrollBarsAcross, kScrollBarsDown}, show);
    ShowItems(dialog, {kMirrorHorizontalCheck, kMirrorVerticalCheck}, !show);
}

void InitWindowDialog(HWND dialog, PlanSettings* settings)
{
    CentreDialog(dialog);
    windowBarsAcross = settings->windowBarsAcross;
    windowBarsDown = settings->windowBarsDown;
    const int bars[2][2] = {{kScrollBarsAcross, windowBarsAcross}, {kScrollBarsDown, windowBarsDown}};
    for (const auto& bar : bars) {
        SetScrollRange(GetDlgItem(dialog, bar[0]), SB_CTL, 0, 4, FALSE);
        SetScrollPos(GetDlgItem(dialog, bar[0]), SB_CTL, bar[1], TRUE);
    }
    SetDlgItemLength(dialog, kWidthField, settings->windowWidth, settings, 1, 0);
    SetDlgItemLength(dialog, kHeightField, settings->windowHeight, settings, 0, 0);
    SetDlgItemLength(dialog, kElevationField, settings->windowElevation, settings, 0, 0);
    SetDlgItemLength(dialog, kCasingField, settings->windowCasingWidth, settings, 0, 0);
    ShowGlazingBarControls(dialog, false);
    SetDlgButtonCheck(dialog, kMirrorHorizontalCheck, windowMirrorHorizontal);
    SetDlgButtonCheck(dialog, kMirrorVerticalCheck, windowMirrorVertical);
    windowStyle = settings->windowStyle;
    windowRadio = WindowRadioOfStyle(windowStyle, windowBarsAcross, windowBarsDown);
    CheckDlgRadio(dialog, windowRadio, kFirstStyleRadio, kLastWindowRadio);
    if (windowStyle == kPlainWindow) ShowGlazingBarControls(dialog, true);
}

void SelectWindowStyle(HWND dialog, int radio)
{
    if (radio == kFirstStyleRadio) {
        windowStyle = kPlainWindow;
        SelectDialogRadio(dialog, radio, kFirstStyleRadio, kLastWindowRadio, &windowRadio);
    } else if (radio == kSecondWindowRadio) {
        windowStyle = kPlainWindow;
        if (SelectDialogRadio(dialog, radio, kFirstStyleRadio, kLastWindowRadio, &windowRadio))
            ShowGlazingBarControls(dialog, true);
    } else {
        if (windowStyle == kPlainWindow) ShowGlazingBarControls(dialog, false);
        windowStyle = kWindowRadios[radio - kFirstStyleRadio].style;
        SelectDialogRadio(dialog, radio, kFirstStyleRadio, kLastWindowRadio, &windowRadio);
    }
}

RECT PreviewBox(HWND dialog)
{
    RECT box = {0, 0, 0, 0};
    HWND preview = GetDlgItem(dialog, kPreview);
    if (!preview) return box;
    GetWindowRect(preview, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    return box;
}

void ScrollGlazingBars(HWND dialog, HWND bar, int code, int thumb)
{
    int* count = nullptr;
    if (bar == GetDlgItem(dialog, kScrollBarsAcross)) count = &windowBarsAcross;
    else if (bar == GetDlgItem(dialog, kScrollBarsDown)) count = &windowBarsDown;
    if (!count) return;
    int wanted;
    switch (code) {
    case SB_LINEUP: case SB_PAGEUP: wanted = *count - 1; break;
    case SB_LINEDOWN: case SB_PAGEDOWN: wanted = *count + 1; break;
    case SB_THUMBPOSITION: wanted = thumb; break;
    default: return;
    }
    SetScrollPos(bar, SB_CTL, wanted, TRUE);
    *count = GetScrollPos(bar, SB_CTL);
    RECT box = PreviewBox(dialog);
    InvalidateRect(dialog, &box, TRUE);
}

void PaintWindowDialog(HWND dialog)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    if (IsWindowVisible(GetDlgItem(dialog, kPreview)))
        DrawGlazingBarPreview(dc, PreviewBox(dialog), windowBarsAcross, windowBarsDown);
    EndPaint(dialog, &paint);
}

// The preview control draws the preview too, whole, whenever it paints: shown again after
// another style hid it, only the dialog's parts that the hidden controls left were drawn.
bool DrawWindowPreview(const DRAWITEMSTRUCT* item)
{
    if (!item || item->CtlID != kPreview) return false;
    DrawGlazingBarPreview(item->hDC, item->rcItem, windowBarsAcross, windowBarsDown);
    return true;
}

void AcceptWindowDialog(HWND dialog, PlanSettings* settings)
{
    float width = 0.0f, height = 0.0f, elevation = 0.0f, casing = 0.0f;
    if (!ReadLengthField(dialog, kWidthField, &width) || !ReadLengthField(dialog, kHeightField, &height) ||
        !ReadLengthField(dialog, kElevationField, &elevation) || !ReadLengthField(dialog, kCasingField, &casing))
        return;
    settings->windowBarsAcross = static_cast<uint16_t>(windowBarsAcross);
    settings->windowBarsDown = static_cast<uint16_t>(windowBarsDown);
    settings->windowWidth = std::fabs(width);
    settings->windowHeight = std::fabs(height);
    settings->windowElevation = elevation < 0.0f ? 0.0f : elevation;
    casing = std::fabs(casing);
    settings->windowCasingWidth = casing < 1.0f ? 1.0f : casing;
    settings->windowStyle = windowStyle;
    EndDialog(dialog, 1);
}

void WindowDialogCommand(HWND dialog, PlanSettings* settings, int id)
{
    if (id >= kFirstStyleRadio && id <= kLastWindowRadio) {
        SelectWindowStyle(dialog, id);
    } else if (id == kMirrorHorizontalCheck) {
        ToggleDialogCheck(dialog, id, &windowMirrorHorizontal);
    } else if (id == kMirrorVerticalCheck) {
        ToggleDialogCheck(dialog, id, &windowMirrorVertical);
    } else if (id == IDOK) {
        AcceptWindowDialog(dialog, settings);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    }
}

PlanObject* OwningWall(PlanObject* opening)
{
    return opening->owner && opening->owner->type == ObjWall ? opening->owner : nullptr;
}

void RefitOwningWall(PlanObject* opening)
{
    if (PlanObject* wall = OwningWall(opening)) {
        FitWallOpenings(wall);
        RebuildObject3D(wall);
    }
}

}  // namespace

void DrawGlazingBarPreview(HDC dc, const RECT& box, int across, int down)
{
    // The bars' round ends stay inside the box, on the dialog as on the control itself.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RECT inner = {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    FrameRect(dc, &box, black);
    FrameRect(dc, &inner, black);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    const double width = box.right - box.left;
    const double height = box.bottom - box.top;
    for (int i = 1; i <= across; ++i) {
        const int x = box.left + static_cast<int>(i * (width / (across + 1)) + 0.5);
        MoveToEx(dc, x, box.top, nullptr);
        LineTo(dc, x, box.bottom - 1);
    }
    for (int j = 1; j <= down; ++j) {
        const int y = box.top + static_cast<int>(j * (height / (down + 1)) + 0.5);
        MoveToEx(dc, box.left, y, nullptr);
        LineTo(dc, box.right - 1, y);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
    RestoreDC(dc, saved);
}

INT_PTR CALLBACK DoorDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    switch (message) {
    case WM_INITDIALOG:
        InitDoorDialog(dialog, settings);
        return 1;
    case WM_COMMAND:
        DoorDialogCommand(dialog, settings, LOWORD(wParam));
        return 1;
    }
    return 0;
}

INT_PTR CALLBACK WindowDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    switch (message) {
    case WM_INITDIALOG:
        InitWindowDialog(dialog, settings);
        return 1;
    case WM_HSCROLL:
    case WM_VSCROLL:
        ScrollGlazingBars(dialog, reinterpret_cast<HWND>(lParam), LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        return 1;
    case WM_PAINT:
        PaintWindowDialog(dialog);
        return 1;
    case WM_DRAWITEM:
        return DrawWindowPreview(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
        WindowDialogCommand(dialog, settings, LOWORD(wParam));
        return 1;
    }
    return 0;
}

int RunDoorDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_DOOR, DoorDlgProc);
}

int RunWindowDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_WINDOW, WindowDlgProc);
}

void EditSelectedDoor(PlanObject* door, PlanSettings* settings)
{
    if (!door || !settings || door->type != ObjDoor || !door->link) return;
    OpeningRecord* record = static_cast<OpeningRecord*>(door->link);
    settings->doorStyle = record->style;
    settings->doorWidth = PlanLengthToUnits(record->width, settings, 0);
    settings->doorHeight = PlanLengthToUnits(record->height, settings, 0);
    settings->doorCasingWidth = record->casingWidth;
    doorElevation = PlanLengthToUnits(record->elevation, settings, 0);
    const float recordDegrees = static_cast<float>(record->swingAngle * kDegreesPerRadian);
    doorSwingDegrees = recordDegrees;
    const int wholeDegrees = static_cast<int>(doorSwingDegrees);
    if (wholeDegrees >= -5 && wholeDegrees <= 4) doorSwingDegrees = 45.0f;
    doorHingeSide = record->hingeSide;
    editingDoor = 1;
    if (RunDoorDialog(settings)) {
        const uint16_t style = settings->doorStyle;
        if (IsHingedDoorStyle(style)) {
            record->hingeSide = doorHingeSide;
            // A swing left as it was keeps its radians, which its degrees only come near.
            if (doorSwingDegrees != recordDegrees)
                record->swingAngle = static_cast<float>(doorSwingDegrees * kRadiansPerDegree);
            const float d = doorSwingDegrees;
            record->flags = (d >= 0.0f && d <= 180.0f) || (d > -360.0f && d < -180.0f) ? 4 : 0;
        } else if (IsFlippedDoorStyle(style)) {
            record->hingeSide = doorHingeSide;
        }
        record->style = style;
        record->casingWidth = settings->doorCasingWidth;
        record->width = UnitsToPlanLength(settings->doorWidth, settings, 0);
        record->height = UnitsToPlanLength(settings->doorHeight, settings, 0);
        const float elevation = UnitsToPlanLength(doorElevation, settings, 0);
        record->elevation = elevation < 0.0f ? 0.0f : elevation;
        RefitOwningWall(door);
    }
    editingDoor = 0;
}

void EditSelectedWindow(PlanObject* window, PlanSettings* settings)
{
    if (!window || !settings || window->type != ObjWindow || !window->link) return;
    OpeningRecord* record = static_cast<OpeningRecord*>(window->link);
    settings->windowStyle = record->style;
    settings->windowBarsAcross = record->glazingBarsAcross;
    settings->windowBarsDown = record->glazingBarsDown;
    settings->windowWidth = PlanLengthToUnits(record->width, settings, 0);
    settings->windowHeight = PlanLengthToUnits(record->height, settings, 0);
    settings->windowElevation = PlanLengthToUnits(record->elevation, settings, 0);
    settings->windowCasingWidth = record->casingWidth;
    settings->windowColour = window->colourA;
    windowMirrorHorizontal = record->hingeSide ? 1 : 0;
    windowMirrorVertical = record->flags == 1 ? 1 : 0;
    if (!RunWindowDialog(settings)) return;
    window->colourA = settings->windowColour;
    record->style = settings->windowStyle;
    record->casingWidth = settings->windowCasingWidth;
    record->width = UnitsToPlanLength(settings->windowWidth, settings, 0);
    record->height = UnitsToPlanLength(settings->windowHeight, settings, 0);
    const float elevation = UnitsToPlanLength(settings->windowElevation, settings, 0);
    record->elevation = elevation < 0.0f ? 0.0f : elevation;
    record->hingeSide = windowMirrorHorizontal ? 1 : 0;
    record->flags = windowMirrorVertical ? 1 : 0;
    record->glazingBarsAcross = settings->windowBarsAcross;
    record->glazingBarsDown = settings->windowBarsDown;
    RefitOwningWall(window);
}
