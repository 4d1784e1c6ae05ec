#include "dialogs/dimension_colour_dialogs.h"

#include "dialogs/dialog_pattern.h"
#include "model/dialog_fields.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "palette/tool_windows.h"
#include "planview/plan_background.h"
#include "resources/resource_ids.h"
#include "shell/app_globals.h"
#include "shell/colour_commands.h"
#include "shell/font_dialogs.h"

namespace {

enum : int {
    kColourButton = 3,
    kFirstEndMark = 8,
    kLastEndMark = 14,
    kEndMarkPicture = 15,
    kFontButton = 16,
    kFirstSwatch = 3,
    kUnsetSwatch = 12,
    kLastSwatch = 18,
    kOtherButton = 19,
};

constexpr int kPaletteOther = 2;

COLORREF ToColorRef(const ColourTriple& c)
{
    return RGB(c.red / 257, c.green / 257, c.blue / 257);
}

ColourTriple FromColorRef(COLORREF c)
{
    return ColourTriple{static_cast<uint16_t>(GetRValue(c) * 257), static_cast<uint16_t>(GetGValue(c) * 257),
                        static_cast<uint16_t>(GetBValue(c) * 257)};
}

// ---- Dimension style ----

ColourTriple dimensionColour;
uint16_t dimensionRadio;
uint16_t dimensionEndMark;   // stored on OK only, so that Cancel changes nothing
HBITMAP endMarkPicture;      // "ARROWS", loaded once per dialog

COLORREF NearestColour(HWND dialog, COLORREF colour)
{
    HDC dc = GetDC(dialog);
    const COLORREF nearest = dc ? GetNearestColor(dc, colour) : colour;
    if (dc) ReleaseDC(dialog, dc);
    return nearest == CLR_INVALID ? colour : nearest;
}

void PaintEndMarkPicture(HWND dialog)
{
    HWND picture = GetDlgItem(dialog, kEndMarkPicture);
    if (!picture || !endMarkPicture) return;
    HDC dc = GetDC(picture);
    BlitBitmap(dc, endMarkPicture, 0, 0);
    ReleaseDC(picture, dc);
    ValidateRect(picture, nullptr);
}

void PaintDimensionDialog(HWND dialog)
{
    PAINTSTRUCT paint;
    BeginPaint(dialog, &paint);
    EndPaint(dialog, &paint);
    PaintEndMarkPicture(dialog);
    PaintColourSwatch(dialog, kColourButton, NearestColour(dialog, ToColorRef(dimensionColour)));
}

void InitDimensionDialog(HWND dialog, PlanSettings* settings)
{
    CentreDialog(dialog);
    dimensionColour = settings->dimensionColour;
    dimensionRadio = settings->dimensionDialogValue;
    dimensionEndMark = settings->endMarkChoice;
    CheckDlgRadio(dialog, dimensionRadio, kFirstEndMark, kLastEndMark);
    endMarkPicture = static_cast<HBITMAP>(
        LoadImageA(hInstance, "ARROWS", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void DimensionDialogCommand(HWND dialog, PlanSettings* settings, int id)
{
    if (id == kColourButton) {
        ColourTriple chosen = dimensionColour;
        if (ChooseColour(dialog, &chosen)) {
            dimensionColour = FromColorRef(NearestColour(dialog, ToColorRef(chosen)));
            InvalidateRect(GetDlgItem(dialog, kColourButton), nullptr, TRUE);
            InvalidateRect(dialog, nullptr, FALSE);
        }
    } else if (id >= kFirstEndMark && id <= kLastEndMark) {
        if (SelectDialogRadio(dialog, id, kFirstEndMark, kLastEndMark, &dimensionRadio))
            dimensionEndMark = static_cast<uint16_t>(kEndMarkFirst + (id - kFirstEndMark));
    } else if (id == kFontButton) {
        ChooseDimensionFont(dialog);
    } else if (id == IDOK) {
        settings->dimensionColour = dimensionColour;
        settings->dimensionDialogValue = dimensionRadio;
        settings->endMarkChoice = dimensionEndMark;
        ApplyEndMarkChoice(settings);
        EndDialog(dialog, 1);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    }
}

// ---- Plan colour ----

ColourTriple planColour;

// ---- Palette ----

struct Swatch {
    uint8_t red, green, blue;
};
// Swatches 3 to 18; 12 is the unset colour, painted white.
const Swatch kSwatches[16] = {
    {249, 242, 211}, {224, 174, 100}, {176, 124, 30},  {244, 188, 151}, {255, 255, 162}, {137, 193, 68},
    {238, 214, 168}, {193, 255, 224}, {0, 193, 224},   {255, 255, 255}, {199, 155, 112}, {170, 90, 0},
    {87, 174, 162},  {117, 137, 174}, {199, 139, 79},  {255, 211, 192},
};

ColourTriple paletteColour;
int selectedSwatch;

COLORREF SwatchColour(int id)
{
    const Swatch& s = kSwatches[id - kFirstSwatch];
    return PALETTERGB(s.red, s.green, s.blue);
}

ColourTriple SwatchTriple(int id)
{
    if (id == kUnsetSwatch) return ColourTriple{kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
    const Swatch& s = kSwatches[id - kFirstSwatch];
    return ColourTriple{static_cast<uint16_t>(s.red * 257), static_cast<uint16_t>(s.green * 257),
                        static_cast<uint16_t>(s.blue * 257)};
}

void PaintPalette(HWND dialog)
{
    PAINTSTRUCT paint;
    BeginPaint(dialog, &paint);
    EndPaint(dialog, &paint);
    for (int id = kFirstSwatch; id <= kLastSwatch; ++id)
        PaintColourSwatch(dialog, id, SwatchColour(id));
    FrameSelectedSwatch(dialog, selectedSwatch);
}

void PaletteCommand(HWND dialog, int id)
{
    if (id >= kFirstSwatch && id <= kLastSwatch) {
        PaintColourSwatch(dialog, selectedSwatch, SwatchColour(selectedSwatch));
        paletteColour = SwatchTriple(id);
        selectedSwatch = id;
        FrameSelectedSwatch(dialog, id);
    } else if (id == kOtherButton) {
        EndDialog(dialog, kPaletteOther);
    } else if (id == IDOK) {
        EndDialog(dialog, 1);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    }
}

// The swatches are owner-drawn buttons: they are painted as their dialog paints them.
void DrawSwatchItem(HWND dialog, const DRAWITEMSTRUCT* item, COLORREF colour, bool framed)
{
    PaintColourSwatch(dialog, static_cast<int>(item->CtlID), colour);
    if (framed) FrameSelectedSwatch(dialog, static_cast<int>(item->CtlID));
}

}  // namespace

void PaintColourSwatch(HWND dialog, int controlId, COLORREF colour)
{
    HWND control = GetDlgItem(dialog, controlId);
    if (!control) return;
    RECT box;
    GetClientRect(control, &box);
    HDC dc = GetDC(control);
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
    ReleaseDC(control, dc);
}

void FrameSelectedSwatch(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    if (!control) return;
    RECT box;
    GetClientRect(control, &box);
    HDC dc = GetDC(control);
    HPEN pen = CreatePen(PS_INSIDEFRAME, 3, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    ReleaseDC(control, dc);
}

INT_PTR CALLBACK DimensionDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    switch (message) {
    case WM_INITDIALOG:
        InitDimensionDialog(dialog, settings);
        return 1;
    case WM_PAINT:
        PaintDimensionDialog(dialog);
        return 1;
    case WM_DRAWITEM:
        if (wParam == kColourButton)
            PaintColourSwatch(dialog, kColourButton, NearestColour(dialog, ToColorRef(dimensionColour)));
        else if (wParam == kEndMarkPicture)
            PaintEndMarkPicture(dialog);
        return 1;
    case WM_COMMAND:
        DimensionDialogCommand(dialog, settings, LOWORD(wParam));
        return 1;
    case WM_DESTROY:
        if (endMarkPicture) DeleteObject(endMarkPicture);
        endMarkPicture = nullptr;
        return 0;
    }
    (void)lParam;
    return 0;
}

INT_PTR CALLBACK PlanColoursDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* settings = DialogSettings();
    if (!settings) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        planColour = settings->roofColour;
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(dialog, &paint);
        EndPaint(dialog, &paint);
        PaintColourSwatch(dialog, kColourButton, 0x02000000 | ToColorRef(planColour));
        return 1;
    }
    case WM_DRAWITEM:
        PaintColourSwatch(dialog, kColourButton, 0x02000000 | ToColorRef(planColour));
        return 1;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kColourButton:
            PickColour(dialog, settings, &planColour);
            InvalidateRect(GetDlgItem(dialog, kColourButton), nullptr, TRUE);
            break;
        case IDOK:
            settings->roofColour = planColour;
            EndDialog(dialog, 1);
            break;
        case IDCANCEL:
            EndDialog(dialog, 0);
            break;
        }
        return 1;
    }
    return 0;
}

INT_PTR CALLBACK ColourPaletteDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!DialogSettings()) return 0;
    switch (message) {
    case WM_INITDIALOG:
        paletteColour = SwatchTriple(kFirstSwatch);
        selectedSwatch = kFirstSwatch;
        CentreDialog(dialog);
        return 1;
    case WM_PAINT:
        PaintPalette(dialog);
        return 1;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const int id = static_cast<int>(item->CtlID);
        if (id >= kFirstSwatch && id <= kLastSwatch) DrawSwatchItem(dialog, item, SwatchColour(id), id == selectedSwatch);
        return 1;
    }
    case WM_COMMAND:
        PaletteCommand(dialog, LOWORD(wParam));
        return 1;
    }
    return 0;
}

int RunDimensionDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_DIMENSION, DimensionDlgProc);
}

int RunPlanColoursDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_PLAN_COLOURS, PlanColoursDlgProc);
}

int RunColourPaletteDialog(PlanSettings* settings, ColourTriple* colour, HWND owner)
{
    if (!settings) return 0;
    const int result = RunPropertyDialog(settings, IDD_COLOUR_PALETTE, ColourPaletteDlgProc, owner);
    if (colour) *colour = paletteColour;
    return result;
}

int PickColour(HWND owner, PlanSettings* settings, ColourTriple* colour)
{
    if (!colour) return 0;
    ColourTriple chosen = *colour;
    const int result = RunColourPaletteDialog(settings, &chosen, owner);
    if (result == kPaletteOther) return ChooseColour(owner, colour) ? 1 : 0;
    if (result == 1) {
        *colour = chosen;
        return 1;
    }
    return 0;
}

void EditSelectedDimension(PlanObject* dimension, PlanSettings* settings)
{
    if (!dimension || !settings || !activeDocument || !activeDocument->firstFloor || !dimension->link) return;
    const AttachmentRecord* record = nullptr;
    if (dimension->type == ObjDimensionLine) {
        record = static_cast<AttachmentRecord*>(dimension->link);
    } else if (dimension->type == ObjDimensionLabel) {
        PlanObject* owner = static_cast<AttachedPartRecord*>(dimension->link)->owner;
        if (owner && IsDimensionType(owner->type)) record = static_cast<AttachmentRecord*>(owner->link);
    }
    if (!record) return;

    const uint16_t savedRadio = settings->dimensionDialogValue;
    const ColourTriple savedColour = settings->dimensionColour;
    const uint16_t savedEndMark = settings->endMarkChoice;
    const uint32_t savedStyleWord = settings->styleWord;  // its end-mark bits follow the command
    for (int bit = 0; bit < 7; ++bit) {
        if (record->flags & (1u << bit)) {
            settings->dimensionDialogValue = static_cast<uint16_t>(kFirstEndMark + bit);
            settings->endMarkChoice = static_cast<uint16_t>(kEndMarkFirst + bit);
            break;
        }
    }
    settings->dimensionColour = dimension->colourB;

    if (RunDimensionDialog(settings)) {
        PlanFloor* first = activeDocument->firstFloor;
        ApplyObjectOperation(dimension, 0, settings->endMarkChoice, nullptr);
        ApplyObjectOperation(dimension, 0, SetTextFont, &dimensionLogFont);
        DeactivateDocumentChild();
        ForEachFloorObject(first, 0, SuspendTextEditors, nullptr);
        const ColourTriple newObjectColour = settings->newObjectColour;
        settings->newObjectColour = settings->dimensionColour;
        ForEachFloorObject(first, 1, ApplyColourB, settings);
        settings->newObjectColour = newObjectColour;
    }
    settings->dimensionDialogValue = savedRadio;
    settings->dimensionColour = savedColour;
    settings->endMarkChoice = savedEndMark;
    settings->styleWord = savedStyleWord;
}
