#include "run/settings_store.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>

#include <filesystem>
#include <regex>

#include "os/disk.h"
#include "os/ini_profile.h"
#include "os/replacing_file.h"
#include "codepage/text_codec.h"
#include "run/run_messages.h"
#include "texts/failure_messages.h"

namespace dovrek {
namespace {

constexpr size_t kValueLimit = 1023;

// The longest start of a UTF-8 text whose code-page-932 form fits in `limit` bytes.
std::string CutToCp932Bytes(const std::string& text, size_t limit) {
  if (EncodeCp932(text).size() <= limit) return text;
  size_t bytes = 0;
  size_t i = 0;
  while (i < text.size()) {
    size_t next = i + 1;
    while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
    size_t width = EncodeCp932(text.substr(i, next - i)).size();
    if (bytes + width > limit) break;
    bytes += width;
    i = next;
  }
  return text.substr(0, i);
}

// The parsed settings file; an empty one when it is missing or cannot be read, which *status
// (when given) then says.
IniProfile LoadProfile(const std::string& native_path, Status* status = nullptr) {
  // A settings file holds a few lines; a huge one would take many times its size in memory.
  std::string bytes;
  Status read = ReadWholeFile(RealDisk(), native_path, &bytes, kSettingsFileLimit);
  if (read.kind() == Status::Kind::kBadInput) {
    read = Status::BadInput(FileMessage(native_path, SettingsFileTooLarge(kSettingsFileLimit)));
  }
  if (!read.ok()) bytes.clear();
  if (status) *status = std::move(read);
  return IniProfile(bytes);
}

// Loads the settings file to be changed. A regular file that cannot be read (no permission,
// too large) is not replaced: that would lose every section the program cannot see. Anything
// else that is in the way is left for the write to report.
Status LoadForChange(const std::string& native_path, IniProfile* profile) {
  Status loaded;
  *profile = LoadProfile(native_path, &loaded);
  if (!loaded.ok() && RealDisk().Kind(native_path) == FileKind::kRegular) return loaded;
  return Status::OK();
}

// The value of a key, cut to 1023 code-page-932 bytes as the profile functions of Windows cut
// it; empty text when the section or the key is missing.
std::string SettingIn(const IniProfile& profile, const std::string& section,
                      const std::string& key) {
  std::optional<std::string> value = profile.Read(section, key);
  return value ? CutToCp932Bytes(*value, kValueLimit) : std::string();
}

// Moves the key, with its new value, to the end of its section.
void PutSetting(IniProfile* profile, const std::string& section, const std::string& key,
                const std::string& value) {
  profile->Remove(section, key);
  profile->Append(section, key, value);
}

}  // namespace

int16_t ParseFlag(const std::string& text) {
  static const std::regex kNumber(R"( *[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)? *)");
  if (!std::regex_match(text, kNumber)) return 0;
  double number = std::strtod(text.c_str(), nullptr);
  if (!std::isfinite(number)) return 0;
  double rounded = std::nearbyint(number);  // the default rounding mode: halves to even
  if (rounded < -32768.0 || rounded > 32767.0) return 0;
  return static_cast<int16_t>(rounded);
}

Status LoadOptions(const std::string& settings_path, Options* options) {
  Status status;
  const IniProfile profile = LoadProfile(settings_path, &status);
  auto flag = [&](const char* section, const char* key) {
    return static_cast<CheckState>(ParseFlag(SettingIn(profile, section, key)));
  };
  *options = Options();
  options->Xls = flag(kSettingsSection, "XLS");
  options->Txt = flag(kSettingsSection, "TXT");
  options->Cmt = flag(kSettingsSection, "CMT");
  options->Func = flag(kSettingsSection, "FUNC");
  options->Dir = flag(kSettingsSection, "DIR");
  options->Trim = flag(kSettingsSection, "TRIM");
  options->Complete = Options::On(flag(kExtensionSection, "COMPLETE"));
  options->Source = SourceEncodingChoiceNamed(SettingIn(profile, kExtensionSection, "SOURCE"))
                        .value_or(SourceEncodingChoice{});
  // The screens are described unless SCREENS says 0.
  const std::string screens = SettingIn(profile, kExtensionSection, "SCREENS");
  options->Screens = screens.empty() || ParseFlag(screens) != 0;
  return status;
}

Status SaveOptions(const std::string& settings_path, const Options& options) {
  std::filesystem::path folder = std::filesystem::path(settings_path).parent_path();
  ::mkdir(folder.parent_path().c_str(), 0700);
  ::mkdir(folder.c_str(), 0700);
  const std::pair<const char*, CheckState> keys[] = {
      {"XLS", options.Xls}, {"TXT", options.Txt},   {"CMT", options.Cmt},
      {"DIR", options.Dir}, {"FUNC", options.Func}, {"TRIM", options.Trim}};
  // One read and one write: the six keys are moved in memory, so the file is replaced once,
  // with all six or none of them.
  IniProfile profile("");
  if (Status refused = LoadForChange(settings_path, &profile); !refused.ok()) {
    return Status::IoError(std::string(kSettingsNotSaved) + "\n" + refused.message());
  }
  for (const auto& [key, value] : keys) {
    PutSetting(&profile, kSettingsSection, key, std::to_string(static_cast<int16_t>(value)));
  }
  Status written = WriteWholeFile(settings_path, profile.Bytes());
  if (!written.ok())
    return Status::IoError(std::string(kSettingsNotSaved) + "\n" + written.message());
  return Status::OK();
}

}  // namespace dovrek
