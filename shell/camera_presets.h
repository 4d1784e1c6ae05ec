#pragma once

// View commands named by the camera presets.
enum ViewCode {
    ViewTop = 5149,
    ViewLeft = 5151,
    ViewRight = 5152,
    ViewFront = 5153,
    ViewBack = 5154,
    ViewAerialPreset = 5155,
    ViewOther = 5162,
    ViewPerspectivePreset = 5179,
};

// The view command that matches the current camera; 0 without an active document with
// settings. Changes nothing.
int GetCameraPresetCommand();
// Puts the camera back to the top view; returns 5149 (0 without an active document with
// settings) and sets *changed when the camera was not already in the top view.
int ResetCameraToTopView(unsigned char* changed);
// Working elevation := base of the current floor; the camera's height back to 0.
void ResetWorkingElevation();
// Re-centres the plan in its pane and resets the working elevation.
void ResetWorkingElevationAndRedraw();
