#pragma once

// The interactive drawing of the live 3D view from an OpenGL display list of the scene.

// Drops the compiled scene display list so that the next interactive draw compiles the
// scene again; called whenever scene polygons are added or removed.
void DeleteSceneDisplayList();
