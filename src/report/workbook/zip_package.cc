#include "report/workbook/zip_package.h"

#include <zip.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/system_error.h"
#include "platform/text_helpers.h"
#include "report/workbook/workbook_error.h"
#include "report/workbook/zip_writer.h"

namespace dovrek {
namespace {

constexpr char kContentTypesPart[] = "[Content_Types].xml";
constexpr unsigned char kOle2Signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

struct ZipCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct ZipFileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

std::string LibzipMessage(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

// Refuses a legacy binary workbook up front with a message that says what it is.
void RejectLegacyWorkbook(const std::string& native_path) {
  std::ifstream in(native_path, std::ios::binary);
  if (!in) throw WorkbookError(FileErrorMessage(native_path, errno));
  char head[sizeof kOle2Signature] = {};
  if (in.read(head, sizeof head) && std::memcmp(head, kOle2Signature, sizeof head) == 0) {
    throw WorkbookError(native_path +
                        ": 旧形式 (Excel 97-2003 バイナリ) のブックです。Office Open XML 形式で"
                        "保存したテンプレートを使ってください。");
  }
}

// Reads one part; *budget is what the whole package may still inflate to.
std::string ReadPart(zip_t* archive, zip_uint64_t index, const std::string& native_path,
                     size_t* budget) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  std::string name = zip_get_name(archive, index, ZIP_FL_ENC_GUESS);
  if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
      stat.size > kMaxPartBytes || stat.size > *budget) {
    throw WorkbookError(native_path + ": パーツ " + name + " が大きすぎるか壊れています。");
  }
  std::unique_ptr<zip_file_t, ZipFileCloser> file(zip_fopen_index(archive, index, 0));
  if (!file) {
    throw WorkbookError(native_path + ": パーツ " + name + " を読めません (" +
                        zip_strerror(archive) + ")。");
  }
  std::string bytes(stat.size, '\0');
  zip_int64_t got = zip_fread(file.get(), bytes.data(), bytes.size());
  if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size) {
    throw WorkbookError(native_path + ": パーツ " + name + " が壊れています (" +
                        zip_file_strerror(file.get()) + ")。");
  }
  // Data beyond the size the headers state: the part is not read any further.
  char extra;
  if (zip_int64_t more = zip_fread(file.get(), &extra, 1); more != 0) {
    throw WorkbookError(
        native_path + ": パーツ " + name + " が壊れています (" +
        (more < 0 ? zip_file_strerror(file.get()) : "記録された大きさより長いデータです") + ")。");
  }
  *budget -= bytes.size();
  return bytes;
}

}  // namespace

ZipPackage ZipPackage::Read(const std::string& native_path) {
  RejectLegacyWorkbook(native_path);
  int code = 0;
  std::unique_ptr<zip_t, ZipCloser> archive(zip_open(native_path.c_str(), ZIP_RDONLY, &code));
  if (!archive) {
    throw WorkbookError(native_path + ": ブック (zip) として読めません (" + LibzipMessage(code) +
                        ")。");
  }
  ZipPackage package;
  size_t budget = kMaxPackageBytes;
  zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive.get(), i, ZIP_FL_ENC_GUESS);
    if (!name || !*name || name[std::strlen(name) - 1] == '/') continue;  // folder entries
    package.parts_.emplace_back(name, ReadPart(archive.get(), i, native_path, &budget));
  }
  return package;
}

const std::string* ZipPackage::Find(const std::string& name) const {
  for (const auto& [part, bytes] : parts_) {
    if (EqualsNoCase(part, name)) return &bytes;
  }
  return nullptr;
}

void ZipPackage::Put(const std::string& name, std::string bytes) {
  for (auto& [part, old] : parts_) {
    if (EqualsNoCase(part, name)) {
      old = std::move(bytes);
      return;
    }
  }
  parts_.emplace_back(name, std::move(bytes));
}

void ZipPackage::Remove(const std::string& name) {
  std::erase_if(parts_, [&](const auto& part) { return EqualsNoCase(part.first, name); });
}

void ZipPackage::WriteTo(BufferedWriter& out, const PartWriter& write_part) const {
  ZipWriter zip(out);
  auto write = [&](const std::string& name, const std::string& bytes) {
    zip.BeginPart(name);
    if (!write_part || !write_part(name, zip)) zip.Write(bytes);
    zip.EndPart();
  };
  if (const std::string* types = Find(kContentTypesPart)) write(kContentTypesPart, *types);
  for (const auto& [name, bytes] : parts_) {
    if (!EqualsNoCase(name, kContentTypesPart)) write(name, bytes);
  }
  zip.Finish();
}

std::string ZipPackage::ToBytes() const {
  std::string bytes;
  BufferedWriter out(&bytes);
  WriteTo(out, nullptr);
  out.Flush();
  return bytes;
}

}  // namespace dovrek
