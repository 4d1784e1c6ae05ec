#pragma once
#include <windows.h>

// Frame commands that change how the active plan is shown: zoom, camera presets, storeys,
// the tracing image, the 3D display settings. Each needs an active document with
// settings and does nothing without one.

// 5028 (100 %) and 5262 (reset plan view, 60 %).
void PlanZoomCommand(int command);
// 5002: the plan size dialog; on OK the zoom is reset and the plan border centred.
void PlanSizeCommand();
// 5149, 5150, 5155, 5162, 5179: camera presets.
void CameraPresetCommand(int command);
// 5275 to 5279: the storey to work on and the storeys shown.
void StoreyCommand(int command);
// 5156 to 5158: the ceiling height of storey 1, 2, 3.
void CeilingHeightCommand(int command);
// 5280 to 5282: load, show or hide, and resize the tracing image.
void TracingImageCommand(HWND frame, int command);
// 5054 to 5056, 5058 to 5064, 5086 to 5092: the style, display format and dimension
// end-mark choices applied to every object.
void StyleChoiceCommand(int command);
void DisplayFormatCommand(int command);
void EndMarkCommand(int command);
// 5163 to 5167: the 3D display mode 1 to 5.
void DisplayModeCommand(int command);
// 5010: shows or hides the document's tool bar.
void DocumentToolBarCommand();
// 5204: runs the video hook in the preferences' video folder.
void VideoFolderCommand(HWND frame);
// 5220: shows or hides the live 3D view.
void ToggleLiveViewCommand(HWND frame);
// 5343 to 5350: the category tab to work on.
void WorkOnCategoryCommand(int command);
// 5246 to 5251, 5332: what the library side bar shows.
void SideBarModeCommand(int command);

extern const char* const fewColoursMessage;
