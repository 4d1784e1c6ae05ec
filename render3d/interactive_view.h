#pragma once

// The interactive drawing of the live 3D view from an OpenGL display list of the scene.

struct PlanSettings;
struct ScenePolygon;

// Drops the compiled scene display list so that the next interactive draw compiles the
// scene again; called whenever scene polygons are added or removed.
void DeleteSceneDisplayList();
// The start of a navigation, a pick or a redraw: field of view, viewport, clear colour
// and projection of the render window.
void SetupViewport3D();
// One frame of sky, camera, ground and earth by the settings' camera.
void DrawScene3D(const PlanSettings* settings);
// The scene polygons through the scene display list.
void SetPolygonDrawMode(ScenePolygon* polygons);
// Flush and swap of the render window's buffers.
void SwapRenderBuffers();
