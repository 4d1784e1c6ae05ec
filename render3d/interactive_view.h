#pragma once
#include <stdint.h>
#include <memory>

// The interactive drawing of the live 3D view. While the user walks or flies through
// the model the view is redrawn many times a second from display lists: a sky or
// background quad, the ground (flat or the terrain grid), the earth block under it,
// and the scene polygons. A navigation frame is SetupViewport3D once, then for every
// move DrawScene3D, SetPolygonDrawMode with sceneMeshes and SwapRenderBuffers. The
// lists are compiled on first use and dropped by SetupViewport3D (and the scene list
// whenever the scene changes), so each is compiled once per navigation.
//
// Every routine needs the render window's context current; those that read the plan
// do nothing without an active document with settings.

struct PlanSettings;
struct ScenePolygon;
struct ViewFrame;

// Vertical field of view of the current frame (degrees): the walk or the fly value.
extern float fieldOfView;
// The two fields of view the commands 5316 to 5320 choose (45 and 38 at start).
extern float walkFieldOfView;
extern float flyFieldOfView;
// Width over height of the last viewport.
extern float viewAspect;
// The walk camera's eye height and the fly camera's distance from the plan origin.
extern float walkEyeHeight;
extern float orbitDistance;
// Set while a pick runs: the projection takes a 2 x 2 pick matrix at the pick point
// (client coordinates of the render window), so the pick region (the point's pixel, its
// left, above and above-left) fills the viewport, and the drawers draw every surface in
// the colour that is its name (LoadPickName), untextured and unblended: a pixel then
// names what the view shows there, holes cut through the stencil included.
extern uint8_t pickingActive;
// The ground's name; 0 is the sky.
constexpr uint32_t kGroundPickName = 1;
// Makes the name (24 bits) the current colour.
void LoadPickName(uint32_t name);
extern float pickPointX;
extern float pickPointY;
// The scene's display list, 0 when it is not compiled.
extern unsigned int sceneDisplayList;
// Counts the changes of what the scene draws: each drop of its display list (every build
// or removal of polygons drops it), each growth of its plants, each new ground grid.
extern uint32_t sceneGeneration;

// The quality level (6 slowest and best to 10) and the view-mode tests of a frame.
uint16_t ViewQualityLevel(const PlanSettings* settings);
bool IsWireframeMode(const PlanSettings* settings);

// The walk or fly camera of the settings multiplied onto the model-view matrix: walk
// turns by the heading and stands at the eye height; fly looks at the plan's origin from
// orbitDistance along its pitch and yaw.
void ApplyViewCamera(const PlanSettings* settings);

// Start of a navigation, a pick or a redraw: the field of view by camera mode, all six
// lists dropped, viewport, clear colour, projection, the second polygon list.
void SetupViewport3D();
// One frame's clear, sky, projection, camera, ground and earth block.
void DrawScene3D(PlanSettings* settings);
// The scene polygons through their display list; in wireframe as lines over fill.
void SetPolygonDrawMode(ScenePolygon* list);
// The end of every frame: glFlush, then the frame read back and shown on the render screen
// when it was drawn at the client's size on a surface of that size, else SwapBuffers on the
// render window's device context (which hands a new size over to the surface). The frame
// shown, null when none.
std::shared_ptr<ViewFrame> SwapRenderBuffers();
// Called by SwapRenderBuffers just before each frame is shown and swapped, while the back
// buffer still holds it (null: none).
typedef void (*RenderSwapHook)(void* context);
void SetRenderSwapHook(RenderSwapHook hook, void* context);
// Plants by DrawPlantNodeInteractive, every other polygon by DrawPolygonSimple.
void DrawPolygonListSimple(ScenePolygon* list);
// One textured or coloured polygon into the current list.
void DrawPolygonSimple(ScenePolygon* polygon);
// One plant as an alpha-tested picture quad facing the camera.
void DrawPlantNodeInteractive(ScenePolygon* polygon);
// One image panel with its photo, black transparent.
void DrawImagePanelNodeInteractive(ScenePolygon* polygon);
// The background and ground lists.
void DrawSkyBackgroundList();
void DrawTerrainGroundList();
// Stencil 200 where the second polygon list lies below the drawn ground; colour kept.
void MarkGroundHoles(void (*drawGround)());
void DrawFlatGroundList();
void DrawEarthBlockList();
// Each deletes its list when it exists.
void DeleteSceneDisplayList();
void DeleteProjectionDisplayList();
void DeleteSkyDisplayList();
void DeleteTerrainDisplayList();
void DeleteFlatGroundDisplayList();
void DeleteEarthDisplayList();
// A complete frame of the scene alone (no sky, no ground).
void DrawSceneOnePass();
