#include "palette/transform_dialogs.h"
#include "dialogs/dialog_pattern.h"
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
#include "tools/undo.h"
#include <cmath>

namespace {

const double kFullTurn = 6.283185307179586;

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

// An angle typed in degrees or radians, as radians within one turn: reduced in double, so
// that a count of whole turns leaves the same fraction of a turn for every point.
float AngleWithinTurn(double angle, bool degrees)
{
    const double turn = degrees ? 360.0 : kFullTurn;
    return static_cast<float>(std::fmod(angle, turn) / turn * kFullTurn);
}

// The field of the first axis the offset would carry a selected point beyond the plan's
// limits on, or 0.
int FieldBeyondLimits(const TransformRecord& move)
{
    float box[6];
    ResetExtentBox(box);
    GetAllFloorsExtents3D(activeDocument->firstFloor, 1, box, 1);
    if (box[kBoxMinX] > box[kBoxMaxX]) return 0;  // nothing selected
    const auto beyond = [](float low, float high, float offset) {
        return !(low + offset >= -kPlanLimit && high + offset <= kPlanLimit);
    };
    if (beyond(box[kBoxMinX], box[kBoxMaxX], move.offset[0]))
        return moveMode == IDC_MOVE_POLAR ? IDC_MOVE_SECOND : IDC_MOVE_FIRST;
    return beyond(box[kBoxMinZ], box[kBoxMaxZ], move.offset[2]) ? IDC_MOVE_SECOND : 0;
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

// Both values are read whole and checked where they were typed; a refused value or a
// move beyond the plan keeps the dialog open on its field.
bool ApplyMove(HWND dialog)
{
    PlanSettings* settings = Settings();
    const bool polar = moveMode == IDC_MOVE_POLAR;
    float first = 0.0f, second = 0.0f;
    // A polar angle is degrees, never a length of the plan (which a metric plan would
    // take for metres).
    if (!(polar ? ReadNumberField(dialog, IDC_MOVE_FIRST, &first) : ReadLengthField(dialog, IDC_MOVE_FIRST, &first)) ||
        !ReadLengthField(dialog, IDC_MOVE_SECOND, &second))
        return false;
    if (!activeDocument->firstFloor) return true;
    TransformRecord move = {};
    if (polar) {
        OffsetPointPolar(AngleWithinTurn(first, true), UnitsToPlanLength(second, settings, 0), &move.offset[0],
                         &move.offset[2]);
    } else {
        move.offset[0] = UnitsToPlanLength(first, settings, 0);
        move.offset[2] = -UnitsToPlanLength(second, settings, 0);
    }
    if (const int field = FieldBeyondLimits(move)) {
        RejectDialogField(dialog, field, numberOutOfRangeMessage);
        return false;
    }
    ForEachFloorObject(activeDocument->firstFloor, 1, MoveBy, &move);
    InvalidatePlanView();
    return true;
}

bool ApplyRotation(HWND dialog)
{
    float typed = 0.0f;
    if (!ReadNumberField(dialog, IDC_ROTATION_ANGLE, &typed)) return false;
    if (activeDocument->firstFloor) {
        float box[6];
        ResetExtentBox(box);
        GetAllFloorsExtents3D(activeDocument->firstFloor, 1, box, 0);
        TransformRecord turn = {};
        turn.angle = AngleWithinTurn(typed, rotationUnit == IDC_ROTATION_DEGREES);
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
