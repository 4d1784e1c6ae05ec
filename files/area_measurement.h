#pragma once
// Quantities of a plan. The area measurement fills outlines black into the off-screen
// measuring surface (planview/output_routing, made here on first use and kept) and
// counts the black pixels; the measure commands show its results and the estimate uses
// it for the storey areas. The cost estimate collects one item per countable thing of
// the plan (storey and terrain areas, railing totals, openings by style, fixtures,
// piers, ducts, cables, wall runs with their studs, roofs, plants) and writes them to
// the exchange file the estimate spreadsheet reads. Areas come in square metres with
// the metric unit system and in square feet otherwise, always from inches: the drawing
// unit is converted first, so a plan drawn in feet measures like one drawn in inches.
#include <stdint.h>

struct OpeningRecord;
struct PlanFloor;
struct PlanObject;
struct PlanSettings;

// One line of the estimate, zeroed on allocation, in the list that starts at
// estimateItems; the list lives only while the estimate file is written.
struct EstimateItem {
    EstimateItem* previous;
    uint32_t code;              // item code: an object type, a style, a symbol code or 10001..10007
    uint32_t count;             // storey number, a count or the roof style, by code
    float length;               // drawing units (metres where the code says so)
    float width;
    float height;               // height or depth
    uint32_t subValue;          // roofs: their second style word, sign-extended
    float thickness;            // wall thickness
    float quantity;             // an area
    float pitch;                // roof pitch
    float studSpacing;          // wall stud spacing
    uint32_t extra;             // plants: their planting age, sign-extended
    char caption[64];           // NUL-terminated, at most 63 characters
    uint32_t reserved[4];       // always 0
    EstimateItem* next;
};

// Fixed item codes.
enum EstimateItemCode : uint32_t {
    kEstimateStoreyArea = 10001,
    kEstimateWallSegment = 10002,
    kEstimateTerrainArea = 10003,
    kEstimateHandrails = 10004,
    kEstimatePosts = 10005,
    kEstimateBalusters = 10007,
};

// Bytes of one item in the estimate file (after its u16 tag 200).
constexpr uint32_t kEstimateItemBodyBytes = 124;

// Head of the estimate's item list; null outside WriteEstimateFile.
extern EstimateItem* estimateItems;
// 1 (the default): a measurement stops when a mouse button is down and shows the
// app-starting cursor; 0 while the estimate is prepared (not cancellable, wait cursor).
extern uint8_t measurementCancellable;

// The total area of the floor's top-level objects of the type; 0 when nothing is found,
// the plan extents are empty or there is no document, settings or measuring surface;
// -1 when cancelled. With the clear flag the surface is painted white first.
float MeasureAreaOfType(PlanFloor* floor, unsigned short type, int clear);
// The area inside one object's outline, curves included; 0 or -1 likewise.
float MeasureObjectArea(PlanObject* object);
// The steps of the two: the object's first ring, and its tessellated outline, filled
// at the scale (pixels per plan unit); the black pixels counted, in square plan units,
// or -1 when cancelled.
void FillObjectOutline(PlanObject* object, float scale);
void FillObjectPathOutline(PlanObject* object, float scale);
float CountBlackPixels(float scale);

// Rebuilds the item list from the active document; nothing without one.
void PrepareEstimateData();
// A new item at the end of the list, or null when memory runs out.
EstimateItem* AddEstimateItem();
void FreeEstimateItems();

// Size texts of the items, into text (at least 64 bytes; longer texts are cut):
// "0.91 m. x 2.03 m." with the metric unit systems, "3'-0\" x 6'-8\"" with feet and
// inches. The opening's width and height fields (plan units) are handed back as stored.
void FormatOpeningSize(const OpeningRecord* record, float* width, float* height, char* text,
                       const PlanSettings* settings);
void FormatEstimateSizePair(float width, float height, char* text, const PlanSettings* settings);
void FormatEstimateLength(float length, char* text, const PlanSettings* settings);

// Builds the estimate of the active plan and writes it to path, through the safe save:
// the old file is replaced whole or kept. False without a document and settings or when
// the file could not be written; shows no message (the caller does).
bool WriteEstimateFile(const char* path);
// The stream writers of the file: all items and the end tag, one tagged item, one body.
void WriteEstimateItems();
void WriteEstimateRecord(const EstimateItem* item);
void WriteEstimateItem(const EstimateItem* item);
