#include "palette/transform_dialogs.h"
#include "model/dialog_fields.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "planview/plan_redraw.h"
#include "resources/resource_ids.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include "tools/undo.h"
#include <cmath>
#include <cstdlib>

namespace {

const float kRadiansPerDegree = 0.017453292519943295f;
const char kNotANumber[] = "Il valore inserito non è un numero valido.";

// The Move dialog's entry mode (IDC_MOVE_CARTESIAN or IDC_MOVE_POLAR) and the Rotation
// dialog's unit (IDC_ROTATION_DEGREES or IDC_ROTATION_RADIANS), fresh at each opening.
int moveMode = IDC_MOVE_CARTESIAN;
int rotationUnit = IDC_ROTATION_DEGREES;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

void CentreOnScreen(HWND dialog)
{
    RECT rect;
    GetWindowRect(dialog, &rect);
    int x = (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// A value that atof takes but that is no number of the plan ("1e40", "inf", "nan")
// is refused where it was typed; the dialog stays open.
bool Refuse(HWND dialog, int controlId)
{
    ShowMessageBox(dialog, kNotANumber, applicationTitle, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
    SetFocus(GetDlgItem(dialog, controlId));
    SendDlgItemMessageA(dialog, controlId, EM_SETSEL, 0, -1);
    return true;
}

// The text of the control read as a number the way atof reads it is finite.
bool TypedFinite(HWND dialog, int controlId)
{
    char text[64] = "";
    GetDlgItemTextA(dialog, controlId, text, sizeof text);
    return std::isfinite((float)std::strtod(text, nullptr));
}

bool ChooseMode(HWND dialog, int mode)
{
    if (mode == moveMode)
        return true;
    CheckDlgButton(dialog, moveMode, BST_UNCHECKED);
    CheckDlgButton(dialog, mode, BST_CHECKED);
    moveMode = mode;
    bool polar = mode == IDC_MOVE_POLAR;
    SetDlgItemTextA(dialog, IDC_MOVE_FIRST_LABEL, polar ? "Angolo" : "Asse X");
    SetDlgItemTextA(dialog, IDC_MOVE_SECOND_LABEL, polar ? "Distanza" : "Asse Y");
    return true;
}

bool ApplyMove(HWND dialog)
{
    PlanSettings* settings = Settings();
    // A polar angle is degrees, never a length of the plan (which a metric plan would
    // take for metres).
    float first = moveMode == IDC_MOVE_POLAR ? GetDlgItemFloat(dialog, IDC_MOVE_FIRST)
                                             : GetDlgItemLength(dialog, IDC_MOVE_FIRST);
    float second = GetDlgItemLength(dialog, IDC_MOVE_SECOND);
    if (!TypedFinite(dialog, IDC_MOVE_FIRST) || !std::isfinite(first))
        return !Refuse(dialog, IDC_MOVE_FIRST);
    if (!TypedFinite(dialog, IDC_MOVE_SECOND) || !std::isfinite(second))
        return !Refuse(dialog, IDC_MOVE_SECOND);
    TransformRecord move = {};
    if (activeDocument->firstFloor) {
        if (moveMode == IDC_MOVE_CARTESIAN) {
            move.offset[0] = UnitsToPlanLength(first, settings, 0);
            move.offset[2] = -UnitsToPlanLength(second, settings, 0);
        } else {
            float distance = UnitsToPlanLength(second, settings, 0);
            float dx = 0.0f;
            float dz = 0.0f;
            OffsetPointPolar(first * kRadiansPerDegree, distance, &dx, &dz);
            move.offset[0] = dx;
            move.offset[2] = dz;
        }
        if (!std::isfinite(move.offset[0]) || !std::isfinite(move.offset[2]))
            return !Refuse(dialog, IDC_MOVE_SECOND);
        ForEachFloorObject(activeDocument->firstFloor, 1, MoveBy, &move);
        InvalidatePlanView();
    }
    return true;
}

bool ApplyRotation(HWND dialog)
{
    float angle = GetDlgItemFloat(dialog, IDC_ROTATION_ANGLE);
    if (rotationUnit == IDC_ROTATION_DEGREES)
        angle *= kRadiansPerDegree;
    if (!std::isfinite(angle))
        return !Refuse(dialog, IDC_ROTATION_ANGLE);
    if (activeDocument->firstFloor) {
        float box[6];
        ResetExtentBox(box);
        GetAllFloorsExtents3D(activeDocument->firstFloor, 1, box, 0);
        TransformRecord turn = {};
        turn.angle = angle;
        turn.centre[0] = (box[kBoxMaxX] - box[kBoxMinX]) / 2.0f + box[kBoxMinX];
        turn.centre[1] = 0.0f;
        turn.centre[2] = (box[kBoxMaxZ] - box[kBoxMinZ]) / 2.0f + box[kBoxMinZ];
        ForEachFloorObject(activeDocument->firstFloor, 1, Rotate, &turn);
        InvalidatePlanView();
    }
    return true;
}

} // namespace

INT_PTR CALLBACK MoveDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    PlanSettings* settings = Settings();
    if (!settings)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        CentreOnScreen(dialog);
        moveMode = IDC_MOVE_CARTESIAN;
        CheckDlgButton(dialog, IDC_MOVE_CARTESIAN, BST_CHECKED);
        SetDlgItemLength(dialog, IDC_MOVE_FIRST, 0.0f, settings, 1, 0);
        SetDlgItemLength(dialog, IDC_MOVE_SECOND, 0.0f, settings, 0, 0);
        return FALSE;  // the focus was set on the first value
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_MOVE_CARTESIAN:
        case IDC_MOVE_POLAR:
            return ChooseMode(dialog, LOWORD(wParam));
        case IDOK:
            if (ApplyMove(dialog))
                EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK RotationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (!Settings())
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        CentreOnScreen(dialog);
        rotationUnit = IDC_ROTATION_DEGREES;
        CheckDlgButton(dialog, IDC_ROTATION_DEGREES, BST_CHECKED);
        SetDlgItemLong(dialog, IDC_ROTATION_ANGLE, 0, 1);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_ROTATION_DEGREES:
        case IDC_ROTATION_RADIANS:
            if (LOWORD(wParam) != rotationUnit) {
                CheckDlgButton(dialog, rotationUnit, BST_UNCHECKED);
                CheckDlgButton(dialog, LOWORD(wParam), BST_CHECKED);
                rotationUnit = LOWORD(wParam);
            }
            return TRUE;
        case IDOK:
            if (ApplyRotation(dialog))
                EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

// The undo reverses the last drag only: after a move or turn by a dialog it has nothing
// to undo.
static int RunTransformDialog(int templateId, DLGPROC procedure)
{
    const int result = (int)DialogBoxParamA(hInstance, MAKEINTRESOURCEA(templateId), frameWindow, procedure, 0);
    if (result > 0)
        CancelPendingObject();
    return result;
}

int RunMoveDialog(int, int)
{
    return RunTransformDialog(IDD_MOVE, MoveDlgProc);
}

int RunRotationDialog(int)
{
    return RunTransformDialog(IDD_ROTATION, RotationDlgProc);
}
