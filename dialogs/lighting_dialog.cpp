#include "dialogs/lighting_dialog.h"

#include <cmath>
#include <windows.h>

#include "dialogs/dialog_pattern.h"
#include "model/colour_maths.h"
#include "model/dialog_fields.h"
#include "model/plan_settings.h"
#include "planview/plan_redraw.h"
#include "resources/resource_ids.h"

namespace {

enum : int { kBrightnessBar = 15, kIntensityBar = 31, kFirstDirection = 50, kLastDirection = 57 };

// Sun vectors (x, y, z) of the direction codes 0..7, the code being radio - 50.
const float kSunVectors[8][3] = {
    {0, 100, 200}, {-200, 100, 200}, {-200, 100, 0}, {-200, 100, -200},
    {0, 100, -200}, {200, 100, -200}, {200, 100, 0}, {200, 100, 200},
};

uint16_t directionRadio;
int brightness, intensity;

int Rounded(double value)
{
    return static_cast<int>(value + 0.5);
}

void SetBar(HWND dialog, int id, int position)
{
    HWND bar = GetDlgItem(dialog, id);
    SetScrollRange(bar, SB_CTL, 1, 100, FALSE);
    SetScrollPos(bar, SB_CTL, position, TRUE);
}

// A scroll of either bar: lines and pages by one, the thumb where it is dragged; the bar
// keeps the value in its range and the working value is read back from it.
void ScrollBar(HWND bar, WPARAM wParam)
{
    const int id = GetDlgCtrlID(bar);
    int* value = id == kBrightnessBar ? &brightness : (id == kIntensityBar ? &intensity : nullptr);
    if (!value) return;
    int position = GetScrollPos(bar, SB_CTL);
    switch (LOWORD(wParam)) {
    case SB_LINELEFT: case SB_PAGELEFT: --position; break;
    case SB_LINERIGHT: case SB_PAGERIGHT: ++position; break;
    case SB_THUMBPOSITION: case SB_THUMBTRACK: position = static_cast<short>(HIWORD(wParam)); break;
    default: return;
    }
    SetScrollPos(bar, SB_CTL, position, TRUE);
    *value = GetScrollPos(bar, SB_CTL);
}

INT_PTR CALLBACK LightingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    PlanSettings* s = DialogSettings();
    if (!s) return 0;
    switch (message) {
    case WM_INITDIALOG: {
        CentreDialog(dialog);
        brightness = Rounded((shadeBrightness - 0.5) / 2.0 * 100.0);
        brightness = brightness < 1 ? 1 : (brightness > 100 ? 100 : brightness);
        const uint32_t code = s->lightingValue;
        directionRadio = static_cast<uint16_t>(kFirstDirection + (code >= 1 && code <= 7 ? code : 0));
        CheckDlgRadio(dialog, directionRadio, kFirstDirection, kLastDirection);
        intensity = Rounded((65535.0 - s->drawValue3D) / 65535.0 * 100.0);
        SetBar(dialog, kBrightnessBar, brightness);
        SetBar(dialog, kIntensityBar, intensity);
        intensity = GetScrollPos(GetDlgItem(dialog, kIntensityBar), SB_CTL);
        return 1;
    }
    case WM_HSCROLL:
        ScrollBar(reinterpret_cast<HWND>(lParam), wParam);
        return 1;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= kFirstDirection && id <= kLastDirection) {
            SelectDialogRadio(dialog, id, kFirstDirection, kLastDirection, &directionRadio);
            return 1;
        }
        if (id == IDCANCEL) EndDialog(dialog, 0);
        if (id != IDOK) return 1;
        const int code = directionRadio - kFirstDirection;
        s->lightingValue = static_cast<uint32_t>(code);
        s->lightDirectionX = kSunVectors[code][0];
        s->lightDirectionY = kSunVectors[code][1];
        s->lightDirectionZ = kSunVectors[code][2];
        shadeBrightness = 2.0f * brightness / 100.0f + 0.5f;
        s->drawValue3D = 65535.0f - intensity / 100.0f * 65535.0f;
        EndDialog(dialog, 1);
        InvalidatePlanView();
        return 1;
    }
    }
    return 0;
}

}  // namespace

int RunLightingDialog(PlanSettings* settings)
{
    return RunPropertyDialog(settings, IDD_LIGHTING, LightingDlgProc);
}
