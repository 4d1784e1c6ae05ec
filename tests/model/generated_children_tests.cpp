#include "support_model.h"
#include "model/generated_children.h"
#include "model/object_copies.h"
#include "model3d/generated_parts.h"
#include "shell/file_dialogs.h"
#include "support/dialog_driver.h"
#include <string.h>
#include <vector>

using namespace mtest;

namespace {

class GeneratedChildrenTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        document->settings->drawingScale = 72.0f;
    }
    void TearDown() override
    {
        for (PlanObject* owner : owners)
            FreeGeneratedParts(owner);
        DocumentTest::TearDown();
    }
    PlanObject* Own(PlanObject* object)
    {
        owners.push_back(object);
        return object;
    }
    static std::vector<PlanObject*> Parts(PlanObject* owner)
    {
        std::vector<PlanObject*> parts;
        for (PlanObject* p = static_cast<PlanObject*>(owner->link); p; p = p->next)
            parts.push_back(p);
        return parts;
    }
    static void ExpectAt(const PlanVertex* v, float x, float y, float z)
    {
        ASSERT_NE(v, nullptr);
        EXPECT_NEAR(v->position[0], x, 1e-3f);
        EXPECT_NEAR(v->position[1], y, 1e-3f);
        EXPECT_NEAR(v->position[2], z, 1e-3f);
    }

    std::vector<PlanObject*> owners;
};

} // namespace

TEST_F(GeneratedChildrenTest, ASlabGetsOneFacePerSideIncludingTheClosingOne)
{
    PlanObject* slab = Own(MakeObject(ObjFloorSlab, Storey(0),
                                      {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 0, 1));
    VertexAt(slab, 3)->faceTextureA = 44;
    VertexAt(slab, 3)->faceColourB = {5, 6, 7};
    RebuildSlabChildren(slab);
    EXPECT_TRUE(Parts(slab).empty()) << "thickness 0 makes no faces";

    slab->parameters[2] = 6.0f;
    RebuildSlabChildren(slab);
    std::vector<PlanObject*> faces = Parts(slab);
    ASSERT_EQ(faces.size(), 4u);
    for (PlanObject* face : faces) {
        EXPECT_EQ(face->type, ObjDeckPart);
        EXPECT_EQ(face->closed, 0);
        EXPECT_EQ(face->rows, 2);
        EXPECT_EQ(face->floor, nullptr);
    }
    // The closing side runs from the last vertex back to the first; its lower row lies
    // the thickness away in y.
    ExpectAt(VertexAt(faces[3], 0), 0, 0, 100);
    ExpectAt(VertexAt(faces[3], 1), 0, 0, 0);
    ExpectAt(VertexAt(faces[3], 2), 0, -6, 100);
    ExpectAt(VertexAt(faces[3], 3), 0, -6, 0);
    EXPECT_EQ(VertexAt(faces[3], 2)->faceTextureA, 44u);
    EXPECT_EQ(VertexAt(faces[3], 1)->faceColourB.green, 6);
    // Rebuilding replaces the faces; nothing is on the floor but the slab.
    RebuildSlabChildren(slab);
    EXPECT_EQ(Parts(slab).size(), 4u);
    EXPECT_EQ(Storey(0)->firstObject, slab);
    EXPECT_EQ(slab->next, nullptr);

    PlanObject* opening = Own(MakeObject(ObjFloorOpening, Storey(0),
                                         {{0, 0, 0}, {10, 0, 0}, {10, 0, 10}}, 0, 1));
    opening->parameters[2] = 2.0f;
    RebuildAllFloorSlabs(document->firstFloor);
    EXPECT_EQ(Parts(opening).size(), 3u);
    EXPECT_EQ(Parts(slab).size(), 4u);
}

TEST_F(GeneratedChildrenTest, APathGetsAWalkingSurfaceAroundItsLine)
{
    PlanObject* path = Own(MakeObject(ObjPath, Storey(0), {{0, 0, 0}, {100, 0, 0}}));
    path->size = 10.0f;
    path->value2 = 1;
    path->firstVertex->faceTextureA = 31;
    path->firstVertex->faceTextureB = 32;
    path->firstVertex->faceColourA = {10, 20, 30};
    RebuildPath(path);
    std::vector<PlanObject*> parts = Parts(path);
    ASSERT_EQ(parts.size(), 1u);
    PlanObject* surface = parts[0];
    EXPECT_EQ(surface->type, ObjPathPart);
    EXPECT_EQ(surface->host, path);
    EXPECT_EQ(surface->closed, 1);
    EXPECT_EQ(surface->colourA.green, 20);
    EXPECT_EQ(surface->colourB.blue, 30);
    // Right side (z + 5), then the left side walked back; 2.0 off the line in y.
    ASSERT_EQ(CountChain(surface), 4);
    ExpectAt(VertexAt(surface, 0), 0, 2, 5);
    ExpectAt(VertexAt(surface, 1), 100, 2, 5);
    ExpectAt(VertexAt(surface, 2), 100, 2, -5);
    ExpectAt(VertexAt(surface, 3), 0, 2, -5);
    EXPECT_EQ(VertexAt(surface, 2)->faceTextureB, 32u);
    EXPECT_EQ(VertexAt(surface, 3)->faceColourA.red, 10);
    EXPECT_EQ(Storey(0)->firstObject, path);
    EXPECT_EQ(path->next, nullptr);
}

TEST_F(GeneratedChildrenTest, AFenceBorderedPathEndsWithItsSurface)
{
    PlanObject* path = Own(MakeObject(ObjPath, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 60}}));
    path->size = 10.0f;
    path->value2 = 2;
    RebuildPath(path);
    std::vector<PlanObject*> parts = Parts(path);
    ASSERT_FALSE(parts.empty());
    EXPECT_EQ(parts.back()->type, ObjPathPart);
    // The two side lines that carried the fences are gone again.
    EXPECT_EQ(Storey(0)->firstObject, path);
    EXPECT_EQ(path->next, nullptr);
    RebuildAllPaths(document->firstFloor);
    EXPECT_EQ(Parts(path).back()->type, ObjPathPart);
}

TEST_F(GeneratedChildrenTest, AnImageObjectGetsOnePanelOfItsHeight)
{
    PlanObject* image = Own(MakeObject(ObjImage, Storey(0), {{0, 0, 0}, {50, 0, 0}}));
    image->parameters[0] = 40.0f;
    image->firstVertex->faceTextureA = 7;
    image->firstVertex->faceTextureB = 8;
    image->firstVertex->faceColourB = {1, 1, 1};
    RebuildImageObject(image);
    std::vector<PlanObject*> parts = Parts(image);
    ASSERT_EQ(parts.size(), 1u);
    PlanObject* panel = parts[0];
    EXPECT_EQ(panel->type, ObjImagePart);
    ExpectAt(VertexAt(panel, 1), 50, 0, 0);
    ExpectAt(VertexAt(panel, 2), 0, -40, 0);
    EXPECT_EQ(VertexAt(panel, 3)->faceTextureA, 7u);
    EXPECT_EQ(VertexAt(panel, 3)->faceTextureB, 8u);
    EXPECT_EQ(VertexAt(panel, 3)->faceColourB.red, 1);

    PlanObject* single = Own(MakeObject(ObjImage, Storey(0), {{0, 0, 0}}));
    RebuildImageObject(single);
    EXPECT_TRUE(Parts(single).empty());
}

TEST_F(GeneratedChildrenTest, AFreehandRoofPlateFollowsItsPitchAndDirection)
{
    PlanObject* roof = Own(MakeObject(ObjFreehandRoof, Storey(0),
                                      {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 0, 1));
    roof->size = 6.0f;            // rise 6 per 12
    roof->parameters[0] = 0.0f;   // along +x
    roof->imageId1 = 11;
    roof->colour4 = {4, 4, 4};
    UpdateObjectExtents(roof);
    RebuildFreehandRoof(roof);

    std::vector<PlanObject*> parts = Parts(roof);
    ASSERT_EQ(parts.size(), 1u);
    PlanObject* plate = parts[0];
    EXPECT_EQ(plate->type, ObjGeneratedPart59);
    EXPECT_EQ(plate->rows, 2);
    EXPECT_EQ(plate->buildFlag, 1);
    ASSERT_EQ(CountChain(plate), 8);
    // The plane rises 0.5 per unit along x; with winding 0 the reference is the highest
    // value, so the ring runs from -50 to 0, and the second ring lies 6.0 further.
    ExpectAt(VertexAt(plate, 0), 0, -50, 0);
    ExpectAt(VertexAt(plate, 1), 100, 0, 0);
    ExpectAt(VertexAt(plate, 2), 100, 0, 100);
    ExpectAt(VertexAt(plate, 4), 0, -56, 0);
    ExpectAt(VertexAt(plate, 5), 100, -6, 0);
    EXPECT_EQ(VertexAt(plate, 5)->faceTextureA, 11u);
    EXPECT_EQ(VertexAt(plate, 5)->faceColourB.green, 4);

    // The slope marker: 80 long through the roof's centre along the direction.
    PlanObject* marker = roof->firstChild;
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->type, ObjFreehandRoofPart);
    EXPECT_EQ(marker->owner, roof);
    ExpectAt(VertexAt(marker, 0), 10, 0, 50);
    ExpectAt(VertexAt(marker, 1), 90, 0, 50);

    // The other kept edge takes the lowest value as the reference; the marker is
    // re-aimed, not duplicated.
    roof->winding = 1;
    roof->parameters[0] = 90.0f;
    RebuildFreehandRoof(roof);
    EXPECT_EQ(roof->firstChild, marker);
    EXPECT_EQ(marker->next, nullptr);
    plate = Parts(roof)[0];
    ASSERT_EQ(Parts(roof).size(), 1u);
    // Direction 90 degrees points along -z: the plane is 0.5 per unit of -z.
    ExpectAt(VertexAt(plate, 0), 0, 50, 0);
    ExpectAt(VertexAt(plate, 2), 100, 0, 100);
    ExpectAt(VertexAt(marker, 0), 50, 0, 90);
    ExpectAt(VertexAt(marker, 1), 50, 0, 10);
}

namespace {

// Answers the open dialog in the user's place with a picture name, or cancels.
BOOL AnswerPicture(OPENFILENAMEA* record, bool save, void* context)
{
    const char* name = static_cast<const char*>(context);
    if (save || !name)
        return FALSE;
    strcpy(record->lpstrFile, name);
    return TRUE;
}

} // namespace

TEST_F(GeneratedChildrenTest, ChoosingAPictureGivesANewTextureNumberEachTime)
{
    PlanObject* image = Own(MakeObject(ObjImage, Storey(0), {{0, 0, 0}, {50, 0, 0}}));
    image->parameters[0] = 40.0f;
    uint32_t next = imageTextureCounter;
    vtest::DialogDriver photoDialogs;  // the photo view dialog after each choice: cancelled

    SetFileDialogHook(AnswerPicture, (void*)"C:\\pictures\\front.bmp");
    ChooseObjectImage(image);
    ASSERT_NE(image->imagePath, nullptr);
    EXPECT_STREQ(image->imagePath, "C:\\pictures\\front.bmp");
    EXPECT_EQ(image->imageId1, next);
    EXPECT_EQ(image->value3, next);
    EXPECT_EQ(image->firstVertex->next->faceTextureB, next);
    ASSERT_EQ(Parts(image).size(), 1u);
    EXPECT_EQ(Parts(image)[0]->firstVertex->faceTextureA, next);

    SetFileDialogHook(AnswerPicture, (void*)"C:\\pictures\\back.bmp");
    ChooseObjectImage(image);
    EXPECT_STREQ(image->imagePath, "C:\\pictures\\back.bmp");
    EXPECT_EQ(image->imageId2, next + 1);

    // Cancelling changes nothing.
    SetFileDialogHook(AnswerPicture, nullptr);
    ChooseObjectImage(image);
    SetFileDialogHook(nullptr, nullptr);
    EXPECT_STREQ(image->imagePath, "C:\\pictures\\back.bmp");
    EXPECT_EQ(imageTextureCounter, next + 2);
    EXPECT_EQ(2, photoDialogs.Unanswered());
}

TEST_F(GeneratedChildrenTest, FreeingAnOwnerFreesItsGeneratedParts)
{
    long before = LiveRecordCount();
    PlanObject* slab = MakeObject(ObjFloorSlab, Storey(0),
                                  {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 0, 1);
    slab->parameters[2] = 6.0f;
    RebuildSlabChildren(slab);
    ASSERT_EQ(Parts(slab).size(), 4u);
    FreeObject(slab);
    EXPECT_EQ(LiveRecordCount(), before) << "the side faces go with the slab";
}
