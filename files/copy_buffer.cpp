#include "files/copy_buffer.h"
#include "files/plan_file.h"
#include "files/record_stream.h"
#include "model/deck_parts.h"
#include "model/generated_children.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/wall_openings.h"
#include "model3d/fences.h"
#include "model3d/railings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/stairs.h"
#include "model3d/wall_rebuild.h"
#include "planview/output_routing.h"
#include "planview/plan_mouse_dispatch.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "shell/message_box.h"
#include "tools/roof_tool.h"
#include <cstdlib>
#include <cstring>

char copySourceFloorName[256] = "";
PlanFloor* copySourceFloor = nullptr;
float pasteOffset = 36.0f;
HENHMETAFILE copyPicture = nullptr;
float copyExtents[4] = {0, 0, 0, 0};
uint8_t renderingCopyPicture = 0;

namespace {

const float kPasteStep = 36.0f;
const char kPasteFloorNotice[] =
    "Gli oggetti saranno incollati sullo stesso piano dal quale sono stati copiati. Per copiare e "
    "incollare da un piano all'altro, usare l'opzione Copia nel piano.";
const char kCopyFailedText[] = "Memoria insufficiente: gli oggetti selezionati non sono stati copiati.";

void ForgetCopyBlock()
{
    std::free(streamBuffer);
    streamBuffer = nullptr;
    streamBufferLength = 0;
}

void EndMemoryMode()
{
    streamMemoryMode = 0;
    streamPosition = 0;
}

// The copied objects drawn as the printer would draw them, at scale 1, into a metafile.
void DrawCopyPicture(PlanDocument* document)
{
    if (copyPicture)
        DeleteEnhMetaFile(copyPicture);
    copyPicture = nullptr;
    std::memset(copyExtents, 0, sizeof copyExtents);
    if (!document->firstFloor)
        return;
    ResetExtentRect(copyExtents);
    GetAllFloorsExtents2D(document->firstFloor, 1, copyExtents, 0, 0);
    HDC metafile = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    if (!metafile)
        return;
    const PlanSettings* settings = document->settings;
    RECT clip = {static_cast<LONG>(settings->extentLeft + 0.5f), static_cast<LONG>(settings->extentTop + 0.5f),
                 static_cast<LONG>(settings->extentRight + 0.5f), static_cast<LONG>(settings->extentBottom + 0.5f)};
    const float savedX = printScaleX, savedY = printScaleY;
    planOutputMode = 1;
    planDC = metafile;
    printScaleX = printScaleY = 1.0f;
    renderingCopyPicture = 1;
    SelectObject(metafile, GetStockObject(NULL_BRUSH));
    SetBkMode(metafile, TRANSPARENT);
    RedrawPlan(metafile, document->firstFloor, &clip, DrawSelectedOnly, nullptr);
    renderingCopyPicture = 0;
    planDC = nullptr;
    planOutputMode = 0;
    printScaleX = savedX;
    printScaleY = savedY;
    copyPicture = CloseEnhMetaFile(metafile);
}

void RebuildPasted(PlanFloor* firstFloor)
{
    RebuildAllWalls(firstFloor);
    FitAllWallOpenings(firstFloor);
    RebuildAllPaths(firstFloor);
    RebuildAllFences(firstFloor);
    RebuildAllPicketFences(firstFloor);
    RebuildAllRoofs(firstFloor);
    RebuildAllStairs(firstFloor);
    RebuildAllRailings(firstFloor);
    RebuildAllDecks(firstFloor);
    RebuildAllFreehandRoofs(firstFloor);
    RebuildAllFloorSlabs(firstFloor);
    RebuildAllImageObjects(firstFloor);
}

void FreeEmptyGroups(PlanFloor* floor)
{
    PlanObject* object = floor ? floor->firstObject : nullptr;
    while (object) {
        PlanObject* next = object->next;
        if (object->type == ObjGroup && !object->firstChild)
            FreeObject(object);
        object = next;
    }
}

} // namespace

bool CopySelection()
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return false;
    pasteOffset = kPasteStep;
    ForgetCopyBlock();
    copySourceFloor = document->currentFloor;
    copySourceFloorName[0] = '\0';
    if (copySourceFloor)
        std::strncpy(copySourceFloorName, copySourceFloor->name, sizeof copySourceFloorName - 1);
    planFileVersionRead = PlanVersion10410;
    planFileVersionWritten = PlanVersion10410;
    planFileHeaderWord = kPlanHeaderWord;
    streamMemoryMode = 1;
    streamPosition = 0;
    ResetStreamFlags();
    ForEachFloorObject(document->firstFloor, 1, SelectWhole, document->settings);
    WriteAllFloors();
    if (streamWriteFailed) {
        // A copy that lost records is no copy: nothing of it may be pasted.
        ForgetCopyBlock();
        copySourceFloor = nullptr;
        EndMemoryMode();
        ShowMessageBox(nullptr, kCopyFailedText, applicationTitle, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
        return false;
    }
    DrawCopyPicture(document);
    EndMemoryMode();
    return true;
}

void PasteSelection()
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings || !streamBuffer || !copySourceFloor || !activePlanPane)
        return;
    // Only the name is trusted: the floor copied from may belong to a plan closed since.
    PlanFloor* source = FindFloorByName(copySourceFloorName);
    PlanFloor* previousCurrent = document->currentFloor;
    uint8_t shown = 0, active = 0;
    if (source) {
        shown = source->shown;
        active = source->active;
        source->shown = 1;
        source->active = 1;
        if (source != document->currentFloor)
            ShowMessageBox(nullptr, kPasteFloorNotice, applicationTitle, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
        document->currentFloor = source;
    }
    planFileVersionRead = PlanVersion10410;
    planFileHeaderWord = kPlanHeaderWord;
    streamMemoryMode = 1;
    streamPosition = 0;
    ResetStreamFlags();
    SetSelectionAllFloors(document->firstFloor, kSelectDeselect, 1);
    ReadPlanBody();
    RebuildPasted(document->firstFloor);
    EndMemoryMode();
    FreeEmptyGroups(document->currentFloor);
    if (frameWindow && GetCameraPresetCommand() != ViewTop)
        SendMessageA(frameWindow, WM_COMMAND, ViewTop, 0);
    RevertToSelectTool(1);
    // Moved while the source floor is still shown: the walkers pass hidden floors by.
    TransformRecord move = {};
    move.offset[0] = pasteOffset;
    move.offset[2] = pasteOffset;
    ForEachFloorObject(document->firstFloor, 1, MoveBy, &move);
    pasteOffset += kPasteStep;
    if (source) {
        source->shown = shown;
        source->active = active;
        document->currentFloor = previousCurrent;
        // The copies stay on a storey the user no longer works on: unselected, so that
        // no edit of the current storey reaches them.
        if (!active)
            SetFloorSelection(source, kSelectDeselect, 0);
    }
    RebuildAll3D();
    InvalidatePlanView();
}
