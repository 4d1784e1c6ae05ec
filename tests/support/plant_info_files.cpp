#include "support/plant_info_files.h"
#include <windows.h>
#include <filesystem>
#include "render3d/texture_names.h"

namespace vtest {

void WritePlantInfo(int32_t id, std::initializer_list<std::pair<const char*, std::string>> keys)
{
    char path[kTextureNameSize] = "";
    MakeTextureInfoPath(id, path);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    DeleteFileA(path);
    for (const auto& key : keys)
        WritePrivateProfileStringA("Description", key.first, key.second.c_str(), path);
}

} // namespace vtest
