#include "render3d/surface_painting.h"

// Picking in 3D is not built yet: nothing is painted.
void ApplyTextureAtPoint3D(int, int, uint32_t) {}
void ApplyColorAtPoint3D(int, int, COLORREF) {}
void ApplySurfaceStyleAtPoint3D(int, int, uint32_t) {}
