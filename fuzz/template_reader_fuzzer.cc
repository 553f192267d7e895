// Feeds arbitrary bytes to the workbook engine as a template: as a whole package, and as the XML
// of each part of the real template in turn (the first input byte picks the part).

#include <zip.h>

#include <exception>
#include <vector>

#include "fuzz_support.h"
#include "workbook/workbook.h"
#include "workbook/zip_package.h"

namespace {

using namespace dovrek;

void Exercise(const std::string& native_path) {
  try {
    std::unique_ptr<Workbook> book = Workbook::Open(native_path);
    int32_t count = book->WorksheetCount();
    for (int32_t i = 1; i <= count && i <= 8; ++i) {
      Worksheet& sheet = book->Worksheets(i);
      sheet.SetName("表紙" + std::to_string(i));
      sheet.Activate();
      sheet.Range("B5").SetValue("x<&>\x01");
      sheet.Range("B5").SetRowHeight(500);
      sheet.Range("B5").Interior().SetColor(12500670);
    }
    for (const char* name : {"TITLE", "FORM", "DESCRIPTION"}) {
      try {
        book->Worksheets(1).Range(name).SetValue("v");
      } catch (const std::exception&) {
      }
    }
    book->SaveAsBytes();
  } catch (const std::exception&) {
  }
}

// The real template's parts, read once from the environment's DOVREK_TEMPLATE (a zipped
// Dovrek.xlt), to splice fuzzed XML into.
std::vector<std::pair<std::string, std::string>> TemplateParts() {
  std::vector<std::pair<std::string, std::string>> parts;
  const char* path = std::getenv("DOVREK_TEMPLATE");
  if (!path) return parts;
  int error = 0;
  zip_t* archive = zip_open(path, ZIP_RDONLY, &error);
  if (!archive) return parts;
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
    zip_stat_t st;
    if (zip_stat_index(archive, i, 0, &st) != 0) continue;
    std::string bytes(st.size, '\0');
    zip_file_t* file = zip_fopen_index(archive, i, 0);
    if (!file) continue;
    zip_fread(file, bytes.data(), st.size);
    zip_fclose(file);
    parts.emplace_back(st.name, bytes);
  }
  zip_close(archive);
  return parts;
}

std::string Zip(const std::vector<std::pair<std::string, std::string>>& parts) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_source_keep(buffer);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  for (const auto& [name, bytes] : parts) {
    zip_source_t* part = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    zip_file_add(archive, name.c_str(), part, ZIP_FL_OVERWRITE);
  }
  zip_close(archive);
  zip_source_open(buffer);
  zip_source_seek(buffer, 0, SEEK_END);
  zip_int64_t size = zip_source_tell(buffer);
  zip_source_seek(buffer, 0, SEEK_SET);
  std::string out(static_cast<size_t>(size), '\0');
  zip_source_read(buffer, out.data(), size);
  zip_source_close(buffer);
  zip_source_free(buffer);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Exercise(fuzz::WriteInput("whole.xlt", data, size));
  static const auto parts = TemplateParts();
  if (parts.empty() || size == 0) return 0;
  auto spliced = parts;
  spliced[data[0] % spliced.size()].second.assign(reinterpret_cast<const char*>(data + 1),
                                                  size - 1);
  std::string package = Zip(spliced);
  Exercise(fuzz::WriteInput("spliced.xlt", reinterpret_cast<const uint8_t*>(package.data()),
                            package.size()));
  return 0;
}
