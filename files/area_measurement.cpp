#include "files/area_measurement.h"
#include "files/plan_file.h"
#include "files/record_stream.h"
#include "files/safe_save.h"
#include "model/deck_parts.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/record_memory.h"
#include "model/units.h"
#include "model3d/outline_tessellation.h"
#include "model3d/railings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/stairs.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "shell/app_globals.h"
#include "shell/measurement_bar.h"
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

EstimateItem* estimateItems = nullptr;
uint8_t measurementCancellable = 1;

static_assert(sizeof(EstimateItem{}.caption) == 64, "an estimate caption is 64 bytes in the file");

namespace {

// The last item of the list, so that a plan of many walls appends in constant time.
EstimateItem* lastEstimateItem = nullptr;

const char kPreparingText[] = "Preparazione dati per Revazov Udodovezuz...";
const char kProgressText[] = "Preparazione dati per \nRevazov Udodovezuz...";
const uint16_t kEstimateItemTag = 200;
const uint16_t kEstimateEndTag = 400;

// ---------------------------------------------------------------------------------
// Units

bool IsMetric(const PlanSettings* settings)
{
    return settings->unitSystem != kUnitSystemFeetInches;
}

// A length in drawing units as metres (metric unit system) or unchanged (the other
// metric codes keep drawing units, as the unit system says nothing of their scale).
float UnitsAsMetres(float length, const PlanSettings* settings)
{
    if (settings->unitSystem != kUnitSystemMetric)
        return length;
    return InchesToMetres(ConvertUnitsToInches(length, settings));
}

// An area in square drawing units as square metres (metric unit system) or square feet.
float SquareUnitsToArea(float area, const PlanSettings* settings)
{
    const float squareInches = ConvertUnitsToInches(ConvertUnitsToInches(area, settings), settings);
    if (settings->unitSystem == kUnitSystemMetric)
        return InchesToMetres(InchesToMetres(squareInches));
    return squareInches / 144.0f;
}

long WholePart(float value)
{
    return static_cast<long>(value);
}

// Feet and inches of a length in inches: 3'-6", or 7" below a foot.
void FormatFeetAndInches(float inches, char* text, size_t size)
{
    float whole = 0.0f;
    const float fraction = std::modf(inches / 12.0f, &whole);
    long feet = WholePart(whole);
    long rest = WholePart(fraction * 12.0f + 0.5f);
    if (rest == 12) {
        ++feet;
        rest = 0;
    }
    if (feet == 0)
        std::snprintf(text, size, "%ld\"", rest);
    else
        std::snprintf(text, size, "%ld'-%ld\"", feet, rest);
}

void FormatOneLength(float length, char* text, size_t size, const PlanSettings* settings)
{
    if (IsMetric(settings))
        std::snprintf(text, size, "%0.2f m.", static_cast<double>(UnitsAsMetres(length, settings)));
    else
        FormatFeetAndInches(ConvertUnitsToInches(length, settings), text, size);
}

// Copies a text into a caption, cut to 63 characters and a NUL.
void SetCaption(EstimateItem* item, const char* text)
{
    const size_t length = text ? strnlen(text, sizeof item->caption - 1) : 0;
    std::memcpy(item->caption, text ? text : "", length);
    std::memset(item->caption + length, 0, sizeof item->caption - length);
}

// ---------------------------------------------------------------------------------
// Measuring

// Pixels per plan unit: the longer side of the plan extents fills the surface; 0 for
// empty or broken extents.
float SurfaceScale(const PlanSettings* settings)
{
    const float w = settings->extentRight - settings->extentLeft;
    const float h = settings->extentBottom - settings->extentTop;
    if (!(w > 0.0f) || !(h > 0.0f))
        return 0.0f;
    const float scale = static_cast<float>(measureSurfaceSize) / (w <= h ? h : w);
    return std::isfinite(scale) && scale > 0.0f ? scale : 0.0f;
}

// Surface coordinates are rounded to the nearest pixel, downward for negative ones too:
// the surface's origin is its centre, and truncating toward zero would shift every
// outline edge left of or above it by a pixel, so a square around the centre would lose
// a row and a column. Kept to what GDI takes.
int SurfaceCoordinate(float value)
{
    const float rounded = std::floor(value + 0.5f);
    if (!(rounded > -32767.0f))
        return -32767;
    if (!(rounded < 32767.0f))
        return 32767;
    return static_cast<int>(rounded);
}

bool MeasurementCancelled()
{
    return measurementCancellable && IsMouseButtonDown();
}

// The app-starting cursor while a measurement can be stopped, the wait cursor while it
// cannot; the previous one comes back at the end.
class MeasurementCursor {
public:
    MeasurementCursor()
        : previous(SetCursor(LoadCursorA(nullptr, measurementCancellable ? IDC_APPSTARTING : IDC_WAIT)))
    {
    }
    ~MeasurementCursor() { SetCursor(previous); }

private:
    HCURSOR previous;
};

// The surface is made at the first measurement and kept for the next ones.
bool MeasuringSurfaceReady()
{
    CreateMeasureSurface();
    return measureSurfaceDC != nullptr;
}

// A counted area in square plan units as the caller's area; 0 stays 0, -1 (cancelled)
// stays -1.
float PlanAreaToArea(float planArea, const PlanSettings* settings)
{
    if (!(planArea > 0.0f))
        return planArea < 0.0f ? -1.0f : 0.0f;
    const float squareUnits = PlanLengthToUnits(PlanLengthToUnits(planArea, settings, 0), settings, 0);
    return SquareUnitsToArea(squareUnits, settings);
}

// Black pixels among the first `width` of a row of a 1-bit DIB.
uint32_t CountRowBits(const uint8_t* row, int width, bool countOnes)
{
    uint32_t count = 0;
    const int fullBytes = width / 8;
    for (int i = 0; i < fullBytes; ++i) {
        const uint8_t bits = countOnes ? row[i] : static_cast<uint8_t>(~row[i]);
        count += static_cast<uint32_t>(__builtin_popcount(bits));
    }
    if (const int rest = width % 8) {
        const uint8_t mask = static_cast<uint8_t>(0xFF << (8 - rest));
        const uint8_t bits = countOnes ? row[fullBytes] : static_cast<uint8_t>(~row[fullBytes]);
        count += static_cast<uint32_t>(__builtin_popcount(bits & mask));
    }
    return count;
}

// ---------------------------------------------------------------------------------
// Estimate items

struct CodeText {
    uint32_t code;
    const char* text;
};

const CodeText kStyleNames[] = {
    {500, " Apertura squadrata"}, {501, " a 6 pannelli"}, {502, " Scorrevole in vetro"},
    {503, " Garage basculante"}, {504, " Apertura arcuata"}, {505, " Apertura ellittica"},
    {506, " Arco a 6 pannelli"}, {507, " Arco ellittico a 6 pannelli"}, {508, " Con vetrata"},
    {509, " 9 luci"}, {510, " A scomparsa"}, {511, " A libro"},
    {601, " Semicerchio"}, {602, " Lunetta"}, {603, " Ellisse"}, {604, " Arco"},
    {605, " Quarto di arco"}, {606, " Quarto di arco"}, {607, " Quarto di ellisse"},
    {608, " Quarto di ellisse"}, {609, " Quarto di cerchio"}, {610, " Quarto di cerchio"},
    {611, " Lunetta ad un angolo"}, {612, " Lunetta ad un angolo"}, {613, " Lunetta a doppio angolo"},
    {614, " Trapezio"}, {615, " Trapezio"}, {616, " Semi-triangolare"}, {617, " Semi-triangolare"},
    {618, " Triangolo"}, {619, " Pentagono"}, {620, " Parallelogramma"}, {621, " Parallelogramma"},
    {622, " Ottagono"}, {623, " Cerchio"}, {624, " Quarto di lunetta"}, {625, " Quarto di lunetta"},
};

// Wall elements: the name replaces the size text, except for the baths and the shower,
// whose name follows it.
const CodeText kWallElementNames[] = {
    {55, "Presa (110v)"}, {65, "Presa con messa a terra (110v)"}, {66, "Presa commutata (110v)"},
    {67, "Presa da esterni (110v)"}, {70, "Presa (220v)"}, {73, "Interruttore"},
    {74, "Interruttore a 3 vie"}, {75, "Interruttore intermedio"}, {76, "Interruttore a 5 vie"},
    {77, "Dimmer"}, {78, "Interruttore da esterni"}, {83, "Impianto faretti (coppia)"},
    {84, "Presa TV/via cavo"}, {85, "Presa del telefono"}, {86, "Rilevatore di fumo"},
    {87, "Termostato"}, {90, "WC"}, {91, "Lavandino singolo"}, {92, "Lavandino doppio"},
    {93, "Lavandino triplo"}, {94, "Lavandino ovale"}, {99, "Tubo flessibile"}, {109, "Tubo gas"},
    {124, "Scaldabagno da terra"},
};
const CodeText kAppendedWallElementNames[] = {
    {95, " Vasca/Doccia"}, {96, " Vasca idromassaggio"}, {97, " Doccia"},
};

// Free-standing fixtures, grouped under their symbol code.
const CodeText kFreeSymbolNames[] = {
    {68, "Presa pavimento (110v)"}, {69, "Presa soffitto (110v)"}, {71, "Presa pavimento (220v)"},
    {72, "Presa soffitto (220v)"}, {79, "Impianto illuminazione standard"}, {80, "Luci ad incasso"},
    {81, "Impianto illuminazione-ventilazione-riscaldamento"}, {82, "Impianto illuminazione-ventilazione"},
    {88, "Ventilatore da soffitto"}, {98, "Scaldabagno"}, {110, "Piletta di scarico"},
    {118, "Griglia aria a pavimento"}, {119, "Griglia aria a soffitto"}, {120, "Griglia areazione"},
    {121, "Caldaia"}, {122, "Condizionatore"}, {123, "Pompa di calore"},
};

const char* const kStoreyNames[3] = {"First Floor", "Second Floor", "Third Floor"};
const char* const kStoreyAreaCaptions[3] = {
    "Metri quadrati pianterreno (±)", "Metri quadrati primo piano (±)", "Metri quadrati secondo piano (±)"};

template <size_t N>
const char* FindText(const CodeText (&table)[N], uint32_t code)
{
    for (const CodeText& entry : table)
        if (entry.code == code)
            return entry.text;
    return nullptr;
}

const char* OpeningStyleName(const OpeningRecord* record)
{
    if (record->style == 600)
        return record->glazingBarsAcross == 0 && record->glazingBarsDown == 1 ? " Telaio incassato" : " A battenti";
    return FindText(kStyleNames, record->style);
}

uint32_t SignExtended(uint16_t word)
{
    return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(word)));
}

EstimateItem* AddItem(uint32_t code, const char* caption)
{
    EstimateItem* item = AddEstimateItem();
    if (item) {
        item->code = code;
        SetCaption(item, caption);
    }
    return item;
}

float PlanDistance(const PlanVertex* a, const PlanVertex* b)
{
    return Distance2D(a->position[0], a->position[2], b->position[0], b->position[2]);
}

// Doors and windows by style, wall elements by symbol code.
void AddOpeningItems(const PlanObject* wall, const PlanSettings* settings)
{
    for (const PlanObject* child = wall->firstChild; child; child = child->next) {
        const OpeningRecord* record = static_cast<const OpeningRecord*>(child->link);
        if (!record || (child->type != ObjDoor && child->type != ObjWindow && child->type != ObjWallElement))
            continue;
        float width = 0.0f, height = 0.0f;
        char size[64] = "";
        FormatOpeningSize(record, &width, &height, size, settings);
        char caption[128];
        EstimateItem* item = nullptr;
        if (child->type == ObjWallElement) {
            const char* name = FindText(kWallElementNames, child->subType);
            const char* appended = FindText(kAppendedWallElementNames, child->subType);
            std::snprintf(caption, sizeof caption, "%s%s", name ? "" : size, name ? name : appended ? appended : "");
            item = AddItem(child->subType, caption);
        } else {
            const char* name = OpeningStyleName(record);
            std::snprintf(caption, sizeof caption, "%s%s", size, name ? name : "");
            item = AddItem(record->style, caption);
            if (item)
                item->thickness = wall->size;
        }
        if (item) {
            item->width = width;
            item->height = height;
        }
    }
}

// One wall run: its length, studs, height and thickness, and the stud caption.
void AddWallSegmentItem(const PlanObject* wall, float planLength, float height, const PlanSettings* settings)
{
    // Thickness and height are drawing units; the caption names whole inches.
    const long thickness = WholePart(ConvertUnitsToInches(wall->size, settings) + 0.5f);
    const long rise = WholePart(ConvertUnitsToInches(height, settings) + 0.5f);
    char caption[128];
    if (settings->unitSystem == kUnitSystemMetric)
        std::snprintf(caption, sizeof caption, "0.05m x %0.2fm x %0.2fm Montanti",
                      static_cast<double>(InchesToMetres(static_cast<float>(thickness))),
                      static_cast<double>(InchesToMetres(static_cast<float>(rise))));
    else
        std::snprintf(caption, sizeof caption, "2\" x %ld\" x %ld\" Montanti", thickness, rise);
    EstimateItem* item = AddItem(kEstimateWallSegment, caption);
    if (!item)
        return;
    item->length = PlanLengthToUnits(planLength, settings, 0);
    item->studSpacing = wall->parameters[1] < 6.0f ? 16.0f : wall->parameters[1];
    item->height = height;
    item->thickness = wall->size;
}

void AddWallItems(const PlanObject* wall, const PlanSettings* settings)
{
    AddOpeningItems(wall, settings);
    const PlanVertex* last = wall->firstVertex;
    for (const PlanVertex* v = wall->firstVertex; v && v->next; v = v->next) {
        AddWallSegmentItem(wall, PlanDistance(v, v->next), v->mainHeight, settings);
        last = v->next;
    }
    const PlanVertex* first = wall->firstVertex;
    if (wall->closed && first && last != first &&
        (last->position[0] != first->position[0] || last->position[2] != first->position[2]))
        AddWallSegmentItem(wall, PlanDistance(last, first), wall->parameters[0], settings);
}

void AddRoofItem(const PlanObject* roof, const PlanSettings* settings)
{
    const PlanVertex* v1 = roof->firstVertex;
    const PlanVertex* v2 = v1 ? v1->next : nullptr;
    const PlanVertex* v3 = v2 ? v2->next : nullptr;
    const PlanVertex* v4 = v3 ? v3->next : nullptr;
    if (!v4)
        return;
    EstimateItem* item = AddItem(ObjRoof, "Tetto");
    if (!item)
        return;
    item->count = roof->styleOrTexture;
    item->pitch = roof->size;
    item->subValue = SignExtended(roof->value2);
    item->width = UnitsAsMetres(PlanLengthToUnits(PlanDistance(v1, v4), settings, 0), settings);
    item->length = UnitsAsMetres(PlanLengthToUnits(PlanDistance(v1, v2), settings, 0), settings);
}

void AddFreehandRoofItem(const PlanObject* roof, const PlanSettings* settings)
{
    EstimateItem* item = AddItem(ObjFreehandRoof, "Tetto");
    if (!item)
        return;
    const float w = PlanLengthToUnits(std::fabs(roof->box3D[4] - roof->box3D[1]), settings, 0);
    const float d = PlanLengthToUnits(std::fabs(roof->box3D[5] - roof->box3D[2]), settings, 0);
    item->quantity = SquareUnitsToArea(w * d, settings);
}

void AddObjectItems(const PlanObject* object, const PlanSettings* settings)
{
    char text[64];
    char caption[128];
    switch (object->type) {
    case ObjTensionCable:
        AddItem(ObjTensionCable, "");
        break;
    case ObjAirDuct:
        if (object->firstVertex && object->firstVertex->next) {
            FormatEstimateSizePair(object->parameters[2], object->parameters[3], text, settings);
            std::snprintf(caption, sizeof caption, "%s Conduttura", text);
            if (EstimateItem* item = AddItem(ObjAirDuct, caption)) {
                item->length = PlanLengthToUnits(PlanDistance(object->firstVertex, object->firstVertex->next), settings, 0);
                item->width = object->parameters[2];
                item->height = object->parameters[3];
            }
        }
        break;
    case ObjGroup:
        if (const char* name = FindText(kFreeSymbolNames, object->styleOrTexture))
            AddItem(object->styleOrTexture, name);
        break;
    case ObjPier:
        FormatEstimateLength(object->parameters[0], text, settings);
        std::snprintf(caption, sizeof caption, "%s Pilastro", text);
        if (EstimateItem* item = AddItem(ObjPier, caption))
            item->width = object->parameters[0];
        break;
    case ObjWall:
        AddWallItems(object, settings);
        break;
    case ObjRoof:
        AddRoofItem(object, settings);
        break;
    case ObjPlant:
        if (object->plantData) {
            // The plant data begins with its common name, 64 characters.
            char name[64] = "";
            std::memcpy(name, object->plantData, sizeof name - 1);
            if (EstimateItem* item = AddItem(ObjPlant, name))
                item->extra = SignExtended(object->value2);
        }
        break;
    case ObjFreehandRoof:
        AddFreehandRoofItem(object, settings);
        break;
    default:
        break;
    }
}

// Storey areas by their walls; the first storey's area, unrounded, for the terrain.
float AddStoreyAreaItems()
{
    float firstStorey = 0.0f;
    for (int i = 0; i < 3; ++i) {
        PlanFloor* storey = FindFloorByName(kStoreyNames[i]);
        const float area = storey ? MeasureAreaOfType(storey, ObjWall, 1) : 0.0f;
        if (i == 0)
            firstStorey = area > 0.0f ? area : 0.0f;
        if (!(area > 0.0f))
            continue;
        if (EstimateItem* item = AddItem(kEstimateStoreyArea, kStoreyAreaCaptions[i])) {
            item->count = static_cast<uint32_t>(i + 1);
            item->quantity = static_cast<float>(WholePart(area + 0.5f));
        }
    }
    return firstStorey;
}

// The stair, railing and deck builders count balusters, posts and handrail length
// while they rebuild.
void AddRailingItems(PlanDocument* document, const PlanSettings* settings)
{
    stairRunState.balusterCount = 0;
    stairRunState.postCount = 0;
    stairRunState.handrailLength = 0.0f;
    RebuildAllStairs(document->firstFloor);
    RebuildAllRailings(document->firstFloor);
    RebuildAllDecks(document->firstFloor);
    RebuildAll3D();
    uint32_t handrails = 0;
    if (stairRunState.handrailLength > 0.0f) {
        // One handrail piece per started foot.
        const float inches = ConvertUnitsToInches(PlanLengthToUnits(stairRunState.handrailLength, settings, 0), settings);
        handrails = static_cast<uint32_t>(WholePart(inches / 12.0f)) + 1;
    }
    if (EstimateItem* item = AddItem(kEstimateBalusters, "Totale conteggio balaustrata:"))
        item->count = stairRunState.balusterCount;
    if (EstimateItem* item = AddItem(kEstimatePosts, "Totale conteggio colonnette:"))
        item->count = stairRunState.postCount;
    if (EstimateItem* item = AddItem(kEstimateHandrails, "Totale lunghezza corrimano:"))
        item->count = handrails;
}

void AddTerrainItem(const PlanSettings* settings, float firstStoreyArea)
{
    const float w = PlanLengthToUnits(settings->extentRight - settings->extentLeft, settings, 0);
    const float d = PlanLengthToUnits(settings->extentBottom - settings->extentTop, settings, 0);
    float area = SquareUnitsToArea(w * d, settings) - firstStoreyArea;
    if (!(area > 0.0f))
        area = 0.0f;
    if (EstimateItem* item = AddItem(kEstimateTerrainArea, "Metri quadrati terreno (±)"))
        item->quantity = static_cast<float>(WholePart(area + 0.5f));
}

HWND ShowProgressWindow()
{
    const int width = screenWidth > 0 ? screenWidth : GetSystemMetrics(SM_CXSCREEN);
    const int height = screenHeight > 0 ? screenHeight : GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowExA(0, "STATIC", kProgressText, WS_POPUP | WS_DLGFRAME | SS_CENTER,
                                  width / 2 - 150, height / 2 - 30, 300, 60, frameWindow, nullptr,
                                  hInstance, nullptr);
    if (window) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    return window;
}

} // namespace

// ---------------------------------------------------------------------------------
// Area measurement

void FillObjectOutline(PlanObject* object, float scale)
{
    if (!object || !measureSurfaceDC || object->rows == 0)
        return;
    const int32_t ring = CountVertexChain(object) / object->rows;
    std::vector<POINT> points;
    const PlanVertex* v = object->firstVertex;
    for (int32_t i = 0; i < ring && v; ++i, v = v->next)
        points.push_back({SurfaceCoordinate(scale * v->position[0]), SurfaceCoordinate(scale * v->position[2])});
    if (points.empty())
        return;
    points.push_back(points.front());
    Polygon(measureSurfaceDC, points.data(), static_cast<int>(points.size()));
}

void FillObjectPathOutline(PlanObject* object, float scale)
{
    if (!object || !measureSurfaceDC)
        return;
    int32_t count = CountVertexChain(object);
    MeshVertex* outline = BuildPathVertices(object->firstVertex, &count);
    if (!outline)
        return;
    if (count > 2) {
        std::vector<POINT> points;
        points.reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i)
            points.push_back({SurfaceCoordinate(outline[i].x * scale), SurfaceCoordinate(outline[i].z * scale)});
        Polygon(measureSurfaceDC, points.data(), count);
    }
    FreeVertexList(outline);
}

float CountBlackPixels(float scale)
{
    HDC dc = measureSurfaceDC;
    if (!dc || !(scale > 0.0f))
        return 0.0f;
    HBITMAP surface = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    BITMAP shape = {};
    if (!surface || !GetObjectA(surface, sizeof shape, &shape))
        return 0.0f;
    const int width = shape.bmWidth < measureSurfaceSize ? shape.bmWidth : measureSurfaceSize;
    const int height = shape.bmHeight < measureSurfaceSize ? shape.bmHeight : measureSurfaceSize;
    if (width <= 0 || height <= 0)
        return 0.0f;

    // The whole surface is read at once as a 1-bit picture, top row first.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } format = {};
    format.header.biSize = sizeof format.header;
    format.header.biWidth = width;
    format.header.biHeight = -height;
    format.header.biPlanes = 1;
    format.header.biBitCount = 1;
    format.header.biCompression = BI_RGB;
    const size_t stride = static_cast<size_t>((width + 31) / 32) * 4;
    std::vector<uint8_t> bits(stride * static_cast<size_t>(height));
    GdiFlush();
    // GetDIBits wants a bitmap that no DC holds: a 1-pixel stand-in takes its place.
    HBITMAP standIn = CreateBitmap(1, 1, 1, 1, nullptr);
    HGDIOBJ held = standIn ? SelectObject(dc, standIn) : nullptr;
    const int rows = GetDIBits(dc, surface, 0, static_cast<UINT>(height), bits.data(),
                               reinterpret_cast<BITMAPINFO*>(&format), DIB_RGB_COLORS);
    if (held)
        SelectObject(dc, held);
    if (standIn)
        DeleteObject(standIn);
    if (rows != height)
        return 0.0f;

    auto isBlack = [](const RGBQUAD& c) { return c.rgbRed == 0 && c.rgbGreen == 0 && c.rgbBlue == 0; };
    const bool zeroBlack = isBlack(format.colours[0]);
    const bool oneBlack = isBlack(format.colours[1]);
    if (zeroBlack == oneBlack)
        return 0.0f;
    uint64_t count = 0;
    for (int y = 0; y < height; ++y) {
        // Polled once a row: a button press stops the count at once without a read per pixel.
        if (MeasurementCancelled())
            return -1.0f;
        count += CountRowBits(bits.data() + stride * static_cast<size_t>(y), width, oneBlack);
    }
    return static_cast<float>(static_cast<double>(count) / (static_cast<double>(scale) * scale));
}

float MeasureAreaOfType(PlanFloor* floor, unsigned short type, int clear)
{
    PlanDocument* document = activeDocument;
    if (!floor || !document || !document->settings || !MeasuringSurfaceReady())
        return 0.0f;
    const PlanSettings* settings = document->settings;
    const float scale = SurfaceScale(settings);
    if (scale == 0.0f)
        return 0.0f;
    MeasurementCursor cursor;
    if (clear)
        FillOffscreenWhite();
    bool filled = false;
    for (PlanObject* object = floor->firstObject; object; object = object->next) {
        if (object->type != type)
            continue;
        if (MeasurementCancelled())
            return -1.0f;
        FillObjectOutline(object, scale);
        filled = true;
    }
    if (!filled)
        return 0.0f;
    return PlanAreaToArea(CountBlackPixels(scale), settings);
}

float MeasureObjectArea(PlanObject* object)
{
    PlanDocument* document = activeDocument;
    if (!object || !document || !document->settings || !MeasuringSurfaceReady())
        return 0.0f;
    const PlanSettings* settings = document->settings;
    const float scale = SurfaceScale(settings);
    if (scale == 0.0f)
        return 0.0f;
    MeasurementCursor cursor;
    FillOffscreenWhite();
    FillObjectPathOutline(object, scale);
    return PlanAreaToArea(CountBlackPixels(scale), settings);
}

// ---------------------------------------------------------------------------------
// Size texts

void FormatEstimateSizePair(float width, float height, char* text, const PlanSettings* settings)
{
    if (!text)
        return;
    text[0] = '\0';
    if (!settings)
        return;
    char first[64], second[64];
    FormatOneLength(width, first, sizeof first, settings);
    FormatOneLength(height, second, sizeof second, settings);
    std::snprintf(text, 64, "%s x %s", first, second);
}

void FormatEstimateLength(float length, char* text, const PlanSettings* settings)
{
    if (!text)
        return;
    text[0] = '\0';
    if (settings)
        FormatOneLength(length, text, 64, settings);
}

void FormatOpeningSize(const OpeningRecord* record, float* width, float* height, char* text,
                       const PlanSettings* settings)
{
    if (!record)
        return;
    if (width)
        *width = record->width;
    if (height)
        *height = record->height;
    FormatEstimateSizePair(PlanLengthToUnits(record->width, settings, 0),
                           PlanLengthToUnits(record->height, settings, 0), text, settings);
}

// ---------------------------------------------------------------------------------
// Estimate items

EstimateItem* AddEstimateItem()
{
    EstimateItem* item = AllocateRecordOf<EstimateItem>();
    if (!item)
        return nullptr;
    if (lastEstimateItem && estimateItems) {
        item->previous = lastEstimateItem;
        lastEstimateItem->next = item;
    } else {
        estimateItems = item;
    }
    lastEstimateItem = item;
    return item;
}

void FreeEstimateItems()
{
    EstimateItem* item = estimateItems;
    while (item) {
        EstimateItem* next = item->next;
        ReleaseRecord(item);
        item = next;
    }
    estimateItems = nullptr;
    lastEstimateItem = nullptr;
}

void PrepareEstimateData()
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return;
    const PlanSettings* settings = document->settings;
    ShowReadoutText(kPreparingText);
    measurementCancellable = 0;
    FreeEstimateItems();
    const float firstStoreyArea = AddStoreyAreaItems();
    AddRailingItems(document, settings);
    AddTerrainItem(settings, firstStoreyArea);
    for (PlanFloor* floor = document->firstFloor; floor; floor = floor->next)
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            AddObjectItems(object, settings);
    measurementCancellable = 1;
    ShowReadoutText("");
}

// ---------------------------------------------------------------------------------
// The estimate file

void WriteEstimateItem(const EstimateItem* item)
{
    if (!item)
        return;
    WriteU32BigEndian(item->code);
    WriteU32BigEndian(item->count);
    WriteFloatBigEndian(item->length);
    WriteFloatBigEndian(item->width);
    WriteFloatBigEndian(item->height);
    WriteU32BigEndian(item->subValue);
    WriteFloatBigEndian(item->thickness);
    WriteFloatBigEndian(item->quantity);
    WriteFloatBigEndian(item->pitch);
    WriteFloatBigEndian(item->studSpacing);
    WriteU32BigEndian(item->extra);
    WriteBytes(item->caption, sizeof item->caption);
    for (uint32_t reserved : item->reserved)
        WriteU32BigEndian(reserved);
}

void WriteEstimateRecord(const EstimateItem* item)
{
    WriteU16BigEndian(kEstimateItemTag);
    WriteEstimateItem(item);
}

void WriteEstimateItems()
{
    for (const EstimateItem* item = estimateItems; item; item = item->next)
        WriteEstimateRecord(item);
    WriteU16BigEndian(kEstimateEndTag);
}

bool WriteEstimateFile(const char* path)
{
    planFileVersionWritten = PlanVersion10410;
    PlanDocument* document = activeDocument;
    if (!document || !document->settings || !path || !*path)
        return false;
    HWND progress = ShowProgressWindow();
    PrepareEstimateData();
    const uint16_t unitSystem = document->settings->unitSystem;
    // The old content is kept whole until the new one is complete (SaveFileSafely).
    const bool written = SaveFileSafely(path, [unitSystem] {
        WritePlanHeader();
        WriteU16BigEndian(unitSystem);
        WriteEstimateItems();
    });
    FreeEstimateItems();
    if (progress) {
        ShowWindow(progress, SW_HIDE);
        DestroyWindow(progress);
    }
    return written;
}
