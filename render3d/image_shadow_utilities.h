#pragma once

// Image and shadow utilities of the 3D view.

// Refills the second scene polygon list from the first by polygon kind.
void BuildSecondaryPolygonList();
