#pragma once
#include <windows.h>
#include <cstdint>

// Painting the plan data behind a surface of the live 3D view, picked at a point of the
// render window (client and logical coordinates): a texture, a colour (COLORREF, red in
// the low byte) or a trim or panel style (100 to 104, 200 to 204).
void ApplyTextureAtPoint3D(int x, int y, uint32_t textureId);
void ApplyColorAtPoint3D(int x, int y, COLORREF colour);
void ApplySurfaceStyleAtPoint3D(int x, int y, uint32_t style);
