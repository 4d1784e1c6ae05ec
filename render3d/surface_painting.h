#pragma once
#include <windows.h>
#include <stdint.h>

// Painting surfaces by picking: a texture, a colour or a trim or panel style dropped
// from the library side bar onto the live 3D view. The nearest surface the user sees
// at the drop point is found by drawing the view's surfaces in the colours of their
// names over the pick region (the drop point's pixel, its left, above and above-left):
// the nearest of those the four pixels show (a wall face only outside its door and
// window holes, which are cut for the pick as for the view), and the value is
// written into the plan data the surface was built from (the polygon's material slots
// and the type rules of its owner), so that painting in 3D changes the plan; the owner is
// then rebuilt. A drop that hits nothing paints the background (sky), a drop on the
// ground the ground.
//
// Each takes the drop point in client coordinates of the render window and returns
// true when a scene polygon was hit and its object rebuilt. A polygon whose slots lead
// nowhere (framing members, end caps, holes) is never written through: when nothing
// at all can be written the plan is left as it was and the result is false.

// Texture id 0 or more; ids outside 1..13999 leave a polygon's texture slot alone.
bool ApplyTextureAtPoint3D(int x, int y, int32_t textureId);
// Colour as a COLORREF; each channel becomes byte x 257.
bool ApplyColorAtPoint3D(int x, int y, COLORREF colour);
// Style 100 to 104 (trims) or 200 to 204 (panels).
bool ApplySurfaceStyleAtPoint3D(int x, int y, int32_t style);
