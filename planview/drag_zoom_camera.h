#pragma once
// The mouse-held interactions that change the view rather than the plan: zooming the
// plan by dragging up or down, turning and moving the 3D viewpoint on the plan, and
// walking or flying inside the live 3D view. Each runs its own loop while a button is
// held, polling the input source and redrawing directly; no message is dispatched
// meanwhile. All need the active document with its settings and plan pane, and the
// storeys "First Floor" and "Third Floor"; the camera routines need the render window.
#include <windows.h>
#include <stdint.h>

// The walk eye height (96 at start) and the aerial distance (2000 at start) are the 3D
// view's (render3d/interactive_view); the direction the right button moves them in is
// flipped at each release of it.
extern float walkEyeHeight;
extern float orbitDistance;
extern uint8_t aerialToggle;
// 1 while NavigateIn3DView runs.
extern uint8_t navigating3D;

// Zoom by vertical mouse movement until the button is released: 100 units up add 1.0.
// In the top view the pane is redrawn directly (zoom within 0.24 .. 5.01); in the
// other views through an off-screen picture (0.04 .. 3.01, or a camera move with
// perspective). Never beyond the zoom that the plan's extents allow.
void DragZoomView();
struct PlanSettings;
// One frame of the live 3D view by the settings' camera: the sky's offsets first when
// asked and the sky follows the camera. Needs the render window.
void DrawFrame3D(PlanSettings* settings, bool sky);
// The viewpoint's heading follows the cursor (0 with the cursor straight above it).
void AimCameraDrag();
// The viewpoint follows the cursor.
void MoveCameraDrag();
// Walk (camera mode 1) or fly (mode 2) by mouse in the render window.
void NavigateIn3DView();
