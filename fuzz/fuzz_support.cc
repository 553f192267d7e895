#include "fuzz_support.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>

namespace dovrek::fuzz {

std::string WriteInput(const std::string& name, const uint8_t* data, size_t size) {
  static const std::string folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "dovrek-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    return pattern;
  }();
  std::string path = folder + "/" + name;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  return path;
}

}  // namespace dovrek::fuzz
