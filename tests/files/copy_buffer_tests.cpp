// Copy and paste through the memory stream: what a copy takes (storeys included), where
// pastes land and how far they move (labelled dimensions with them), the floor notice,
// hidden source floors, a cut, and the copy's picture.
#include "support_files.h"
#include "files/copy_buffer.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/record_memory.h"
#include "planview/output_routing.h"
#include "shell/app_globals.h"
#include "shell/selection_commands.h"
#include "support/test_support.h"

using namespace ftest;

namespace {

TPoint Picked(float x, float z)
{
    TPoint p = At(x, 0, z);
    p.selected = 1;
    return p;
}

} // namespace

class CopyBuffer : public PlanFileTest {
protected:
    void TearDown() override
    {
        if (copyPicture)
            DeleteEnhMetaFile(copyPicture);
        copyPicture = nullptr;
        copySourceFloor = nullptr;
        // What a test changed of the drawing's shared state, even when it stopped early.
        dimensionLogFont = keptDimensionFont;
        printLinesInBatches = true;
        PlanFileTest::TearDown();
    }
    const LOGFONTA keptDimensionFont = dimensionLogFont;
    // A wall with two doors, selected, on the first storey.
    PlanObject* WallWithDoors()
    {
        PlanObject* wall = Make(12, Storey(0), {Picked(0, 0), At(200, 0, 0)});
        wall->size = 6.0f;
        for (float at : {40.0f, 120.0f}) {
            PlanObject* door = MakeChild(wall, 16, {At(at, 0, 0), At(at + 30, 0, 0)});
            OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
            record->typeCopy = 16;
            record->style = 501;
            record->startVertex = wall->firstVertex;
            record->endVertex = wall->firstVertex->next;
            record->width = 30.0f;
            record->height = 80.0f;
            record->distanceFromStart = at;
            record->distanceToEnd = 170.0f - at;
            door->link = record;
        }
        return wall;
    }
    // A dimension under the wall with its label, grouped as loading groups them.
    void LabelledDimension()
    {
        PlanObject* group = Make(1000, Storey(0), {});
        PlanObject* dimension = MakeChild(group, 102, {Picked(0, 50), At(200, 0, 50), At(0, 0, 40), At(200, 0, 40)});
        PlanObject* label = MakeChild(group, 201, {At(100, 0, 60)});
        AttachmentRecord* attachment = AllocateRecordOf<AttachmentRecord>();
        AttachedPartRecord* part = AllocateRecordOf<AttachedPartRecord>();
        attachment->label = label;
        part->owner = dimension;
        dimension->link = attachment;
        label->link = part;
    }
    static int Doors(const PlanObject* wall)
    {
        int n = 0;
        for (const PlanObject* c = wall->firstChild; c; c = c->next)
            n += c->type == 16 && c->link ? 1 : 0;
        return n;
    }
};

TEST_F(CopyBuffer, PastesMoveFurtherEachTimeAndKeepTheDoors)
{
    WallWithDoors();
    LabelledDimension();
    ASSERT_TRUE(CopySelection());
    EXPECT_NE(copyPicture, nullptr);
    for (int i = 0; i < 3; ++i)
        PasteSelection();
    ASSERT_EQ(CountObjects(Storey(0)), 8);
    PlanObject* wall = Storey(0)->firstObject;
    const float offsets[] = {0, 36, 72, 108};
    for (float offset : offsets) {
        SCOPED_TRACE(offset);
        ASSERT_NE(wall, nullptr);
        EXPECT_EQ(wall->type, 12);
        EXPECT_FLOAT_EQ(wall->firstVertex->position[0], offset);
        EXPECT_FLOAT_EQ(wall->firstVertex->position[2], offset);
        EXPECT_EQ(Doors(wall), 2);
        // The dimension keeps its label, linked both ways, and moves with it.
        const PlanObject* group = wall->next;
        ASSERT_TRUE(group && group->type == 1000 && group->firstChild && group->firstChild->next);
        const PlanObject* dimension = group->firstChild;
        const PlanObject* label = dimension->next;
        ASSERT_EQ(dimension->type, 102);
        ASSERT_EQ(label->type, 201);
        EXPECT_EQ(static_cast<const AttachmentRecord*>(dimension->link)->label, label);
        EXPECT_EQ(static_cast<const AttachedPartRecord*>(label->link)->owner, dimension);
        EXPECT_FLOAT_EQ(dimension->firstVertex->position[2], 50 + offset);
        EXPECT_FLOAT_EQ(label->firstVertex->position[0], 100 + offset);
        wall = group->next;
    }
}

TEST_F(CopyBuffer, CutThenPaste)
{
    WallWithDoors();
    Make(6, Storey(0), {At(0, 0, 300), At(10, 0, 300)});
    CutSelectionCommand(true);
    ASSERT_EQ(CountObjects(Storey(0)), 1);
    PasteSelection();
    ASSERT_EQ(CountObjects(Storey(0)), 2);
    PlanObject* pasted = Storey(0)->firstObject->next;
    EXPECT_EQ(pasted->type, 12);
    EXPECT_FLOAT_EQ(pasted->firstVertex->position[0], 36.0f);
    EXPECT_EQ(Doors(pasted), 2);
}

TEST_F(CopyBuffer, PasteGoesToTheSourceFloorWithANotice)
{
    Make(6, Storey(0), {Picked(0, 0), At(10, 0, 0)});
    ASSERT_TRUE(CopySelection());
    document->currentFloor = Storey(1);
    vtest::MessageBoxRecorder boxes;
    PasteSelection();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text.find("Gli oggetti saranno incollati sullo stesso piano"), 0u);
    EXPECT_EQ(CountObjects(Storey(0)), 2);
    EXPECT_EQ(CountObjects(Storey(1)), 0);
    EXPECT_EQ(document->currentFloor, Storey(1));
}

TEST_F(CopyBuffer, AHiddenSourceFloorStillGetsItsPasteMoved)
{
    Make(6, Storey(0), {Picked(0, 0), At(10, 0, 0)});
    ASSERT_TRUE(CopySelection());
    Storey(0)->shown = 0;
    PasteSelection();
    ASSERT_EQ(CountObjects(Storey(0)), 2);
    EXPECT_FLOAT_EQ(Storey(0)->firstObject->next->firstVertex->position[0], 36.0f);
    EXPECT_EQ(Storey(0)->shown, 0);
}

// Two lines through each other's length labels: the copy's picture shows the same pixels
// whether its lines travel in batches or each is sent when drawn.
TEST_F(CopyBuffer, PictureLayersLabelsAndLinesInDrawingOrder)
{
    Settings()->unitSystem = kUnitSystemFeetInches;
    Settings()->dimensionDrawing = 1;
    dimensionLogFont.lfHeight = -16;
    for (PlanObject* line : {Make(29, Storey(0), {Picked(0, -200), At(0, 0, 200)}),
                             Make(29, Storey(0), {Picked(-160, 0), At(160, 0, 0)})})
        line->subType = 6, line->category = Settings()->visibleCategories;
    std::vector<DWORD> played[2];
    for (int batched = 0; batched < 2; ++batched) {
        printLinesInBatches = batched == 1;
        ASSERT_TRUE(CopySelection());
        BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), 400, -400, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        DWORD* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ kept = SelectObject(
            dc, CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0));
        const RECT frame = {0, 0, 400, 400};
        PatBlt(dc, 0, 0, 400, 400, WHITENESS);
        PlayEnhMetaFile(dc, copyPicture, &frame);
        played[batched].assign(bits, bits + 400 * 400);
        DeleteObject(SelectObject(dc, kept));
        DeleteDC(dc);
    }
    EXPECT_TRUE(played[0] == played[1]);
}
