// Speed of the live 3D view's navigation: a furnished two-storey house (walls with
// doors and windows on both storeys, a stair, a roof, 40 library objects of three
// boxes each and 20 plants) is turned into the scene, and navigation frames are drawn
// the way the mouse navigation draws them (DrawScene3D, SetPolygonDrawMode,
// SwapRenderBuffers) at 800 x 600 or the size given, the camera turning and walking a
// little each frame.
//
//   live_view_speed.exe [--size WIDTHxHEIGHT | --size screen] [--navigation] [frames]
//
// --size screen gives the render window the largest client the display holds below the
// view's bar. Prints the scene's polygon count, the first frame (which compiles the display
// lists) and the median of the following frames, in ms; with --navigation nothing more.
// Otherwise the scene builds apart from any
// frame, the view shown: the whole scene of generated plans (walls-1000, lwalls-1000,
// walls-10000; built, then built again) and of 1,000 and 10,000 plants standing on the
// ground, and in a plan of rectangular railings (about 31,000 polygons) the edits that
// rebuild the scene: one railing added, a storey switch, the undo and redo of a move of
// every object. Runs in the current directory, where it writes the plants' pictures.
#include "bench_support.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "model/object_copies.h"
#include "model/wall_openings.h"
#include "model3d/railings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "model3d/stairs.h"
#include "model3d/wall_rebuild.h"
#include "openings3d/opening_models.h"
#include "planview/selection.h"
#include "render3d/interactive_view.h"
#include "render3d/scene_upkeep.h"
#include "render3d/render_window.h"
#include "render3d/selvith_window.h"
#include "render3d/texture_names.h"
#include "shell/app_globals.h"
#include "shell/startup.h"
#include "shell/view_commands.h"
#include "tools/plan_mouse_state.h"
#include "tools/roof_tool.h"
#include "tools/undo.h"
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

namespace {

int width = 800;
int height = 600;
// Where the render window stands in the view: below its bar.
constexpr int kRenderTop = 28;

PlanObject* AddObject(PlanFloor* floor, uint16_t type, bool closed, const std::vector<std::pair<float, float>>& points,
                      float y = 0.0f)
{
    PlanSettings* settings = activeDocument->settings;
    PlanObject* object = CreateObject(type, closed ? 1 : 0, 0, &settings->newObjectColour,
                                      &settings->newObjectColour, 1.0f, 6, 2, nullptr, nullptr, nullptr,
                                      nullptr, floor, nullptr);
    for (const auto& p : points)
        AddObjectPoint(NewVertexNode(1, 0, 0, 0, 0, 0, p.first, y, p.second, 0, 0, 0, 0, 0, 0, object), object);
    if (floor)
        AttachObjectToFloor(object, floor);
    return object;
}

// A closed box of type 8 (two rings) from (x0, z0) to (x1, z1), from height y0 to y1.
PlanObject* AddBox(PlanFloor* floor, float x0, float z0, float x1, float z1, float y0, float y1)
{
    PlanObject* box = AddObject(floor, 8, true,
                                {{x0, z0}, {x1, z0}, {x1, z1}, {x0, z1}}, -y0);
    for (const auto& p : std::vector<std::pair<float, float>>{{x0, z0}, {x1, z0}, {x1, z1}, {x0, z1}})
        AddObjectPoint(NewVertexNode(1, 0, 0, 0, 0, 0, p.first, -y1, p.second, 0, 0, 0, 0, 0, 0, box), box);
    box->rows = 2;
    box->buildFlag = 1;
    return box;
}

// One storey's walls: an exterior ring of four segments with a door and two windows on
// each, and two interior walls.
void AddStoreyWalls(PlanFloor* floor, float base)
{
    PlanObject* ring = AddObject(floor, ObjWall, true, {{-240, -180}, {240, -180}, {240, 180}, {-240, 180}});
    ring->subType = 54;
    std::vector<PlanObject*> walls = {ring,
                                      AddObject(floor, ObjWall, false, {{0, -180}, {0, 180}}),
                                      AddObject(floor, ObjWall, false, {{-240, 0}, {0, 0}})};
    for (PlanObject* wall : walls) {
        wall->size = 6.0f;
        wall->parameters[0] = 96.0f;
        wall->parameters[1] = 16.0f;
        wall->parameters[2] = 0.5f;
        wall->parameters[3] = 12.0f;
        wall->elevation = base;
        for (PlanVertex* v = wall->firstVertex; v; v = v->next) {
            v->mainHeight = 96.0f;
            v->segmentElevation = base;
        }
    }
    int segment = 0;
    for (PlanVertex* v = ring->firstVertex; v; v = v->next, ++segment) {
        AddWallOpening(ring, v, ObjDoor, 60.0f, 36.0f, 80.0f, 0.0f);
        AddWallOpening(ring, v, ObjWindow, 160.0f, 48.0f, 40.0f, 36.0f);
        AddWallOpening(ring, v, ObjWindow, 260.0f, 48.0f, 40.0f, 36.0f);
    }
    for (PlanObject* wall : walls) {
        FitWallOpenings(wall);
        for (PlanObject* opening = wall->firstChild; opening; opening = opening->next)
            BuildOpeningModel(opening);
        RebuildWall(wall);
    }
}

// A green crown on a brown trunk; black around them is transparent.
void WritePlantPicture(int32_t id)
{
    WriteLibraryPicture(id, 256, [](int x, int y, unsigned char* p) {
        const int dx = x - 128, dy = y - 160;
        if (dx * dx + dy * dy < 90 * 90) {
            p[1] = (unsigned char)(120 + (x + y) % 80);
        } else if (x > 118 && x < 138 && y < 100) {
            p[0] = 30;
            p[1] = 60;
            p[2] = 110;
        }
    });
}

// The information file of a library texture: its size in display units.
void WriteTextureInfo(int32_t id, int width, int height)
{
    char path[kTextureNameSize] = "";
    MakeTextureInfoPath(id, path);
    std::string file(path);
    CreateDirectoryA((std::string(programDirectory) + "\\TEXTURES").c_str(), nullptr);
    CreateDirectoryA(file.substr(0, file.rfind('\\')).c_str(), nullptr);
    WritePrivateProfileStringA("Size", "Width", std::to_string(width).c_str(), path);
    WritePrivateProfileStringA("Size", "Height", std::to_string(height).c_str(), path);
}

void BuildHouse()
{
    PlanFloor* first = activeDocument->firstFloor;
    PlanFloor* second = first->next;
    AddStoreyWalls(first, 0.0f);
    AddStoreyWalls(second, 96.0f);

    PlanObject* stair = AddObject(first, ObjStair, false, {{-200, -150}, {-200, -30}});
    stair->subType = 800;
    const float stairParameters[5] = {36.0f, 7.5f, 10.0f, 36.0f, 96.0f};
    std::copy(stairParameters, stairParameters + 5, stair->parameters);
    RebuildStair(stair);

    PlanObject* roof = AddObject(second, ObjRoof, true, {{-252, -192}, {252, -192}, {252, 192}, {-252, 192}});
    roof->size = 6.0f;
    roof->elevation = 192.0f;
    RebuildRoof(roof);

    // Forty pieces of furniture, three boxes each, spread over both storeys.
    for (int i = 0; i < 40; ++i) {
        PlanFloor* floor = i < 20 ? first : second;
        const float base = i < 20 ? 0.0f : 96.5f;
        const float x = -210.0f + 52.0f * (float)(i % 8);
        const float z = -150.0f + 70.0f * (float)((i / 8) % 5);
        PlanObject* group = AddObject(floor, ObjGroup, false, {});
        PlanObject* parts[3] = {AddBox(nullptr, x, z, x + 30, z + 30, base, base + 18),
                                AddBox(nullptr, x, z + 26, x + 30, z + 30, base + 18, base + 36),
                                AddBox(nullptr, x + 2, z + 2, x + 6, z + 6, base - 0.01f, base)};
        for (PlanObject* part : parts) {
            part->owner = group;
            part->floor = floor;
            AppendToObjectList(&group->firstChild, part);
        }
    }
    for (int i = 0; i < 20; ++i) {
        const int32_t id = 300 + i;
        WritePlantPicture(id);
        const float x = -400.0f + 40.0f * (float)i;
        PlanObject* plant = AddObject(first, ObjPlant, false, {{x, 300}, {x + 20, 300}, {x + 20, 320}, {x, 320}});
        plant->closed = 1;
        for (PlanVertex* v = plant->firstVertex; v; v = v->next)
            v->faceTextureA = v->faceTextureB = (uint32_t)id;
    }
}

// One navigation frame; whether it reached the screen (always, in a build whose frames
// never did: its swap says nothing).
bool SwapShownFrame(PlanSettings* settings)
{
    DrawScene3D(settings);
    SetPolygonDrawMode(sceneMeshes);
    auto swap = [](auto swapBuffers) {
        if constexpr (std::is_void_v<decltype(swapBuffers())>) {
            swapBuffers();
            return true;
        } else {
            return static_cast<bool>(swapBuffers());
        }
    };
    return swap([] { return SwapRenderBuffers(); });
}

long CountPolygons()
{
    long count = 0;
    for (ScenePolygon* p = sceneMeshes; p; p = p->next) {
        ++count;
        for (ScenePolygon* q = p->parts; q; q = q->next)
            ++count;
        for (ScenePolygon* q = p->openings; q; q = q->next)
            ++count;
        // Plants are drawn at a size fit to be seen.
        if (p->partKind == kPartPlant) {
            p->billboardHalfWidth = 40.0f;
            p->billboardHeight = 120.0f;
        }
    }
    return count;
}

// The whole scene of a generated plan, built as loading it or showing an out-of-date view
// builds it, then built again.
void MeasureSceneBuild(const char* name)
{
    BeginDocument();
    FindGeneratedPlan(name)->build();
    double first = Now();
    RebuildAll3D();
    first = Now() - first;
    const long polygons = CountPolygons();
    double again = Now();
    RebuildAll3D();
    again = Now() - again;
    PrintValue(std::string("scene polygons, ") + name, (double)polygons, "");
    PrintTime(std::string("scene build, ") + name, first, 1);
    PrintTime(std::string("scene built again, ") + name, again, 1);
    FreeScenePolygons();
    EndDocument();
}

// n plants standing on the ground in a square grid 40 apart: their billboards are
// placed on the terrain vertex by vertex.
void MeasurePlantsBuild(int n)
{
    BeginDocument();
    const int side = (int)std::ceil(std::sqrt((double)n));
    for (int i = 0; i < n; ++i) {
        const float x = 40.0f * (float)(i % side), z = 40.0f * (float)(i / side);
        PlanObject* plant = AddObject(activeDocument->firstFloor, ObjPlant, 0, true, 1.0f,
                                      {{x, z}, {x + 20, z}, {x + 20, z + 20}, {x, z + 20}});
        plant->onTerrain = 1;
        for (PlanVertex* v = plant->firstVertex; v; v = v->next)
            v->faceTextureA = v->faceTextureB = 300;
    }
    double build = Now();
    RebuildAll3D();
    build = Now() - build;
    const std::string name = "plants-" + std::to_string(n);
    PrintValue("scene polygons, " + name, (double)CountPolygons(), "");
    PrintTime("scene build, " + name + " on the ground", build, 1);
    FreeScenePolygons();
    EndDocument();
}

// A railing around a 1000 x 550 rectangle, finished as the straight railing tool
// finishes it: its parts generated, then its scene polygons built.
PlanObject* AddRailing(float x, float z)
{
    const PlanSettings* s = activeDocument->settings;
    PlanObject* railing = AddObject(activeDocument->currentFloor, ObjRailing, 802, false, 1.0f,
                                    {{x, z}, {x + 1000, z}, {x + 1000, z + 550}, {x, z + 550}, {x, z}});
    railing->imageId1 = 2206;
    railing->parameters[0] = s->railingHeight;
    railing->parameters[1] = s->railingBalusterSpacing;
    railing->offsetSide = s->railingFlag820 ? 1 : 0;
    railing->value4 = s->railingFlag821 ? 1 : 0;
    RebuildRailing(railing);
    UpdateObjectExtents(railing);
    BuildObject3D(railing);
    return railing;
}

// The edits that rebuild the scene in a plan of rectangular railings of about 31,000
// polygons, the view shown.
void MeasureSceneEdits()
{
    BeginDocument();
    int count = 0;
    for (; CountPolygons() < 29000; ++count)
        AddRailing(1100.0f * (float)(count % 4), 700.0f * (float)(count / 4));
    PrintValue("scene polygons, railings-" + std::to_string(count), (double)CountPolygons(), "");
    std::vector<double> added;
    for (int i = 0; i < 3; ++i) {
        double start = Now();
        PlanObject* railing = AddRailing(-1200.0f, 0.0f);
        added.push_back(Now() - start);
        if (i == 0)
            PrintValue("scene polygons, one railing added", (double)CountPolygons(), "");
        FreeObject(railing);
    }
    PrintTime("scene, one railing added", MedianOf(added), 3);

    PrintTime("scene, storey switched", Median(4, [] {
        StoreyCommand(5276);
        StoreyCommand(5275);
    }) / 2, 8);

    // A move of every object, undone and redone.
    PlanDocument* document = activeDocument;
    for (PlanObject* object = document->firstFloor->firstObject; object; object = object->next)
        SetAllPointsSelected(object, 1);
    planMouseState.object = document->firstFloor->firstObject;
    planMouseState.dragStart[0] = 0.0f;
    planMouseState.dragEnd[0] = 24.0f;
    document->lastEditKind = 7;
    document->lastEditUndone = 0;
    BeginUndoableGesture();
    PrintTime("scene, a move of every object undone or redone", Median(4, UndoLastEdit), 4);
    planMouseState.object = nullptr;
    CancelPendingObject();
    FreeScenePolygons();
    EndDocument();
}

} // namespace

int main(int argc, char** argv)
{
    int frames = 60;
    bool navigationOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--navigation") {
            navigationOnly = true;
        } else if (argument == "--size" && i + 1 < argc) {
            const std::string size = argv[++i];
            if (size == "screen") {
                width = height = 0;
            } else if (std::sscanf(size.c_str(), "%dx%d", &width, &height) != 2 || width < 16 || height < 16) {
                std::printf("a size is WIDTHxHEIGHT or screen: %s\n", size.c_str());
                return 1;
            }
        } else {
            frames = std::max(5, atoi(argv[i]));
        }
    }
    static char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    programDirectory = folder;
    hInstance = GetModuleHandleA(nullptr);
    if (!RegisterWindowClasses(hInstance)) {
        std::printf("window classes could not be registered\n");
        return 1;
    }
    CreatePlanDocument();
    PlanSettings* settings = activeDocument->settings;
    settings->drawingScale = 72.0f;
    settings->drawingUnit = 1;
    settings->paperUnit = 1;
    settings->zoom = 1.0f;

    // The view, visible so that the scene is built, its render window of the size measured.
    HWND view = CreateWindowA("SelvithClass", "Selvith", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                              nullptr, hInstance, nullptr);
    selvithWindow = view;
    RECT edge = {0, 0, 0, 0};
    AdjustWindowRectEx(&edge, (DWORD)GetWindowLongA(renderWindow, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongA(renderWindow, GWL_EXSTYLE));
    if (width == 0) {
        width = GetSystemMetrics(SM_CXSCREEN) - (edge.right - edge.left);
        height = GetSystemMetrics(SM_CYSCREEN) - kRenderTop - (edge.bottom - edge.top);
    }
    const int outerWidth = width + edge.right - edge.left, outerHeight = height + edge.bottom - edge.top;
    MoveWindow(view, 0, 0, outerWidth, kRenderTop + outerHeight, TRUE);
    MoveWindow(renderWindow, 0, kRenderTop, outerWidth, outerHeight, TRUE);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);

    const double buildStart = Now();
    BuildHouse();
    RebuildAll3D();
    const double buildTime = Now() - buildStart;
    const long polygons = CountPolygons();

    settings->cameraMode = 1;
    settings->cameraX = 0.0f;
    settings->cameraZ = 700.0f;
    settings->cameraHeading = 0.0f;
    walkEyeHeight = 66.0f;

    double start = Now();
    SetupViewport3D();
    DrawScene3D(settings);
    SetPolygonDrawMode(sceneMeshes);
    SwapRenderBuffers();
    glFinish();
    const double firstFrame = Now() - start;
    // The surface takes the window's size some time after a swap; until then a frame is
    // not shown, which costs less than one shown.
    for (int wait = 0; wait < 100 && !SwapShownFrame(settings); ++wait) {
        Sleep(20);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }

    std::vector<double> times;
    int shown = 0;
    for (int i = 0; i < frames; ++i) {
        settings->cameraHeading = (float)((i % 30) - 15);
        settings->cameraZ = 700.0f - 4.0f * (float)i;
        start = Now();
        shown += SwapShownFrame(settings);
        glFinish();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    // Named by the size, so that the figures of both sizes stand apart in one round.
    const std::string at = "navigation at " + std::to_string(width) + " x " + std::to_string(height);
    PrintTime(at + ", scene build", buildTime, 1);
    PrintValue(at + ", scene polygons", (double)polygons, "");
    PrintTime(at + ", first frame (compiles the lists)", firstFrame, 1);
    std::printf("%-64s %10.1f ms   median of %d (%d shown, fastest %.1f, slowest %.1f)\n", (at + ", frames").c_str(),
                times[times.size() / 2], frames, shown, times.front(), times.back());

    FreeScenePolygons();
    FreePlanDocument(activeDocument);
    activeDocument = nullptr;
    if (navigationOnly) {
        DestroyWindow(view);
        return 0;
    }

    // The library sizes the textures of the tools: walls' floor, doors, railings.
    for (int32_t id : {1700, 2218, 2206})
        WriteTextureInfo(id, 48, 48);
    MeasureSceneBuild("walls-1000");
    MeasureSceneBuild("lwalls-1000");
    MeasureSceneEdits();
    MeasureSceneBuild("walls-10000");
    MeasurePlantsBuild(1000);
    MeasurePlantsBuild(10000);
    DestroyWindow(view);
    return 0;
}
