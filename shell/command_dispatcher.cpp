#include "shell/command_dispatcher.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "shell/colour_commands.h"
#include "shell/companions.h"
#include "shell/document_commands.h"
#include "shell/frame_window.h"
#include "shell/grid_property_sheet.h"
#include "shell/help_commands.h"
#include "shell/keys_and_menus.h"
#include "shell/live_view_commands.h"
#include "shell/measure_commands.h"
#include "shell/message_box.h"
#include "shell/printing.h"
#include "shell/selection_commands.h"
#include "shell/view_commands.h"
#include "dialogs/deck_dialogs.h"
#include "dialogs/dimension_colour_dialogs.h"
#include "dialogs/door_window_dialogs.h"
#include "dialogs/grid_elevation_dialogs.h"
#include "dialogs/lighting_dialog.h"
#include "dialogs/path_fence_gate_dialogs.h"
#include "dialogs/plant_dialogs.h"
#include "dialogs/roof_dialog.h"
#include "dialogs/stair_railing_dialogs.h"
#include "dialogs/storey_units_dialogs.h"
#include "dialogs/terrain_camera_dialogs.h"
#include "dialogs/wall_dialogs.h"
#include "files/copy_buffer.h"
#include "files/dxf_export.h"
#include "files/render_bmp_export.h"
#include "model/colour_maths.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model3d/rebuild_driver.h"
#include "palette/tool_windows.h"
#include "palette/transform_dialogs.h"
#include "planview/output_routing.h"
#include "planview/plan_background.h"
#include "planview/plan_mouse_dispatch.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "render3d/high_quality_render.h"
#include "render3d/render_window.h"
#include "render3d/scene_upkeep.h"
#include "render3d/selvith_window.h"
#include "tools/tool_state.h"
#include "tools/undo.h"
#include <cstdio>

const char* const noPlanQuestion =
    "Non sono aperte finestre di disegno. Per usare questa opzione occorre aprire un disegno "
    "esistente oppure creare un nuovo disegno. Creare un nuovo disegno?";

// The commands that need no open plan.
static bool ServedWithoutPlan(int command)
{
    switch (command) {
    case FrameCommandQuit:
    case FrameCommandNew:
    case FrameCommandOpen:
    case FrameCommandCloseAll:
    case 5221:
    case 5222:
    case 5223:
    case FrameCommandStartModeLoad:
        return true;
    }
    return false;
}

// The commands that edit the plan in a way the undo cannot reverse, or that change the
// selection: after them the last drag's undo would move what that drag did not, so they
// leave nothing to undo. Cut and delete drop it themselves; a dialog's OK drops it where
// the dialog is run.
static bool DisarmsUndo(int command)
{
    switch (command) {
    case 20:                                            // paste
    case 30:                                            // the texts' font
    case 5003:                                          // select all
    case 5005:                                          // the selection made unselectable
    case 5025: case 5205:                               // group
    case 5034: case 5035:                               // half turn
    case 5036: case 5037: case 5038: case 5039:         // nudges
    case 5041: case 5043:                               // curves made again or straightened
    case 5168: case 5169: case 5170: case 5171:         // to the storey above or below
    case 5275: case 5276: case 5277: case 5278: case 5279:   // storeys
    case 5326:                                          // onto the terrain
    case 5335: case 5336: case 5337: case 5338:
    case 5339: case 5340: case 5341: case 5342:         // to another category
        return true;
    }
    return false;
}

// A command given while the text tool is editing first returns to the pointer tool. The
// two buttons are repainted: inverted, neither showed the picture it has.
static void LeaveTextEditing(PlanDocument* document)
{
    if (!highlightedPane || currentToolId != 203 || !FindSelectToolButton(frameToolWindows[0]))
        return;
    RevertToSelectTool(1);
    DeactivateDocumentChild();
    if (document)
        ForEachFloorObject(document->firstFloor, 0, SuspendTextEditors, nullptr);
}

// The plan pane's client rectangle in its logical units.
static RECT LogicalPaneRect()
{
    RECT rect = {0, 0, 0, 0};
    if (!activePlanPane)
        return rect;
    GetClientRect(activePlanPane, &rect);
    HDC dc = GetDC(activePlanPane);
    if (dc) {
        DPtoLP(dc, reinterpret_cast<POINT*>(&rect), 2);
        ReleaseDC(activePlanPane, dc);
    }
    return rect;
}

// Presses a tool button as if clicked: the buttons of a pane are its children in tool
// order, counted from the pane's start number.
static void PressToolButton(HWND pane, int startNumber, int toolId)
{
    if (!pane)
        return;
    HWND button = GetWindow(pane, GW_CHILD);
    for (int number = startNumber; button && number < toolId; ++number)
        button = GetWindow(button, GW_HWNDNEXT);
    if (button)
        PostMessageA(button, WM_LBUTTONDOWN, 0, 0);
}

static int ToolOfButtonCommand(int command)
{
    switch (command) {
    case 5180: return 200;
    case 5181: return 201;
    case 5182: return 7051;
    case 5183: return 7053;
    case 5184: return 7054;
    case 5185: return 7300;
    case 5186: return 202;
    case 5187: return 203;
    case 5188: return 400;
    case 5191: return 205;
    case 5197: return 204;
    }
    return 0;
}

// A plan whose start-mode load failed has nothing of the user's to print.
static bool IsUnreadStartPlan()
{
    return unreadStartPlanWindow && activePlanPane && IsWindow(unreadStartPlanWindow) &&
           GetParent(activePlanPane) == unreadStartPlanWindow;
}

static void ExportDxfCommand(HWND frame, bool threeD)
{
    if (!activeDocument)
        return;
    PrepareDxfFileDialog(frame);
    std::snprintf(fileNameBuffer, FileNameBufferSize, "%s", "Senza nome.DXF");
    int chosen = threeD ? Choose3dDxfExportFile(frame, fileNameBuffer, fileTitleBuffer)
                        : ChooseDxfExportFile(frame, fileNameBuffer, fileTitleBuffer);
    if (!chosen)
        return;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    uint8_t& flag = threeD ? exportDxf3D : exportDxf2D;
    flag = 1;
    ExportDxf(DxfExportKind, fileNameBuffer);
    flag = 0;
    SetCursor(previous);
    InvalidatePlanView();
}

static void ExportBmpCommand(HWND frame)
{
    ChooseImageFileToOpen(frame);
    std::snprintf(fileNameBuffer, FileNameBufferSize, "%s", "Senza nome.BMP");
    if (!ChooseBmpExportFile(frame, fileNameBuffer, fileTitleBuffer))
        return;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    ExportRenderBmp(fileNameBuffer);
    SetCursor(previous);
}

static void ToggleByte(uint8_t* value)
{
    *value = *value ? 0 : 1;
}

static void InvalidateWindow(HWND window)
{
    if (window)
        InvalidateRect(window, nullptr, TRUE);
}

uint32_t HandleFrameCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!window)
        return 0;
    int command = LOWORD(wParam);

    if ((!activeDocument || !activePlanPane) && !ServedWithoutPlan(command)) {
        if (ShowMessageBox(nullptr, noPlanQuestion, applicationTitle,
                           MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) == IDYES)
            PostMessageA(window, WM_COMMAND, FrameCommandNew, 0);
        return 0;
    }

    PlanDocument* document = activeDocument;
    PlanSettings* settings = document ? document->settings : nullptr;
    RECT paneRect = LogicalPaneRect();
    LeaveTextEditing(document);
    if (DisarmsUndo(command))
        CancelPendingObject();

    bool modifies = false;
    switch (command) {
    case 0:
        return 0;

    // Documents and files.
    case FrameCommandQuit:
        SendMessageA(window, WM_CLOSE, 0, 0);
        break;
    case FrameCommandNew:
        NewDocumentCommand(window);
        break;
    case FrameCommandOpen:
        OpenDocumentCommand(window);
        break;
    case FrameCommandClose:
        CloseDocumentCommand();
        break;
    case FrameCommandSave:
        SaveDocumentCommand(window);
        break;
    case FrameCommandSaveAs:
        SaveDocumentAsCommand(window);
        break;
    case FrameCommandCloseAll:
        CloseAllDocumentsCommand();
        break;
    case FrameCommandStartModeLoad:
        StartModeLoadCommand(window);
        break;
    case FrameCommandSaveTemporaryCopy:
        SaveTemporaryCopyCommand(window);
        break;
    case 5095:
        ExportDxfCommand(window, false);
        break;
    case 5211:
        ExportDxfCommand(window, true);
        break;
    case 5245:
        ExportBmpCommand(window);
        break;

    // Printing.
    case FrameCommandPrintSetup:
        RunPrintSetup(hInstance, window);
        InvalidatePlanView();
        break;
    case FrameCommandPrintFitToPage:
        if (IsUnreadStartPlan())
            break;
        PrintPlanFitToPage(hInstance, window);
        if (activePlanPane) {
            BringWindowToTop(activePlanPane);
            // The measurement bar stays above the pane, whose edge it overlaps by a row, as
            // a repaint draws it.
            if (activeDocument && activeDocument->measurementStrip)
                SetWindowPos(activeDocument->measurementStrip, HWND_TOP, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            SetFocus(activePlanPane);
        }
        break;
    case FrameCommandPrintToScale:
        if (IsUnreadStartPlan())
            break;
        PrintPlanToScale(hInstance, window);
        break;

    // Editing the selection.
    case 16:
        UndoLastEdit();
        break;
    case 18:
        CutSelectionCommand(true);
        modifies = true;
        break;
    case 19:
        CopySelection();
        break;
    case 20:
        PasteSelectionCommand(window);
        modifies = true;
        break;
    case 21:
        CutSelectionCommand(false);
        modifies = true;
        break;
    case 30:
        TextFontCommand(window);
        modifies = true;
        break;
    case 5003:
        SelectAllCommand();
        break;
    case 5004:
    case 5005:
        if (document)
            SetSelectionAllFloors(document->firstFloor, static_cast<uint8_t>(command - 5000), 1);
        break;
    case 5025:
    case 5205:
        GroupSelectionCommand();
        break;
    case 5034:
    case 5035:
        HalfTurnSelectionCommand();
        modifies = true;
        break;
    case 5036:
    case 5037:
    case 5038:
    case 5039:
        SelectedObjectsOperationCommand(command, true);
        modifies = true;
        break;
    case 5041:
    case 5043:
        SelectedObjectsOperationCommand(command, false);
        break;
    case 5168:
    case 5169:
    case 5170:
    case 5171:
        MoveSelectionToStoreyCommand(command);
        modifies = true;
        break;
    case 5199:
        DeleteSelectionCommand();
        modifies = true;
        break;
    case 5215:
        RunMoveDialog(0, 0);
        modifies = true;
        break;
    case 5216:
        RunRotationDialog(0);
        modifies = true;
        break;
    case 5271:
        ObjectElevationCommand();
        modifies = true;
        break;
    case 5326:
        FitSelectionToTerrainCommand();
        modifies = true;
        break;
    case 5327:
        WorkingElevationCommand();
        modifies = true;
        break;
    case 5335: case 5336: case 5337: case 5338:
    case 5339: case 5340: case 5341: case 5342:
        MoveSelectionToCategoryCommand(command);
        break;

    // The plan's settings and its view.
    case 5002:
        PlanSizeCommand();
        modifies = true;
        break;
    case 5010:
        DocumentToolBarCommand();
        break;
    case 5011:
        if (settings && RunUnitsDialog(settings)) {
            InvalidatePlanView();
            modifies = true;
        }
        break;
    case 5018:
        if (settings)
            ToggleByte(&settings->centreDrawing);
        break;
    case 5028:
    case 5262:
        PlanZoomCommand(command);
        break;
    case 5040:
        if (settings)
            RunDistancePrecisionDialog(settings);
        break;
    case 5044:
        if (settings) {
            ToggleByte(&settings->gridVisible);
            InvalidateWindow(toolBarWindow);
            InvalidatePlanView();
        }
        modifies = true;
        break;
    case 5045:
        if (settings) {
            ToggleByte(&settings->snapToGrid);
            if (settings->toolBarFlag)
                InvalidateWindow(toolBarWindow);
        }
        modifies = true;
        break;
    case 5046:
        ShowGridPropertySheet();
        modifies = true;
        break;
    case 5054: case 5055: case 5056:
        StyleChoiceCommand(command);
        break;
    case 5058: case 5059: case 5060: case 5061: case 5062: case 5063: case 5064:
        DisplayFormatCommand(command);
        break;
    case 5086: case 5087: case 5088: case 5089: case 5090: case 5091: case 5092:
        EndMarkCommand(command);
        break;
    case 5100: case 5101: case 5102: case 5103:
        if (settings) {
            settings->viewTitleMode = static_cast<uint16_t>(command);
            UpdateDocumentTitle(settings);
        }
        break;
    case 5149:
    case 5150:
    case 5155:
    case 5162:
    case 5179:
        CameraPresetCommand(command);
        break;
    case 5156: case 5157: case 5158:
        CeilingHeightCommand(command);
        modifies = true;
        break;
    case 5163: case 5164: case 5165: case 5166: case 5167:
        DisplayModeCommand(command);
        break;
    case 5202:
        InvalidatePlanView();
        break;
    case 5204:
        VideoFolderCommand(window);
        break;
    case 5206:
        if (settings && RunPlanZoomDialog(settings))
            InvalidatePlanView();
        modifies = true;
        break;
    case 5207:
        if (settings && RunPlanScaleDialog(settings))
            InvalidatePlanView();
        modifies = true;
        break;
    case 5263:
    case 5264:
        if (settings) {
            settings->gridStyle = command == 5263 ? 2 : 1;
            InvalidatePlanView();
        }
        modifies = true;
        break;
    case 5267: case 5268: case 5269:
        if (settings)
            settings->moveSpeed3D = static_cast<uint16_t>(command - 5261);
        modifies = true;
        break;
    case 5274:
        if (document) {
            ToggleByte(&document->measuringLineShown);
            InvalidateWindow(document->measurementStrip);
            InvalidatePlanView();
        }
        break;
    case 5275: case 5276: case 5277: case 5278: case 5279:
        StoreyCommand(command);
        modifies = true;
        break;
    case 5280: case 5281: case 5282:
        TracingImageCommand(window, command);
        modifies = true;
        break;
    case 5289:
        if (settings) {
            ToggleByte(&settings->labelDrawing);
            InvalidatePlanView();
        }
        modifies = true;
        break;
    case 5290:
        if (settings) {
            ToggleByte(&settings->dimensionDrawing);
            InvalidatePlanView();
        }
        modifies = true;
        break;
    case 5343: case 5344: case 5345: case 5346: case 5347: case 5348: case 5349: case 5350:
        WorkOnCategoryCommand(command);
        break;

    // Colours.
    case 5019:
    case 5030:
    case 5265:
    case 5297:
    case 5298:
        PlanColourCommand(window, command);
        break;
    case 5134:
        PresetColourCommand(window);
        break;
    case 5266:
        ResetColoursCommand();
        break;

    // Property dialogs.
    case 5172:
        if (settings)
            RunWallDialog(settings);
        break;
    case 5173:
        if (settings)
            RunDoorDialog(settings);
        break;
    case 5174:
        if (settings)
            RunWindowDialog(settings);
        break;
    case 5175:
        if (settings)
            RunRoofDialog(settings);
        break;
    case 5176:
        if (settings)
            RunPlanColoursDialog(settings);
        break;
    case 5177:
        if (settings)
            RunDimensionDialog(settings);
        break;
    case 5178:
        if (settings)
            RunFloorsDialog(settings);
        InvalidatePlanView();
        RebuildAll3D();
        modifies = true;
        break;
    case 5232:
        if (settings)
            RunPathDialog(settings);
        break;
    case 5233:
        if (settings)
            RunFenceDialog(settings);
        break;
    case 5234:
        if (settings)
            RunGateDialog(settings);
        break;
    case 5235:
        if (settings)
            RunAreaKindDialog(settings);
        break;
    case 5236:
        if (settings)
            RunPlantGrowthDialog(settings);
        modifies = true;
        break;
    case 5237:
        if (settings)
            RunPlantingAgeDialog(settings);
        modifies = true;
        break;
    case 5239:
        if (settings)
            RunViewpointElevationDialog(settings);
        RedrawRenderWindow();
        modifies = true;
        break;
    case 5240:
        if (settings)
            RunAerialAltitudeDialog(settings);
        RedrawRenderWindow();
        modifies = true;
        break;
    case 5253:
        if (settings) {
            RunLightingDialog(settings);
            UpdateSunDirection();
            RebuildAll3D();
            RedrawRenderWindow();
        }
        modifies = true;
        break;
    case 5295:
        if (settings)
            RunStairsDialog(settings);
        modifies = true;
        break;
    case 5296:
        if (settings)
            RunRailingDialog(settings);
        modifies = true;
        break;
    case 5299:
        RunRoofElevationDialog();
        modifies = true;
        break;
    case 5310:
        if (settings)
            RunDeckHeightDialog(settings);
        break;
    case 5323:
        RunRoofSectionElevationDialog();
        modifies = true;
        break;

    // The 3D view's settings.
    case 5283:
    case 5284:
        if (settings && renderWindow) {
            settings->frameValue = command == 5283 ? 1 : 0;
            RedrawRenderWindow();
        }
        modifies = true;
        break;
    case 5286:
        if (settings) {
            ToggleByte(&settings->renderQuality);
            InvalidateWindow(highlightedPane);
            RedrawFinalRender();
        }
        modifies = true;
        break;
    case 5291: case 5292: case 5293: case 5294: {
        static const uint32_t passes[4] = {4, 8, 15, 24};
        if (settings)
            settings->antiAliasPasses = passes[command - 5291];
        SendMessageA(window, WM_COMMAND, FrameCommandFinalRender, 0);
        modifies = true;
        break;
    }
    case 5322:
        if (settings) {
            settings->hideDoors3D = 1;
            RebuildAll3D();
        }
        modifies = true;
        break;
    case 5333:
    case 5334:
        if (settings) {
            settings->renderValue1506 = command == 5333 ? 0 : 5;
            InvalidatePlanView();
        }
        break;
    case 5220:
        ToggleLiveViewCommand(window);
        break;
    case 5151: case 5152: case 5153: case 5154:
    case 5189: case 5190:
    case 5257: case 5258: case 5259: case 5260:
    case 5270:
    case 5316: case 5317: case 5318: case 5319: case 5320: case 5321:
    case 5351: case 5352: case 5353: case 5354:
        LiveViewCommand(window, command);
        break;
    case 5241:
    case 5285:
    case 5287:
    case 5288:
    case 5325:
        LiveViewCommand(window, command);
        modifies = true;
        break;

    // The palette and the library side bar.
    case 5180: case 5181: case 5182: case 5183: case 5184: case 5185: case 5186: case 5187:
    case 5191: case 5197:
        PressToolButton(frameToolWindows[0], 198, ToolOfButtonCommand(command));
        break;
    case 5188:
        // The 3D pane's buttons count from 398 up to the walk tool 400.
        PressToolButton(selvithToolPanes[0], 398, ToolOfButtonCommand(command));
        break;
    case 5246: case 5247: case 5248: case 5249: case 5250: case 5251: case 5332:
        SideBarModeCommand(command);
        break;

    // Areas.
    case 5300: case 5301: case 5302:
        StoreyAreaCommand(command, paneRect);
        break;
    case 5304: case 5305: case 5306: case 5309: case 5330: case 5331:
        ObjectAreaCommand(command, reinterpret_cast<PlanObject*>(lParam));
        break;

    // Companions.
    case 5000:
        ImportObjectCommand(window);
        break;
    case 5231:
        StartFurnitureEditor(window);
        break;
    case 5272:
        StartScaleModelTool(window);
        break;
    case 5303:
        StartEstimateSpreadsheet(window);
        break;

    // Help and information windows.
    case 5111: case 5112: case 5200: case 5201: case 5218:
        HelpCommand(window, command);
        break;
    case 5113:
        AboutCommand(window);
        break;
    case 5356: case 5357: case 5358: case 5359: case 5360:
        ZoneMapCommand(window, command);
        break;

    // MDI arrangement, left to the default frame processing as well.
    case 5193:
    case 5194:
    case 5195:
    case 5196:
        if (mdiClientWindow) {
            if (command == 5193)
                SendMessageA(mdiClientWindow, WM_MDICASCADE, 0, 0);
            else if (command == 5194)
                SendMessageA(mdiClientWindow, WM_MDITILE, MDITILE_VERTICAL, 0);
            else if (command == 5195)
                SendMessageA(mdiClientWindow, WM_MDIICONARRANGE, 0, 0);
            else
                SendMessageA(mdiClientWindow, WM_MDITILE, MDITILE_HORIZONTAL, 0);
        }
        return 0;

    // Accepted and ignored.
    case 22: case 40: case 41: case 42:
    case 5001: case 5006: case 5007: case 5008: case 5138:
    case 5012: case 5014: case 5016: case 5021: case 5022: case 5027: case 5105: case 5106:
    case 5137: case 5140: case 5141: case 5142: case 5143: case 5144: case 5147:
        IgnoreCommand();
        break;
    case 5242: case 5243: case 5244: case 5355:
        break;

    default: {
        // What the frame does not serve goes to the active document window unchanged.
        HWND child = mdiClientWindow
            ? reinterpret_cast<HWND>(SendMessageA(mdiClientWindow, WM_MDIGETACTIVE, 0, 0))
            : nullptr;
        if (child && IsWindow(child))
            SendMessageA(child, WM_COMMAND, wParam, lParam);
        return 0;
    }
    }

    if (modifies && activeDocument && activeDocument->settings)
        activeDocument->settings->modified = 1;
    return 1;
}
