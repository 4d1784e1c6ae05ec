// BMP pictures made here with a small writer: read, drawn into a memory DC and converted
// to RGB, for every header kind, bit count and row order; malformed files are refused.
#include <gtest/gtest.h>
#include "support_files.h"
#include "files/ansi_names.h"
#include "files/picture_files.h"
#include "files/whole_reads.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "shell/app_globals.h"
#include "support/test_support.h"
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using ftest::RunToEnd;

namespace {

typedef std::vector<uint8_t> Bytes;

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

void Put16(Bytes& b, size_t at, uint32_t v)
{
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = (v >> (8 * i)) & 0xFF;
}

// A BMP (or packed DIB) picture. value(x, y) is the colour index of the pixel (x, y)
// counted from the top row for paletted pictures, and an RGB packed as 0xRRGGBB for
// 24 bits.
struct BmpLayout {
    int bits = 24;
    int width = 1;
    int height = 1;
    bool core = false;
    bool topDown = false;
    bool fileHeader = true;
    std::vector<Rgb> palette; // written whole; clrUsed from clrUsedField
    uint32_t clrUsedField = 0;
    std::function<uint32_t(int, int)> value;
};

Bytes MakeBmp(const BmpLayout& s)
{
    uint32_t headerSize = s.core ? 12 : 40;
    uint32_t entry = s.core ? 3 : 4;
    uint32_t stride = ((s.width * s.bits + 31) / 32) * 4;
    uint32_t fileHeader = s.fileHeader ? 14 : 0;
    uint32_t tableBytes = static_cast<uint32_t>(s.palette.size()) * entry;
    uint32_t bitsAt = fileHeader + headerSize + tableBytes;
    Bytes b(bitsAt + stride * s.height, 0);
    if (s.fileHeader) {
        b[0] = 'B';
        b[1] = 'M';
        Put32(b, 2, static_cast<uint32_t>(b.size()));
        Put32(b, 10, bitsAt);
    }
    size_t h = fileHeader;
    Put32(b, h, headerSize);
    if (s.core) {
        Put16(b, h + 4, s.width);
        Put16(b, h + 6, s.height);
        Put16(b, h + 8, 1);
        Put16(b, h + 10, s.bits);
    } else {
        Put32(b, h + 4, s.width);
        Put32(b, h + 8, static_cast<uint32_t>(s.topDown ? -s.height : s.height));
        Put16(b, h + 12, 1);
        Put16(b, h + 14, s.bits);
        Put32(b, h + 32, s.clrUsedField);
    }
    size_t t = h + headerSize;
    for (const Rgb& c : s.palette) {
        b[t] = c.b;
        b[t + 1] = c.g;
        b[t + 2] = c.r;
        t += entry;
    }
    for (int y = 0; y < s.height; ++y) {
        int fileRow = s.topDown ? y : s.height - 1 - y;
        uint8_t* row = &b[bitsAt + fileRow * stride];
        for (int x = 0; x < s.width; ++x) {
            uint32_t v = s.value(x, y);
            if (s.bits == 24) {
                row[3 * x] = v & 0xFF;
                row[3 * x + 1] = (v >> 8) & 0xFF;
                row[3 * x + 2] = (v >> 16) & 0xFF;
            } else {
                int perByte = 8 / s.bits;
                int shift = 8 - s.bits * (x % perByte + 1);
                row[x / perByte] |= static_cast<uint8_t>(v << shift);
            }
        }
    }
    return b;
}

std::vector<Rgb> Palette(int count, int seed)
{
    std::vector<Rgb> p;
    for (int i = 0; i < count; ++i)
        p.push_back({static_cast<uint8_t>((i * 37 + seed) & 0xFF), static_cast<uint8_t>((255 - i * 11) & 0xFF),
                     static_cast<uint8_t>((i * 5 + 3 * seed) & 0xFF)});
    return p;
}

// The colour each pixel of the picture should show.
Rgb Expected(const BmpLayout& s, int x, int y)
{
    uint32_t v = s.value(x, y);
    if (s.bits == 24)
        return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
    return s.palette[v];
}

const Rgb kCanvas = {1, 2, 3};

// A 24-bit top-down memory surface, filled with kCanvas.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    uint8_t* bits = nullptr;
    int width, height, stride;

    Canvas(int w, int h) : width(w), height(h), stride(((w * 3) + 3) & ~3)
    {
        BITMAPINFO info;
        std::memset(&info, 0, sizeof info);
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        dc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint8_t*>(p);
        old = SelectObject(dc, bitmap);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* q = bits + y * stride + 3 * x;
                q[0] = kCanvas.b;
                q[1] = kCanvas.g;
                q[2] = kCanvas.r;
            }
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Rgb At(int x, int y)
    {
        GdiFlush();
        const uint8_t* q = bits + y * stride + 3 * x;
        return {q[2], q[1], q[0]};
    }
    bool Untouched()
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (!(At(x, y) == kCanvas))
                    return false;
        return true;
    }
};

std::string WritePicture(const std::string& name, const Bytes& bytes)
{
    std::string path = vtest::CurrentDirectory() + "\\" + name;
    EXPECT_TRUE(vtest::WriteFileBytes(path, bytes));
    return path;
}

std::vector<BmpLayout> EveryKind()
{
    std::vector<BmpLayout> specs;
    for (bool core : {false, true}) {
        BmpLayout one;
        one.bits = 1, one.width = 11, one.height = 3, one.core = core;
        one.palette = Palette(2, 9);
        one.value = [](int x, int y) { return static_cast<uint32_t>((x + y) % 2); };
        specs.push_back(one);

        BmpLayout four;
        four.bits = 4, four.width = 5, four.height = 3, four.core = core;
        four.palette = Palette(16, 4);
        four.value = [](int x, int y) { return static_cast<uint32_t>((x + 2 * y) % 16); };
        specs.push_back(four);

        BmpLayout eight;
        eight.bits = 8, eight.width = 7, eight.height = 4, eight.core = core;
        eight.palette = Palette(256, 1); // colour count 0 in the header: a full table
        eight.value = [](int x, int y) { return static_cast<uint32_t>(x * 30 + y); };
        specs.push_back(eight);

        BmpLayout rgb;
        rgb.bits = 24, rgb.width = 5, rgb.height = 2, rgb.core = core;
        rgb.value = [](int x, int y) { return static_cast<uint32_t>((x * 40) << 16 | (y * 100) << 8 | 7); };
        specs.push_back(rgb);
    }
    // Top-down info pictures.
    for (int bits : {1, 4, 8, 24}) {
        BmpLayout s = specs[bits == 1 ? 0 : bits == 4 ? 1 : bits == 8 ? 2 : 3];
        s.topDown = true;
        specs.push_back(s);
    }
    // A 4-bit picture with a short table announced by its colour count.
    BmpLayout shortTable;
    shortTable.bits = 4, shortTable.width = 6, shortTable.height = 2;
    shortTable.palette = Palette(3, 7);
    shortTable.clrUsedField = 3;
    shortTable.value = [](int x, int y) { return static_cast<uint32_t>((x + y) % 3); };
    specs.push_back(shortTable);
    return specs;
}

std::string Describe(const BmpLayout& s)
{
    return std::to_string(s.bits) + " bits" + (s.core ? ", core" : ", info") + (s.topDown ? ", top-down" : "") +
           (s.fileHeader ? "" : ", packed");
}

class PictureFiles : public ::testing::Test {
protected:
    void TearDown() override { FreeCachedDib(); }
    vtest::MessageBoxRecorder boxes;
};

TEST_F(PictureFiles, InfoPicturesOfEveryBitCountDrawOneToOne)
{
    int n = 0;
    for (const BmpLayout& s : EveryKind()) {
        if (s.core)
            continue;
        SCOPED_TRACE(Describe(s));
        std::string path = WritePicture("p" + std::to_string(n++) + ".bmp", MakeBmp(s));
        Canvas canvas(s.width + 4, s.height + 4);
        DrawDibFile(nullptr, canvas.dc, path.c_str());
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x)
                ASSERT_EQ(canvas.At(x, y), Expected(s, x, y)) << x << "," << y;
        // Nothing beside the picture.
        EXPECT_EQ(canvas.At(s.width, 0), kCanvas);
        EXPECT_EQ(canvas.At(0, s.height), kCanvas);
        EXPECT_EQ(cachedDibBlock, nullptr) << "the block is freed after drawing";
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(PictureFiles, XifPictureDrawsAtItsPosition)
{
    BmpLayout s = EveryKind()[3];
    std::string path = WritePicture("grid.xif", MakeBmp(s));
    Canvas canvas(12, 8);
    DrawXifPicture(canvas.dc, path.c_str(), 4, 3);
    EXPECT_EQ(canvas.At(3, 3), kCanvas);
    EXPECT_EQ(canvas.At(4, 2), kCanvas);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            EXPECT_EQ(canvas.At(4 + x, 3 + y), Expected(s, x, y));
}

TEST_F(PictureFiles, PalettedDrawingKeepsItsPaletteUntilFreed)
{
    BmpLayout s = EveryKind()[1];
    std::string path = WritePicture("four.bmp", MakeBmp(s));
    Canvas canvas(8, 8);
    DrawDibFile(nullptr, canvas.dc, path.c_str());
    ASSERT_NE(cachedDibPalette, nullptr);
    PALETTEENTRY entries[20];
    ASSERT_EQ(GetPaletteEntries(cachedDibPalette, 0, 20, entries), 16u);
    EXPECT_EQ(entries[5].peRed, s.palette[5].r);
    EXPECT_EQ(entries[5].peGreen, s.palette[5].g);
    EXPECT_EQ(entries[5].peBlue, s.palette[5].b);
    FreeCachedDib();
    EXPECT_EQ(cachedDibPalette, nullptr);
    FreeCachedDib(); // twice is harmless

    // A 24-bit picture has no colour table and makes no palette.
    DrawDibFile(nullptr, canvas.dc, WritePicture("rgb.bmp", MakeBmp(EveryKind()[3])).c_str());
    EXPECT_EQ(cachedDibPalette, nullptr);
}

TEST_F(PictureFiles, ReaderFillsTheBlockAndCountsAZeroColourCountByBits)
{
    BmpLayout s = EveryKind()[2]; // 8 bits, colour count 0
    std::string path = WritePicture("eight.bmp", MakeBmp(s));
    cachedDibBlock = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 1064);
    ASSERT_TRUE(ReadDibFile(path.c_str()));
    auto* info = static_cast<BITMAPINFO*>(GlobalLock(cachedDibBlock));
    EXPECT_EQ(info->bmiHeader.biSize, 40u);
    EXPECT_EQ(info->bmiHeader.biClrUsed, 256u);
    EXPECT_EQ(info->bmiHeader.biSizeImage, 8u * 4u); // rows of 7 bytes padded to 8
    EXPECT_EQ(cachedDibBitsOffset, 40 + 256 * 4);
    EXPECT_EQ(info->bmiColors[200].rgbRed, s.palette[200].r);
    const uint8_t* bits = reinterpret_cast<const uint8_t*>(info) + cachedDibBitsOffset;
    EXPECT_EQ(bits[2], s.value(2, 3)) << "first row in the block is the bottom row";
    EXPECT_EQ(bits[8 * 3 + 6], s.value(6, 0));
    GlobalUnlock(cachedDibBlock);
    GlobalFree(cachedDibBlock);
    cachedDibBlock = nullptr;
}

TEST_F(PictureFiles, ReaderRefusesCoreHeadersAndPackedDibs)
{
    BmpLayout core = EveryKind()[6]; // 8 bits, core
    ASSERT_TRUE(core.core);
    BmpLayout packed = EveryKind()[3];
    packed.fileHeader = false;
    for (const BmpLayout& s : {core, packed}) {
        SCOPED_TRACE(Describe(s));
        std::string path = WritePicture("refused.bmp", MakeBmp(s));
        cachedDibBlock = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 1064);
        EXPECT_FALSE(ReadDibFile(path.c_str()));
        GlobalFree(cachedDibBlock);
        cachedDibBlock = nullptr;
        Canvas canvas(10, 6);
        DrawDibFile(nullptr, canvas.dc, path.c_str());
        EXPECT_TRUE(canvas.Untouched());
    }
    // Without a block the reader does nothing.
    EXPECT_FALSE(ReadDibFile(WritePicture("ok.bmp", MakeBmp(EveryKind()[3])).c_str()));
}

TEST_F(PictureFiles, ConverterGivesRgbRowsBottomFirstForEveryKind)
{
    std::vector<BmpLayout> specs = EveryKind();
    // Packed DIBs with both header kinds.
    for (int i : {2, 3, 6, 7}) {
        BmpLayout packed = specs[i];
        packed.fileHeader = false;
        specs.push_back(packed);
    }
    int n = 0;
    for (const BmpLayout& s : specs) {
        SCOPED_TRACE(Describe(s));
        std::string path = WritePicture("c" + std::to_string(n++) + ".bmp", MakeBmp(s));
        DIBImage* image = LoadDIBImageA(path.c_str());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, s.width);
        EXPECT_EQ(image->height, s.height) << "top-down pictures come out bottom-up too";
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                const uint8_t* p = image->pixels + ((s.height - 1 - y) * s.width + x) * 3;
                ASSERT_EQ((Rgb{p[0], p[1], p[2]}), Expected(s, x, y)) << x << "," << y;
            }
        std::free(image->pixels);
        std::free(image);
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(PictureFiles, FiveByTwoRgbDropsTheRowPadding)
{
    BmpLayout s = EveryKind()[3];
    ASSERT_EQ(s.width, 5);
    ASSERT_EQ(s.height, 2);
    std::string path = WritePicture("five.bmp", MakeBmp(s));
    std::wstring wide = WidenName(path);
    DIBImage* image = LoadDIBImage(wide.c_str(), true);
    ASSERT_NE(image, nullptr);
    const uint8_t expected[30] = {0, 100, 7, 40, 100, 7, 80, 100, 7, 120, 100, 7, 160, 100, 7,
                                  0, 0, 7,   40, 0, 7,   80, 0, 7,   120, 0, 7,   160, 0, 7};
    EXPECT_EQ(std::memcmp(image->pixels, expected, 30), 0);
    std::free(image->pixels);
    std::free(image);
}

TEST_F(PictureFiles, ConverterReportsAMissingOrEmptyFile)
{
    std::string missing = vtest::CurrentDirectory() + "\\none.bmp";
    EXPECT_EQ(LoadDIBImageA(missing.c_str()), nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Failed to open DIB file " + missing + ".\n");
    EXPECT_EQ(boxes.Last().caption, "Error");
    EXPECT_EQ(boxes.Last().flags & 0xF, static_cast<UINT>(MB_OK));

    std::string empty = WritePicture("empty.bmp", Bytes());
    EXPECT_EQ(LoadDIBImageA(empty.c_str()), nullptr);
    EXPECT_EQ(boxes.Count(), 2u);

    std::wstring wide = L"none-w.bmp";
    EXPECT_EQ(LoadDIBImage(wide.c_str(), true), nullptr);
    ASSERT_EQ(boxes.Count(), 3u);
    EXPECT_EQ(boxes.Last().text, "Failed to open DIB file none-w.bmp.\n");

    // A program of the system (no share modes) copies a picture over the one loaded and cuts it, in turn: each load
    // gives the picture whole or refuses it (cut before the read as cut, during it as not opened), never faults.
    BmpLayout large;
    large.width = 1024, large.height = 768, large.value = [](int x, int y) { return static_cast<uint32_t>(x * y); };
    const std::string moving = WritePicture("moving.bmp", MakeBmp(large));
    auto pixels = [](DIBImage* image) {   // freed
        const Bytes held = image ? Bytes(image->pixels, image->pixels + image->width * image->height * 3) : Bytes();
        image ? std::free(image->pixels), std::free(image) : void();
        return held;
    };
    const Bytes whole = pixels(LoadDIBImageA(WritePicture("large.bmp", MakeBmp(large)).c_str()));
    BmpLayout topDown = large;   // read in bands of rows, from the top
    topDown.topDown = true;
    ASSERT_EQ(whole.size(), 1024u * 768 * 3);
    ASSERT_EQ(pixels(LoadDIBImageA(WritePicture("top.bmp", MakeBmp(topDown)).c_str())), whole);
    SetRecentWriteSpan(0);   // a copier that never ends: no load waits it out
    std::string copier = "/usr/bin/timeout 60 /bin/sh -c \"while [ ! -e stop ]; do cp large.bmp moving.bmp; : >moving.bmp; done\"";
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION copying;
    DeleteFileA("stop");
    ASSERT_TRUE(CreateProcessA(nullptr, &copier[0], 0, 0, FALSE, 0, 0, 0, &startup, &copying));
    for (size_t round = 0, shown = boxes.Count(); round < 1000 && !HasFailure(); ++round) {
        const Bytes got = pixels(LoadDIBImageA(moving.c_str()));
        EXPECT_TRUE(got.empty() ? ++shown == boxes.Count() && (boxes.Last().text == "Unknown DIB file format." ||
                                                             boxes.Last().text == "Failed to open DIB file " + moving + ".\n")
                                : got == whole) << round << ": " << boxes.Last().text;
    }
    vtest::WriteFileBytes("stop", Bytes());
    WaitForSingleObject(copying.hProcess, INFINITE);
    SetRecentWriteSpan(kRecentWrite);
    CloseHandle(copying.hProcess), CloseHandle(copying.hThread);

    // Rewritten at the same size once its first band is read: read again, the new picture taken whole, whether the
    // write moves its date or leaves it as it was (a date that may hide a write, as within the step of a file system
    // of coarse dates).
    BmpLayout other = large;
    other.value = [](int x, int y) { return static_cast<uint32_t>(x + 3 * y); };
    const Bytes otherWhole = pixels(LoadDIBImageA(WritePicture("other.bmp", MakeBmp(other)).c_str()));
    static std::string rewrite;
    SetReadStageHook([](ReadStage stage) { stage == ReadStage::PartRead && !rewrite.empty() ? RunToEnd(rewrite), rewrite.clear() : void(); });
    for (const auto& dates : {std::make_pair("2001-02-03", "now"), std::make_pair("tomorrow 12:00", "tomorrow 12:00")}) {
        RunToEnd(std::string("cp large.bmp moving.bmp && touch -d '") + dates.first + "' moving.bmp");
        rewrite = std::string("cat other.bmp >moving.bmp && touch -d '") + dates.second + "' moving.bmp";
        const size_t shown = boxes.Count();
        EXPECT_TRUE(pixels(LoadDIBImageA(moving.c_str())) == otherWhole && boxes.Count() == shown) << dates.second;
    }
    // Rewritten in place by two blocks 30 ms apart, its date put back, the load falling between them: never mixed.
    // Smaller pictures, read well within the settling span.
    BmpLayout small = large, smallOther = other;
    small.width = smallOther.width = 256, small.height = smallOther.height = 256;
    WritePicture("small.bmp", MakeBmp(small)), WritePicture("small-other.bmp", MakeBmp(smallOther));
    Bytes rewritten = MakeBmp(small);
    const Bytes otherBytes = MakeBmp(smallOther);
    std::copy_n(otherBytes.begin(), 65536, rewritten.begin());
    std::copy_n(otherBytes.end() - 65536, 65536, rewritten.end() - 65536);
    const Bytes rewrittenWhole = pixels(LoadDIBImageA(WritePicture("rewritten.bmp", rewritten).c_str()));
    Bytes got;
    EXPECT_TRUE(ftest::ReadBetweenTwoBlocks("small-other.bmp", "moving.bmp", "small.bmp",
                                            [&] { got = pixels(LoadDIBImageA(moving.c_str())); }));
    EXPECT_TRUE(got == rewrittenWhole);
    SetRecentWriteSpan(0);
    // Cut and dated tomorrow, just made: refused at once, its date no sign of a writer.
    RunToEnd("head -c 100000 large.bmp >moving.bmp && touch -d tomorrow moving.bmp");
    const size_t shown = boxes.Count();
    const DWORD begin = GetTickCount();
    EXPECT_TRUE(pixels(LoadDIBImageA(moving.c_str())).empty() && boxes.Count() == shown + 1);
    EXPECT_LT(GetTickCount() - begin, kRereadPatience);
    SetRecentWriteSpan(kRecentWrite);
}

// Malformed pictures: every reader refuses them, draws nothing and does not crash.
struct Hostile {
    const char* name;
    std::function<void(Bytes&)> spoil;
};

TEST_F(PictureFiles, MalformedHeadersAreRefused)
{
    BmpLayout base8 = EveryKind()[2];
    BmpLayout base24 = EveryKind()[3];
    const Bytes good8 = MakeBmp(base8);
    const Bytes good24 = MakeBmp(base24);
    const size_t h = 14;
    std::vector<std::pair<Hostile, const Bytes*>> cases = {
        {{"huge width", [](Bytes& b) { Put32(b, h + 4, 0x7FFFFFFF); }}, &good24},
        {{"negative width", [](Bytes& b) { Put32(b, h + 4, static_cast<uint32_t>(-5)); }}, &good24},
        {{"zero width", [](Bytes& b) { Put32(b, h + 4, 0); }}, &good24},
        {{"huge height", [](Bytes& b) { Put32(b, h + 8, 0x7FFFFFFF); }}, &good24},
        {{"most negative height", [](Bytes& b) { Put32(b, h + 8, 0x80000000u); }}, &good24},
        {{"zero height", [](Bytes& b) { Put32(b, h + 8, 0); }}, &good24},
        {{"bit count 0", [](Bytes& b) { Put16(b, h + 14, 0); }}, &good24},
        {{"bit count 2", [](Bytes& b) { Put16(b, h + 14, 2); }}, &good8},
        {{"bit count 3", [](Bytes& b) { Put16(b, h + 14, 3); }}, &good8},
        {{"bit count 64", [](Bytes& b) { Put16(b, h + 14, 64); }}, &good24},
        {{"1000 colours", [](Bytes& b) { Put32(b, h + 32, 1000); }}, &good8},
        {{"4 billion colours", [](Bytes& b) { Put32(b, h + 32, 0xFFFFFFFF); }}, &good8},
        {{"257 colours", [](Bytes& b) { Put32(b, h + 32, 257); }}, &good8},
        {{"run-length compression", [](Bytes& b) { Put32(b, h + 16, BI_RLE8); }}, &good8},
        {{"header size 0", [](Bytes& b) { Put32(b, h, 0); }}, &good24},
        {{"header size 20", [](Bytes& b) { Put32(b, h, 20); }}, &good24},
        {{"header size 64", [](Bytes& b) { Put32(b, h, 64); }}, &good24},
        {{"header size 4 billion", [](Bytes& b) { Put32(b, h, 0xFFFFFFFF); }}, &good24},
        {{"pixels past the end", [](Bytes& b) { Put32(b, 10, 0x7FFFFFF0); }}, &good24},
        {{"pixels inside the colour table", [](Bytes& b) { Put32(b, 10, 14 + 40 + 16); }}, &good8},
        {{"last pixel byte missing", [](Bytes& b) { b.pop_back(); }}, &good24},
        {{"colour table cut", [](Bytes& b) { b.resize(14 + 40 + 100); }}, &good8},
        {{"header cut", [](Bytes& b) { b.resize(14 + 20); }}, &good24},
        {{"file header only", [](Bytes& b) { b.resize(14); }}, &good24},
        {{"two bytes", [](Bytes& b) { b.resize(2); }}, &good24},
    };
    int n = 0;
    for (auto& [hostile, base] : cases) {
        SCOPED_TRACE(hostile.name);
        Bytes bytes = *base;
        hostile.spoil(bytes);
        std::string path = WritePicture("bad" + std::to_string(n++) + ".bmp", bytes);

        cachedDibBlock = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 1064);
        EXPECT_FALSE(ReadDibFile(path.c_str()));
        GlobalFree(cachedDibBlock);
        cachedDibBlock = nullptr;

        Canvas canvas(12, 8);
        DrawDibFile(nullptr, canvas.dc, path.c_str());
        DrawXifPicture(canvas.dc, path.c_str(), 2, 2);
        EXPECT_TRUE(canvas.Untouched());

        size_t before = boxes.Count();
        EXPECT_EQ(LoadDIBImageA(path.c_str()), nullptr);
        ASSERT_EQ(boxes.Count(), before + 1);
        EXPECT_EQ(boxes.Last().text, "Unknown DIB file format.");
        EXPECT_EQ(boxes.Last().caption, "Error");
    }

    // The same faults in core and packed headers reach the converter.
    BmpLayout core = EveryKind()[7]; // 24 bits, core
    Bytes badCore = MakeBmp(core);
    Put16(badCore, h + 10, 16); // no 16-bit core pictures
    EXPECT_EQ(LoadDIBImageA(WritePicture("core16.bmp", badCore).c_str()), nullptr);
    BmpLayout packed = base8;
    packed.fileHeader = false;
    Bytes badPacked = MakeBmp(packed);
    badPacked.resize(40 + 1024 + 3); // the pixels cut short
    EXPECT_EQ(LoadDIBImageA(WritePicture("packed.bmp", badPacked).c_str()), nullptr);
    EXPECT_EQ(boxes.Last().text, "Unknown DIB file format.");
}

// The tracing image of the active document.
class TracingImage : public PictureFiles {
protected:
    void SetUp() override
    {
        document = CreatePlanDocument();
        ASSERT_NE(document, nullptr);
        ASSERT_NE(document->settings, nullptr);
        savedFrame = frameWindow;
        frameWindow = CreateWindowExA(0, "STATIC", "frame", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ApplyViewAngles(90.0f, 0.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
    }
    void TearDown() override
    {
        FreePlanDocument(document);
        DestroyWindow(frameWindow);
        frameWindow = savedFrame;
        PictureFiles::TearDown();
    }
    bool CommandPosted(WPARAM command)
    {
        MSG msg;
        while (PeekMessageA(&msg, frameWindow, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            if (msg.wParam == command)
                return true;
        return false;
    }
    PlanDocument* document = nullptr;
    HWND savedFrame = nullptr;
};

TEST_F(TracingImage, StretchedByItsScalesAndCentredOnThePlanOrigin)
{
    BmpLayout s = EveryKind()[3]; // 5 x 2, 24 bits
    std::string path = WritePicture("trace.bmp", MakeBmp(s));
    PlanSettings* settings = document->settings;
    settings->tracingScaleX = 2.0f;
    settings->tracingScaleY = 1.0f;
    settings->zoom = 1.0f;
    Canvas canvas(30, 20);
    SetWindowOrgEx(canvas.dc, -10, -10, nullptr); // logical (0, 0) at pixel (10, 10)
    DrawTracingImage(nullptr, canvas.dc, path.c_str());
    // 10 x 2 from logical (-5, -1).
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(canvas.At(5 + x, 9 + y), Expected(s, x / 2, y)) << x << "," << y;
    EXPECT_EQ(canvas.At(4, 9), kCanvas);
    EXPECT_EQ(canvas.At(15, 9), kCanvas);
    EXPECT_EQ(canvas.At(5, 8), kCanvas);
    EXPECT_EQ(canvas.At(5, 11), kCanvas);
    EXPECT_EQ(boxes.Count(), 0u);

    // At zoom 2 the picture doubles and stays centred on the origin.
    settings->zoom = 2.0f;
    Canvas zoomed(40, 20);
    SetWindowOrgEx(zoomed.dc, -20, -10, nullptr);
    DrawTracingImage(nullptr, zoomed.dc, path.c_str());
    // 20 x 4 from logical (-10, -2), that is from pixel (10, 8).
    EXPECT_EQ(zoomed.At(9, 8), kCanvas);
    EXPECT_EQ(zoomed.At(10, 8), Expected(s, 0, 0));
    EXPECT_EQ(zoomed.At(29, 11), Expected(s, 4, 1));
    EXPECT_EQ(zoomed.At(30, 11), kCanvas);
    EXPECT_EQ(zoomed.At(10, 7), kCanvas);
    EXPECT_EQ(zoomed.At(10, 12), kCanvas);
}

TEST_F(TracingImage, AMissingFileClearsTheSettingAndOffersAnother)
{
    PlanSettings* settings = document->settings;
    for (int answer : {IDYES, IDNO}) {
        std::strcpy(settings->tracingImagePath, "Z:\\nowhere\\trace.bmp");
        settings->tracingImageShown = 1;
        settings->tracingScaleX = 3.0f;
        settings->tracingScaleY = 0.5f;
        boxes.QueueAnswer(answer);
        Canvas canvas(8, 8);
        DrawTracingImage(nullptr, canvas.dc, settings->tracingImagePath);
        EXPECT_TRUE(canvas.Untouched());
        EXPECT_EQ(settings->tracingImagePath[0], 0);
        EXPECT_EQ(settings->tracingImageShown, 0);
        EXPECT_EQ(settings->tracingScaleX, 1.0f);
        EXPECT_EQ(settings->tracingScaleY, 1.0f);
        ASSERT_GE(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text,
                  "Impossibile trovare il file Immagine tracciato pianta associato a questo disegno. Il file è "
                  "stato cancellato o spostato in una directory diversa. Caricare un nuovo file con l'immagine "
                  "tracciato pianta?");
        EXPECT_EQ(boxes.Last().caption, std::string(applicationTitle));
        EXPECT_EQ(boxes.Last().flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL));
        EXPECT_EQ(CommandPosted(LoadTracingImageCommand), answer == IDYES);
    }
}

TEST_F(TracingImage, NothingWithoutADocumentOrWithUnusableScales)
{
    std::string path = WritePicture("trace.bmp", MakeBmp(EveryKind()[3]));
    Canvas canvas(20, 20);
    SetWindowOrgEx(canvas.dc, -10, -10, nullptr);
    for (float scale : {0.0f, -2.0f, std::nanf(""), 1e30f}) {
        document->settings->tracingScaleX = scale;
        DrawTracingImage(nullptr, canvas.dc, path.c_str());
        EXPECT_TRUE(canvas.Untouched()) << scale;
    }
    document->settings->tracingScaleX = 1.0f;
    PlanDocument* saved = activeDocument;
    activeDocument = nullptr;
    DrawTracingImage(nullptr, canvas.dc, path.c_str());
    activeDocument = saved;
    EXPECT_TRUE(canvas.Untouched());
    EXPECT_EQ(boxes.Count(), 0u);
}

} // namespace
