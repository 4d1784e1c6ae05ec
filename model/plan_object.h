#pragma once
#include <windows.h>
#include <stdint.h>
#include "model/record_memory.h"

// Plan objects and their vertex chains: every element of a plan, every generated
// part and every library template is one PlanObject; its outline or mesh is a chain
// of PlanVertex records. Records are allocated zeroed (AllocateRecord) and linked by
// previous/next pointers; FreeObject releases an object with everything it owns.

struct PlanFloor;
struct PlanObject;
struct PlanVertex;
struct PlanSettings;
struct PlantInfo;

// ColourTriple (16-bit channels, 65535 = unset; a COLORREF is each channel / 257),
// kColourChannelUnset and the ViewCategory bits come with the settings record.
#include "model/plan_settings.h"

// 16-bit object type codes shared by the model, the plan files, the 2D renderers and
// the 3D builders. Codes without a name here are still valid types.
enum ObjectType : uint16_t {
    ObjLine = 6,                    // drawing shapes are types 1..7
    ObjWallMesh = 10,               // generated wall meshes 10 and 11
    ObjWallMeshExterior = 11,
    ObjWall = 12,                   // wall group: a centre line of points
    ObjFloorSlab = 13,
    ObjRoof = 14,
    ObjDoor = 16,
    ObjWindow = 17,
    ObjOpeningFrame = 18,           // frames, casings, linings and sills
    ObjGlazingBars = 19,
    ObjDoorLeafMember = 20,
    ObjPath = 22,
    ObjPathPart = 23,
    ObjFence = 24,
    ObjPicketFence = 25,
    ObjPlant = 28,
    ObjDrawingElement = 29,         // sub-type holds its CadShapeKind
    ObjTopography = 30,
    ObjRoofPlane = 32,              // generated roof planes: sloped tops,
    ObjRoofBand = 35,               // fascia and rake bands,
    ObjStair = 38,
    ObjRoofUnderside = 41,          // and undersides
    ObjRailing = 45,
    ObjFloorOpening = 48,
    ObjDeck = 51,
    ObjDeckPart = 52,
    ObjDeckSteps = 53,
    ObjWallElement = 56,
    ObjFreehandRoof = 57,
    ObjFreehandRoofPart = 58,       // roof-pitch symbol of a freehand roof
    ObjGeneratedPart59 = 59,
    ObjCurvedFrame = 60,
    ObjSlope = 62,
    ObjDimensionFirst = 100,        // dimension kinds 100..108
    ObjDimensionLine = 102,
    ObjDimensionLast = 108,
    ObjWallElementPart = 111,
    ObjFooting = 113,
    ObjBeam = 114,
    ObjPier = 115,
    ObjTensionCable = 116,
    ObjAirDuct = 117,
    ObjSprinkler = 125,
    ObjLeafPanel = 128,
    ObjFoundationSlopeArrow = 129,
    ObjImage = 130,                 // photo image object
    ObjImagePart = 131,
    ObjTextFrame = 200,
    ObjDimensionLabel = 201,
    ObjMetafilePicture = 302,
    ObjGroup = 1000,
};

// One outline or mesh vertex. Position x and z are the plan coordinates, y the
// height, growing downward (a point h above the datum has y = -h). The tail fields
// hold the data of the segment that starts at this vertex; their meaning is the
// owner type's (walls and decks name them).
struct PlanVertex {
    PlanVertex* previous;
    uint16_t kind;              // 1 usual, 2 and 4 curve control points, 5 arc builders, 6 gate start
    uint8_t selected;
    uint8_t selectable;         // 1 on creation
    uint8_t keepFlag;           // an object with a kept vertex survives its document's close
    float inTangent[3];         // Hermite tangent into the vertex (x, y, z); zero = straight
    float position[3];          // x, y (height), z
    float outTangent[3];        // Hermite tangent out of the vertex
    float extra[3];             // per-type values (the cross tangent of a mesh)
    PlanObject* owner;
    uint32_t faceTextureA;      // texture id of face A (plant id of plants)
    uint32_t faceTextureB;
    float reserved1;            // zero; stored as f32
    float reserved2;
    float u;                    // texture coordinates (row distance, row length); 1.0 on creation
    float v;
    ColourTriple faceColourA;   // unset (65535) on creation
    ColourTriple faceColourB;
    // Segment data (record order; the plan file names: vertex elevation, segment
    // word 3, segment short 1, segment side, flags, segment words 1 and 2, segment
    // height, segment values 1 to 3, segment value 4).
    float segmentElevation;     // base height of the segment that starts here
    uint32_t segmentStyle;      // wall segment shape 0..11
    uint16_t segmentStyleExtra; // walls: dimension reference (0 centre line)
    uint16_t alternationMarker; // walls: dimension side, alternating 0, 1 along a chain
    uint32_t segmentFlags;      // walls: 1 no automatic dimensions, 2 no opening labels; decks: 2 deck part
    uint32_t faceFlagsA;
    uint32_t faceFlagsB;
    float mainHeight;           // walls: height at the segment start; slopes: angle in degrees
    float angleA;               // start pitch (rise per 12)
    float angleB;               // end pitch
    float heightC;
    float heightD;
    PlanVertex* next;
};

// Placement of a door, window, wall element or set of deck steps on a segment of its
// owner (wall or deck). Stored raw in 60 bytes in plan files (the vertex references
// as indexes); the in-memory record is wider on 64-bit builds.
struct OpeningRecord {
    uint16_t typeCopy;          // 16 for doors, ...
    uint16_t style;             // DoorStyle 500..511, WindowStyle 600..625
    PlanVertex* startVertex;    // segment start and end on the owner's chain
    PlanVertex* endVertex;
    float distanceFromStart;    // plan units
    float distanceToEnd;
    float width;
    float height;
    float elevation;
    PlanObject* parts;          // generated 3D parts, chained by previous/next
    void* sortPrevious;         // scratch links of the automatic dimensions' sorted list
    void* sortNext;
    uint8_t hingeSide;          // hinge or flip side
    float swingAngle;           // radians from the closed position
    uint16_t flags;             // doors: 4 = swing sense of the leaf
    uint16_t glazingBarsAcross;
    uint16_t glazingBarsDown;
    float casingWidth;
};

// Link record of a dimension object (types 100..108).
struct AttachmentRecord {
    uint32_t flags;             // style word copied from the settings
    PlanObject* label;          // the dimension's label part (type 201), or null
    float tolerance1;
    float tolerance2;
};

// Link record of a dimension label part (type 201).
struct AttachedPartRecord {
    uint16_t word1;
    uint16_t word2;
    uint8_t flag;
    LOGFONTA font;              // 60 bytes, stored raw
    PlanObject* owner;          // the dimension this label belongs to
};
static_assert(sizeof(LOGFONTA) == 60, "LOGFONT is stored raw in 60 bytes");

// Link record of a metafile picture (type 302).
struct PictureRecord {
    uint32_t values[5];
    HENHMETAFILE metafile;
};

// One plan element, generated part or template.
struct PlanObject {
    PlanObject* previous;       // previous object of its list (floor list or owner's children)
    uint16_t type;              // ObjectType
    uint8_t closed;             // last vertex joins the first
    uint8_t creationFlag;
    ColourTriple colourA;
    uint16_t colourM[3];        // walls: first word 1 interior, 0 exterior
    ColourTriple colourB;
    float size;                 // wall thickness, pen width, roof pitch
    uint16_t value1;            // first style word (line style)
    uint16_t value2;            // second style word (pen style; plants: planting age)
    float box2D[4];             // top, left, bottom, right (ExtentRect layout)
    float box3D[6];             // min y, x, z, max y, x, z (ExtentBox layout)
    PlanVertex* firstVertex;
    PlanObject* firstChild;     // group members, a wall's openings, generated children
    PlanObject* owner;          // whose child list holds this one, null at top level
    PlanObject* firstPart;      // generated parts (wall and deck parts)
    PlanFloor* floor;
    void* link;                 // type-dependent link (see FreeObject)
    uint16_t rows;              // 1 outline, 2 extruded outline, n mesh rows
    uint32_t vertexCount;
    uint8_t buildFlag;          // 1 on creation
    int16_t winding;            // 1 counter-clockwise, -1 clockwise, 0 unknown
    uint32_t styleOrTexture;    // roof style, texture id
    uint8_t textureBlock[32];
    uint16_t projectionMode;    // 2 on creation
    uint8_t needsRebuild;       // 1 on creation
    float plantAge;             // years
    union {
        char* imagePath;        // type 130: heap text of its picture (owned)
        PlanObject* host;       // generated meshes: the object they were built for
    };
    void* reserved[2];
    PlantInfo* plantData;       // type 28, owned
    uint32_t subType;           // 54 exterior wall group, symbol code, stair/railing style...
    uint32_t imageId1;          // material slot 1 texture id
    uint32_t imageId2;          // material slot 2 texture id
    ColourTriple colour3;       // material slot 1 colour
    ColourTriple colour4;       // material slot 2 colour
    float elevation;            // base elevation
    uint8_t onTerrain;
    uint32_t value3;            // material slot 3 texture id
    ColourTriple colour5;       // material slot 3 colour
    uint32_t category;          // ViewCategory bit
    float parameters[5];        // per-type parameters
    uint32_t offsetSide;        // first option word
    uint32_t value4;            // second option word
    uint16_t extrasType;        // the type its link and extras were made for, when it was
                                // retyped since (library shapes); 0: its own type
    PlanObject* next;
};

// Opening types: door, window, deck steps, wall element.
inline bool IsOpeningType(uint16_t type)
{
    return type == ObjDoor || type == ObjWindow || type == ObjDeckSteps || type == ObjWallElement;
}
inline bool IsDimensionType(uint16_t type)
{
    return type >= ObjDimensionFirst && type <= ObjDimensionLast;
}

// Creates an unlinked object. box2D may be null (zero box). Null without an active
// document; without settings it reports the uninitialised document and returns null.
PlanObject* CreateObject(uint16_t type, uint8_t closed, uint8_t creationFlag,
                         const ColourTriple* colourA, const ColourTriple* colourB,
                         float size, uint16_t value1, uint16_t value2, const float* box2D,
                         PlanVertex* firstVertex, PlanObject* firstChild, PlanObject* owner,
                         PlanFloor* floor, void* link);

// Allocates an unlinked vertex.
PlanVertex* NewVertexNode(uint16_t kind, uint8_t selected, uint8_t keepFlag,
                          float inX, float inY, float inZ,
                          float x, float y, float z,
                          float outX, float outY, float outZ,
                          float extra1, float extra2, float extra3, PlanObject* owner);

void AddObjectPoint(PlanVertex* vertex, PlanObject* object);
void InsertObjectPoint(PlanVertex* vertex, PlanObject* object, PlanVertex* after);
// Frees every vertex of the object's chain; the head is cleared and the count set to 0.
void FreeVertexChain(PlanObject* object);
// Vertices of the chain, counted by walking it (a stored count may be stale).
int32_t CountVertexChain(const PlanObject* object);
void CopyVertexChain(const PlanObject* source, PlanObject* destination,
                     float offsetX, float offsetZ, uint8_t selected);

void UnlinkObject(PlanObject* object);
// The fields that CreateObject does not take and a copy carries over: looks, rows,
// texture block, parameters, category and the other stored values. No links, lists,
// boxes, vertices or records.
void CopyObjectAttributes(const PlanObject* source, PlanObject* copy);
// Links the object at the end of the sibling list that starts at *first (a floor's
// objects, an owner's children or parts), in constant time (model/list_ends.h); owner
// and floor are the caller's to set.
void AppendToObjectList(PlanObject** first, PlanObject* object);
void FreeObject(PlanObject* object);
// Frees every object of a chain linked by next (generated parts, meshes, templates).
// Each is cut loose from its neighbours first, so that unlinking one never writes into
// objects that are going too.
void FreeObjectChain(PlanObject* first);
// The same for the members of an owner, cut loose from the owner as well.
void FreeMemberChain(PlanObject* first);
void DeleteObjectWithDependants(PlanObject* object);

void GetObjectCentre2D(PlanObject* object, float* x, float* y);
PlanObject* GetTopLevelObject(PlanObject* object);
bool IsGroupedObject(const PlanObject* object);
bool HasKeptVertex(const PlanObject* object);
bool HasUnselectableVertex(const PlanObject* object);
void FreeOpeningsAtVertex(PlanObject* wall, PlanVertex* vertex);
PlanObject* GetNthSelectedObject(int n);
