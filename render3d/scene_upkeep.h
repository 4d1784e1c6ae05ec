#pragma once

// Frees both 3D polygon lists and the scene display list.
void FreeScenePolygons();
