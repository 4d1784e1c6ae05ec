#pragma once
#include <stdint.h>
#include "model/plan_settings.h"
#include "model3d/mesh_vertex.h"

// The 3D scene the live view shows: a disposable list of ScenePolygon records built
// from the plan objects (model3d/rebuild_driver) and thrown away whenever the plan
// changes (render3d/scene_upkeep). A polygon is one renderable piece of one plan
// object: its face outlines, its colours, and material slots that point back into the
// plan data it came from, so that painting a surface in 3D changes the plan.
//
// Coordinates are the plan's: x and z in the plan, y vertical and growing downward.
//
// The scene is built only while the live 3D view window exists and is visible
// (SceneBuildAllowed); when it exists but is hidden the builders only mark the scene
// out of date.

struct PlanObject;
struct KeptRun;

// One closed face of a polygon; outlines form a doubly linked list.
struct PolygonOutline {
    PolygonOutline* previous;
    MeshVertex* vertices;       // owned
    int32_t vertexCount;
    float vector[3];            // face normal, every component below 1.0 in magnitude
    PolygonOutline* next;
};

// Part kinds of a polygon.
enum ScenePartKind : int16_t {
    kPartOrdinary = 0,
    kPartWallFace = 3,          // a wall segment face
    kPartEndFace = 6,           // end or cap face made from an outline row
    kPartMeshFace = 7,          // face between two vertex rows or of a curved patch
    kPartPlant = 8,             // plant billboard
    kPartFramingMember = 37,
    kPartImagePanel = 131,
};

// Source types the builders write besides the plan's own object types.
enum SceneSourceCode : int16_t {
    kSceneFloorUnderWalls = 36,
    kSceneCeilingUnderWalls = 46,
    kSceneSlabUnderside = 47,
    kSceneOpeningHole = 61,
    kSceneBaseboard = 63,
    kSceneWainscot = 64,
    kSceneFloorOpeningHole = 127,
};

// One renderable piece of one plan object.
struct ScenePolygon {
    ScenePolygon* previous;
    uint16_t drawPass;          // 1 or 2
    int16_t partKind;           // ScenePartKind
    int16_t sourceType;         // ObjectType or a SceneSourceCode; 60 is stored as 7
    PolygonOutline* outlines;   // owned
    ColourTriple colourA;
    ColourTriple colourB;
    uint32_t textureA;          // TextureId, 0 none
    float uFactorA;             // texture repeat factors, 1.0 by default
    float vFactorA;
    uint32_t* textureSlotA;     // the plan field that holds texture A, or null
    ColourTriple* colourSlotA;  // the plan field that holds colour A, or null
    uint32_t textureB;
    float uFactorB;
    float vFactorB;
    uint32_t* textureSlotB;
    ColourTriple* colourSlotB;
    PlanObject* source;         // the object the faces belong to (the host for parts)
    PlanObject* buildOwner;     // buildObject when the polygon was finished
    PlanObject* buildChild;     // buildChild then
    uint16_t childType;         // type of the build child, 0 without one
    float billboardHalfWidth;   // plants: half the current width; 1.0 otherwise
    float billboardHeight;
    ScenePolygon* openings;     // holes cut into this polygon (owned)
    ScenePolygon* parts;        // parts drawn with it (owned)
    ScenePolygon* lastOpening;  // the last of each list, where the next one goes
    ScenePolygon* lastPart;
    float elevation;            // a wall vertex's elevation, display units
    uint32_t* trimWord;         // wall faces: the trim word of the face's side on the wall
                                // vertex that starts the segment (surface styles), or null
    KeptRun* keptRun;           // the run of the kept colour pass that holds it, or null
    ScenePolygon* next;
};

// Shared build state (user-interface thread only). Each list keeps its last polygon, so
// that a polygon joins a scene of any size in constant time.
extern ScenePolygon* sceneMeshes;      // finished polygons, appended at the tail
extern ScenePolygon* sceneMeshesTail;  // the last of them, null when there is none
extern ScenePolygon* secondaryMeshes;  // the renderers' second list (wall copies)
extern ScenePolygon* secondaryMeshesTail;
extern ScenePolygon* currentMesh;      // the polygon the face builders fill, else null
extern PlanObject* buildObject;        // object being converted, null between builds
extern PlanObject* buildChild;         // the child or part converted on its behalf
extern uint8_t sceneChanged;           // set when a polygon joins the scene
extern uint8_t scene3DOutOfDate;       // a rebuild was asked for while the view was hidden

// The rule every scene entry obeys: true while the live view exists and is visible
// (the out-of-date flag is cleared); false otherwise, and a hidden view marks the scene
// out of date.
bool SceneBuildAllowed();

// A zeroed polygon with both repeat factor pairs and the billboard values at 1.0;
// null when memory runs out.
ScenePolygon* CreateSceneNode();
// An outline owning the vertices, its face vector scaled below 1.0; null for null
// vertices or when memory runs out (the vertices are then released).
PolygonOutline* CreatePolygonOutline(MeshVertex* vertices, int32_t count, float a, float b,
                                     float c);
// Appends an outline at the end of the polygon's list; the outline takes the vertices
// (released when the outline cannot be made or there is no polygon).
void AppendNodeFace(MeshVertex* vertices, int32_t count, float a, float b, float c,
                    ScenePolygon* polygon);
void FreePolygonOutline(PolygonOutline* outline);
void FreeOutlineList(PolygonOutline* first);
// Frees the outlines, the opening and part polygons and the polygon; the caller has
// unlinked it from its list.
void FreeSceneNode(ScenePolygon* polygon);
// Frees every polygon of a list linked by next.
void FreeSceneNodeList(ScenePolygon* first);

// Appends the polygon to the list whose head and last polygon the caller keeps; a list
// linked by hand, without its last polygon kept, is walked to its end first.
void AppendScenePolygon(ScenePolygon** head, ScenePolygon** tail, ScenePolygon* polygon);
// Frees the polygons of sceneMeshes built on behalf of the object (their build owner is
// it), in time of their number: the scene knows which polygons each object owns. True
// when there were some.
bool FreeOwnedScenePolygons(PlanObject* owner);
// Frees every polygon of sceneMeshes and empties it.
void FreeSceneMeshes();

// A plan's scene set aside while another plan's is shown: sceneMeshes with its owners'
// polygons, their kept runs and the ground grid. Setting it aside leaves the scene and
// the grid empty; taking it back (into an empty scene) frees the grid there was.
struct SetAsideScene;
SetAsideScene* SetSceneAside();
void TakeSceneBack(SetAsideScene* scene);
void FreeSetAsideScene(SetAsideScene* scene);

// Finishes a polygon and appends it to sceneMeshes: source and build objects, vertical
// placement, draw pass, triangulation.
void BuildObjectSceneNode(ScenePolygon* polygon, PlanObject* object);
// A hole of a wall face: placed, pass 2, on the face's opening list.
void AddOpeningPolygon(ScenePolygon* polygon, ScenePolygon* face);
// A part of a wall face (trims): placed, pass 2, filed under buildObject, on the
// face's part list.
void AddPartPolygon(ScenePolygon* polygon, ScenePolygon* face);

// Vertical placement by the outermost owner of the object: raised by its elevation,
// or set on the terrain.
void PlaceSceneNodeVertically(ScenePolygon* polygon, PlanObject* object);
// The lot outline laid on the plan's first slope object, or 3.0 above the datum.
void PlaceLotOnSlope(ScenePolygon* polygon);

// The value GetTerrainHeightAt gives where the ground grid has no cell: "no ground
// here". Callers leave what they would move there as it is.
constexpr float kNoGroundHeight = 10000.0f;
// The y (down-positive) of the ground at a plan point from the ground height grid:
// 0.0 on a plan without terrain objects or settings, kNoGroundHeight outside the grid
// or without a document. The flag is not read.
float GetTerrainHeightAt(float x, float z, int flag);
