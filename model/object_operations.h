#pragma once
#include <stdint.h>

// The per-object operation dispatcher and the walkers that feed it. Operation codes
// mostly equal the command id that sends them; a code not listed changes nothing on
// the object itself, but its children are still visited.

struct PlanFloor;
struct PlanObject;
struct PlanSettings;

enum ObjectOperation : uint32_t {
    RemoveCutOpening = 21,
    SetTextFont = 30,
    AlignTextRight = 40,
    AlignTextLeft = 41,
    AlignTextCentre = 42,
    CountSelectedObjects = 2000,
    CountGroups = 2001,
    SnapPointsToGrid = 5015,
    ApplyPenColour = 5019,
    MirrorHorizontal = 5034,
    MirrorVertical = 5035,
    NudgeUp = 5036,
    NudgeDown = 5037,
    NudgeLeft = 5038,
    NudgeRight = 5039,
    RecomputeCurves = 5041,
    StraightenSegments = 5043,
    ApplyDefaultStyleWord = 5065,
    ApplyDefaultPenWidth = 5066,
    SetDimensionEndMarksFirst = 5086,
    SetDimensionEndMarksLast = 5092,
    ApplyColourB = 5134,
    DeleteOpening = 5199,
    SetFaceTextureA = 5224,
    SetFaceTextureB = 5225,
    RecomputeProjection = 5226,
    RecomputeTextureCoords = 5227,
    SmoothOrDeselect = 5228,
    FlattenOrDeselect = 5229,
    ResizePlant = 5230,
    SetPlantingAge = 5238,
    StepPlantAge = 5261,
    MoveSelectionToElevation = 5324,
    MoveBy = 6000,
    Resize = 6001,
    Skew = 6002,
    Rotate = 6003,
    Extrude = 6004,
    Lathe = 6005,
    ResumeTextEditors = 7000,
    SuspendTextEditors = 7001,
    RaiseTextEditor = 7002,
    SetClosedStyleWord2 = 8000,
    SelectWhole = 8001,
    SetLabelWord1 = 8003,
    SetLabelWord2 = 8004,
    SetLabelFlag = 8005,
    MergeCommonValues = 8006,
    MergeSelectedPointValues = 8007,
};

// Grouping state: operation 2001 counts the groups met within the selected objects
// and raises the flag above 25; the senders reset both.
extern uint32_t groupNestingCount;
extern uint8_t groupNestingTooDeep;

// Applies one operation to an object by its type, keeps its stored boxes current,
// rebuilds what is generated from it and then hands the operation to each child.
// selectedOnly is only passed on. An operation may free the object.
void ApplyObjectOperation(PlanObject* object, uint8_t selectedOnly, uint32_t code, void* argument);
// Operation 8007 on one object, for both dispatchers: the values of its selected points
// merged into the settings' working elevation value (nothing without settings).
void MergeSelectedPointValuesInto(PlanSettings* settings, PlanObject* object);

// Every shown floor of the list from firstFloor, objects in list order (or only those
// with a selected point). Each object's successor is taken before the call.
void ForEachFloorObject(PlanFloor* firstFloor, uint8_t selectedOnly, uint32_t code, void* argument);
void ForEachObjectOnFloor(PlanFloor* floor, uint8_t selectedOnly, uint32_t code, void* argument);
// The selected objects of every shown floor, handed whole to EditObject.
void ForEachFloorSelection(PlanFloor* firstFloor, uint32_t code, void* argument);
void ForEachSelectedObjectOnFloor(PlanFloor* floor, uint32_t code, void* argument);

// The one switch that regenerates an object's generated geometry by its type, then its
// 3D polygons. With rebuildTerrain (moves and nudges) a topography or slope object
// rebuilds the whole 3D model as well.
void RebuildByType(PlanObject* object, bool rebuildTerrain = false);
