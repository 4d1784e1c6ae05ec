#pragma once
#include <windows.h>
#include <stddef.h>
#include <stdint.h>

// File names of the texture library under "\TEXTURES\" of the program directory. Every
// texture, plant picture and surface style is named by its TextureId (1 to 13999); a
// fixed table turns the id into a folder, a file-name prefix and a file number, and the
// three file kinds add ".ZTX" (the picture), ".ZTI" (its INI-format information file)
// or ".ZPV" (the side bar's preview). The trim and panel styles (100 to 104, 200 to
// 204) have a small table of their own, with metric variants ("M" after the number).
//
// The namers write into the caller's buffer, which holds at least kTextureNameSize
// bytes, and never past it. Out of range they leave the buffer as it was, so callers
// start from an initialised buffer.

constexpr size_t kTextureNameSize = MAX_PATH + 64;

// "FOLDER\PREFIXn.ZTX", relative to "\TEXTURES\"; empty for an id in no table row.
void MakeTextureImageName(int32_t id, char* name);
// The program directory, "\TEXTURES\", the stem, the number and ".ZTI" or ".ZPV"; only
// the directory and "\TEXTURES\" for an id in no table row. Unchanged when the program
// directory is not set.
void MakeTextureInfoPath(int32_t id, char* path);
void MakeTexturePreviewPath(int32_t id, char* path);
// The same for trim (100 to 104) and panel (200 to 204) styles.
void MakeTrimTextureInfoPath(int32_t styleId, char* path);
void MakeTrimTexturePreviewPath(int32_t styleId, char* path);
