#pragma once
// The document-wide settings and current defaults of one plan. The record is written
// into plan files exactly as it lies in memory, so its layout is a file format: every
// field keeps its offset and width on every build, pinned by the asserts below.
#include <cstddef>
#include <cstdint>

// Three 16-bit channels, each the 8-bit value times 257; 65535 in all three means unset.
#pragma pack(push, 1)
struct ColourTriple {
    uint16_t red;
    uint16_t green;
    uint16_t blue;
};
#pragma pack(pop)
static_assert(sizeof(ColourTriple) == 6, "ColourTriple is three u16 channels");

constexpr uint16_t kColourChannelUnset = 65535;

// Lengths of the settings block carried by each plan-file generation: older files store
// only a prefix of the record and the rest keeps its defaults.
constexpr size_t kPlanSettingsSize = 1614;
constexpr size_t kPlanSettingsPrefix794 = 794;    // version 10000
constexpr size_t kPlanSettingsPrefix1418 = 1418;  // version 10300
constexpr size_t kPlanSettingsPrefix1444 = 1444;  // versions 10350, 10351
constexpr size_t kPlanSettingsPrefix1592 = 1592;  // version 10400

// `UnitSystem` (offset 342).
enum UnitSystem : uint16_t {
    kUnitSystemFeetInches = 3,
    kUnitSystemMetric = 4,
};

// `ViewCategory` bits: one per palette tab.
enum ViewCategory : uint32_t {
    kCategoryFoundation = 1,
    kCategoryFloorPlan = 2,
    kCategoryElectrical = 4,
    kCategoryPlumbing = 8,
    kCategoryRoof = 16,
    kCategoryHvac = 32,
    kCategoryDeck = 64,
    kCategoryGarden = 128,
};

// Style word bits (offset 180).
constexpr uint32_t kStyleEndMarkBits = 0x7F;         // bits 0..6: end mark 5086 + k
constexpr uint32_t kStyleFlag80 = 0x80;              // read into the common-value record
constexpr uint32_t kStyleFlag100 = 0x100;            // read into the common-value record
constexpr uint32_t kStyleChoiceBits = 0xE00;         // bits 9..11: choices 5054..5056
constexpr uint32_t kStyleDisplayFormatBits = 0x7F000; // bits 12..18: format 5058 + k
constexpr uint32_t kStyleConstructedBit = 0x80000;    // bit 19, set once by the constructor

// Command ids stored in the settings as choices.
constexpr uint16_t kEndMarkFirst = 5086;
constexpr uint16_t kEndMarkLast = 5092;
constexpr uint16_t kStyleChoiceNone = 5053;
constexpr uint16_t kStyleChoiceFirst = 5054;
constexpr uint16_t kStyleChoiceLast = 5056;
constexpr uint16_t kDisplayFormatFirst = 5058;
constexpr uint16_t kDisplayFormatLast = 5064;

#pragma pack(push, 1)

// `CommonValue`: a summary of one value over a set of objects (6 bytes): `first` is 1
// while nothing has been merged, `same` stays 1 while every merged value was equal.
struct CommonValue {
    uint8_t first;
    uint8_t same;
    float value;
};

// `CommonProperties`: the 48-byte summary of the drawing properties of the selection.
// Byte 0 is the first flag; then ten pairs of a same flag and a value. Bytes between a
// same flag and a value not at the next byte are reserved.
struct CommonProperties {
    uint8_t first;               // 0
    uint8_t secondStyleSame;     // 1
    uint16_t secondStyle;        // 2: the builders' global default, an object's second style word
    uint8_t colourASame;         // 4
    uint8_t reserved5;
    ColourTriple colourA;        // 6: the plan pen colour
    uint8_t penWidthSame;        // 12
    uint8_t reserved13;
    uint16_t penWidth;           // 14
    uint8_t colourBSame;         // 16
    uint8_t reserved17;
    ColourTriple colourB;        // 18: the new-object colour
    uint8_t firstStyleSame;      // 24
    uint8_t reserved25;
    uint16_t firstStyle;         // 26: an object's first style word
    uint8_t flag80Same;          // 28
    uint8_t reserved29;
    uint16_t flag80;             // 30: bit 0x80 of the style word, as 0 or 1
    uint8_t endMarkSame;         // 32
    uint8_t reserved33;
    uint16_t endMark;            // 34: end-mark command 5086..5092
    uint8_t flag100Same;         // 36
    uint8_t reserved37;
    uint16_t flag100;            // 38: bit 0x100 of the style word, as 0 or 1
    uint8_t textPositionSame;    // 40
    uint8_t reserved41;
    uint16_t textPosition;       // 42: command 5053..5056
    uint8_t textAlignmentSame;   // 44
    uint8_t reserved45;
    uint16_t textAlignment;      // 46: the text tool's global default
};

// `PlanSettings`. Fields named reservedNNN are kept only for their place in the file.
struct PlanSettings {
    // Header and view geometry.
    float duplicateOffsetX;          // 0: display units, the duplicate command's step
    float duplicateOffsetZ;          // 4
    uint16_t duplicateCount;         // 8
    float referenceX;                // 10: reference point of the view plane (limit planes)
    float referenceHeight;           // 14
    float referenceZ;                // 18
    uint16_t viewPlane;              // 22: 1 (x, height), 2 plan (x, z), 3 (z, height)
    uint8_t limitLockHeight;         // 24
    uint8_t limitLockDepth;          // 25
    uint8_t limitLockX;              // 26
    uint8_t reserved27;              // 27
    uint8_t reserved28;              // 28
    uint8_t gridVisible;             // 29: command 5044
    uint8_t snapToGrid;              // 30: command 5045
    uint8_t pad31;
    float gridSpacingX;              // 32
    float gridSpacingY;              // 36
    float snapStepX;                 // 40
    float snapStepY;                 // 44
    uint16_t scrollStep;             // 48: pixels per scroll-bar line
    float nudgeDistance;             // 50: arrow-key moves
    uint16_t defaultFirstStyle;      // 54: first style word of new objects
    uint16_t defaultPenWidth;        // 56
    uint16_t reserved58;             // 58
    float extentTop;                 // 60: plan extents, as an ExtentRect
    float extentLeft;                // 64
    float extentBottom;              // 68
    float extentRight;               // 72
    uint16_t reserved76;             // 76
    uint16_t reserved78;             // 78
    uint16_t reserved80;             // 80
    uint16_t reserved82;             // 82
    uint16_t reserved84;             // 84
    uint16_t siteUnit;               // 86: site-size dialog
    float siteWidth;                 // 88
    float siteDepth;                 // 92
    uint16_t endMarkChoice;          // 96: command 5086..5092
    float dimensionToleranceA;       // 98: copied into dimension attachments
    float dimensionToleranceB;       // 102
    uint16_t styleChoice;            // 106: 5054..5056, or 5053 for none
    float openingDrawValue;          // 108: door and window builders, plan drawing
    uint16_t reserved112;            // 112
    ColourTriple groundColour;       // 114
    ColourTriple newObjectColour;    // 120
    ColourTriple foregroundColour;   // 126: lines of the current storey
    ColourTriple backgroundColour;   // 132
    uint16_t displayFormat;          // 138: command 5058..5064
    uint16_t reserved140;            // 140
    uint8_t toolBarFlag;             // 142: command 5010
    uint8_t pad143;
    float drawingScale;              // 144: real inches per inch of paper
    uint16_t paperUnit;              // 148: LengthUnit of the paper side
    uint16_t drawingUnit;            // 150: LengthUnit of the drawing
    uint8_t scaleDialogFlag;         // 152
    uint8_t pad153;
    float scalePaperLength;          // 154
    float scaleDrawingLength;        // 158
    uint16_t curveSteps;             // 162
    uint16_t multigonSides;          // 164
    uint16_t reserved166;            // 166
    uint16_t pickTolerance;          // 168: half size of a vertex handle, pixels
    uint16_t recomputeValue;         // 170: tenths, stair/railing rebuilds and recompute
    float zoom;                      // 172: zoom factor of the plan view
    uint16_t zoomPercent;            // 176
    uint8_t centreDrawing;           // 178: command 5018
    uint8_t reserved179;             // 179
    uint32_t styleWord;              // 180
    uint16_t viewTitleMode;          // 184: 5100..5103
    CommonProperties commonProperties; // 186
    uint16_t view3DMode;             // 234

    // Defaults of new building objects.
    uint16_t wallThicknessPreset;    // 236
    float wallDialogLength;          // 238
    float wallThickness;             // 242
    float wallHeight;                // 246
    ColourTriple wallColour;         // 250
    float wallDefault256;            // 256
    float wallDefault260;            // 260
    uint16_t doorStyle;              // 264: DoorStyle
    float doorWidth;                 // 266
    float doorHeight;                // 270
    float doorCasingWidth;           // 274
    ColourTriple doorColour;         // 278
    uint16_t windowStyle;            // 284: WindowStyle
    uint16_t windowBarsAcross;       // 286
    uint16_t windowBarsDown;         // 288
    float windowWidth;               // 290
    float windowHeight;              // 294
    float windowElevation;           // 298
    float windowCasingWidth;         // 302
    ColourTriple windowColour;       // 306
    uint16_t roofPitchPreset;        // 312: rise per 12 of run
    float roofDialogLength314;       // 314
    float roofPitch;                 // 318
    uint16_t roofStyle;              // 322: RoofStyle of the roof tool
    uint16_t reserved324;            // 324
    uint16_t reserved326;            // 326
    ColourTriple roofColour;         // 328
    uint16_t dimensionDialogValue;   // 334
    ColourTriple dimensionColour;    // 336
    uint16_t unitSystem;             // 342: UnitSystem
    float zoomTopView;               // 344
    float zoomOtherViews;            // 348
    uint16_t printScaleChoice;       // 352

    // Camera and 3D view.
    float cameraHeading;             // 354: degrees
    float cameraX;                   // 358
    float cameraZ;                   // 362
    float view3DValue366;            // 366
    float view3DValue370;            // 370
    uint32_t view3DValue374;         // 374
    uint32_t view3DValue378;         // 378
    float view3DValue382;            // 382
    float view3DValue386;            // 386
    float view3DValue390;            // 390
    uint16_t view3DValue394;         // 394
    uint16_t moveSpeed3D;            // 396
    ColourTriple skyColour;          // 398: 3D viewport colour
    uint16_t view3DValue404;         // 404
    uint8_t view3DFlag406;           // 406
    uint8_t pad407;
    uint16_t cathedralCeiling;       // 408: roof dialog
    uint16_t cameraMode;             // 410: 1 walk, 2 aerial
    float aerialPitch;               // 412
    float aerialYaw;                 // 416
    uint8_t reserved420;             // 420
    uint8_t pad421;
    uint32_t swatchColours[72];      // 422: COLORREF entries of the library side bar
    uint32_t backgroundTextureId;    // 710: TextureId given when a 3D paint pick hits nothing

    // Landscape, plants and stairs.
    uint16_t fillToolValue;          // 714
    uint16_t fillTexture;            // 716
    uint8_t areaKindFlag;            // 718
    uint8_t pad719;
    uint16_t pathTexture;            // 720
    uint8_t pathBorderFlag;          // 722
    uint8_t pad723;
    float pathWidth;                 // 724
    float pathDefault728;            // 728
    float pathDefault732;            // 732
    float pathDefault736;            // 736
    uint8_t pathFlag;                // 740
    uint8_t pad741;
    ColourTriple fenceColour;        // 742
    uint16_t fenceStyle;             // 748
    float fenceLength750;            // 750
    float fenceLength754;            // 754
    float fenceLength758;            // 758
    float fenceLength762;            // 762
    ColourTriple fenceSecondColour;  // 766
    float gateWidth;                 // 772
    float gateHeight;                // 776
    ColourTriple gateColour;         // 780
    uint16_t paintTextureId;         // 786: set by 3D painting
    float plantAge;                  // 788: default age of new plants, years
    uint16_t gridStyle;              // 792: points or lines
    float stairWidth;                // 794
    float stairRiserHeight;          // 798
    float stairTreadDepth;           // 802
    float stairRailingHeight;        // 806
    uint8_t stairRailingFirstSide;   // 810
    uint8_t stairRailingSecondSide;  // 811
    float railingHeight;             // 812
    float railingBalusterSpacing;    // 816
    uint8_t railingFlag820;          // 820
    uint8_t railingFlag821;          // 821
    char tracingImagePath[512];      // 822: NUL-terminated
    uint8_t tracingImageShown;       // 1334
    uint8_t pad1335;
    float tracingScaleX;             // 1336
    float tracingScaleY;             // 1340
    uint8_t dimensionDrawing;        // 1344
    uint8_t labelDrawing;            // 1345
    uint8_t framingStyle;            // 1346: 0 finished, 1 framing
    uint8_t pad1347;
    ColourTriple reservedColour1348; // 1348
    ColourTriple inactiveColour;     // 1354: lines of the other storeys
    uint8_t renderQuality;           // 1360
    uint8_t pad1361;
    float renderShadowValue;         // 1362
    float lightDirectionX;           // 1366
    float lightDirectionY;           // 1370
    float lightDirectionZ;           // 1374
    uint32_t antiAliasPasses;        // 1378
    float drawValue3D;               // 1382
    float studSpacing;               // 1386
    float value3D1390;               // 1390
    uint32_t reserved1394;           // 1394
    uint32_t reserved1398;           // 1398
    uint32_t frameValue;             // 1402
    uint32_t lightingValue;          // 1406
    uint32_t modified;               // 1410: set by every edit, cleared by load and save
    uint32_t hideDoors3D;            // 1414

    // Decks.
    float deckHeight;                // 1418
    uint8_t deckRailing;             // 1422
    uint8_t pad1423;
    float deckRailingHeight;         // 1424
    float deckBalusterSpacing;       // 1428
    uint8_t deckSegmentFlag1432;     // 1432
    uint8_t deckSegmentFlag1433;     // 1433
    uint8_t deckStepsFlag1434;       // 1434
    uint8_t deckStepsFlag1435;       // 1435
    float deckStepsWidth;            // 1436
    float deckStepsHeight;           // 1440

    // Categories, working elevation and tool defaults.
    uint32_t visibleCategories;      // 1444: ViewCategory mask of the active tab
    uint32_t tabCategoryMasks[8];    // 1448
    uint32_t reserved1480;           // 1480
    uint32_t activeCategory;         // 1484: ViewCategory bit given to new objects
    uint16_t view3DValue1488;        // 1488
    uint8_t view3DFlag1490;          // 1490
    uint8_t pad1491;
    uint16_t orthographic3D;         // 1492
    float workingElevation;          // 1494: inches, given to new objects
    CommonValue workingElevationValue; // 1498
    uint8_t reserved1504;            // 1504
    uint8_t pad1505;
    uint16_t renderValue1506;        // 1506
    float floorToolDefaults[5];      // 1508
    uint32_t fixtureToolDefaults[5]; // 1528
    float fixtureSizes[6];           // 1548
    float ductWidth;                 // 1572
    float ductHeight;                // 1576
    float slopeDefault;              // 1580
    float topographyStep;            // 1584
    uint32_t swatchColour;           // 1588: COLORREF
    uint32_t plantSearch[5];         // 1592
    uint8_t plantSearchOn;           // 1612
    uint8_t pad1613;
};

#pragma pack(pop)

static_assert(sizeof(CommonValue) == 6, "CommonValue layout");
static_assert(offsetof(CommonValue, first) == 0, "CommonValue layout");
static_assert(offsetof(CommonValue, same) == 1, "CommonValue layout");
static_assert(offsetof(CommonValue, value) == 2, "CommonValue layout");

static_assert(sizeof(CommonProperties) == 48, "CommonProperties layout");
static_assert(offsetof(CommonProperties, first) == 0, "CommonProperties layout");
static_assert(offsetof(CommonProperties, secondStyleSame) == 1, "CommonProperties layout");
static_assert(offsetof(CommonProperties, secondStyle) == 2, "CommonProperties layout");
static_assert(offsetof(CommonProperties, colourASame) == 4, "CommonProperties layout");
static_assert(offsetof(CommonProperties, reserved5) == 5, "CommonProperties layout");
static_assert(offsetof(CommonProperties, colourA) == 6, "CommonProperties layout");
static_assert(offsetof(CommonProperties, penWidthSame) == 12, "CommonProperties layout");
static_assert(offsetof(CommonProperties, reserved13) == 13, "CommonProperties layout");
static_assert(offsetof(CommonProperties, penWidth) == 14, "CommonProperties layout");
static_assert(offsetof(CommonProperties, colourBSame) == 16, "CommonProperties layout");
static_assert(offsetof(CommonProperties, reserved17) == 17, "CommonProperties layout");
static_assert(offsetof(CommonProperties, colourB) == 18, "CommonProperties layout");
static_assert(offsetof(CommonProperties, firstStyleSame) == 24, "CommonProperties layout");
static_assert(offsetof(CommonProperties, reserved25) == 25, "CommonProperties layout");
static_assert(offsetof(CommonProperties, firstStyle) == 26, "CommonProperties layout");
static_assert(offsetof(CommonProperties, flag80Same) == 28, "CommonProperties layout");
static_assert(offsetof(CommonProperties, reserved29) == 29, "CommonProperties layout");
static_assert(offsetof(CommonProperties, flag80) == 30, "CommonProperties layout");
static_assert(offsetof(CommonProperties, endMarkSame) == 32, "CommonProperties layout");
static_assert(offsetof(CommonProperties, reserved33) == 33, "CommonProperties layout");
static_assert(offsetof(CommonProperties, endMark) == 34, "CommonProperties layout");
static_assert(offsetof(CommonProperties, flag100Same) == 36, "CommonProperties layout");
static_assert(offsetof(CommonProperties, reserved37) == 37, "CommonProperties layout");
static_assert(offsetof(CommonProperties, flag100) == 38, "CommonProperties layout");
static_assert(offsetof(CommonProperties, textPositionSame) == 40, "CommonProperties layout");
static_assert(offsetof(CommonProperties, reserved41) == 41, "CommonProperties layout");
static_assert(offsetof(CommonProperties, textPosition) == 42, "CommonProperties layout");
static_assert(offsetof(CommonProperties, textAlignmentSame) == 44, "CommonProperties layout");
static_assert(offsetof(CommonProperties, reserved45) == 45, "CommonProperties layout");
static_assert(offsetof(CommonProperties, textAlignment) == 46, "CommonProperties layout");

#define VELMORA_SETTINGS_AT(field, offset, width)                                   \
    static_assert(offsetof(PlanSettings, field) == (offset), #field " offset");     \
    static_assert(sizeof(PlanSettings::field) == (width), #field " width")

VELMORA_SETTINGS_AT(duplicateOffsetX, 0, 4);
VELMORA_SETTINGS_AT(duplicateOffsetZ, 4, 4);
VELMORA_SETTINGS_AT(duplicateCount, 8, 2);
VELMORA_SETTINGS_AT(referenceX, 10, 4);
VELMORA_SETTINGS_AT(referenceHeight, 14, 4);
VELMORA_SETTINGS_AT(referenceZ, 18, 4);
VELMORA_SETTINGS_AT(viewPlane, 22, 2);
VELMORA_SETTINGS_AT(limitLockHeight, 24, 1);
VELMORA_SETTINGS_AT(limitLockDepth, 25, 1);
VELMORA_SETTINGS_AT(limitLockX, 26, 1);
VELMORA_SETTINGS_AT(reserved27, 27, 1);
VELMORA_SETTINGS_AT(reserved28, 28, 1);
VELMORA_SETTINGS_AT(gridVisible, 29, 1);
VELMORA_SETTINGS_AT(snapToGrid, 30, 1);
VELMORA_SETTINGS_AT(pad31, 31, 1);
VELMORA_SETTINGS_AT(gridSpacingX, 32, 4);
VELMORA_SETTINGS_AT(gridSpacingY, 36, 4);
VELMORA_SETTINGS_AT(snapStepX, 40, 4);
VELMORA_SETTINGS_AT(snapStepY, 44, 4);
VELMORA_SETTINGS_AT(scrollStep, 48, 2);
VELMORA_SETTINGS_AT(nudgeDistance, 50, 4);
VELMORA_SETTINGS_AT(defaultFirstStyle, 54, 2);
VELMORA_SETTINGS_AT(defaultPenWidth, 56, 2);
VELMORA_SETTINGS_AT(reserved58, 58, 2);
VELMORA_SETTINGS_AT(extentTop, 60, 4);
VELMORA_SETTINGS_AT(extentLeft, 64, 4);
VELMORA_SETTINGS_AT(extentBottom, 68, 4);
VELMORA_SETTINGS_AT(extentRight, 72, 4);
VELMORA_SETTINGS_AT(reserved76, 76, 2);
VELMORA_SETTINGS_AT(reserved78, 78, 2);
VELMORA_SETTINGS_AT(reserved80, 80, 2);
VELMORA_SETTINGS_AT(reserved82, 82, 2);
VELMORA_SETTINGS_AT(reserved84, 84, 2);
VELMORA_SETTINGS_AT(siteUnit, 86, 2);
VELMORA_SETTINGS_AT(siteWidth, 88, 4);
VELMORA_SETTINGS_AT(siteDepth, 92, 4);
VELMORA_SETTINGS_AT(endMarkChoice, 96, 2);
VELMORA_SETTINGS_AT(dimensionToleranceA, 98, 4);
VELMORA_SETTINGS_AT(dimensionToleranceB, 102, 4);
VELMORA_SETTINGS_AT(styleChoice, 106, 2);
VELMORA_SETTINGS_AT(openingDrawValue, 108, 4);
VELMORA_SETTINGS_AT(reserved112, 112, 2);
VELMORA_SETTINGS_AT(groundColour, 114, 6);
VELMORA_SETTINGS_AT(newObjectColour, 120, 6);
VELMORA_SETTINGS_AT(foregroundColour, 126, 6);
VELMORA_SETTINGS_AT(backgroundColour, 132, 6);
VELMORA_SETTINGS_AT(displayFormat, 138, 2);
VELMORA_SETTINGS_AT(reserved140, 140, 2);
VELMORA_SETTINGS_AT(toolBarFlag, 142, 1);
VELMORA_SETTINGS_AT(pad143, 143, 1);
VELMORA_SETTINGS_AT(drawingScale, 144, 4);
VELMORA_SETTINGS_AT(paperUnit, 148, 2);
VELMORA_SETTINGS_AT(drawingUnit, 150, 2);
VELMORA_SETTINGS_AT(scaleDialogFlag, 152, 1);
VELMORA_SETTINGS_AT(pad153, 153, 1);
VELMORA_SETTINGS_AT(scalePaperLength, 154, 4);
VELMORA_SETTINGS_AT(scaleDrawingLength, 158, 4);
VELMORA_SETTINGS_AT(curveSteps, 162, 2);
VELMORA_SETTINGS_AT(multigonSides, 164, 2);
VELMORA_SETTINGS_AT(reserved166, 166, 2);
VELMORA_SETTINGS_AT(pickTolerance, 168, 2);
VELMORA_SETTINGS_AT(recomputeValue, 170, 2);
VELMORA_SETTINGS_AT(zoom, 172, 4);
VELMORA_SETTINGS_AT(zoomPercent, 176, 2);
VELMORA_SETTINGS_AT(centreDrawing, 178, 1);
VELMORA_SETTINGS_AT(reserved179, 179, 1);
VELMORA_SETTINGS_AT(styleWord, 180, 4);
VELMORA_SETTINGS_AT(viewTitleMode, 184, 2);
VELMORA_SETTINGS_AT(commonProperties, 186, 48);
VELMORA_SETTINGS_AT(view3DMode, 234, 2);
VELMORA_SETTINGS_AT(wallThicknessPreset, 236, 2);
VELMORA_SETTINGS_AT(wallDialogLength, 238, 4);
VELMORA_SETTINGS_AT(wallThickness, 242, 4);
VELMORA_SETTINGS_AT(wallHeight, 246, 4);
VELMORA_SETTINGS_AT(wallColour, 250, 6);
VELMORA_SETTINGS_AT(wallDefault256, 256, 4);
VELMORA_SETTINGS_AT(wallDefault260, 260, 4);
VELMORA_SETTINGS_AT(doorStyle, 264, 2);
VELMORA_SETTINGS_AT(doorWidth, 266, 4);
VELMORA_SETTINGS_AT(doorHeight, 270, 4);
VELMORA_SETTINGS_AT(doorCasingWidth, 274, 4);
VELMORA_SETTINGS_AT(doorColour, 278, 6);
VELMORA_SETTINGS_AT(windowStyle, 284, 2);
VELMORA_SETTINGS_AT(windowBarsAcross, 286, 2);
VELMORA_SETTINGS_AT(windowBarsDown, 288, 2);
VELMORA_SETTINGS_AT(windowWidth, 290, 4);
VELMORA_SETTINGS_AT(windowHeight, 294, 4);
VELMORA_SETTINGS_AT(windowElevation, 298, 4);
VELMORA_SETTINGS_AT(windowCasingWidth, 302, 4);
VELMORA_SETTINGS_AT(windowColour, 306, 6);
VELMORA_SETTINGS_AT(roofPitchPreset, 312, 2);
VELMORA_SETTINGS_AT(roofDialogLength314, 314, 4);
VELMORA_SETTINGS_AT(roofPitch, 318, 4);
VELMORA_SETTINGS_AT(roofStyle, 322, 2);
VELMORA_SETTINGS_AT(reserved324, 324, 2);
VELMORA_SETTINGS_AT(reserved326, 326, 2);
VELMORA_SETTINGS_AT(roofColour, 328, 6);
VELMORA_SETTINGS_AT(dimensionDialogValue, 334, 2);
VELMORA_SETTINGS_AT(dimensionColour, 336, 6);
VELMORA_SETTINGS_AT(unitSystem, 342, 2);
VELMORA_SETTINGS_AT(zoomTopView, 344, 4);
VELMORA_SETTINGS_AT(zoomOtherViews, 348, 4);
VELMORA_SETTINGS_AT(printScaleChoice, 352, 2);
VELMORA_SETTINGS_AT(cameraHeading, 354, 4);
VELMORA_SETTINGS_AT(cameraX, 358, 4);
VELMORA_SETTINGS_AT(cameraZ, 362, 4);
VELMORA_SETTINGS_AT(view3DValue366, 366, 4);
VELMORA_SETTINGS_AT(view3DValue370, 370, 4);
VELMORA_SETTINGS_AT(view3DValue374, 374, 4);
VELMORA_SETTINGS_AT(view3DValue378, 378, 4);
VELMORA_SETTINGS_AT(view3DValue382, 382, 4);
VELMORA_SETTINGS_AT(view3DValue386, 386, 4);
VELMORA_SETTINGS_AT(view3DValue390, 390, 4);
VELMORA_SETTINGS_AT(view3DValue394, 394, 2);
VELMORA_SETTINGS_AT(moveSpeed3D, 396, 2);
VELMORA_SETTINGS_AT(skyColour, 398, 6);
VELMORA_SETTINGS_AT(view3DValue404, 404, 2);
VELMORA_SETTINGS_AT(view3DFlag406, 406, 1);
VELMORA_SETTINGS_AT(pad407, 407, 1);
VELMORA_SETTINGS_AT(cathedralCeiling, 408, 2);
VELMORA_SETTINGS_AT(cameraMode, 410, 2);
VELMORA_SETTINGS_AT(aerialPitch, 412, 4);
VELMORA_SETTINGS_AT(aerialYaw, 416, 4);
VELMORA_SETTINGS_AT(reserved420, 420, 1);
VELMORA_SETTINGS_AT(pad421, 421, 1);
VELMORA_SETTINGS_AT(swatchColours, 422, 288);
VELMORA_SETTINGS_AT(backgroundTextureId, 710, 4);
VELMORA_SETTINGS_AT(fillToolValue, 714, 2);
VELMORA_SETTINGS_AT(fillTexture, 716, 2);
VELMORA_SETTINGS_AT(areaKindFlag, 718, 1);
VELMORA_SETTINGS_AT(pad719, 719, 1);
VELMORA_SETTINGS_AT(pathTexture, 720, 2);
VELMORA_SETTINGS_AT(pathBorderFlag, 722, 1);
VELMORA_SETTINGS_AT(pad723, 723, 1);
VELMORA_SETTINGS_AT(pathWidth, 724, 4);
VELMORA_SETTINGS_AT(pathDefault728, 728, 4);
VELMORA_SETTINGS_AT(pathDefault732, 732, 4);
VELMORA_SETTINGS_AT(pathDefault736, 736, 4);
VELMORA_SETTINGS_AT(pathFlag, 740, 1);
VELMORA_SETTINGS_AT(pad741, 741, 1);
VELMORA_SETTINGS_AT(fenceColour, 742, 6);
VELMORA_SETTINGS_AT(fenceStyle, 748, 2);
VELMORA_SETTINGS_AT(fenceLength750, 750, 4);
VELMORA_SETTINGS_AT(fenceLength754, 754, 4);
VELMORA_SETTINGS_AT(fenceLength758, 758, 4);
VELMORA_SETTINGS_AT(fenceLength762, 762, 4);
VELMORA_SETTINGS_AT(fenceSecondColour, 766, 6);
VELMORA_SETTINGS_AT(gateWidth, 772, 4);
VELMORA_SETTINGS_AT(gateHeight, 776, 4);
VELMORA_SETTINGS_AT(gateColour, 780, 6);
VELMORA_SETTINGS_AT(paintTextureId, 786, 2);
VELMORA_SETTINGS_AT(plantAge, 788, 4);
VELMORA_SETTINGS_AT(gridStyle, 792, 2);
VELMORA_SETTINGS_AT(stairWidth, 794, 4);
VELMORA_SETTINGS_AT(stairRiserHeight, 798, 4);
VELMORA_SETTINGS_AT(stairTreadDepth, 802, 4);
VELMORA_SETTINGS_AT(stairRailingHeight, 806, 4);
VELMORA_SETTINGS_AT(stairRailingFirstSide, 810, 1);
VELMORA_SETTINGS_AT(stairRailingSecondSide, 811, 1);
VELMORA_SETTINGS_AT(railingHeight, 812, 4);
VELMORA_SETTINGS_AT(railingBalusterSpacing, 816, 4);
VELMORA_SETTINGS_AT(railingFlag820, 820, 1);
VELMORA_SETTINGS_AT(railingFlag821, 821, 1);
VELMORA_SETTINGS_AT(tracingImagePath, 822, 512);
VELMORA_SETTINGS_AT(tracingImageShown, 1334, 1);
VELMORA_SETTINGS_AT(pad1335, 1335, 1);
VELMORA_SETTINGS_AT(tracingScaleX, 1336, 4);
VELMORA_SETTINGS_AT(tracingScaleY, 1340, 4);
VELMORA_SETTINGS_AT(dimensionDrawing, 1344, 1);
VELMORA_SETTINGS_AT(labelDrawing, 1345, 1);
VELMORA_SETTINGS_AT(framingStyle, 1346, 1);
VELMORA_SETTINGS_AT(pad1347, 1347, 1);
VELMORA_SETTINGS_AT(reservedColour1348, 1348, 6);
VELMORA_SETTINGS_AT(inactiveColour, 1354, 6);
VELMORA_SETTINGS_AT(renderQuality, 1360, 1);
VELMORA_SETTINGS_AT(pad1361, 1361, 1);
VELMORA_SETTINGS_AT(renderShadowValue, 1362, 4);
VELMORA_SETTINGS_AT(lightDirectionX, 1366, 4);
VELMORA_SETTINGS_AT(lightDirectionY, 1370, 4);
VELMORA_SETTINGS_AT(lightDirectionZ, 1374, 4);
VELMORA_SETTINGS_AT(antiAliasPasses, 1378, 4);
VELMORA_SETTINGS_AT(drawValue3D, 1382, 4);
VELMORA_SETTINGS_AT(studSpacing, 1386, 4);
VELMORA_SETTINGS_AT(value3D1390, 1390, 4);
VELMORA_SETTINGS_AT(reserved1394, 1394, 4);
VELMORA_SETTINGS_AT(reserved1398, 1398, 4);
VELMORA_SETTINGS_AT(frameValue, 1402, 4);
VELMORA_SETTINGS_AT(lightingValue, 1406, 4);
VELMORA_SETTINGS_AT(modified, 1410, 4);
VELMORA_SETTINGS_AT(hideDoors3D, 1414, 4);
VELMORA_SETTINGS_AT(deckHeight, 1418, 4);
VELMORA_SETTINGS_AT(deckRailing, 1422, 1);
VELMORA_SETTINGS_AT(pad1423, 1423, 1);
VELMORA_SETTINGS_AT(deckRailingHeight, 1424, 4);
VELMORA_SETTINGS_AT(deckBalusterSpacing, 1428, 4);
VELMORA_SETTINGS_AT(deckSegmentFlag1432, 1432, 1);
VELMORA_SETTINGS_AT(deckSegmentFlag1433, 1433, 1);
VELMORA_SETTINGS_AT(deckStepsFlag1434, 1434, 1);
VELMORA_SETTINGS_AT(deckStepsFlag1435, 1435, 1);
VELMORA_SETTINGS_AT(deckStepsWidth, 1436, 4);
VELMORA_SETTINGS_AT(deckStepsHeight, 1440, 4);
VELMORA_SETTINGS_AT(visibleCategories, 1444, 4);
VELMORA_SETTINGS_AT(tabCategoryMasks, 1448, 32);
VELMORA_SETTINGS_AT(reserved1480, 1480, 4);
VELMORA_SETTINGS_AT(activeCategory, 1484, 4);
VELMORA_SETTINGS_AT(view3DValue1488, 1488, 2);
VELMORA_SETTINGS_AT(view3DFlag1490, 1490, 1);
VELMORA_SETTINGS_AT(pad1491, 1491, 1);
VELMORA_SETTINGS_AT(orthographic3D, 1492, 2);
VELMORA_SETTINGS_AT(workingElevation, 1494, 4);
VELMORA_SETTINGS_AT(workingElevationValue, 1498, 6);
VELMORA_SETTINGS_AT(reserved1504, 1504, 1);
VELMORA_SETTINGS_AT(pad1505, 1505, 1);
VELMORA_SETTINGS_AT(renderValue1506, 1506, 2);
VELMORA_SETTINGS_AT(floorToolDefaults, 1508, 20);
VELMORA_SETTINGS_AT(fixtureToolDefaults, 1528, 20);
VELMORA_SETTINGS_AT(fixtureSizes, 1548, 24);
VELMORA_SETTINGS_AT(ductWidth, 1572, 4);
VELMORA_SETTINGS_AT(ductHeight, 1576, 4);
VELMORA_SETTINGS_AT(slopeDefault, 1580, 4);
VELMORA_SETTINGS_AT(topographyStep, 1584, 4);
VELMORA_SETTINGS_AT(swatchColour, 1588, 4);
VELMORA_SETTINGS_AT(plantSearch, 1592, 20);
VELMORA_SETTINGS_AT(plantSearchOn, 1612, 1);
VELMORA_SETTINGS_AT(pad1613, 1613, 1);
static_assert(sizeof(PlanSettings) == kPlanSettingsSize, "PlanSettings is the 1614-byte stored record");

#undef VELMORA_SETTINGS_AT

// Defaults and limits of the settings fields that serve as divisors, counts or paths.
constexpr float kPlanDefaultDrawingScale = 36.0f;         // 144
constexpr uint16_t kPlanDefaultCurveSteps = 8;            // 162
constexpr uint16_t kPlanCurveStepsWithoutDocument = 10;
constexpr uint16_t kPlanMaxCurveSteps = 200;
constexpr float kPlanDefaultZoom = 0.6f;                  // 172
// The smallest zoom ever used, so that no zoom divides by zero.
constexpr float kMinimumZoom = 0.01f;
constexpr uint32_t kPlanDefaultAntiAliasPasses = 8;       // 1378
constexpr uint32_t kPlanMaxAntiAliasPasses = 24;

// The record is read raw from plan files, so these fields can hold anything. Read them
// through these accessors wherever they divide, count or name a file:
// - drawing scale: a value that is not positive and finite gives the default 36;
// - curve steps: read as a signed 16-bit count; 0 or below gives the default 8, more
//   than kPlanMaxCurveSteps is clamped; 10 without settings;
// - zoom: a value that is not positive and finite gives the default 0.6, a smaller one
//   than kMinimumZoom gives kMinimumZoom; 1.0 (no zoom) without settings;
// - anti-alias passes: 0 gives the default 8, more than kPlanMaxAntiAliasPasses is clamped;
// - tracing-image path: terminated in place at its last byte; "" without settings.
float UsableDrawingScale(const PlanSettings* settings);
uint16_t UsableCurveSteps(const PlanSettings* settings);
float UsableZoom(const PlanSettings* settings);
uint32_t UsableAntiAliasPasses(const PlanSettings* settings);
const char* UsableTracingImagePath(PlanSettings* settings);

// A zeroed record filled with every default; null when memory runs out. Free it with
// FreePlanSettings.
PlanSettings* CreatePlanSettings();
void FreePlanSettings(PlanSettings* settings);

// Writes every default and the derived fields; nothing for null.
void InitPlanSettings(PlanSettings* settings);

// The common-value record of the current drawing defaults: first set, every value the
// same for all, the values from the settings and the builders' program-wide defaults.
void FillCommonValuesFromSettings(const PlanSettings* settings, CommonProperties* properties);

// Re-derive their bits of the style word from the stored choices; nothing for null.
void ApplyEndMarkChoice(PlanSettings* settings);
void ApplyStyleChoice5054(PlanSettings* settings);
void ApplyDisplayFormatChoice(PlanSettings* settings);
