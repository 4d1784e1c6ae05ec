#include "support_symbol_library.h"
#include "files/plan_file.h"
#include "files/symbol_library.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model3d/array_objects.h"
#include <windows.h>
#include <cmath>
#include <vector>

namespace ftest {

namespace {

const float kUnit = kSymbolUnitsPerInch;
// Porcelain, enamel and plastic: what the 3D models show before they are painted.
const uint16_t kFixtureGrey = 235 * 257;

PlanFloor* FirstStorey()
{
    return activeDocument ? activeDocument->firstFloor : nullptr;
}

void ClearStorey(PlanFloor* floor)
{
    while (floor && floor->firstObject)
        FreeObject(floor->firstObject);
}

// ---------------------------------------------------------------------------------
// 2D symbols: drawing shapes of one row, in inches.

struct Point2 {
    float x, z;
};

void Shape(const std::vector<Point2>& points, bool closed)
{
    PlanFloor* floor = FirstStorey();
    PlanObject* o = CreateObject(ObjLine, closed ? 1 : 0, 0, nullptr, nullptr, 1.0f, 6, 2, nullptr,
                                 nullptr, nullptr, nullptr, floor, nullptr);
    if (!o)
        return;
    o->category = kCategoryFloorPlan;
    for (const Point2& p : points)
        AddObjectPoint(NewVertexNode(1, 0, 0, 0, 0, 0, p.x * kUnit, 0, p.z * kUnit, 0, 0, 0, 0, 0, 0, o), o);
    AttachObjectToFloor(o, floor);
}

std::vector<Point2> OvalPoints(float cx, float cz, float rx, float rz, int n)
{
    std::vector<Point2> points;
    for (int i = 0; i < n; ++i) {
        double a = 2 * M_PI * i / n;
        points.push_back({cx + (float)(rx * std::cos(a)), cz + (float)(rz * std::sin(a))});
    }
    return points;
}

void Circle(float cx, float cz, float r, int n = 12) { Shape(OvalPoints(cx, cz, r, r, n), true); }
void Oval(float cx, float cz, float rx, float rz) { Shape(OvalPoints(cx, cz, rx, rz, 16), true); }
void Rect(float x0, float z0, float x1, float z1) { Shape({{x0, z0}, {x1, z0}, {x1, z1}, {x0, z1}}, true); }
void Line(float x0, float z0, float x1, float z1) { Shape({{x0, z0}, {x1, z1}}, false); }

void AddSymbolShapes(uint16_t code)
{
    switch (code) {
    case 55: case 65: case 66: case 67: case 68: case 69: case 70: case 71: case 72:
        // Receptacles: a circle with the two blade slots; 220 V ones have three.
        Circle(0, 6, 6);
        Line(-2, 3, -2, 9);
        Line(2, 3, 2, 9);
        if (code >= 70)
            Line(0, 3, 0, 9);
        if (code == 65)
            Line(-6, 6, 6, 6);
        if (code == 67)
            Rect(-7, 0, 7, 12);
        break;
    case 73: case 74: case 75: case 76: case 77: case 78:
        // Switches: a stem and a head, one more stroke per way.
        Line(0, 0, 0, 8);
        Circle(0, 11, 3, 8);
        for (int i = 73; i < code && i < 77; ++i)
            Line(-3 + 2.0f * (i - 73), 14, -3 + 2.0f * (i - 73), 17);
        break;
    case 79: case 80: case 81: case 82: case 83:
        Circle(0, 8, 8);
        Line(-6, 2, 6, 14);
        Line(-6, 14, 6, 2);
        break;
    case 84: case 85:
        Shape({{-6, 0}, {6, 0}, {0, 10}}, true);
        if (code == 85)
            Line(-3, 5, 3, 5);
        break;
    case 86:
        Circle(0, 6, 6);
        Circle(0, 6, 3, 8);
        break;
    case 87:
        Rect(-4, 0, 4, 6);
        Line(-2, 3, 2, 3);
        break;
    case 88:
        Circle(0, 0, 4, 8);
        for (int i = 0; i < 4; ++i) {
            double a = M_PI / 2 * i;
            Line((float)(4 * std::cos(a)), (float)(4 * std::sin(a)), (float)(14 * std::cos(a)), (float)(14 * std::sin(a)));
        }
        break;
    case 90:
        Rect(-10, 0, 10, 8);
        Oval(0, 18, 7, 10);
        break;
    case 91: case 92: case 93: {
        float half = code == 91 ? 12.0f : code == 92 ? 16.5f : 24.0f;
        Rect(-half, 0, half, 22);
        int bowls = code - 90;
        float step = 2 * half / bowls;
        for (int i = 0; i < bowls; ++i)
            Oval(-half + step * (i + 0.5f), 12, step / 2 - 2, 7);
        break;
    }
    case 94:
        Oval(0, 10, 10, 7);
        Oval(0, 10, 7, 5);
        break;
    case 95:
        Rect(-30, 0, 30, 30);
        Rect(-26, 4, 26, 26);
        break;
    case 96:
        Rect(-30, 0, 30, 42);
        Circle(0, 21, 16, 16);
        break;
    case 97:
        Rect(-24, 0, 24, 36);
        Line(-24, 0, 24, 36);
        Line(24, 0, -24, 36);
        break;
    case 98:
        Circle(0, 0, 11, 16);
        Line(-11, 0, 11, 0);
        break;
    case 99: case 109:
        Rect(-2, 0, 2, 3);
        Circle(0, 6, 3, 8);
        break;
    case 110:
        Circle(0, 0, 4, 8);
        Line(-4, 0, 4, 0);
        Line(0, -4, 0, 4);
        break;
    default:
        // Heating, ventilation and air conditioning units.
        Rect(-12, 0, 12, 12);
        Line(-12, 0, 12, 12);
        if (code == 119 || code == 118 || code == 120)
            Line(-12, 12, 12, 0);
        break;
    }
}

// ---------------------------------------------------------------------------------
// 3D models: closed solids of two rows, the footprint at the bottom and at the top
// (inches above the element's base; a bottom below 0 reaches under it).

void Solid(const std::vector<Point2>& footprint, float bottom, float top)
{
    const size_t n = footprint.size();
    std::vector<Point3f> low(n), high(n), tangents(n, Point3f{0, 0, 0});
    for (size_t i = 0; i < n; ++i) {
        low[i] = {footprint[i].x * kUnit, -bottom * kUnit, footprint[i].z * kUnit};
        high[i] = {footprint[i].x * kUnit, -top * kUnit, footprint[i].z * kUnit};
    }
    PlanObject* solid = CreateSolidFromArrays(low.data(), high.data(), tangents.data(), tangents.data(),
                                              tangents.data(), tangents.data(), (int32_t)n, FirstStorey(), 0);
    if (!solid)
        return;
    solid->buildFlag = 1;
    solid->colourA = solid->colourB = {kFixtureGrey, kFixtureGrey, kFixtureGrey};
}

void Box(float x0, float z0, float x1, float z1, float bottom, float top)
{
    Solid({{x0, z0}, {x1, z0}, {x1, z1}, {x0, z1}}, bottom, top);
}

// A wall plate 2.5 wide and 4 high standing half an inch off the wall, from the element's
// base (its mounting height) up.
void Plate()
{
    Box(-1.25f, 0, 1.25f, 0.5f, 0, 4);
}

void AddSymbolModel(uint16_t code)
{
    switch (code) {
    case 55: case 65: case 66: case 67: case 70:            // receptacles
    case 73: case 74: case 75: case 76: case 77: case 78:   // switches
    case 84: case 85:                                       // cable and telephone outlets
        Plate();
        break;
    case 83:
        // A flood light under its mounting height.
        Box(-3, 0, 3, 5, 0, 4);
        break;
    case 86:
        Box(-2.5f, 0, 2.5f, 1.5f, 0, 5);
        break;
    case 87:
        Box(-1.75f, 0, 1.75f, 1, 0, 3.5f);
        break;
    case 90:
        // The tank as high as the toilet, the bowl at seat height.
        Box(-10, 0, 10, 8, 0, 30);
        Solid(OvalPoints(0, 18, 7, 10, 16), 0, 15);
        break;
    case 91: case 92: case 93: {
        // The kitchen sinks are placed 30 high: their cabinet reaches down to the floor and
        // its counter 4 above, 34 in all.
        float half = code == 91 ? 12.0f : code == 92 ? 16.5f : 24.0f;
        Box(-half, 0, half, 22, -30, 4);
        break;
    }
    case 94:
        // A lavatory stands on the floor: its basin on a pedestal of its outline.
        Solid(OvalPoints(0, 10, 10, 7, 16), 0, 34);
        break;
    case 95:
        Box(-30, 0, 30, 30, 0, 20);
        break;
    case 96:
        Box(-30, 0, 30, 42, 0, 24);
        break;
    case 97:
        Box(-24, 0, 24, 36, 0, 78);
        break;
    case 99: case 109:
        Box(-2, 0, 2, 3, 0, 3);
        break;
    default:
        // Heaters and air units: their symbol's box, 36 high.
        Box(-12, 0, 12, 12, 0, 36);
        break;
    }
}

} // namespace

bool WriteSymbolLibraries(const std::string& root)
{
    PlanFloor* floor = FirstStorey();
    if (!floor)
        return false;
    struct Library {
        const char* folder;
        const char* suffix;
        const SymbolLibraryEntry* entries;
        int count;
        void (*build)(uint16_t);
    };
    const Library libraries[2] = {
        {kSymbolFolder2D, "2D", symbolLibrary2D, symbolLibrary2DCount, AddSymbolShapes},
        {kSymbolFolder3D, "3D", symbolLibrary3D, symbolLibrary3DCount, AddSymbolModel}};
    CreateDirectoryA((root + "\\OBJECTS").c_str(), nullptr);
    bool written = true;
    for (const Library& library : libraries) {
        CreateDirectoryA((root + library.folder).c_str(), nullptr);
        for (int i = 0; i < library.count && written; ++i) {
            ClearStorey(floor);
            library.build(library.entries[i].code);
            std::string path = root + library.folder + library.entries[i].stem + library.suffix + ".ZTM";
            written = SavePlanFile(path.c_str());
        }
    }
    ClearStorey(floor);
    return written;
}

} // namespace ftest
