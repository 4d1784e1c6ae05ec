#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include "files/symbol_library.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/record_memory.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "model/wall_openings.h"
#include "model3d/wall_rebuild.h"
#include "model3d/scene_polygons.h"
#include "planview/input_gdi.h"
#include "render3d/ground_height_grid.h"
#include "render3d/scene_upkeep.h"
#include "render3d/selvith_window.h"
#include "shell/app_globals.h"
#include "shell/startup.h"
#include "tools/plan_mouse_state.h"
#include <stdlib.h>

namespace vtest {

void RecordCheckedDocumentTest::SetUp()
{
    activeDocument = nullptr;
    activePlanPane = nullptr;
    baselineRecords = LiveRecordCount();
    document = CreatePlanDocument();
    ASSERT_NE(document, nullptr);
}

void RecordCheckedDocumentTest::TearDown()
{
    FreePlanDocument(document);
    CheckAfterFree();
    EXPECT_EQ(LiveRecordCount(), baselineRecords) << "records left behind";
}

PlanFloor* RecordCheckedDocumentTest::Storey(int index) const
{
    return StoreyAt(document, index);
}

void PaneDocumentTest::SetUp()
{
    document = CreatePlanDocument();
    ASSERT_NE(document, nullptr);
    ASSERT_NE(document->settings, nullptr);
    pane = CreatePaneStandIn();
    activePlanPane = pane;
}

void PaneDocumentTest::TearDown()
{
    FreePlanDocument(document);
    activeDocument = nullptr;
    activePlanPane = nullptr;
    if (pane)
        DestroyWindow(pane);
}

void LiveSceneTest::SetUp()
{
    RecordCheckedDocumentTest::SetUp();
    if (HasFatalFailure())
        return;
    PlanSettings* settings = document->settings;
    ASSERT_NE(settings, nullptr);
    settings->drawingScale = 72.0f;
    settings->drawingUnit = 1;
    settings->paperUnit = 1;
    settings->zoom = 1.0f;
    WNDCLASSA known;
    if (!GetClassInfoA(GetModuleHandleA(nullptr), "SelvithClass", &known)) {
        ASSERT_TRUE(RegisterWindowClasses(GetModuleHandleA(nullptr)));
    }
    ShowLiveView(true);
}

void LiveSceneTest::ShowLiveView(bool visible)
{
    CloseLiveView();
    selvithWindow = CreateWindowA("SelvithClass", "", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0,
                                  64, 64, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(selvithWindow, nullptr);
    // The view shows itself when it is made.
    if (!visible)
        ShowWindow(selvithWindow, SW_HIDE);
}

void LiveSceneTest::CloseLiveView()
{
    if (selvithWindow)
        DestroyWindow(selvithWindow);
    selvithWindow = nullptr;
}

void LiveSceneTest::TearDown()
{
    FreeScenePolygons();
    free(groundGrid);
    groundGrid = nullptr;
    groundGridRows = groundGridColumns = 0;
    CloseLiveView();
    scene3DOutOfDate = 1;
    RecordCheckedDocumentTest::TearDown();
}

PlanFloor* StoreyAt(const PlanDocument* document, int index)
{
    PlanFloor* floor = document->firstFloor;
    for (int i = 0; i < index && floor; ++i)
        floor = floor->next;
    return floor;
}

PlanObject* MakePointObject(uint16_t type, PlanFloor* floor, std::initializer_list<Point3> points,
                            uint8_t selected, uint8_t closed)
{
    PlanObject* object = CreateObject(type, closed, 0, nullptr, nullptr, 1.0f, 6, 2, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr);
    if (!object)
        return nullptr;
    for (const Point3& p : points)
        AddObjectPoint(NewVertexNode(1, selected, 0, 0, 0, 0, p.x, p.y, p.z, 0, 0, 0, 0, 0, 0, object), object);
    if (floor)
        AttachObjectToFloor(object, floor);
    return object;
}

void AppendChildObject(PlanObject* owner, PlanObject* child)
{
    child->owner = owner;
    child->floor = owner->floor;
    PlanObject* last = owner->firstChild;
    while (last && last->next)
        last = last->next;
    child->previous = last;
    if (last)
        last->next = child;
    else
        owner->firstChild = child;
}

PlanVertex* VertexAt(PlanObject* object, int index)
{
    PlanVertex* v = object ? object->firstVertex : nullptr;
    for (int i = 0; i < index && v; ++i)
        v = v->next;
    return v;
}

PlanObject* AddWall(PlanFloor* floor, std::initializer_list<Point3> points, uint32_t category)
{
    PlanObject* wall = MakePointObject(ObjWall, floor, points, 0, 0);
    wall->category = category;
    wall->size = 6.0f;
    wall->parameters[0] = 96.0f;
    for (PlanVertex* v = wall->firstVertex; v; v = v->next)
        v->mainHeight = 96.0f;
    RebuildWall(wall);
    return wall;
}

PlanObject* AddDoor(PlanObject* wall, int segment, float distance, float width)
{
    PlanVertex* start = VertexAt(wall, segment);
    PlanVertex* end = start && start->next ? start->next : wall->firstVertex;
    PlanObject* door = MakePointObject(ObjDoor, nullptr, {{0, 0, 0}, {0, 0, 0}}, 0, 0);
    OpeningRecord* record = static_cast<OpeningRecord*>(AllocateRecord(sizeof(OpeningRecord)));
    record->typeCopy = ObjDoor;
    record->style = 501;
    record->startVertex = start;
    record->endVertex = end;
    record->distanceFromStart = distance;
    record->width = width;
    record->height = 80.0f;
    door->link = record;
    door->category = wall->category;
    vtest::AppendChildObject(wall, door);
    FitWallOpenings(wall);
    return door;
}

void PressOnWall(PlanObject* wall, float x, float z)
{
    planMouseState = PlanMouseState{};
    planMouseState.hit = 1;
    planMouseState.object = wall;
    planMouseState.segmentHit = 1;
    planMouseState.vertexA = wall->firstVertex;
    planMouseState.vertexB = wall->firstVertex->next;
    planMouseState.hitPoint[0] = x;
    planMouseState.hitPoint[2] = z;
}

int CountFloorObjects(const PlanFloor* floor)
{
    int n = 0;
    for (const PlanObject* o = floor ? floor->firstObject : nullptr; o; o = o->next)
        ++n;
    return n;
}

HWND CreatePaneStandIn()
{
    return CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void ShowTopView()
{
    viewPitchDegrees = 90.0f;
    viewYawDegrees = 0.0f;
    perspectiveOn = 0;
    ApplyViewAngles(90.0f, 0.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
}

bool LoadShippedSymbolLibraries()
{
    std::string source = SourceDirectory();
    if (source.empty())
        return false;
    char* saved = programDirectory;
    programDirectory = &source[0];
    LoadSymbolLibrary2D();
    LoadSymbolLibrary3D();
    programDirectory = saved;
    return true;
}

void FreeSymbolLibraries()
{
    FreeSymbolTemplates(symbolTemplates2D);
    FreeSymbolTemplates(symbolTemplates3D);
    symbolTemplates2D = symbolTemplates3D = nullptr;
}

} // namespace vtest
