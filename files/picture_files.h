#pragma once
#include <windows.h>
#include <stdint.h>

// BMP pictures: the reader of BMP files into one movable memory block with its drawers
// (dialog pictures, zone maps, previews and the plan's tracing image), and the converter
// of BMP and packed DIB files into plain RGB images for the 3D textures.
//
// No header is trusted: a picture is accepted only with a known header size, bit count
// and compression, at most 256 colours, and every byte its header announces present in
// the file. A refused picture draws nothing.

// An RGB picture: width x height pixels of 3 bytes (R, G, B), rows without padding,
// bottom row first; height is always positive. Both the record and its pixels are
// allocated with malloc: the caller frees the pixels, then the record, with free.
struct DIBImage {
    int32_t width;
    int32_t height;
    uint8_t* pixels;
};

// The cached picture block: a movable global block holding a 40-byte BITMAPINFOHEADER,
// the colour table and the pixel bits (a packed DIB); the offset of the bits inside it;
// the palette of the last drawing, kept until FreeCachedDib.
extern HGLOBAL cachedDibBlock;
extern uint16_t cachedDibBitsOffset;
extern HPALETTE cachedDibPalette;

// Reads a BMP file into cachedDibBlock, which the caller has allocated (the drawers
// below do). False for a file that cannot be read or is refused, core (12-byte) headers
// included; no message.
bool ReadDibFile(const char* path);

// Reads the picture and draws it 1:1 at the client origin of the window (0, 0 of the
// DC). Nothing when the file cannot be read.
void DrawDibFile(HWND window, HDC dc, const char* path);
// The same at (x, y): the dialog pictures.
void DrawXifPicture(HDC dc, const char* path, int x, int y);
// WM_PAINT of a window whose face is the picture: validates the update region and draws
// the picture 1:1 at the client origin. False when nothing needed painting.
bool PaintDibFileWindow(HWND window, const char* path);
// Deletes cachedDibPalette, if any, and clears it.
void FreeCachedDib();
// A logical palette of the block's colour table, or the stock default palette for a
// picture without one; null when it cannot be made.
HPALETTE CreateDibPalette(const BITMAPINFO* info);

// The plan's tracing image, stretched by the settings' tracing scales and the zoom,
// centred on the plan origin. A file that cannot be read clears the tracing setting
// of the active document and offers to load another picture (command 5280).
void DrawTracingImage(HWND pane, HDC dc, const char* path);

// Colour count of a DIB header (BITMAPCOREHEADER or BITMAPINFOHEADER).
uint32_t DibColourCount(const void* header);
// True when size bytes hold a packed DIB (header, colour table, pixels: a bitmap
// resource) that passes the checks of the BMP readers; nothing is loaded.
bool IsSoundPackedDib(const void* data, uint64_t size);

// Reads a BMP or packed DIB file (core and info headers) whole and converts it to RGB.
// With wide set, path is a const wchar_t*, else a const char*. Null on failure, after
// a message box: "Failed to open DIB file ..." (also for a file that another program
// cuts, lengthens or rewrites while it is read, judged as the plans' reads are
// (files/whole_reads.h)), "Unknown DIB file format.", "Image file conversion error." or
// "Out of memory.".
DIBImage* LoadDIBImage(const void* path, bool wide);
DIBImage* LoadDIBImageA(const char* path);

// Frame command that loads a new tracing image.
enum { LoadTracingImageCommand = 5280 };
