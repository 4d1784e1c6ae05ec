#include "files/picture_files.h"
#include "files/kept_paths.h"
#include "files/whole_reads.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

HGLOBAL cachedDibBlock = nullptr;
uint16_t cachedDibBitsOffset = 0;
HPALETTE cachedDibPalette = nullptr;

namespace {

const uint32_t kFileHeaderSize = 14;
const uint32_t kCoreHeaderSize = 12;
const uint32_t kInfoHeaderSize = 40;
const uint32_t kV4HeaderSize = 108;
const uint32_t kV5HeaderSize = 124;
const uint32_t kMaxColours = 256;
// Pictures are drawn with 16-bit coordinates; nothing larger is a real picture.
const int32_t kMaxSide = 32767;
// The RGB converter holds the picture twice at 3 bytes a pixel.
const uint64_t kMaxConvertedPixels = 4096ull * 4096ull;
const uint32_t kReadChunk = 32768;
const size_t kFreshBlockSize = kInfoHeaderSize + 256 * 4;

const char kMissingTracingImage[] =
    "Impossibile trovare il file Immagine tracciato pianta associato a questo disegno. Il file è "
    "stato cancellato o spostato in una directory diversa. Caricare un nuovo file con l'immagine "
    "tracciato pianta?";

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t I32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

// Where everything of a picture lies in its file, once the header has been checked.
struct DibLayout {
    uint32_t headerSize;
    int32_t width;
    int32_t height;     // as stored: negative for a top-down picture
    uint32_t rows;      // |height|
    uint16_t bitCount;
    uint32_t colours;
    uint32_t entrySize; // 3 for core colour tables, 4 otherwise
    uint64_t tableOffset;
    uint64_t pixelOffset;
    uint32_t stride;    // bytes per row, padded to 4
    uint64_t imageSize; // stride x rows
};

bool IsKnownBitCount(uint16_t bits, bool core)
{
    switch (bits) {
    case 1: case 4: case 8: case 24:
        return true;
    case 16: case 32:
        return !core;
    default:
        return false;
    }
}

// Checks a header (12 bytes for a core header, at least 40 otherwise, at headerStart in
// a file of fileSize bytes) and finds its colour table and pixels. bitsOffset is the file
// header's pixel offset, 0 for none.
bool LayOutDib(const uint8_t* header, uint64_t headerStart, uint64_t fileSize, uint32_t bitsOffset,
               bool acceptCore, bool acceptExtended, DibLayout* out)
{
    DibLayout l;
    std::memset(&l, 0, sizeof l);
    l.headerSize = U32(header);
    bool core = l.headerSize == kCoreHeaderSize;
    if (core) {
        if (!acceptCore)
            return false;
        l.width = U16(header + 4);
        l.height = U16(header + 6);
        l.bitCount = U16(header + 10);
        l.entrySize = 3;
    } else {
        bool extended = l.headerSize == kV4HeaderSize || l.headerSize == kV5HeaderSize;
        if (l.headerSize != kInfoHeaderSize && !(acceptExtended && extended))
            return false;
        l.width = I32(header + 4);
        l.height = I32(header + 8);
        l.bitCount = U16(header + 14);
        if (U32(header + 16) != BI_RGB)
            return false;
        l.entrySize = 4;
    }
    if (headerStart + l.headerSize > fileSize)
        return false;
    if (l.width < 1 || l.width > kMaxSide || l.height == 0 || l.height < -kMaxSide || l.height > kMaxSide)
        return false;
    if (!IsKnownBitCount(l.bitCount, core))
        return false;
    l.colours = DibColourCount(header);
    if (l.colours > kMaxColours)
        return false;
    l.rows = static_cast<uint32_t>(l.height < 0 ? -l.height : l.height);
    l.tableOffset = headerStart + l.headerSize;
    uint64_t tableEnd = l.tableOffset + static_cast<uint64_t>(l.colours) * l.entrySize;
    if (tableEnd > fileSize)
        return false;
    l.stride = static_cast<uint32_t>(((static_cast<uint64_t>(l.width) * l.bitCount + 31) / 32) * 4);
    l.imageSize = static_cast<uint64_t>(l.stride) * l.rows;
    l.pixelOffset = bitsOffset ? bitsOffset : tableEnd;
    if (l.pixelOffset < tableEnd || l.pixelOffset + l.imageSize > fileSize)
        return false;
    *out = l;
    return true;
}

// The 40-byte header the drawers and the converter hand to GDI.
void FillInfoHeader(BITMAPINFOHEADER* info, const DibLayout& l, int32_t height)
{
    std::memset(info, 0, sizeof *info);
    info->biSize = kInfoHeaderSize;
    info->biWidth = l.width;
    info->biHeight = height;
    info->biPlanes = 1;
    info->biBitCount = l.bitCount;
    info->biCompression = BI_RGB;
    info->biSizeImage = static_cast<DWORD>(l.imageSize);
    info->biClrUsed = l.colours;
}

bool ReadExactly(HANDLE file, void* buffer, DWORD size)
{
    DWORD got = 0;
    return ReadFile(file, buffer, size, &got, nullptr) && got == size;
}

bool SeekTo(HANDLE file, uint64_t offset)
{
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != 0;
}

bool AllocateDibBlock()
{
    if (cachedDibBlock)
        GlobalFree(cachedDibBlock);
    cachedDibBlock = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kFreshBlockSize);
    cachedDibBitsOffset = 0;
    return cachedDibBlock != nullptr;
}

void FreeDibBlock()
{
    if (cachedDibBlock)
        GlobalFree(cachedDibBlock);
    cachedDibBlock = nullptr;
    cachedDibBitsOffset = 0;
}

// For a picture with a colour table, makes its palette the kept one and realises it in
// the DC; *previous gets the palette it displaced (null when none was selected). False
// when the picture needs a palette that could not be made.
bool RealizeDibPalette(HDC dc, const BITMAPINFO* info, HPALETTE* previous)
{
    *previous = nullptr;
    if (info->bmiHeader.biClrUsed == 0)
        return true;
    FreeCachedDib();
    cachedDibPalette = CreateDibPalette(info);
    if (!cachedDibPalette)
        return false;
    *previous = SelectPalette(dc, cachedDibPalette, FALSE);
    RealizePalette(dc);
    return true;
}

// After drawing the locked block: puts the DC's palette back and frees the block.
void ReleaseDrawnDibBlock(HDC dc, HPALETTE previous)
{
    // The kept palette must not stay selected, or FreeCachedDib could not delete it.
    if (previous)
        SelectPalette(dc, previous, FALSE);
    GlobalUnlock(cachedDibBlock);
    FreeDibBlock();
}

// Draws the block 1:1 at (x, y) with its palette; the block is freed afterwards.
void DrawDibBlock(HDC dc, int x, int y)
{
    BITMAPINFO* info = cachedDibBlock ? static_cast<BITMAPINFO*>(GlobalLock(cachedDibBlock)) : nullptr;
    if (!info) {
        FreeDibBlock();
        return;
    }
    HPALETTE previous = nullptr;
    if (RealizeDibPalette(dc, info, &previous)) {
        const BYTE* bits = reinterpret_cast<const BYTE*>(info) + cachedDibBitsOffset;
        LONG height = info->bmiHeader.biHeight;
        DWORD rows = static_cast<DWORD>(height < 0 ? -height : height);
        SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(info->bmiHeader.biWidth), rows, 0, 0, 0, rows, bits,
                          info, DIB_RGB_COLORS);
    }
    ReleaseDrawnDibBlock(dc, previous);
}

void ShowDibError(const char* text)
{
    ShowMessageBox(GetFocus(), text, "Error", MB_OK);
}

} // namespace

bool IsSoundPackedDib(const void* data, uint64_t size)
{
    if (!data || size < kCoreHeaderSize)
        return false;
    const uint8_t* header = static_cast<const uint8_t*>(data);
    // Every field of an info header is read before its size is checked against the data.
    if (U32(header) != kCoreHeaderSize && size < kInfoHeaderSize)
        return false;
    DibLayout layout;
    return LayOutDib(header, 0, size, 0, true, true, &layout);
}

uint32_t DibColourCount(const void* header)
{
    if (!header)
        return 0;
    const uint8_t* h = static_cast<const uint8_t*>(header);
    uint16_t bits;
    if (U32(h) == kCoreHeaderSize) {
        bits = U16(h + 10);
    } else {
        uint32_t used = U32(h + 32);
        if (used != 0)
            return used;
        bits = U16(h + 14);
    }
    switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

bool ReadDibFile(const char* path)
{
    if (!path || !cachedDibBlock)
        return false;
    HANDLE file = OpenMeantFile(path, GENERIC_READ, FILE_SHARE_READ);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = false;
    LARGE_INTEGER size;
    uint8_t head[kFileHeaderSize + kInfoHeaderSize];
    DibLayout layout;
    if (GetFileSizeEx(file, &size) && ReadExactly(file, head, kFileHeaderSize) && head[0] == 'B' &&
        head[1] == 'M' && ReadExactly(file, head + kFileHeaderSize, kInfoHeaderSize) &&
        LayOutDib(head + kFileHeaderSize, kFileHeaderSize, static_cast<uint64_t>(size.QuadPart), U32(head + 10),
                  false, true, &layout)) {
        SIZE_T tableBytes = static_cast<SIZE_T>(layout.colours) * 4;
        SIZE_T total = kInfoHeaderSize + tableBytes + static_cast<SIZE_T>(layout.imageSize);
        HGLOBAL grown = GlobalReAlloc(cachedDibBlock, total, GMEM_MOVEABLE | GMEM_ZEROINIT);
        if (grown) {
            cachedDibBlock = grown;
            uint8_t* block = static_cast<uint8_t*>(GlobalLock(cachedDibBlock));
            if (block) {
                FillInfoHeader(reinterpret_cast<BITMAPINFOHEADER*>(block), layout, layout.height);
                cachedDibBitsOffset = static_cast<uint16_t>(kInfoHeaderSize + tableBytes);
                ok = SeekTo(file, layout.tableOffset) &&
                     (tableBytes == 0 || ReadExactly(file, block + kInfoHeaderSize, static_cast<DWORD>(tableBytes))) &&
                     SeekTo(file, layout.pixelOffset);
                uint8_t* bits = block + cachedDibBitsOffset;
                uint64_t left = layout.imageSize;
                while (ok && left > 0) {
                    DWORD chunk = left > kReadChunk ? kReadChunk : static_cast<DWORD>(left);
                    ok = ReadExactly(file, bits, chunk);
                    bits += chunk;
                    left -= chunk;
                }
                GlobalUnlock(cachedDibBlock);
            }
        }
    }
    CloseHandle(file);
    return ok;
}

void DrawDibFile(HWND, HDC dc, const char* path)
{
    DrawXifPicture(dc, path, 0, 0);
}

void DrawXifPicture(HDC dc, const char* path, int x, int y)
{
    if (!dc || !path || !AllocateDibBlock())
        return;
    if (!ReadDibFile(path)) {
        FreeDibBlock();
        return;
    }
    DrawDibBlock(dc, x, y);
}

bool PaintDibFileWindow(HWND window, const char* path)
{
    if (!GetUpdateRect(window, nullptr, FALSE))
        return false;
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    HDC dc = GetDC(window);
    if (dc) {
        DrawDibFile(window, dc, path);
        ReleaseDC(window, dc);
    }
    EndPaint(window, &paint);
    return true;
}

void FreeCachedDib()
{
    if (cachedDibPalette)
        DeleteObject(cachedDibPalette);
    cachedDibPalette = nullptr;
}

HPALETTE CreateDibPalette(const BITMAPINFO* info)
{
    if (!info)
        return nullptr;
    uint32_t colours = info->bmiHeader.biClrUsed;
    if (colours == 0)
        return static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    if (colours > kMaxColours)
        colours = kMaxColours;
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[kMaxColours];
    } palette;
    palette.version = 0x300;
    palette.count = static_cast<WORD>(colours);
    for (uint32_t i = 0; i < colours; ++i) {
        palette.entries[i].peRed = info->bmiColors[i].rgbRed;
        palette.entries[i].peGreen = info->bmiColors[i].rgbGreen;
        palette.entries[i].peBlue = info->bmiColors[i].rgbBlue;
        palette.entries[i].peFlags = 0;
    }
    return CreatePalette(reinterpret_cast<const LOGPALETTE*>(&palette));
}

void DrawTracingImage(HWND, HDC dc, const char* path)
{
    PlanSettings* settings = activeDocument ? activeDocument->settings : nullptr;
    if (!settings || !dc || !path)
        return;
    if (!AllocateDibBlock())
        return;
    if (!ReadDibFile(path)) {
        FreeDibBlock();
        // Cleared before asking: a repaint behind the question must not ask again.
        settings->tracingImagePath[0] = 0;
        settings->tracingImageShown = 0;
        settings->tracingScaleX = 1.0f;
        settings->tracingScaleY = 1.0f;
        int answer = ShowMessageBox(nullptr, kMissingTracingImage, applicationTitle,
                                    MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL);
        if (answer == IDYES && frameWindow)
            PostMessageA(frameWindow, WM_COMMAND, LoadTracingImageCommand, 0);
        return;
    }
    BITMAPINFO* info = static_cast<BITMAPINFO*>(GlobalLock(cachedDibBlock));
    if (!info) {
        FreeDibBlock();
        return;
    }
    // Without its palette the image is still drawn, in the colours the DC has.
    HPALETTE previous = nullptr;
    RealizeDibPalette(dc, info, &previous);
    LONG width = info->bmiHeader.biWidth;
    LONG height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
    float zoomedWidth = ZoomFloat(static_cast<float>(width) * settings->tracingScaleX);
    float zoomedHeight = ZoomFloat(static_cast<float>(height) * settings->tracingScaleY);
    // A scale of the settings that is not a usable size draws nothing.
    if (std::isfinite(zoomedWidth) && std::isfinite(zoomedHeight) && zoomedWidth >= 0.5f &&
        zoomedHeight >= 0.5f && zoomedWidth < 32767.0f && zoomedHeight < 32767.0f) {
        int destWidth = static_cast<int>(zoomedWidth + 0.5f);
        int destHeight = static_cast<int>(zoomedHeight + 0.5f);
        // Centred on where the plan origin lies in the view.
        float ox = 0.0f, oy = 0.0f, oz = 0.0f;
        TransformPointToView(&ox, &oy, &oz, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin, viewOrigin.x,
                             viewOrigin.y, viewOrigin.z, 1);
        float left = ox - destWidth / 2.0f;
        float top = oy - destHeight / 2.0f;
        if (std::isfinite(left) && std::isfinite(top) && std::fabs(left) < 32767.0f && std::fabs(top) < 32767.0f) {
            const BYTE* bits = reinterpret_cast<const BYTE*>(info) + cachedDibBitsOffset;
            StretchDIBits(dc, static_cast<int>(std::floor(left + 0.5f)), static_cast<int>(std::floor(top + 0.5f)),
                          destWidth, destHeight, 0, 0, width, height, bits, info, DIB_RGB_COLORS, SRCCOPY);
        }
    }
    ReleaseDrawnDibBlock(dc, previous);
}

namespace {

// The converter's picture, read from its open file band by band: a band of rows is read
// into a small block and converted through a section of its own, so the file is never
// held whole nor mapped (a program that keeps no share modes, of another Wine server or
// of the system, may cut or rewrite it meanwhile, which a mapping meets as a fault).
// The rows come out bottom row first. Null when a band reads short or the file's size
// or last write differs after the read from before it: the file changed while it was
// read. `digest`, where given, takes in every band read. `failure` gets the message of a
// conversion that failed. `source` holds the colour table; its header is filled for each
// band.
// "Failed to open DIB file ...": a file that cannot be opened or read, or that changed
// while it was read.
std::string OpenFailure(const void* path, bool wide)
{
    char text[MAX_PATH + 64];
    if (wide) {
        char ansi[MAX_PATH * 2];
        if (!WideCharToMultiByte(CP_ACP, 0, static_cast<const wchar_t*>(path), -1, ansi, sizeof ansi, nullptr,
                                 nullptr))
            ansi[0] = 0;
        std::snprintf(text, sizeof text, "Failed to open DIB file %s.\n", ansi);
    } else {
        std::snprintf(text, sizeof text, "Failed to open DIB file %s.\n", static_cast<const char*>(path));
    }
    return text;
}

// Rows of the file in a band of about 256 KB: a read and a conversion stay in the
// processor's cache, where a block of the whole picture (18 MB for 3000 x 2000 at 24 bits)
// made every load pay the fresh memory it was read into.
uint32_t BandRows(const DibLayout& layout)
{
    return layout.stride >= (1u << 18) ? 1 : (1u << 18) / layout.stride;
}

// Reads again what a load read (the first `headBytes` and the rows, band by band) and tells
// whether it gives the same digest, the file's size and last write still those before.
bool ReadsAlikeAgain(HANDLE file, DWORD headBytes, const DibLayout& layout, uint64_t digest, const FileState& before)
{
    const uint32_t bandRows = BandRows(layout);
    uint8_t* band = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(layout.stride) * bandRows + headBytes));
    uint64_t again = 0;
    bool read = band && SeekTo(file, 0) && ReadExactly(file, band, headBytes) && SeekTo(file, layout.pixelOffset);
    if (read)
        again = Digest(again, band, headBytes);
    for (uint32_t done = 0; read && done < layout.rows;) {
        const uint32_t n = layout.rows - done < bandRows ? layout.rows - done : bandRows;
        read = ReadExactly(file, band, layout.stride * n);
        again = Digest(again, band, static_cast<size_t>(layout.stride) * n);
        if (!done)
            ReachReadStage(ReadStage::PartRead);
        done += n;
    }
    std::free(band);
    FileState after;
    return read && again == digest && TakeFileState(file, &after) && after == before;
}

uint8_t* ReadRgbRows(HANDLE file, const DibLayout& layout, BITMAPINFO* source, const FileState& before,
                     uint64_t* digest, const char** failure)
{
    const uint32_t bandRows = BandRows(layout);
    const size_t rowBytes = static_cast<size_t>(layout.width) * 3;
    const size_t sectionStride = (rowBytes + 3) & ~static_cast<size_t>(3);
    uint8_t* pixels = static_cast<uint8_t*>(std::malloc(rowBytes * layout.rows));
    uint8_t* band = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(layout.stride) *
                                                      (bandRows < layout.rows ? bandRows : layout.rows)));
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP section = nullptr;
    void* sectionBits = nullptr;
    uint32_t sectionRows = 0;
    bool read = pixels && band && memory && SeekTo(file, layout.pixelOffset);
    if (!pixels || !band)
        *failure = "Out of memory.";
    else if (!memory)
        *failure = "Image file conversion error.";
    for (uint32_t done = 0; read && !*failure && done < layout.rows;) {
        const uint32_t n = layout.rows - done < bandRows ? layout.rows - done : bandRows;
        read = ReadExactly(file, band, layout.stride * n);
        if (!read)
            break;
        if (digest)
            *digest = Digest(*digest, band, static_cast<size_t>(layout.stride) * n);
        if (!done)
            ReachReadStage(ReadStage::PartRead);
        // The band as a picture of its own, top-down where the file's rows are.
        FillInfoHeader(&source->bmiHeader, layout, layout.height < 0 ? -static_cast<int32_t>(n) : static_cast<int32_t>(n));
        source->bmiHeader.biSizeImage = layout.stride * n;
        if (n != sectionRows) {
            if (section)
                DeleteObject(section);
            BITMAPINFO target;
            std::memset(&target, 0, sizeof target);
            target.bmiHeader.biSize = kInfoHeaderSize;
            target.bmiHeader.biWidth = layout.width;
            target.bmiHeader.biHeight = static_cast<LONG>(n);
            target.bmiHeader.biPlanes = 1;
            target.bmiHeader.biBitCount = 24;
            target.bmiHeader.biCompression = BI_RGB;
            section = CreateDIBSection(memory, &target, DIB_RGB_COLORS, &sectionBits, nullptr, 0);
            sectionRows = section && sectionBits ? n : 0;
        }
        if (!sectionRows || SetDIBits(memory, section, 0, n, band, source, DIB_RGB_COLORS) <= 0) {
            *failure = "Image file conversion error.";
            break;
        }
        GdiFlush();
        // The section is bottom-up: its first row is the band's bottom one, the file's first
        // of the band in a bottom-up picture, its last in a top-down one.
        const uint32_t bottom = layout.height < 0 ? layout.rows - done - n : done;
        const uint8_t* from = static_cast<const uint8_t*>(sectionBits);
        for (uint32_t row = 0; row < n; ++row) {
            const uint8_t* src = from + row * sectionStride;
            uint8_t* dst = pixels + (bottom + row) * rowBytes;
            for (int32_t x = 0; x < layout.width; ++x) {
                dst[3 * x] = src[3 * x + 2];
                dst[3 * x + 1] = src[3 * x + 1];
                dst[3 * x + 2] = src[3 * x];
            }
        }
        done += n;
    }
    FileState after;
    if (read && !*failure && !(TakeFileState(file, &after) && after == before))
        read = false;
    if (section)
        DeleteObject(section);
    if (memory)
        DeleteDC(memory);
    std::free(band);
    if (!read || *failure) {
        std::free(pixels);
        return nullptr;
    }
    return pixels;
}

// One load of the picture: the image, or null with the text of what refused it in
// `failure`, and whether the file was written lately (WrittenLately), or moved while it
// settled, in `lately`.
DIBImage* LoadDIBOnce(const void* path, bool wide, std::string* failureText, bool* lately)
{
    HANDLE file = wide ? CreateFileW(static_cast<const wchar_t*>(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                       : OpenMeantFile(static_cast<const char*>(path), GENERIC_READ, FILE_SHARE_READ);
    // The headers and the colour table lie within the first bytes (a file header, an
    // info header and 256 entries); the rows are read from their offset once laid out.
    uint8_t head[kFileHeaderSize + kInfoHeaderSize + kMaxColours * 4];
    const uint64_t start = FileClock();
    FileState before = {};
    const uint64_t fileSize = file != INVALID_HANDLE_VALUE && TakeFileState(file, &before) ? before.size : 0;
    const DWORD headBytes = static_cast<DWORD>(fileSize < sizeof head ? fileSize : sizeof head);
    *lately = file != INVALID_HANDLE_VALUE && WrittenLately(before);
    const auto refuse = [&](const char* text) {
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        *failureText = text;
        return nullptr;
    };
    if (!fileSize || !ReadExactly(file, head, headBytes))
        return refuse(OpenFailure(path, wide).c_str());

    uint64_t headerStart = 0;
    uint32_t bitsOffset = 0;
    if (fileSize >= 2 && head[0] == 'B' && head[1] == 'M') {
        headerStart = kFileHeaderSize;
        if (fileSize >= kFileHeaderSize)
            bitsOffset = U32(head + 10);
    }
    // Enough bytes for the header size, and for the header itself once its size is known.
    DibLayout layout;
    bool known = headerStart + 4 <= fileSize;
    if (known) {
        uint32_t headerSize = U32(head + headerStart);
        uint32_t needed = headerSize == kCoreHeaderSize ? kCoreHeaderSize : kInfoHeaderSize;
        known = headerStart + needed <= fileSize &&
                LayOutDib(head + headerStart, headerStart, fileSize, bitsOffset, true, false, &layout);
    }
    if (!known)
        return refuse("Unknown DIB file format.");
    if (static_cast<uint64_t>(layout.width) * layout.rows > kMaxConvertedPixels)
        return refuse("Out of memory.");

    // The colour table in 4-byte entries (the header is filled band by band).
    BITMAPINFO* table = static_cast<BITMAPINFO*>(
        LocalAlloc(LPTR, kInfoHeaderSize + static_cast<size_t>(kMaxColours) * sizeof(RGBQUAD)));
    if (!table)
        return refuse("Out of memory.");
    for (uint32_t i = 0; i < layout.colours; ++i) {
        const uint8_t* entry = head + layout.tableOffset + static_cast<size_t>(i) * layout.entrySize;
        table->bmiColors[i].rgbBlue = entry[0];
        table->bmiColors[i].rgbGreen = entry[1];
        table->bmiColors[i].rgbRed = entry[2];
        table->bmiColors[i].rgbReserved = 0;
    }
    // Read as the plans are: where the file's date may hide a write during the read, a
    // second read, once the file has settled, must give the same bytes.
    const bool twice = DateMayHideWrite(before, start);
    uint64_t digest = Digest(0, head, headBytes);
    const char* failure = nullptr;
    uint8_t* pixels = ReadRgbRows(file, layout, table, before, twice ? &digest : nullptr, &failure);
    // A writer between two of its blocks: its next one moves the state, or the bytes where
    // the dates cannot show it, and it is read again.
    if (pixels && (!StaysSettled(file, before) || (twice && !ReadsAlikeAgain(file, headBytes, layout, digest, before)))) {
        std::free(pixels);
        pixels = nullptr;
        *lately = true;
    }
    LocalFree(table);
    CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    DIBImage* image = pixels ? static_cast<DIBImage*>(std::malloc(sizeof(DIBImage))) : nullptr;
    if (pixels && !image) {
        std::free(pixels);
        failure = "Out of memory.";
    }
    if (!image)
        return refuse(failure ? failure : OpenFailure(path, wide).c_str());
    image->width = layout.width;
    image->height = static_cast<int32_t>(layout.rows);
    image->pixels = pixels;
    return image;
}

} // namespace

DIBImage* LoadDIBImage(const void* path, bool wide)
{
    if (!path)
        return nullptr;
    std::string failure;
    for (const DWORD begin = GetTickCount();;) {
        bool lately = false;
        if (DIBImage* image = LoadDIBOnce(path, wide, &failure, &lately))
            return image;
        // Refused while written lately: another program (a copy) may still be writing it.
        if (!lately || GetTickCount() - begin >= kRereadPatience)
            break;
        ReachReadStage(ReadStage::ReadingAgain);
        Sleep(50);
    }
    ShowDibError(failure.c_str());
    return nullptr;
}

DIBImage* LoadDIBImageA(const char* path)
{
    return LoadDIBImage(path, false);
}
