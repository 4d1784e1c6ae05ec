#include "dialogs/grid_elevation_dialogs.h"

#include <cmath>
#include <commctrl.h>
#include <cstdint>

#include "dialogs/dialog_pattern.h"
#include "model/dialog_fields.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "resources/resource_ids.h"
#include "shell/app_globals.h"

namespace {

const char* const kWorkingElevationMessage =
    "L'elevazione di lavoro deve essere compresa tra -1200 e 1200: il valore precedente resta invariato.";
const char* const kPrecisionDistanceMessage =
    "La distanza di precisione deve essere un numero non superiore alle dimensioni del disegno.";

uint16_t gridStyle;
// Set when a grid page accepts its values, so that a sheet run for one page can tell
// OK from Cancel whatever PropertySheet itself returns.
bool gridPageApplied;

float SpacingOr(float value, float fallback)
{
    return value > 0.0f && value <= 500.0f ? value : fallback;
}

void DrawGridPreview(const DRAWITEMSTRUCT* item)
{
    HDC dc = item->hDC;
    const RECT& box = item->rcItem;
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    if (gridStyle == 1) {
        for (int y = box.top; y < box.bottom; y += 10) {
            MoveToEx(dc, box.left, y, nullptr);
            LineTo(dc, box.right, y);
        }
        for (int x = box.left; x < box.right; x += 10) {
            MoveToEx(dc, x, box.top, nullptr);
            LineTo(dc, x, box.bottom);
        }
    } else if (gridStyle == 2) {
        for (int y = box.top; y < box.bottom; y += 10)
            for (int x = box.left; x < box.right; x += 10) SetPixel(dc, x, y, RGB(0, 0, 0));
    }
    SelectObject(dc, pen);
}

bool IsApply(UINT message, LPARAM lParam)
{
    return message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY);
}

INT_PTR AcceptApply(HWND page)
{
    gridPageApplied = true;
    SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
    return 1;
}

bool RunGridPageAlone(int page)
{
    if (!activeDocument || !activeDocument->settings) return false;
    gridPageApplied = false;
    RunGridPageSheet(page, 1);
    return gridPageApplied;
}

INT_PTR CALLBACK WorkingElevationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLength(dialog, 5, s->workingElevation, s, 1, 0);
        return 0;
    case WM_COMMAND: {
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        float value = 0.0f;
        if (!ReadLengthField(dialog, 5, &value)) return 1;
        if (value > -1201.0f && value < 1201.0f)
            s->workingElevation = value;
        else
            ShowDialogMessage(dialog, kWorkingElevationMessage);
        EndDialog(dialog, 1);
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK DistancePrecisionDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLength(dialog, 6, s->nudgeDistance, s, 1, 0);
        return 0;
    case WM_COMMAND: {
        if (LOWORD(wParam) != IDOK) return EndDialogOnCancel(dialog, wParam);
        float value = 0.0f;
        if (!ReadLengthField(dialog, 6, &value)) return 1;
        // Nudges by more than the plan is wide would throw objects out of it.
        const float plan = std::fabs(UnitsToPlanLength(value, s, 0));
        const float widest = std::fmax(s->extentRight - s->extentLeft, s->extentBottom - s->extentTop);
        if (!(plan <= widest)) {
            RejectDialogField(dialog, 6, kPrecisionDistanceMessage);
            return 1;
        }
        s->nudgeDistance = value;
        EndDialog(dialog, 1);
        return 1;
    }
    }
    return 0;
}

INT_PTR CALLBACK TracingImageResizeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        CentreDialog(dialog);
        SetDlgItemLong(dialog, 5, static_cast<int32_t>(s->tracingScaleX * 100.0f), 1);
        SetDlgItemLong(dialog, 6, static_cast<int32_t>(s->tracingScaleY * 100.0f), 0);
        SetFocus(GetDlgItem(dialog, 5));
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            float x = 0.0f, y = 0.0f;
            if (!ReadNumberField(dialog, 5, &x) || !ReadNumberField(dialog, 6, &y)) return 1;
            // A percent left as shown keeps the scale it was shown from.
            if (!RecallFieldValue(dialog, 5, nullptr)) s->tracingScaleX = x / 100.0f;
            if (!RecallFieldValue(dialog, 6, nullptr)) s->tracingScaleY = y / 100.0f;
            EndDialog(dialog, 1);
            return 1;
        }
        case 3:
            s->tracingScaleX = s->tracingScaleY = 1.0f;
            EndDialog(dialog, 2);
            return 1;
        }
        return EndDialogOnCancel(dialog, wParam);
    }
    return 0;
}

}  // namespace

INT_PTR CALLBACK GridSpacingDlgProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    if (message == WM_INITDIALOG) {
        CentreDialog(GetParent(dialog));
        SetDlgItemLength(dialog, 8, s->gridSpacingY, s, 0, 0);
        SetDlgItemLength(dialog, 9, s->snapStepX, s, 0, 0);
        SetDlgItemLength(dialog, 10, s->snapStepY, s, 0, 0);
        SetDlgItemLength(dialog, 7, s->gridSpacingX, s, 1, 0);
        return 0;
    }
    if (!IsApply(message, lParam)) return 0;
    float values[4] = {};
    for (int k = 0; k < 4; ++k) {
        if (!ReadLengthField(dialog, 7 + k, &values[k])) {
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, PSNRET_INVALID_NOCHANGEPAGE);
            return 1;
        }
    }
    s->gridSpacingX = SpacingOr(values[0], 36.0f);
    s->gridSpacingY = SpacingOr(values[1], 36.0f);
    s->snapStepX = SpacingOr(values[2], 2.0f);
    s->snapStepY = SpacingOr(values[3], 2.0f);
    return AcceptApply(dialog);
}

INT_PTR CALLBACK GridStyleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG:
        gridStyle = s->gridStyle;
        if (gridStyle == 1) CheckDlgRadio(dialog, 3001, 3000, 3001);
        if (gridStyle == 2) CheckDlgRadio(dialog, 3000, 3000, 3001);
        return 1;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const uint16_t style = id == 3000 ? 2 : (id == 3001 ? 1 : 0);
        if (style && style != gridStyle) {
            CheckDlgRadio(dialog, id, 3000, 3001);
            gridStyle = style;
            InvalidateRect(GetDlgItem(dialog, 3002), nullptr, TRUE);
        }
        return 1;
    }
    case WM_DRAWITEM:
        if (wParam == 3002) DrawGridPreview(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return 1;
    }
    if (!IsApply(message, lParam)) return 0;
    s->gridStyle = gridStyle;
    return AcceptApply(dialog);
}

int RunGridPageSheet(int first, int count)
{
    const int templates[kGridPageCount] = {IDD_GRID_SPACING, IDD_GRID_STYLE};
    const DLGPROC procedures[kGridPageCount] = {GridSpacingDlgProc, GridStyleDlgProc};
    if (first < 0 || count < 1 || first + count > kGridPageCount) return -1;
    PROPSHEETPAGEA pages[kGridPageCount] = {};
    for (int k = 0; k < count; ++k) {
        pages[k].dwSize = sizeof pages[k];
        pages[k].hInstance = hInstance;
        pages[k].pszTemplate = MAKEINTRESOURCEA(templates[first + k]);
        pages[k].pfnDlgProc = procedures[first + k];
    }
    PROPSHEETHEADERA sheet = {};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    sheet.hwndParent = frameWindow;
    sheet.hInstance = hInstance;
    sheet.pszCaption = "Proprietà griglia";
    sheet.nPages = static_cast<UINT>(count);
    sheet.ppsp = pages;
    return static_cast<int>(PropertySheetA(&sheet));
}

bool RunGridSpacingDialog()
{
    return RunGridPageAlone(kGridSpacingPage);
}

bool RunGridStyleDialog()
{
    return RunGridPageAlone(kGridStylePage);
}

int RunDistancePrecisionDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_DISTANCE_PRECISION, DistancePrecisionDlgProc);
}

int RunWorkingElevationDialog()
{
    return activeDocument ? RunPropertyDialog(activeDocument->settings, IDD_WORKING_ELEVATION, WorkingElevationDlgProc) : 0;
}

int RunTracingImageResizeDialog()
{
    return activeDocument ? RunPropertyDialog(activeDocument->settings, IDD_TRACING_IMAGE_SIZE, TracingImageResizeDlgProc) : 0;
}
