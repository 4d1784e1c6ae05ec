#include "support/plant_info_files.h"
#include <windows.h>
#include <filesystem>
#include <fstream>
#include "dialogs/plant_info.h"
#include "render3d/texture_names.h"

namespace vtest {

void WritePlantInfo(int32_t id, std::initializer_list<std::pair<const char*, std::string>> keys)
{
    char path[kTextureNameSize] = "";
    MakeTextureInfoPath(id, path);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    DeleteFileA(path);
    // Written as the profile functions write it, but whole: they write no value of
    // 100,000 characters, which a library's file may hold.
    if (keys.size()) {
        std::string text = "[Description]\r\n";
        for (const auto& key : keys)
            text += std::string(key.first) + "=" + key.second + "\r\n";
        std::ofstream(path, std::ios::binary) << text;
    }
    // The profile functions keep the files they read, and the program keeps what it read
    // of each plant: have both read this one afresh.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path);
    ForgetPlantInfo();
}

} // namespace vtest
