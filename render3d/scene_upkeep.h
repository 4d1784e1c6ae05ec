#pragma once

// Upkeep of the live view's scene beside the per-object rebuild: freeing the whole
// scene, repainting the render window, growing the plants of the scene, and the
// horizontal texture offsets of the sky picture that follow the camera heading.

struct PlanDocument;
struct PlanSettings;

// Horizontal texture coordinates of the sky quad's corners: top-left, top-right,
// bottom-right, bottom-left (the vertical ones are 1.0 at the top and 0.0 below).
extern float skyTextureU[4];

// Frees both scene polygon lists and drops the scene display list.
void FreeScenePolygons();
// The live view shows the active plan, seen with its camera: after another plan became
// the active one, the scene is rebuilt for it at once when the view is shown, and freed
// and owed (scene3DOutOfDate) when the view is hidden. Nothing while no view exists.
// The shown scene of the plan left is set aside, and taken back, instead of rebuilt,
// when that plan becomes the active one again unchanged.
void FollowActivePlanIn3D();
// The active plan's scene changes (a build, a removal, a whole rebuild, a new ground
// grid): a scene set aside for it is dropped.
void NoteSceneChange();
// The scene was built whole for the active plan.
void NoteWholeSceneBuilt();
// The plan is closed: no scene is kept for it.
void ForgetSceneOfPlan(const PlanDocument* document);
// Invalidates and redraws the 3D render window when it exists; 1.
int RedrawRenderWindow();
// Adds years to the age of every plant of the scene (at least 1.0) and resizes its
// billboard.
void GrowPlantNodes(float years);
// The sky's texture offsets after a camera change while the sky follows the camera
// (the three values are not read).
void UpdateSkyForCamera(float x, float y, float z);
// The camera-change notification that does nothing.
void IgnoreCameraChange(float x, float y, float z);
// A quarter turn of the camera shifts the sky by one picture width.
void UpdateSkyTextureOffsets(const PlanSettings* settings);
