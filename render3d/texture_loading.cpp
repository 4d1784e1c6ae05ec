#include "render3d/texture_loading.h"
#include "files/kept_paths.h"
#include "files/picture_files.h"
#include "render3d/texture_names.h"
#include "shell/app_globals.h"
#include <windows.h>
#include <GL/gl.h>
#include <bitset>
#include <stdio.h>
#include <stdlib.h>

namespace {

constexpr int32_t kFirstTextureId = 1;
constexpr int32_t kLastTextureId = 13999;

// Ids whose picture could not be had in this context.
std::bitset<kLastTextureId + 1> failedTextures;

bool IsLibraryId(int32_t id)
{
    return id >= kFirstTextureId && id <= kLastTextureId;
}

} // namespace

bool TextureLoadFailed(int32_t id)
{
    return IsLibraryId(id) && failedTextures.test((size_t)id);
}

void ForgetFailedTextures()
{
    failedTextures.reset();
}

void FreeDIBImage(DIBImage* image)
{
    if (!image)
        return;
    free(image->pixels);
    free(image);
}

DIBImage* ReadLibraryPicture(int32_t id)
{
    if (!IsLibraryId(id) || !programDirectory || failedTextures.test((size_t)id))
        return nullptr;
    char name[kTextureNameSize] = "";
    MakeTextureImageName(id, name);
    char path[kTextureNameSize + MAX_PATH];
    snprintf(path, sizeof path, "%s\\TEXTURES\\%s", programDirectory, name);
    // The reader boxes a missing file; inside a paint that box would come every frame.
    DIBImage* image = nullptr;
    if (name[0] && MeantFileAttributes(path) != INVALID_FILE_ATTRIBUTES)
        image = LoadDIBImageA(path);
    if (!image || !image->pixels || image->width <= 0 || image->height <= 0) {
        FreeDIBImage(image);
        failedTextures.set((size_t)id);
        return nullptr;
    }
    return image;
}

void UploadPackedTexture(int components, int width, int height, unsigned int format,
                         const void* pixels)
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, components, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
}

void LoadTextureById(int32_t id)
{
    DIBImage* image = ReadLibraryPicture(id);
    if (!image)
        return;
    glBindTexture(GL_TEXTURE_2D, (GLuint)id);
    UploadPackedTexture(3, image->width, image->height, GL_RGB, image->pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    FreeDIBImage(image);
}
