#pragma once
// Plant information files written as the library keeps them: keys of the section
// "Description" in the file the program names for the plant's id.
#include <initializer_list>
#include <stdint.h>
#include <string>
#include <utility>

namespace vtest {

// Writes the plant's information file afresh, below the program directory, with the keys
// given; with none the plant has no file.
void WritePlantInfo(int32_t id, std::initializer_list<std::pair<const char*, std::string>> keys);

} // namespace vtest
