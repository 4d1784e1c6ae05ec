#pragma once
// Plan pieces the tests of several folders build alike: a document fixture that checks
// for records left behind, a document with a plan pane stand-in, objects built from
// points, and walks of storeys, vertices and floor objects.
#include <gtest/gtest.h>
#include <windows.h>
#include <initializer_list>
#include <stdint.h>

struct PlanDocument;
struct PlanFloor;
struct PlanObject;
struct PlanVertex;

namespace vtest {

struct Point3 {
    float x, y, z;
};

// A document made the way the document window makes one (three storeys, default
// settings), active for the length of a test and freed afterwards, with no active
// document or plan pane before it; the fixture checks that the test left no record behind.
class RecordCheckedDocumentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // What a fixture checks once the document is freed, before the record count.
    virtual void CheckAfterFree() {}
    PlanFloor* Storey(int index) const;  // 0 first, 1 second, 2 third

    PlanDocument* document = nullptr;
    long baselineRecords = 0;
};

// A document with its storeys and settings and a plan pane stand-in that is the active
// pane; both go at the end of the test and the active document and pane are cleared.
class PaneDocumentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    PlanDocument* document = nullptr;
    HWND pane = nullptr;
};

// The storey at index (0 the first) of the document's floor list; null past its end.
PlanFloor* StoreyAt(const PlanDocument* document, int index);
// An object of the type (closed or open, size 1, styles 6 and 2), one straight vertex
// per point, attached to the floor when one is given.
PlanObject* MakePointObject(uint16_t type, PlanFloor* floor, std::initializer_list<Point3> points,
                            uint8_t selected, uint8_t closed);
// Hangs the child last in the owner's child list, on the owner's floor.
void AppendChildObject(PlanObject* owner, PlanObject* child);
PlanVertex* VertexAt(PlanObject* object, int index);
// A document whose live 3D view stand-in (a window of the view's own class, shown or
// hidden) is selvithWindow, so that the scene is built; a display length is its plan
// length (inches at 72 to the inch). The scene, the ground grid and the window go at
// the end of the test.
class LiveSceneTest : public RecordCheckedDocumentTest {
protected:
    void SetUp() override;
    void TearDown() override;
    void ShowLiveView(bool visible);
    void CloseLiveView();
};

// A wall (type 12) as the wall tools make it: thickness 6, storey high, its mesh built.
PlanObject* AddWall(PlanFloor* floor, std::initializer_list<Point3> points, uint32_t category);
// A door (type 16, style 501, 80 high) of the width centred at the distance along the
// wall's segment that starts at its vertex `segment` (0 the first), laid out by the
// wall's refit.
PlanObject* AddDoor(PlanObject* wall, int segment, float distance, float width);
// The pointer record of a press on the wall's first segment at the plan point (x, z).
void PressOnWall(PlanObject* wall, float x, float z);

// Top-level objects of the floor; 0 for none.
int CountFloorObjects(const PlanFloor* floor);
// A hidden window that stands in for the plan pane (400 x 300).
HWND CreatePaneStandIn();
// The top view: pitch 90, yaw 0, no perspective, with its trigonometry.
void ShowTopView();
// Reads the symbol libraries of the sources' OBJECTS folder, as start-up reads them from
// the program directory (needs the active document and plan pane); false when the source
// folder is unknown. The caller frees the templates (FreeSymbolLibraries).
bool LoadShippedSymbolLibraries();
// Frees both template lists and forgets them.
void FreeSymbolLibraries();

} // namespace vtest
