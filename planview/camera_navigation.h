#pragma once

// Walking (camera mode 1) or flying (mode 2) by mouse inside the live 3D view: loops
// while a button is down, moves the camera of the settings and redraws the view frame
// by frame.
void NavigateIn3DView();
