#include "workbook/zip_package.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "os/disk.h"
#include "texts/failure_messages.h"
#include "workbook/workbook_messages.h"
#include "os/system_error.h"
#include "base/text_helpers.h"
#include "workbook/workbook_error.h"
#include "workbook/zip_writer.h"

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

// What a libzip error code means, in the program's words; a failure of the system names its
// errno value's text.
std::string LibzipMessage(const zip_error_t& error) {
  switch (zip_error_code_zip(&error)) {
    case ZIP_ER_NOZIP:
      return kNotAZip;
    case ZIP_ER_INCONS:
    case ZIP_ER_CRC:
    case ZIP_ER_COMPRESSED_DATA:
    case ZIP_ER_EOF:
      return kZipDamaged;
    case ZIP_ER_COMPNOTSUPP:
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
      return kZipMethodNotSupported;
    case ZIP_ER_MEMORY:
      return kOutOfMemory;
    default:
      if (zip_error_system_type(&error) == ZIP_ET_SYS) {
        return DescribeSystemError(zip_error_code_system(&error), FileAccess::kReading);
      }
      return kZipDamaged;
  }
}

std::string LibzipMessage(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = LibzipMessage(error);
  zip_error_fini(&error);
  return text;
}

// Refuses a legacy binary workbook up front with a message that says what it is, and a file
// that cannot be read with the reason.
void RejectLegacyWorkbook(const std::string& native_path) {
  std::unique_ptr<ReadableFile> file;
  if (Status opened = RealDisk().OpenForReading(native_path, &file); !opened.ok()) {
    throw WorkbookError(opened.message());
  }
  char head[sizeof kOle2Signature] = {};
  if (file->ReadAt(0, head, sizeof head) == sizeof head &&
      std::memcmp(head, kOle2Signature, sizeof head) == 0) {
    throw WorkbookError(native_path +
                        ": 旧形式 (Excel 97-2003 バイナリ) のブックです。Office Open XML 形式で"
                        "保存したテンプレートを使ってください。");
  }
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A name that climbs out of the package ("../x", "a/../../x") or starts at the root ("/x",
// "\\x", "C:x"): taken into a workbook, another tool that unpacks it could write outside its
// folder.
bool NameLeavesPackage(std::string_view name) {
  if (name.front() == '/' || name.front() == '\\' ||
      (name.size() > 1 && name[1] == ':' && IsAsciiLetter(name[0]))) {
    return true;
  }
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = std::min(name.find_first_of("/\\", start), name.size());
    if (name.substr(start, end - start) == "..") return true;
    start = end + 1;
  }
  return false;
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
                        LibzipMessage(*zip_get_error(archive)) + ")。");
  }
  std::string bytes(stat.size, '\0');
  zip_int64_t got = zip_fread(file.get(), bytes.data(), bytes.size());
  if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size) {
    throw WorkbookError(native_path + ": パーツ " + name + " が壊れています (" +
                        LibzipMessage(*zip_file_get_error(file.get())) + ")。");
  }
  // Data beyond the size the headers state: the part is not read any further.
  char extra;
  if (zip_int64_t more = zip_fread(file.get(), &extra, 1); more != 0) {
    throw WorkbookError(
        native_path + ": パーツ " + name + " が壊れています (" +
        (more < 0 ? LibzipMessage(*zip_file_get_error(file.get())) : kZipPartTooLong) + ")。");
  }
  *budget -= bytes.size();
  return bytes;
}

}  // namespace

ZipPackage ZipPackage::Read(const std::string& native_path, std::vector<std::string>* dropped) {
  RejectLegacyWorkbook(native_path);
  int code = 0;
  std::unique_ptr<zip_t, ZipCloser> archive(zip_open(native_path.c_str(), ZIP_RDONLY, &code));
  if (!archive) {
    throw WorkbookError(native_path + ": ブック (zip) として読めません (" + LibzipMessage(code) +
                        ")。");
  }
  zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  if (count > static_cast<zip_int64_t>(kMaxParts)) {
    throw WorkbookError(TooManyPartsMessage(native_path, static_cast<size_t>(count), kMaxParts));
  }
  ZipPackage package;
  size_t budget = kMaxPackageBytes;
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive.get(), i, ZIP_FL_ENC_GUESS);
    if (!name || !*name || name[std::strlen(name) - 1] == '/') continue;  // folder entries
    if (NameLeavesPackage(name)) {
      if (dropped) dropped->emplace_back(name);
      continue;
    }
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
