#include "support_model.h"
#include "model/object_operations.h"
#include <math.h>
#include <string.h>
#include <vector>

using namespace mtest;

class ObjectOperationsTest : public DocumentTest {
protected:
    void TearDown() override
    {
        DocumentTest::TearDown();
        if (parent)
            DestroyWindow(parent);
    }

    // A text frame whose edit window is a child of a hidden parent: raising the edit
    // windows (operation 7002) leaves their visit order in the z-order.
    PlanObject* MakeText(PlanFloor* floor, PlanObject* owner, const char* name)
    {
        if (!parent)
            parent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        HWND edit = CreateWindowExA(0, "EDIT", name, WS_CHILD, 0, 0, 40, 20, parent, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        PlanObject* text = owner ? MakeChild(owner, ObjTextFrame, {{0, 0, 0}}) : MakeObject(ObjTextFrame, floor, {{0, 0, 0}});
        text->link = edit;
        return text;
    }

    std::vector<std::string> ZOrder()
    {
        std::vector<std::string> names;
        for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            char text[32];
            GetWindowTextA(w, text, sizeof(text));
            names.push_back(text);
        }
        return names;
    }

    HWND parent = nullptr;
};

TEST_F(ObjectOperationsTest, WalkersVisitShownFloorsInListOrderAndChildrenDepthFirst)
{
    PlanFloor* first = Storey(0);
    MakeText(first, nullptr, "T1");
    PlanObject* group = MakeObject(ObjGroup, first, {});
    MakeText(nullptr, group, "T2");
    PlanObject* inner = MakeChild(group, ObjGroup, {});
    MakeText(nullptr, inner, "T3");
    MakeText(nullptr, group, "T4");
    MakeText(first, nullptr, "T5");
    Storey(1)->shown = 0;
    PlanObject* hidden = MakeText(Storey(1), nullptr, "T6");
    MakeText(Storey(2), nullptr, "T7");
    BringWindowToTop(static_cast<HWND>(hidden->link));

    ForEachFloorObject(document->firstFloor, 0, RaiseTextEditor, nullptr);
    // The last one raised is on top; the hidden floor's editor was never raised.
    EXPECT_EQ(ZOrder(), (std::vector<std::string>{"T7", "T5", "T4", "T3", "T2", "T1", "T6"}));
}

TEST_F(ObjectOperationsTest, SelectedOnlyTakesSelectedObjectsButAllTheirChildren)
{
    PlanFloor* first = Storey(0);
    PlanObject* selected = MakeObject(ObjGroup, first, {{0, 0, 0}}, 1);
    PlanObject* child = MakeChild(selected, ObjLine, {{0, 0, 0}}, 0);
    PlanObject* unselected = MakeObject(ObjLine, first, {{0, 0, 0}}, 0);
    Storey(2)->shown = 0;
    PlanObject* onHidden = MakeObject(ObjLine, Storey(2), {{0, 0, 0}}, 1);

    ForEachFloorObject(document->firstFloor, 1, SetFaceTextureA, reinterpret_cast<void*>(uintptr_t(321)));
    EXPECT_EQ(selected->firstVertex->faceTextureA, 321u);
    EXPECT_EQ(child->firstVertex->faceTextureA, 321u);
    EXPECT_EQ(unselected->firstVertex->faceTextureA, 0u);
    EXPECT_EQ(onHidden->firstVertex->faceTextureA, 0u);

    ForEachObjectOnFloor(first, 0, SetFaceTextureB, reinterpret_cast<void*>(uintptr_t(9)));
    EXPECT_EQ(unselected->firstVertex->faceTextureB, 9u);
    ForEachObjectOnFloor(Storey(2), 0, SetFaceTextureB, reinterpret_cast<void*>(uintptr_t(9)));
    EXPECT_EQ(onHidden->firstVertex->faceTextureB, 0u);
    ForEachObjectOnFloor(nullptr, 0, SetFaceTextureB, nullptr);
}

TEST_F(ObjectOperationsTest, AnOperationMayFreeTheObjectItIsGiven)
{
    long before = LiveRecordCount();
    PlanFloor* first = Storey(0);
    // Top-level openings next to each other: each is freed while the walk goes on.
    MakeObject(ObjDoor, first, {{0, 0, 0}}, 1);
    MakeObject(ObjWindow, first, {{0, 0, 0}}, 1);
    PlanObject* line = MakeObject(ObjLine, first, {{0, 0, 0}}, 1);
    MakeObject(ObjWallElement, first, {{0, 0, 0}}, 1);
    MakeObject(ObjDeckSteps, first, {{0, 0, 0}}, 1);
    // A wall whose openings, its children, are freed one after the other.
    PlanObject* wall = MakeObject(ObjWall, first, {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}});
    MakeDoorOn(wall, 0, 1);
    MakeDoorOn(wall, 1, 1);
    MakeDoorOn(wall, 0, 1);

    ForEachFloorObject(document->firstFloor, 0, RemoveCutOpening, nullptr);
    EXPECT_EQ(first->firstObject, line);
    EXPECT_EQ(line->next, wall);
    EXPECT_EQ(wall->next, nullptr);
    EXPECT_EQ(wall->firstChild, nullptr);
    FreeObject(line);
    FreeObject(wall);
    EXPECT_EQ(LiveRecordCount(), before);
}

TEST_F(ObjectOperationsTest, OpeningsAreRemovedOnlyWhenSelectedAndNotKept)
{
    PlanFloor* first = Storey(0);
    PlanObject* wall = MakeObject(ObjWall, first, {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}});
    PlanObject* unselected = MakeDoorOn(wall, 0, 0);
    PlanObject* kept = MakeDoorOn(wall, 1, 1);
    kept->firstVertex->keepFlag = 1;
    PlanObject* deleted = MakeDoorOn(wall, 1, 1);
    (void)deleted;
    PlanObject* line = MakeObject(ObjLine, first, {{0, 0, 0}}, 1);

    ForEachFloorObject(document->firstFloor, 0, DeleteOpening, document->settings);
    EXPECT_EQ(wall->firstChild, unselected);
    EXPECT_EQ(unselected->next, kept);
    EXPECT_EQ(kept->next, nullptr);
    EXPECT_EQ(line->floor, first);  // other types are left to the whole-object dispatcher
}

TEST_F(ObjectOperationsTest, BoxesAreRecomputedWhenAnOperationChangesThem)
{
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, -10, 5}, {20, 0, -5}, {10, -30, 0}});
    ApplyObjectOperation(line, 0, StraightenSegments, nullptr);
    EXPECT_FLOAT_EQ(line->box3D[0], -30.0f);
    EXPECT_FLOAT_EQ(line->box3D[1], 0.0f);
    EXPECT_FLOAT_EQ(line->box3D[2], -5.0f);
    EXPECT_FLOAT_EQ(line->box3D[3], 0.0f);
    EXPECT_FLOAT_EQ(line->box3D[4], 20.0f);
    EXPECT_FLOAT_EQ(line->box3D[5], 5.0f);
    EXPECT_LE(line->box2D[0], line->box2D[2]);
    EXPECT_LE(line->box2D[1], line->box2D[3]);
    EXPECT_NE(line->box2D[0], 32000.0f);
}

TEST_F(ObjectOperationsTest, UnlistedCodesChangeNothing)
{
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{1, 2, 3}, {4, 5, 6}}, 1);
    PlanObject before = *line;
    PlanVertex vertexBefore = *line->firstVertex;
    for (uint32_t code : {5053u, 5064u, 1u, 9999u, 6006u})
        ApplyObjectOperation(line, 1, code, document->settings);
    EXPECT_EQ(memcmp(&before, line, sizeof(PlanObject)), 0);
    EXPECT_EQ(memcmp(&vertexBefore, line->firstVertex, sizeof(PlanVertex)), 0);
    ApplyObjectOperation(nullptr, 0, SetFaceTextureA, nullptr);
}

TEST_F(ObjectOperationsTest, PenColourReachesWallMeshesAndOpeningParts)
{
    PlanSettings* settings = document->settings;
    settings->foregroundColour = {100, 200, 300};
    settings->newObjectColour = {7, 8, 9};
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}}, 1);
    PlanObject* mesh = MakeObject(ObjWallMesh, nullptr, {});
    PlanObject* footing = MakeObject(ObjFooting, nullptr, {});
    wall->link = mesh;
    wall->firstPart = footing;
    PlanObject* door = MakeDoorOn(wall, 0, 1);
    PlanObject* leaf = MakeObject(ObjDoorLeafMember, nullptr, {});
    static_cast<OpeningRecord*>(door->link)->parts = leaf;
    PlanObject* other = MakeObject(ObjLine, Storey(0), {{0, 0, 0}}, 0);

    ForEachFloorObject(document->firstFloor, 0, ApplyPenColour, settings);
    EXPECT_EQ(wall->colourA.green, 200);
    EXPECT_EQ(mesh->colourA.blue, 300);
    EXPECT_EQ(footing->colourA.red, 100);
    EXPECT_EQ(door->colourA.red, 100);
    EXPECT_EQ(leaf->colourA.green, 200);
    EXPECT_EQ(other->colourA.red, 0);

    ForEachFloorObject(document->firstFloor, 0, ApplyColourB, settings);
    EXPECT_EQ(wall->colourB.red, 7);
    EXPECT_EQ(mesh->colourB.green, 8);
    EXPECT_EQ(leaf->colourB.blue, 9);
    EXPECT_EQ(other->colourB.red, 0);
}

TEST_F(ObjectOperationsTest, GroupNestingAboveTwentyFiveRaisesTheFlag)
{
    auto nest = [&](int depth) {
        PlanObject* top = MakeObject(ObjGroup, Storey(0), {});
        PlanObject* group = top;
        for (int i = 1; i < depth; ++i)
            group = MakeChild(group, ObjGroup, {});
        return top;
    };
    groupNestingTooDeep = 0;
    PlanObject* deep25 = nest(25);
    ForEachObjectOnFloor(Storey(0), 0, CountGroups, nullptr);
    EXPECT_EQ(groupNestingCount, 25u);
    EXPECT_EQ(groupNestingTooDeep, 0);
    FreeObject(deep25);

    nest(26);
    ForEachObjectOnFloor(Storey(0), 0, CountGroups, nullptr);
    EXPECT_EQ(groupNestingTooDeep, 1);
    groupNestingTooDeep = 0;
}

TEST_F(ObjectOperationsTest, GroupCountStartsAgainForEachTopLevelObject)
{
    groupNestingTooDeep = 0;
    for (int i = 0; i < 3; ++i) {
        PlanObject* group = MakeObject(ObjGroup, Storey(0), {});
        MakeChild(group, ObjGroup, {});
    }
    ForEachObjectOnFloor(Storey(0), 0, CountGroups, nullptr);
    EXPECT_EQ(groupNestingCount, 2u);
}

TEST_F(ObjectOperationsTest, StyleWordAndLabelRecordsTakeTheirValues)
{
    document->settings->defaultFirstStyle = 11;
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, 0, 0}});
    line->value1 = 0;
    ApplyObjectOperation(line, 0, ApplyDefaultStyleWord, document->settings);
    EXPECT_EQ(line->value1, 11);
    ApplyObjectOperation(line, 0, ApplyDefaultStyleWord, nullptr);
    EXPECT_EQ(line->value1, 11);

    PlanObject* label = MakeObject(ObjDimensionLabel, Storey(0), {{0, 0, 0}});
    AttachedPartRecord* record = AllocateRecordOf<AttachedPartRecord>();
    label->link = record;
    ApplyObjectOperation(label, 0, SetLabelWord1, reinterpret_cast<void*>(uintptr_t(0x1234)));
    ApplyObjectOperation(label, 0, SetLabelWord2, reinterpret_cast<void*>(uintptr_t(0x5678)));
    ApplyObjectOperation(label, 0, SetLabelFlag, reinterpret_cast<void*>(uintptr_t(3)));
    EXPECT_EQ(record->word1, 0x1234);
    EXPECT_EQ(record->word2, 0x5678);
    EXPECT_EQ(record->flag, 3);
}

TEST_F(ObjectOperationsTest, TextFontGoesToTheDimensionsLabelRecord)
{
    PlanObject* dimension = MakeObject(ObjDimensionLine, Storey(0), {{0, 0, 0}, {0, 0, 10}, {50, 0, 10}, {50, 0, 0}});
    PlanObject* label = MakeObject(ObjDimensionLabel, Storey(0), {{25, 0, 10}});
    AttachedPartRecord* part = LinkDimensionLabel(dimension, label).part;
    LOGFONTA font = {};
    font.lfHeight = -17;
    strcpy(font.lfFaceName, "Arial");
    ApplyObjectOperation(dimension, 0, SetTextFont, &font);
    EXPECT_EQ(part->font.lfHeight, -17);
    EXPECT_STREQ(part->font.lfFaceName, "Arial");
    font.lfHeight = -9;
    ApplyObjectOperation(label, 0, SetTextFont, &font);
    EXPECT_EQ(part->font.lfHeight, -9);
}

TEST_F(ObjectOperationsTest, SuspendAndResumeSwitchTextEditors)
{
    PlanObject* text = MakeText(Storey(0), nullptr, "T");
    HWND edit = static_cast<HWND>(text->link);
    ForEachFloorObject(document->firstFloor, 0, SuspendTextEditors, nullptr);
    EXPECT_FALSE(IsWindowEnabled(edit));
}

TEST_F(ObjectOperationsTest, NudgeWithoutGridMovesOneScreenPixelEvenForAnUnusableZoom)
{
    PlanSettings* settings = document->settings;
    settings->snapToGrid = 0;
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {10, 0, 0}}, 1);

    // One pixel at zoom 2 is half a plan unit.
    settings->zoom = 2.0f;
    ApplyObjectOperation(line, 0, NudgeRight, settings);
    EXPECT_FLOAT_EQ(VertexAt(line, 0)->position[0], 0.5f);

    // A zoom of 0 or no number (a damaged file) counts as the default 0.6.
    settings->zoom = 0.0f;
    ApplyObjectOperation(line, 0, NudgeRight, settings);
    EXPECT_FLOAT_EQ(VertexAt(line, 0)->position[0], 0.5f + 1.0f / 0.6f);
    settings->zoom = NAN;
    ApplyObjectOperation(line, 0, NudgeLeft, settings);
    EXPECT_FLOAT_EQ(VertexAt(line, 0)->position[0], 0.5f);
    EXPECT_FLOAT_EQ(VertexAt(line, 1)->position[0], 10.5f);
}
