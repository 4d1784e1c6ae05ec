#include "support_files.h"
#include "files/plan_file.h"
#include "files/whole_reads.h"
#include "files/symbol_library.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/object_operations.h"
#include "model/plan_settings.h"
#include "model/texture_coords.h"
#include "model/view_projection.h"
#include "palette/category_tabs.h"
#include "shell/app_globals.h"
#include "support/test_support.h"
#include <cstring>

namespace ftest {

TPoint At(float x, float y, float z)
{
    TPoint p;
    p.pos[0] = x;
    p.pos[1] = y;
    p.pos[2] = z;
    return p;
}

TObject Outline(uint16_t type, std::vector<TPoint> points, uint8_t closed)
{
    TObject o;
    o.type = type;
    o.closed = closed;
    o.points = points;
    return o;
}

void WriteDimensionWithLabel(TestFileWriter& w, const uint8_t* font60)
{
    w.Object(Outline(102, {At(0, 0, 0), At(0, 0, 10), At(50, 0, 10), At(50, 0, 0)}));
    w.U16(300);
    TObject label = Outline(201, {At(5, 0, 0), At(45, 0, 20)});
    w.ObjectHeader(label);
    w.Points(label);
    w.U16(1); w.U16(2); w.U8(0);
    w.Raw(font60, 60);
    w.U32(8); w.F32(0); w.F32(0);
}

void TestFileWriter::U16(uint16_t v)
{
    bytes.push_back((uint8_t)(v >> 8));
    bytes.push_back((uint8_t)v);
}

void TestFileWriter::U32(uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back((uint8_t)(v >> shift));
}

void TestFileWriter::F32(float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    U32(bits);
}

void TestFileWriter::Raw(const void* data, size_t n)
{
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + n);
}

static size_t PrefixOf(uint32_t version)
{
    switch (version) {
    case 10000: return 794;
    case 10300: return 1418;
    case 10350: case 10351: return 1444;
    case 10400: return 1592;
    default: return 1614;
    }
}

void TestFileWriter::Header(const Bytes& settings)
{
    U32(version);
    U16(2);
    U32(1614);
    Raw(settings.data(), PrefixOf(version));
}

void TestFileWriter::Floor(const char* name, uint8_t shown, uint8_t active, float height)
{
    uint8_t raw[256] = {};
    std::strncpy(reinterpret_cast<char*>(raw), name, 255);
    Floor(raw, shown, active, height);
}

void TestFileWriter::Floor(const uint8_t* name256, uint8_t shown, uint8_t active, float height)
{
    U16(100);
    Raw(name256, 256);
    U8(shown);
    U8(active);
    F32(height);
}

void TestFileWriter::ObjectHeader(const TObject& o)
{
    U16(o.type);
    U8(o.closed);
    U8(o.creation);
    for (uint16_t c : o.colourA) U16(c);
    for (uint16_t c : o.colourM) U16(c);
    for (uint16_t c : o.colourB) U16(c);
    F32(o.size);
    U16(o.value1);
    U16(o.value2);
    U16(o.rows);
    U32(o.headerCount < 0 ? (uint32_t)o.points.size() : (uint32_t)o.headerCount);
    U8(o.build);
    U16((uint16_t)o.winding);
    U32(o.style);
    Raw(o.texture, 32);
    U16(o.projection);
    F32(o.plantAge);
    if (version >= 10400) {
        U32(o.subType); U32(o.image1); U32(o.image2);
        for (uint16_t c : o.colour3) U16(c);
        for (uint16_t c : o.colour4) U16(c);
        F32(o.elevation);
        U8(o.onTerrain);
        U32(o.value3);
        for (uint16_t c : o.colour5) U16(c);
        U32(o.category);
        for (float p : o.params) F32(p);
        U32(o.offsetSide);
        U32(o.value4);
    } else if (version >= 10300) {
        U32(o.subType); U32(o.image1); U32(o.image2);
        for (uint16_t c : o.colour3) U16(c);
        for (uint16_t c : o.colour4) U16(c);
        for (int i = 0; i < 4; ++i) F32(o.params[i]);
        U32(o.offsetSide);
        U32(o.value4);
    }
}

void TestFileWriter::Points(const TObject& o)
{
    U32((uint32_t)o.points.size());
    for (const TPoint& p : o.points) {
        U16(p.kind);
        U8(p.selected); U8(p.selectable); U8(p.keep);
        for (float f : p.in) F32(f);
        for (float f : p.pos) F32(f);
        for (float f : p.out) F32(f);
        for (float f : p.extra) F32(f);
        U32(p.textureA); U32(p.textureB);
        F32(p.reserved[0]); F32(p.reserved[1]);
        F32(p.u); F32(p.v);
        // Face colours are raw, little-endian.
        for (uint16_t c : p.colourA) { U8((uint8_t)c); U8((uint8_t)(c >> 8)); }
        for (uint16_t c : p.colourB) { U8((uint8_t)c); U8((uint8_t)(c >> 8)); }
        if (version >= 10400) {
            F32(p.elevation); U32(p.word3); U16(p.short1); U16(p.side);
            U32(p.flags); U32(p.word1); F32(p.height); F32(p.value1);
            U32(p.word2); F32(p.value2); F32(p.value3); F32(p.value4);
        } else if (version >= 10300) {
            U32(p.flags); U32(p.word1); F32(p.height); F32(p.value1);
            if (version >= 10350) { U32(p.word2); F32(p.value2); }
        }
    }
}

void TestFileWriter::Object(const TObject& o)
{
    U16(200);
    ObjectHeader(o);
    Points(o);
}

void TestFileWriter::OpeningBlock(const TOpening& b)
{
    uint8_t raw[60] = {};
    auto le16 = [&](int at, uint16_t v) { raw[at] = (uint8_t)v; raw[at + 1] = (uint8_t)(v >> 8); };
    auto le32 = [&](int at, uint32_t v) { for (int i = 0; i < 4; ++i) raw[at + i] = (uint8_t)(v >> (8 * i)); };
    auto lef = [&](int at, float f) { uint32_t u; std::memcpy(&u, &f, 4); le32(at, u); };
    le16(0, b.typeCopy); le16(2, b.style);
    le32(4, b.startIndex); le32(8, b.endIndex);
    lef(12, b.distance); lef(16, b.remaining); lef(20, b.width); lef(24, b.height); lef(28, b.elevation);
    raw[44] = b.hinge;
    lef(46, b.swing);
    le16(50, b.flags); le16(52, b.bars1); le16(54, b.bars2);
    lef(56, b.casing);
    Raw(raw, 60);
}

Bytes DefaultSettingsBlock()
{
    PlanSettings* s = CreatePlanSettings();
    Bytes out(1614);
    std::memcpy(out.data(), s, 1614);
    FreePlanSettings(s);
    return out;
}

void PokeLE16(Bytes& b, size_t offset, uint16_t v)
{
    b[offset] = (uint8_t)v;
    b[offset + 1] = (uint8_t)(v >> 8);
}

void PokeLE32(Bytes& b, size_t offset, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[offset + i] = (uint8_t)(v >> (8 * i));
}

void PokeLEFloat(Bytes& b, size_t offset, float v)
{
    uint32_t u;
    std::memcpy(&u, &v, 4);
    PokeLE32(b, offset, u);
}

uint32_t ReadLE32(const Bytes& b, size_t offset)
{
    return (uint32_t)b[offset] | ((uint32_t)b[offset + 1] << 8) | ((uint32_t)b[offset + 2] << 16) |
           ((uint32_t)b[offset + 3] << 24);
}

uint32_t ReadBE32(const Bytes& b, size_t offset)
{
    return ((uint32_t)b[offset] << 24) | ((uint32_t)b[offset + 1] << 16) | ((uint32_t)b[offset + 2] << 8) |
           b[offset + 3];
}

uint16_t ReadBE16(const Bytes& b, size_t offset)
{
    return (uint16_t)((b[offset] << 8) | b[offset + 1]);
}

std::string BodyWalk::Joined() const
{
    std::string out;
    for (const std::string& e : events)
        out += (out.empty() ? "" : " ") + e;
    return out;
}

namespace {

struct Cursor {
    const Bytes& b;
    size_t pos = 0;
    bool Need(uint64_t n) const { return pos + n <= b.size(); }
    bool Skip(uint64_t n) { if (!Need(n)) return false; pos += (size_t)n; return true; }
    bool U16(uint16_t* v) { if (!Need(2)) return false; *v = ReadBE16(b, pos); pos += 2; return true; }
    bool U32(uint32_t* v) { if (!Need(4)) return false; *v = ReadBE32(b, pos); pos += 4; return true; }
};

bool HeaderAndPoints(Cursor& c, uint16_t* type)
{
    if (!c.Need(152))
        return false;
    *type = ReadBE16(c.b, c.pos);
    c.pos += 152;
    uint32_t n;
    return c.U32(&n) && c.Skip((uint64_t)n * 133);
}

bool Extras(Cursor& c, uint16_t type)
{
    uint32_t n, k;
    uint16_t tag, partType;
    if (type == 12 || type == 51) {
        if (!c.U32(&n))
            return false;
        for (uint32_t i = 0; i < n; ++i) {
            if (!c.U16(&tag))
                return false;
            if ((tag == 201 || tag == 204) && !(HeaderAndPoints(c, &partType) && c.Skip(60)))
                return false;
        }
        return true;
    }
    if (type >= 100 && type <= 108) {
        if (!c.U16(&tag))
            return false;
        if (tag == 300 && !(HeaderAndPoints(c, &partType) && c.Skip(65)))
            return false;
        return c.Skip(12);
    }
    if (type == 130)
        return c.U32(&n) && c.Skip(n);
    if (type == 200)
        return c.U32(&n) && c.Skip(n) && c.U32(&k) && c.Skip(k) && c.Skip(62);
    return true;
}

} // namespace

BodyWalk WalkPlanBody(const Bytes& file)
{
    BodyWalk walk;
    Cursor c{file};
    uint32_t version, size;
    uint16_t word, tag, type;
    if (!c.U32(&version) || version != 10410 || !c.U16(&word) || !c.U32(&size) || !c.Skip(1614))
        return walk;
    while (c.U16(&tag)) {
        switch (tag) {
        case 100: {
            if (!c.Need(262))
                return walk;
            std::string name(reinterpret_cast<const char*>(&file[c.pos]), strnlen(reinterpret_cast<const char*>(&file[c.pos]), 256));
            walk.events.push_back("F:" + name);
            c.pos += 262;
            break;
        }
        case 200:
            if (!HeaderAndPoints(c, &type) || !Extras(c, type))
                return walk;
            walk.events.push_back("O:" + std::to_string(type));
            break;
        case 202: walk.events.push_back("{"); break;
        case 203: walk.events.push_back("}"); break;
        case 400:
            walk.events.push_back("E");
            walk.ok = true;
            return walk;
        default:
            return walk;
        }
    }
    return walk;
}

// ---------------------------------------------------------------------------------

void PlanFileTest::SetUp()
{
    PaneDocumentTest::SetUp();
    if (HasFatalFailure())
        return;
    // The state a plan is in after loading: the floor-plan tab and its layers.
    activeToolTab = 1;
    ApplyTabLayerToPlan();
    importIntoCurrentFloor = 0;
    vtest::ShowTopView();
    GetCurrentDirectoryA(MAX_PATH, directory);
    savedProgramDirectory = programDirectory;
    programDirectory = directory;
}

void PlanFileTest::TearDown()
{
    vtest::FreeSymbolLibraries();
    PaneDocumentTest::TearDown();
    programDirectory = savedProgramDirectory;
    importIntoCurrentFloor = 0;
}

PlanFloor* PlanFileTest::Storey(int index) const
{
    return vtest::StoreyAt(document, index);
}

PlanSettings* PlanFileTest::Settings() const
{
    return document->settings;
}

static PlanObject* NewObject(uint16_t type, PlanFloor* floor, std::initializer_list<TPoint> points, bool closed)
{
    PlanObject* object = CreateObject(type, closed ? 1 : 0, 0, nullptr, nullptr, 1.0f, 6, 2, nullptr, nullptr,
                                      nullptr, nullptr, floor, nullptr);
    if (!object)
        return nullptr;
    object->category = 2;
    for (const TPoint& p : points) {
        PlanVertex* v = NewVertexNode(p.kind, p.selected, p.keep, 0, 0, 0, p.pos[0], p.pos[1], p.pos[2], 0, 0, 0,
                                      0, 0, 0, object);
        v->mainHeight = p.height;
        v->segmentFlags = p.flags;
        AddObjectPoint(v, object);
    }
    return object;
}

PlanObject* PlanFileTest::Make(uint16_t type, PlanFloor* floor, std::initializer_list<TPoint> points, bool closed)
{
    PlanObject* object = NewObject(type, floor, points, closed);
    if (object)
        AttachObjectToFloor(object, floor);
    return object;
}

PlanObject* PlanFileTest::MakeChild(PlanObject* owner, uint16_t type, std::initializer_list<TPoint> points)
{
    PlanObject* child = NewObject(type, owner->floor, points, false);
    if (!child)
        return nullptr;
    vtest::AppendChildObject(owner, child);
    return child;
}

int PlanFileTest::CountChildren(const PlanObject* object)
{
    int n = 0;
    for (const PlanObject* o = object ? object->firstChild : nullptr; o; o = o->next)
        ++n;
    return n;
}

void PlanFileTest::NormaliseAsPlaced(PlanObject* object)
{
    if (!object)
        return;
    if (object->type == ObjGroup) {
        for (PlanObject* member = object->firstChild; member; member = member->next)
            NormaliseAsPlaced(member);
        return;
    }
    // A dimension's label travels as a part of its dimension and is never refitted.
    if (object->type == ObjDimensionLabel)
        return;
    ComputeProjectionExtents(object);
    ComputeMeshTextureCoords(object);
    RebuildByType(object);
}

bool PlanFileTest::LoadBytes(const Bytes& bytes, const char* name)
{
    EXPECT_TRUE(vtest::WriteFileBytes(name, bytes));
    return LoadPlanFile(name);
}

Bytes PlanFileTest::SaveBytes(const char* name)
{
    EXPECT_TRUE(SavePlanFile(name));
    return vtest::ReadFileBytes(name);
}

void PlanFileTest::ExpectSameBytesAfterReload(const Bytes& saved)
{
    ASSERT_TRUE(LoadBytes(saved, "reload.ZRO"));
    Bytes again = SaveBytes("again.ZRO");
    std::string differences;
    for (size_t at = 0, shown = 0; at < saved.size() && at < again.size() && shown < 12; ++at)
        if (saved[at] != again[at]) {
            differences += " " + std::to_string(at);
            ++shown;
        }
    EXPECT_TRUE(saved == again) << "sizes " << saved.size() << ", " << again.size() << "; bytes differ at" << differences;
}

} // namespace ftest

void ftest::RewriteInTwoBlocks(const std::string& from, const std::string& file, const std::string& dated)
{
    const std::string script = "import os, sys, time\nd, t = open(sys.argv[1], 'rb').read(), os.stat(sys.argv[3])\n"
        "with open(sys.argv[2], 'r+b') as f:\n  for at in (0, len(d) - 65536):\n    f.seek(at); f.write(d[at:at + 65536]); "
        "f.flush(); os.utime(sys.argv[2], ns=(t.st_atime_ns, t.st_mtime_ns)); open('two' if at else 'one', 'w').close()\n"
        "    for w in range(0 if at else 200): os.path.exists('go') or time.sleep(0.01)\n    time.sleep(0.03)\n";
    vtest::WriteFileBytes("rewrite.py", Bytes(script.begin(), script.end()));
    for (const char* mark : {"one", "two", "go"})
        DeleteFileA(mark);
    RunToEnd("python3 rewrite.py " + from + " " + file + " " + dated + " & true");
    while (GetFileAttributesA("one") == INVALID_FILE_ATTRIBUTES)
        Sleep(1);
}

void ftest::WriteSecondBlock()
{
    vtest::WriteFileBytes("go", Bytes());
    while (GetFileAttributesA("two") == INVALID_FILE_ATTRIBUTES)
        Sleep(1);
}

bool ftest::ReadBetweenTwoBlocks(const std::string& from, const std::string& file, const std::string& dated,
                                 const std::function<void()>& read)
{
    static bool settling;
    settling = false;
    SetReadStageHook([](ReadStage stage) {
        if (stage == ReadStage::Settling)
            settling = true, WriteSecondBlock();
    });
    for (int attempt = 0; attempt < 8 && !settling; ++attempt) {
        if (attempt)
            WriteSecondBlock();   // the last writer's end
        RunToEnd("cp -p " + dated + " " + file);
        RewriteInTwoBlocks(from, file, dated);
        read();
    }
    SetReadStageHook(nullptr);
    return settling;
}

void ftest::RunToEnd(const std::string& command)
{
    DeleteFileA("ran");
    std::string line = "/bin/sh -c \"" + command + "; : >ran\"";
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION run;
    if (!CreateProcessA(nullptr, &line[0], 0, 0, FALSE, 0, 0, 0, &startup, &run))
        return;
    CloseHandle(run.hProcess), CloseHandle(run.hThread);
    while (GetFileAttributesA("ran") == INVALID_FILE_ATTRIBUTES)
        Sleep(5);
}
