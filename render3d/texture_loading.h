#pragma once
#include <stdint.h>

// Library pictures become OpenGL texture objects on first use. A texture object is
// named by its TextureId itself, so the GL name space is the cache: drawers ask
// glIsTexture(id) and load only when the answer is false. Textures live as long as the
// render window's context; there is no eviction.
//
// A picture that is missing or cannot be read is remembered as failed until the next
// context: a draw inside a paint then neither raises a message box nor reads the disk
// again on every frame.

struct DIBImage;

// Reads "\TEXTURES\" + the id's picture name and uploads it under the id as RGB, its
// own size, repeat wrapping, linear filters, modulate. Nothing for an id outside
// 1..13999, an id of no library row, a missing program directory, or an id that failed
// before.
void LoadTextureById(int32_t id);
// The picture of the id, read quietly: null (and the id marked failed) when the id
// names no file or the file is missing; a file that exists but is not a picture is
// reported once by the reader. The caller frees it with FreeDIBImage.
DIBImage* ReadLibraryPicture(int32_t id);
// Whether the id is remembered as failed.
bool TextureLoadFailed(int32_t id);
// Forgets every failure (a new rendering context).
void ForgetFailedTextures();
void FreeDIBImage(DIBImage* image);
// Uploads level 0 of the bound 2D texture from packed rows (no row padding), so the
// unpack alignment is set to 1 first.
void UploadPackedTexture(int components, int width, int height, unsigned int format,
                         const void* pixels);
