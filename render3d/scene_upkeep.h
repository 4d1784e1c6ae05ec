#pragma once

// Frees both 3D polygon lists and the scene display list.
void FreeScenePolygons();
// Invalidates and redraws the 3D render window when it exists.
void RedrawRenderWindow();
// The sky's texture offsets after a camera change (the three values are not read).
void UpdateSkyForCamera(float x, float y, float z);
// The camera-change notification that does nothing.
void IgnoreCameraChange(float x, float y, float z);
