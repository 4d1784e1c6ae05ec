#include "support_files.h"
#include "support_symbol_library.h"
#include "files/plan_file.h"
#include "files/symbol_library.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/selection.h"
#include "shell/app_globals.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"

using namespace ftest;

class SymbolLibrary : public PlanFileTest {};

TEST_F(SymbolLibrary, LibraryTablesMatchTheirFolders)
{
    EXPECT_EQ(44, symbolLibrary2DCount);
    EXPECT_EQ(27, symbolLibrary3DCount);
    EXPECT_STREQ("HVACRETURN", symbolLibrary2D[43].stem);
    EXPECT_EQ(120, symbolLibrary2D[43].code);
    EXPECT_STREQ("HVACBBHTR", symbolLibrary3D[26].stem);
}

TEST_F(SymbolLibrary, CentringOffsetByKindOfSymbol)
{
    for (uint16_t code : {uint16_t(98), uint16_t(99)}) {
        PlanObject templateObject = {};
        templateObject.type = code;
        PlanObject* shape = Make(6, Storey(0), {At(10, 0, 5), At(30, 0, 25)});
        UnlinkObject(shape);
        templateObject.firstChild = shape;
        float x = 0, z = 0;
        GetTemplateCentringOffset(&templateObject, &x, &z);
        EXPECT_FLOAT_EQ(-20.0f, x);
        // The water heater stands free; the hose bib hangs on a wall by its back edge.
        EXPECT_FLOAT_EQ(code == 98 ? -15.0f : -5.0f, z);
        FreeObject(shape);
    }
}

TEST_F(SymbolLibrary, SymbolFileBecomesTheTemplatesChildren)
{
    TestFileWriter w(10300);
    w.Header(DefaultSettingsBlock());
    w.Floor("Some Floor", 1, 1, 50.0f);
    w.Object(Outline(1000, {}));
    w.U16(202);
    w.Object(Outline(6, {At(10, 0, 5), At(30, 0, 5)}));
    w.Object(Outline(3, {At(10, 0, 25), At(30, 0, 25)}));
    w.U16(203);
    w.Object(Outline(6, {At(20, 0, 5), At(20, 0, 25)}));
    w.End();
    vtest::WriteFileBytes("SYM.ZTM", w.bytes);

    PlanSettings* settings = Settings();
    int floors = 0;
    for (PlanFloor* f = document->firstFloor; f; f = f->next)
        ++floors;
    PlanObject templateObject = {};
    templateObject.type = 98;
    ASSERT_TRUE(LoadSymbolFile("SYM.ZTM", &templateObject));
    EXPECT_EQ(3, CountChildren(&templateObject));
    for (PlanObject* c = templateObject.firstChild; c; c = c->next) {
        EXPECT_EQ(98, c->type);
        EXPECT_EQ(&templateObject, c->owner);
        EXPECT_EQ(nullptr, c->floor);
    }
    int after = 0;
    for (PlanFloor* f = document->firstFloor; f; f = f->next)
        ++after;
    EXPECT_EQ(floors, after);
    EXPECT_EQ(settings, Settings());
    EXPECT_EQ(0, CountObjects(Storey(0)));
    FreeSymbolTemplates(templateObject.firstChild);
}

TEST_F(SymbolLibrary, DimensionInASymbolFileLeavesNothingOnThePlan)
{
    TPoint picked = At(0, 0, 0);
    picked.selected = 1;
    PlanObject* mine = Make(6, Storey(0), {picked, At(9, 0, 9)});
    TestFileWriter w(10410);
    w.Header(DefaultSettingsBlock());
    WriteDimensionWithLabel(w, std::vector<uint8_t>(60).data());
    w.Object(Outline(6, {At(10, 0, 5), At(30, 0, 5)}));
    w.End();
    vtest::WriteFileBytes("SYM.ZTM", w.bytes);

    PlanObject templateObject = {};
    templateObject.type = 99;
    ASSERT_TRUE(LoadSymbolFile("SYM.ZTM", &templateObject));
    EXPECT_EQ(2, CountChildren(&templateObject));
    for (PlanObject* c = templateObject.firstChild; c; c = c->next) {
        EXPECT_EQ(99, c->type);
        EXPECT_EQ(nullptr, c->link);
    }
    // The open plan is as it was: no label of the symbol on it, its selection untouched.
    int objects = 0;
    for (PlanFloor* f = document->firstFloor; f; f = f->next)
        objects += CountObjects(f);
    EXPECT_EQ(1, objects);
    EXPECT_EQ(mine, Storey(0)->firstObject);
    EXPECT_TRUE(IsAnyPointSelected(mine));
    FreeSymbolTemplates(templateObject.firstChild);
}

TEST_F(SymbolLibrary, RejectedSymbolAndModelFilesShowTheirMessages)
{
    vtest::MessageBoxRecorder boxes;
    TestFileWriter bad(10410);
    bad.Header(DefaultSettingsBlock());
    bad.bytes[3] = 0x01;  // version 10241
    bad.End();
    vtest::WriteFileBytes("BAD.ZTM", bad.bytes);
    PlanObject templateObject = {};
    templateObject.type = 55;
    EXPECT_FALSE(LoadSymbolFile("BAD.ZTM", &templateObject));
    EXPECT_FALSE(LoadModelFile("BAD.ZTM"));
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ("Errore file - Formato sconosciuto", boxes.Boxes()[0].caption);
    EXPECT_EQ("Il file di un simbolo \xE8 stato danneggiato oppure \xE8 stato creato da una versione pi\xF9 recente di Velmora.",
              boxes.Boxes()[0].text);
    EXPECT_EQ("Questo file modello \xE8 stato danneggiato oppure \xE8 stato creato da una versione pi\xF9 recente di Velmora.",
              boxes.Boxes()[1].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL), boxes.Boxes()[1].flags);

    // A damaged symbol adds nothing.
    TestFileWriter cut(10410);
    cut.Header(DefaultSettingsBlock());
    cut.Object(Outline(6, {At(0, 0, 0), At(9, 0, 9)}));
    cut.bytes.resize(cut.bytes.size() - 30);
    vtest::WriteFileBytes("CUT.ZTM", cut.bytes);
    EXPECT_FALSE(LoadSymbolFile("CUT.ZTM", &templateObject));
    EXPECT_EQ(nullptr, templateObject.firstChild);
    EXPECT_EQ(3u, boxes.Count());

    // A missing file says nothing.
    EXPECT_FALSE(LoadSymbolFile("NONE.ZTM", &templateObject));
    EXPECT_FALSE(LoadModelFile("NONE.ZTM"));
    EXPECT_EQ(3u, boxes.Count());
}

TEST_F(SymbolLibrary, ModelFileInsertsIntoTheCurrentFloorWithTheCurrentDefaults)
{
    Settings()->wallThickness = 6.0f;
    Settings()->pathWidth = 40.0f;
    document->currentFloor = Storey(1);
    TestFileWriter w(10410);
    w.Header(DefaultSettingsBlock());
    w.Floor("Elsewhere", 1, 1, 96.0f);
    TObject wall = Outline(12, {At(0, 0, 0), At(100, 0, 0)});
    wall.size = 2.0f;
    wall.image1 = 44;
    wall.params[0] = 96.0f;
    wall.params[1] = 16.0f;
    w.Object(wall);
    w.U32(0);
    w.Object(Outline(1000, {}));
    w.U16(202);
    w.Object(Outline(22, {At(0, 0, 50), At(100, 0, 50)}));
    w.Object(Outline(6, {At(0, 0, 60), At(100, 0, 60)}));
    w.U16(203);
    w.End();
    vtest::WriteFileBytes("MODEL.ZQW", w.bytes);

    int before = 0;
    for (PlanFloor* f = document->firstFloor; f; f = f->next)
        ++before;
    ASSERT_TRUE(LoadModelFile("MODEL.ZQW"));
    int after = 0;
    for (PlanFloor* f = document->firstFloor; f; f = f->next)
        ++after;
    EXPECT_EQ(before, after);
    ASSERT_EQ(2, CountObjects(Storey(1)));
    PlanObject* loadedWall = Storey(1)->firstObject;
    EXPECT_EQ(12, loadedWall->type);
    EXPECT_FLOAT_EQ(6.0f, loadedWall->size);
    EXPECT_EQ(1700u, loadedWall->styleOrTexture);
    EXPECT_EQ(0u, loadedWall->imageId1);
    EXPECT_EQ(65535, loadedWall->colour3.red);
    EXPECT_TRUE(IsAnyPointSelected(loadedWall));
    PlanObject* group = loadedWall->next;
    ASSERT_EQ(1000, group->type);
    ASSERT_EQ(2, CountChildren(group));
    PlanObject* path = group->firstChild;
    EXPECT_EQ(group, path->owner);
    EXPECT_FLOAT_EQ(40.0f, path->size);
    EXPECT_EQ(currentPathTexture, path->firstVertex->faceTextureA);
    EXPECT_EQ(currentPathTexture, path->firstVertex->faceTextureB);
}

TEST_F(SymbolLibrary, GeneratedLibraryLoadsWhole)
{
    ASSERT_TRUE(WriteSymbolLibraries(directory));
    EXPECT_EQ(0, CountObjects(Storey(0)));
    vtest::MessageBoxRecorder boxes;
    LoadSymbolLibrary2D();
    LoadSymbolLibrary3D();
    EXPECT_EQ(0u, boxes.Count());
    int count = 0;
    for (PlanObject* t = symbolTemplates2D; t; t = t->next, ++count) {
        EXPECT_EQ(symbolLibrary2D[count].code, t->type);
        EXPECT_GT(CountChildren(t), 0) << symbolLibrary2D[count].stem;
    }
    EXPECT_EQ(44, count);
    count = 0;
    for (PlanObject* t = symbolTemplates3D; t; t = t->next, ++count)
        EXPECT_GT(CountChildren(t), 0) << symbolLibrary3D[count].stem;
    EXPECT_EQ(27, count);
}

TEST_F(SymbolLibrary, ShippedLibraryLoads)
{
    vtest::MessageBoxRecorder boxes;
    ASSERT_TRUE(vtest::LoadShippedSymbolLibraries());
    EXPECT_EQ(0u, boxes.Count());
    int templates = 0, empty = 0;
    for (PlanObject* t = symbolTemplates2D; t; t = t->next, ++templates)
        empty += t->firstChild ? 0 : 1;
    for (PlanObject* t = symbolTemplates3D; t; t = t->next, ++templates)
        empty += t->firstChild ? 0 : 1;
    EXPECT_EQ(71, templates);
    EXPECT_EQ(0, empty);
}

// A program folder whose symbol files' paths pass the 259 characters the ANSI functions
// open: the loader says so, naming the folder, and makes no template, where every page
// would silently lack the symbols; a character shorter, the missing files stay silent.
TEST_F(SymbolLibrary, FolderTooLongForItsSymbolsIsTold)
{
    vtest::MessageBoxRecorder boxes;
    char* saved = programDirectory;
    std::string folder = "Z:\\" + std::string(221, 'd'), text(1024, '\0');   // and "\\OBJECTS\\SYMBOL2D\\HVACHEATPUMP2D.ZTM"
    text.resize(std::snprintf(&text[0], text.size(), kSymbolFolderTooLongText, (folder + kSymbolFolder2D).c_str()));
    programDirectory = &folder[0];
    EXPECT_FALSE(LoadSymbolLibrary2D());
    EXPECT_EQ(nullptr, symbolTemplates2D);
    folder.pop_back();
    EXPECT_TRUE(LoadSymbolLibrary2D());
    programDirectory = saved;
    EXPECT_TRUE(boxes.Count() == 1 && boxes.Last().text == text && boxes.Last().caption == "Errore file - Percorso troppo lungo");
}

TEST_F(SymbolLibrary, MissingLibraryLeavesEmptyTemplates)
{
    vtest::MessageBoxRecorder boxes;
    LoadSymbolLibrary3D();
    int count = 0;
    for (PlanObject* t = symbolTemplates3D; t; t = t->next, ++count)
        EXPECT_EQ(nullptr, t->firstChild);
    EXPECT_EQ(27, count);
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(SymbolLibrary, AppendChildObjectUsesThePartList)
{
    PlanObject* owner = Make(12, Storey(0), {At(0, 0, 0), At(9, 0, 0)});
    PlanObject* a = Make(6, Storey(0), {});
    PlanObject* b = Make(6, Storey(0), {});
    UnlinkObject(a);
    UnlinkObject(b);
    AppendChildObject(a, owner);
    AppendChildObject(b, owner);
    EXPECT_EQ(a, owner->firstPart);
    EXPECT_EQ(b, a->next);
    EXPECT_EQ(a, b->previous);
    PlanObject* group = Make(1000, Storey(0), {});
    UnlinkObject(group);
    AppendChildObject(group, owner);
    EXPECT_EQ(nullptr, b->next);
    FreeObject(group);
}
