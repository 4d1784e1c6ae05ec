#include "shell/selection_commands.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "shell/font_dialogs.h"
#include "shell/measurement_bar.h"
#include "shell/message_box.h"
#include "shell/selection_elevation.h"
#include "dialogs/common_values.h"
#include "dialogs/grid_elevation_dialogs.h"
#include "dialogs/terrain_camera_dialogs.h"
#include "files/copy_buffer.h"
#include "model/object_copies.h"
#include "model/object_edit.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model/wall_openings.h"
#include "model3d/wall_rebuild.h"
#include "planview/plan_background.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "tools/undo.h"
#include <cstring>

const char* const wallsOnTerrainMessage =
    "I muri non possono essere riposizionati sul terreno. L'elevazione dei muri selezionati non sarà "
    "modificata.";

static PlanDocument* DocumentWithSettings()
{
    PlanDocument* document = activeDocument;
    return document && document->settings ? document : nullptr;
}

void ShowWorkingElevation(PlanDocument* document)
{
    if (!document || !document->settings)
        return;
    CommonValue value = document->settings->workingElevationValue;
    GetWorkingElevationValue(document->settings, &value);
    ShowElevationPaneValue(&value);
}

void CutSelectionCommand(bool copyFirst)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    // A cut whose copy failed deletes nothing.
    if (copyFirst && !CopySelection())
        return;
    ForEachFloorSelection(document->firstFloor, kRemoveCutObjectCode, nullptr);
    ForEachFloorObject(document->firstFloor, 0, RemoveCutOpening, document->settings);
    InvalidatePlanView();
    CancelPendingObject();
}

void PasteSelectionCommand(HWND frame)
{
    if (!DocumentWithSettings())
        return;
    if (GetCameraPresetCommand() != ViewTop && frame)
        SendMessageA(frame, WM_COMMAND, ViewTop, 0);
    PasteSelection();
}

// Width, depth and height of a 3D box; zeros when it stayed at its start values (nothing
// selected) or reaches the coordinate limit.
static void BoxSize(const float* box, float* width, float* depth, float* height)
{
    *width = *depth = *height = 0.0f;
    for (int axis = 0; axis < 3; ++axis) {
        if (box[axis] > box[axis + 3] || box[axis] <= -30000.0f || box[axis + 3] >= 30000.0f)
            return;
    }
    *height = box[3] - box[0];
    *width = box[4] - box[1];
    *depth = box[5] - box[2];
}

void SelectAllCommand()
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    PlanSettings* settings = document->settings;
    if (GetCameraPresetCommand() == ViewTop)
        DrawSelectionHandlesAllFloors(document->firstFloor, kSelectSelect, 1, settings->visibleCategories);
    else if (document->currentFloor)
        DrawFloorSelectionHandles(document->currentFloor, kSelectSelect, 1, settings->visibleCategories);

    float box[6];
    ResetExtentBox(box);
    GetAllFloorsBoxExtents3D(document->firstFloor, 1, box, 0);
    float width, depth, height;
    BoxSize(box, &width, &depth, &height);
    // Zoomed, as the press handling gives sizes: the readout takes the zoom off again.
    ShowSizeReadout(PlanLengthToUnits(width, settings, 1), PlanLengthToUnits(depth, settings, 1),
                    PlanLengthToUnits(height, settings, 1));
}

void GroupSelectionCommand()
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    groupNestingCount = 0;
    groupNestingTooDeep = 0;
    ForEachFloorObject(document->firstFloor, 1, CountGroups, nullptr);
    if (groupNestingTooDeep) {
        MessageBeep(0);
        return;
    }
    groupUnderConstruction = nullptr;
    groupNestingCount = 0;
    ForEachFloorSelection(document->firstFloor, kCountSelectedCode, nullptr);
    if (groupNestingCount >= 2)
        ForEachFloorSelection(document->firstFloor, kGroupSelectionCode, nullptr);
    InvalidatePlanView();
}

void HalfTurnSelectionCommand()
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    PlanFloor* first = document->firstFloor;
    ForEachFloorObject(first, 1, SelectWhole, nullptr);
    float box[6];
    ResetExtentBox(box);
    GetAllFloorsExtents3D(first, 1, box, 0);
    if (box[0] > box[3] || box[1] > box[4] || box[2] > box[5])
        return; // nothing selected: nothing to turn
    TransformRecord turn;
    std::memset(&turn, 0, sizeof turn);
    turn.angle = 3.14159265f;
    float centreHeight = (box[0] + box[3]) / 2.0f;
    float centreX = (box[1] + box[4]) / 2.0f;
    float centreZ = (box[2] + box[5]) / 2.0f;
    // The turn is in the plane the view shows; the coordinate across it stays 0.
    switch (document->settings->viewPlane) {
    case 1: turn.centre[0] = centreX; turn.centre[1] = centreHeight; break;
    case 3: turn.centre[1] = centreHeight; turn.centre[2] = centreZ; break;
    default: turn.centre[0] = centreX; turn.centre[2] = centreZ; break;
    }
    ForEachFloorObject(first, 1, Rotate, &turn);
    RebuildAllWalls(first);
    FitAllWallOpenings(first);
    InvalidatePlanView();
}

void SelectedObjectsOperationCommand(int command, bool withSettings)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    ForEachFloorObject(document->firstFloor, 1, static_cast<uint32_t>(command),
                       withSettings ? document->settings : nullptr);
    InvalidatePlanView();
}

void DeleteSelectionCommand()
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    ForEachFloorSelection(document->firstFloor, kDeleteSelectedObjectCode, nullptr);
    // Doors and windows selected on their walls go too, as with the Delete key.
    ForEachFloorObject(document->firstFloor, 0, DeleteOpening, document->settings);
    InvalidatePlanView();
    CancelPendingObject();
}

void MoveSelectionToStoreyCommand(int command)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document || !document->currentFloor)
        return;
    if (!FindAdjacentStorey(static_cast<uint32_t>(command))) {
        ShowMessageBox(nullptr, NoAdjacentStoreyMessage(static_cast<uint32_t>(command)), applicationTitle,
                       MB_TASKMODAL | MB_ICONINFORMATION);
        return;
    }
    ForEachSelectedObjectOnFloor(document->currentFloor, static_cast<uint32_t>(command), document->settings);
    InvalidatePlanView();
}

void FitSelectionToTerrainCommand()
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    wallTerrainRefused = 0;
    ForEachFloorSelection(document->firstFloor, kFitToTerrainCode, nullptr);
    if (wallTerrainRefused)
        ShowMessageBox(nullptr, wallsOnTerrainMessage, applicationTitle, MB_TASKMODAL | MB_ICONINFORMATION);
    wallTerrainRefused = 0;
    InvalidatePlanView();
}

void ObjectElevationCommand()
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    PlanSettings* settings = document->settings;
    const CommonValue& last = settings->workingElevationValue;
    objectElevationValue = last.same ? last.value : 0.0f;
    objectElevationState = 0;
    if (RunObjectElevationDialog()) {
        if (objectElevationState == 1) {
            FitSelectionToTerrainCommand();
        } else {
            selectionElevationFeet = objectElevationValue / 12.0f;
            ForEachFloorSelection(document->firstFloor, kSetElevationCode, nullptr);
        }
        RefreshWorkingElevationValue(document);
    }
    InvalidatePlanView();
}

void WorkingElevationCommand()
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    if (!RunWorkingElevationDialog())
        return;
    ForEachFloorSelection(document->firstFloor, kMergeSelectedPointValuesCode, document->settings);
    ShowWorkingElevation(document);
    InvalidatePlanView();
}

void MoveSelectionToCategoryCommand(int command)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    ForEachFloorSelection(document->firstFloor, static_cast<uint32_t>(command), nullptr);
    SetSelectionAllFloors(document->firstFloor, kSelectDeselect, 1);
    InvalidatePlanView();
}

void TextFontCommand(HWND frame)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    if (!ChooseTextFont(frame))
        return;
    ForEachFloorObject(document->firstFloor, 1, SetTextFont, &textLogFont);
    DeactivateDocumentChild();
    ForEachFloorObject(document->firstFloor, 0, SuspendTextEditors, nullptr);
    InvalidatePlanView();
}
