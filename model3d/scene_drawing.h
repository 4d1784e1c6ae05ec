#pragma once
#include <windows.h>
#include <stdint.h>

// The walkers that draw the scene list. Holes are never cut out of geometry: they are
// drawn first into the stencil buffer, and the surface is then drawn only where the
// stencil does not hold the hole's value. Door and window holes (the opening polygons
// of a wall face) are cut face by face, each face with its own stencil value; floor
// openings cut every floor-like surface (slabs, their undersides, the floors and
// ceilings under wall groups) in a pass of their own.
//
// DrawSceneNodes is the pass walker of the high-quality render (colour passes and
// shadow passes, interruptible by the mouse); CompileSceneDisplayList records the same
// drawing once into the interactive view's display list and serves picking: every
// polygon and part polygon is named by its place in the scene list (from 2; 1 is the
// ground), drawn as its colour while a pick runs.

struct PlanSettings;
struct ScenePolygon;

// The stencil reference of the next wall face with holes (2 at the start of a frame).
extern int32_t runningStencilValue;
// The first OpenGL name of the scene's polygons; 1 names the ground.
constexpr uint32_t kFirstPolygonName = 2;
// The progress of a final render: the polygons its first (counting) pass met, and the
// polygons drawn since the render began.
extern long renderPolygonCount;
extern long renderDoneCount;

// A press of a mouse button stops a long walk (a render pass, the ground grid's fill).
// The walk asks before every step, but the buttons are read at most once in
// kButtonPollInterval ms of the input clock: a read is a round trip to the window
// server, a look at the clock is not, and a press still stops the walk within that
// interval and one step. RestartButtonPolling makes the next ask read them (a walk's
// start); StopButtonPolled reads them when it is time, true when one is down.
constexpr DWORD kButtonPollInterval = 20;
void RestartButtonPolling();
bool StopButtonPolled();

// The floor-like source types (slabs, their undersides, the floors and ceilings under
// wall groups), left out of the main pass, and the floor holes cut into them.
bool IsFloorLikeSource(int16_t sourceType);
bool IsFloorHoleSource(int16_t sourceType);
// Whether a floor hole is drawn from the camera's side: from above in the fly view,
// else by the height of its first vertex against the eye; a polygon without vertices
// keeps the previous answer.
bool FloorHoleSeenFromAbove(const ScenePolygon* polygon, const PlanSettings* settings, bool* previous);
// The mouse stops a render unless the scene has just changed: true, renderAborted set.
bool RenderInterrupted();
// Holes cut through the stencil: colour and depth writes off while they are drawn, the
// stencil set to the value wherever they lie; then, writes on, smooth shading (and
// dithering when asked), what they cut is drawn where the stencil is not the value.
void BeginStencilHoles(int32_t value);
void BeginOutsideStencilHoles(int32_t value, bool dither);
// The floor holes pass: the stencil cleared, then set to 1 wherever a hole is drawn.
// After it, the floors are drawn where it is not 1.
void BeginFloorHoles();
void BeginFloorsOutsideHoles();

// Moves the running stencil value on to the next face. Before it would pass 255 (the
// stencil has 8 bits and GL clamps the reference, so faces would cut each other's
// holes) the stencil is cleared and the value starts again at 2.
void AdvanceRunningStencilValue();
// One pass of the high-quality render over the list: the ordinary polygons (holes cut
// through the stencil), then the floor holes into the stencil, then the floor-like
// polygons where no hole is. In the shadow pass the shadow drawers run instead. A mouse
// press while sceneChanged is clear sets renderAborted and ends the walk. A colour pass
// of filled polygons over sceneMeshes is drawn from the scene kept shaded
// (DrawKeptSceneNodes), which gives the same pixels.
void DrawSceneNodes(ScenePolygon* first);
// The jittered perspective of one anti-aliasing pass: the frustum of the field of view
// (degrees), moved by the pixel offsets and the eye offsets, then the render camera.
void ComputeFrustumFromFieldOfView(double fovY, double aspect, double nearPlane, double farPlane,
                                   double pixelDx, double pixelDy, double eyeDx, double eyeDy,
                                   double focus);
void SetJitteredFrustum(double left, double right, double bottom, double top, double nearPlane,
                        double farPlane, double pixelDx, double pixelDy, double eyeDx, double eyeDy,
                        double focus);
// Draws the scene from its display list, compiling it first when there is none; then,
// outside picking, the plants and image panels, which are never compiled.
void CompileSceneDisplayList(ScenePolygon* first);
// The polygon or part polygon of sceneMeshes that carries the name; null for none.
ScenePolygon* FindScenePolygonByName(uint32_t name);
