#pragma once
#include <stdint.h>

// The colour pass of the high-quality render drawn from the scene kept shaded. The
// scene list is cut into runs of consecutive polygons; each run keeps, for the main
// pass and for the floors pass, its polygons' vertices with their shaded colours and
// texture coordinates in the order the pass sends them, each outline as the triangles
// OpenGL makes of a GL_POLYGON, with the stencil steps of its wall holes. A repaint then
// draws each run with a few calls instead of shading and sending every vertex again;
// a run is shaded again only when it changes: when one of its polygons leaves the
// scene, when the settings its colours come from change, or when the polygon drawn
// before it, whose colour a mesh row may share, is another. New polygons join at the
// end in runs of their own. A plant or an image panel faces the camera: it is a run of
// its own, drawn as it is every time. The floor holes, few, are drawn as they are.
//
// Used by DrawSceneNodes for a colour pass of filled polygons; the wireframe's line
// pass and the shadow passes draw polygon by polygon.

struct PlanSettings;
struct ScenePolygon;

// The colour pass over sceneMeshes, as DrawSceneNodes draws it polygon by polygon.
void DrawKeptSceneNodes(PlanSettings* settings);
// Hands over, in the order of sceneMeshes, the polygons of exterior wall rings (subtype
// 54) that are their floors or their faces, of which the ground's cut-away copies are
// made; the runs keep them, so that no walk of the whole scene is needed.
void ForEachExteriorWallPolygon(void (*visit)(ScenePolygon* polygon));
// A polygon of sceneMeshes is about to be unlinked and freed: its run is shaded again.
void LeaveKeptRun(ScenePolygon* polygon);
// Forgets every run (the scene list was freed).
void ForgetKeptRuns();
// The runs of a scene list set aside with it, with what they were shaded with: taken,
// the scene has none; given back (when it has none), the list is drawn from them again,
// shaded anew when the shading inputs changed meanwhile.
struct KeptRunSet;
KeptRunSet* TakeKeptRuns();
void GiveKeptRunsBack(KeptRunSet* set);
void FreeKeptRunSet(KeptRunSet* set);
