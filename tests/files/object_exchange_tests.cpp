// Object exchange files: what the writer puts down (types, coordinates times 3, tags),
// what the reader takes (the companion's block, the 2D style, coordinates over 3), the
// program's own file read back, and files it must refuse whole.
#include "support_files.h"
#include "files/object_exchange.h"
#include "files/plan_file.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "support/test_support.h"
#include <cstring>

using namespace ftest;

namespace {

// The body of an exchange file as the format lays it: tags, and for each object its
// stored type and first x.
struct Walked {
    std::vector<uint16_t> tags;
    std::vector<uint16_t> types;
    std::vector<float> firstX;
};

float ReadBEFloat(const Bytes& b, size_t at)
{
    uint32_t bits = ReadBE32(b, at);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

Walked WalkExchange(const Bytes& b)
{
    Walked w;
    size_t at = 10;   // version, header word, block size 0
    while (at + 2 <= b.size()) {
        uint16_t tag = ReadBE16(b, at);
        at += 2;
        w.tags.push_back(tag);
        if (tag == 400)
            break;
        if (tag == 100) {
            at += 262;
        } else if (tag == 200) {
            uint16_t type = ReadBE16(b, at);
            w.types.push_back(type);
            uint32_t points = ReadBE32(b, at + 77);
            w.firstX.push_back(points ? ReadBEFloat(b, at + 81 + 5 + 12) : 0.0f);
            at += 81 + points * 77;
            if (type == 12)
                at += 4;   // no openings
        }
    }
    return w;
}

TPoint Picked(float x, float y, float z)
{
    TPoint p = At(x, y, z);
    p.selected = 1;
    return p;
}

// A file in the companion's form: version, word, block of 680, one floor, the objects.
Bytes CompanionFile(uint32_t version, float x)
{
    TestFileWriter w(version);
    w.U32(version);
    w.U16(2);
    w.U32(680);
    w.Raw(std::vector<uint8_t>(680, 0x5A).data(), 680);
    w.Floor("Tovrel", 1, 1, 96.0f);
    w.U16(200);
    const uint16_t header[] = {8, 0x0100};   // type 8, closed 1, creation 0
    w.U16(header[0]);
    w.U8(1);
    w.U8(0);
    for (int i = 0; i < 9; ++i)
        w.U16(0);
    w.F32(1.0f);
    w.U16(6); w.U16(2); w.U16(1); w.U32(2);
    w.U8(1); w.U16(0); w.U32(0);
    w.Raw(std::vector<uint8_t>(32).data(), 32);
    w.U16(2);
    w.U32(2);
    for (float px : {x, x + 30.0f}) {
        w.U16(1); w.U8(0); w.U8(1); w.U8(0);
        for (int i = 0; i < 12; ++i)
            w.F32(i == 3 ? px : 0.0f);
        w.U32(0); w.U32(0);
        w.F32(0); w.F32(0); w.F32(1); w.F32(1);
    }
    w.End();
    return w.bytes;
}

} // namespace

class ObjectExchange : public PlanFileTest {
protected:
    Bytes Written()
    {
        EXPECT_TRUE(WriteObjectExchangeFile("OUT.TMP"));
        return vtest::ReadFileBytes("OUT.TMP");
    }
};

TEST_F(ObjectExchange, WriterTypesCoordinatesAndTags)
{
    Make(15, Storey(0), {Picked(10, 0, 0), At(20, 0, 0), At(20, 0, 10)}, true);
    Make(29, Storey(0), {Picked(1, 0, 0), At(2, 0, 0)});
    Make(12, Storey(0), {Picked(4, 0, 0), At(8, 0, 0)});
    Make(6, Storey(0), {At(0, 0, 0), At(5, 0, 0)});   // not selected: not written
    PlanObject* group = Make(1000, Storey(0), {});
    for (int i = 0; i < 3; ++i)
        MakeChild(group, 6, {Picked(static_cast<float>(i), 0, 0), At(9, 0, 9)});
    Bytes file = Written();
    ASSERT_GE(file.size(), 10u);
    EXPECT_EQ(ReadBE32(file, 0), 10000u);
    EXPECT_EQ(ReadBE16(file, 4), 2);
    EXPECT_EQ(ReadBE32(file, 6), 0u);
    Walked w = WalkExchange(file);
    EXPECT_EQ(w.tags, (std::vector<uint16_t>{100, 200, 200, 200, 200, 202, 200, 200, 200, 203, 100, 100, 400}));
    ASSERT_EQ(w.types.size(), 7u);
    EXPECT_EQ(w.types[0], 8);    // closed library object
    EXPECT_EQ(w.types[1], 9);    // open drawing element
    EXPECT_EQ(w.types[2], 12);   // a wall stays a wall
    EXPECT_FLOAT_EQ(w.firstX[0], 30.0f);
    EXPECT_FLOAT_EQ(w.firstX[4], 0.0f);
    EXPECT_FLOAT_EQ(w.firstX[5], 3.0f);
}

TEST_F(ObjectExchange, CompanionFilesByTheirStyle)
{
    struct Case {
        const char* name;
        const char* style;   // Object2D value, or null for no style file
        uint16_t type;
    } cases[] = {{"A.ZOB", "1", 31}, {"B.ZOB", "0", 15}, {"C.ZOB", nullptr, 15}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vtest::WriteFileBytes(c.name, CompanionFile(10000, 30.0f));
        const std::string path = vtest::CurrentDirectory() + "\\" + c.name;
        if (c.style)
            WritePrivateProfileStringA("Style", "Object2D", c.style, (path.substr(0, path.size() - 3) + "OBD").c_str());
        ASSERT_TRUE(ImportObjectFile(path.c_str()));
        PlanObject* last = Storey(0)->firstObject;
        while (last && last->next)
            last = last->next;
        ASSERT_NE(last, nullptr);
        EXPECT_EQ(last->type, c.type);
        EXPECT_FLOAT_EQ(last->firstVertex->position[0], 10.0f);
        EXPECT_TRUE(last->firstVertex->selected);
    }
}

TEST_F(ObjectExchange, TheProgramsOwnFileReadsBack)
{
    PlanObject* wall = Make(12, Storey(0), {Picked(0, 0, 0), At(90, 0, 0)});
    MakeChild(wall, 16, {At(30, 0, 0), At(60, 0, 0)});
    Make(200, Storey(0), {Picked(0, 0, 40), At(50, 0, 60)});
    Make(102, Storey(0), {Picked(0, 0, 80), At(50, 0, 80)});
    Make(29, Storey(0), {Picked(5, 0, 5), At(6, 0, 6)});
    ASSERT_TRUE(WriteObjectExchangeFile("OWN.ZOB"));
    const int before = CountObjects(Storey(0));
    ASSERT_TRUE(ImportObjectFile("OWN.ZOB"));
    EXPECT_EQ(CountObjects(Storey(0)), before + 4);
    PlanObject* o = Storey(0)->firstObject;
    for (int i = 0; i < before; ++i)
        o = o->next;
    const float xs[] = {0, 0, 0, 5};
    for (float x : xs) {
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->type, 15);
        EXPECT_FLOAT_EQ(o->firstVertex->position[0], x);
        o = o->next;
    }
}

TEST_F(ObjectExchange, RefusedFilesAddNothing)
{
    Bytes good = CompanionFile(10000, 3.0f);
    Bytes cut(good.begin(), good.end() - 40);
    Bytes badTag = good;
    badTag[10 + 680 + 264] = 0x7F;   // the object's tag
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {{"V.ZOB", CompanionFile(10001, 3.0f)}, {"CUT.ZOB", cut}, {"TAG.ZOB", badTag}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vtest::MessageBoxRecorder boxes;
        vtest::WriteFileBytes(c.name, c.bytes);
        const int before = CountObjects(Storey(0));
        EXPECT_FALSE(ImportObjectFile(c.name));
        EXPECT_EQ(CountObjects(Storey(0)), before);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().caption, "Errore file - Formato sconosciuto");
        EXPECT_EQ(boxes.Last().text, "Questo file \xE8 stato danneggiato oppure non \xE8 stato creato da Tovrel.");
    }
}
