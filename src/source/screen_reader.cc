#include "source/screen_reader.h"

#include <optional>
#include <string>
#include <vector>

#include "os/disk.h"
#include "text/line_reader.h"
#include "codepage/text_codec.h"
#include "base/text_helpers.h"
#include "source/form_companion.h"
#include "source/form_description.h"
#include "source/property_text.h"
#include "source/screen_builder.h"

namespace dovrek {
namespace {

std::string_view TrimLeft(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// What describes the window: its VB_Description attribute, or else the comment lines at the
// top of its code (after the attributes and any Option lines), each without its quote.
class DescribingComment {
 public:
  // Takes one line after the description; false once the code has started.
  bool Take(std::string_view line) {
    const std::string_view text = TrimLeft(line);
    if (StartsWithNoCase(text, "Attribute ")) {
      std::string_view name, value;
      if (SplitAttribute(text, &name, &value) && EqualsNoCase(name, "VB_Description")) {
        attribute_ = QuotedText(value).value_or(std::string(value));
      }
      return true;
    }
    if (!text.empty() && text.front() == '\'') {
      const size_t start = text.find_first_not_of('\'');  // a row of quotes is one comment mark
      comment_ += std::string(start == std::string_view::npos ? "" : TrimLeft(text.substr(start))) + "\n";
      return true;
    }
    if (text.empty() || (comment_.empty() && StartsWithNoCase(text, "Option "))) return comment_.empty();
    return false;
  }

  std::string Text() const {
    if (!attribute_.empty()) return attribute_;
    std::string text = comment_;
    if (!text.empty()) text.pop_back();
    return text;
  }

 private:
  static bool SplitAttribute(std::string_view text, std::string_view* name, std::string_view* value) {
    text.remove_prefix(10);
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) return false;
    *name = text.substr(0, equals);
    while (!name->empty() && name->back() == ' ') name->remove_suffix(1);
    *value = TrimLeft(text.substr(equals + 1));
    return true;
  }

  std::string attribute_;
  std::string comment_;
};

std::optional<FormCompanion> ReadCompanion(const SourcePath& member, FolderListings& listings) {
  const std::string& windows = member.windows();
  const size_t dot = windows.rfind('.');
  if (dot == std::string::npos || windows.find('\\', dot) != std::string::npos) return std::nullopt;
  const std::string extension = CompanionExtension(std::string_view(windows).substr(dot + 1));
  if (extension.empty()) return std::nullopt;
  const SourcePath companion = SourcePath::Locate(windows.substr(0, dot + 1) + extension, listings);
  std::string bytes;
  if (!companion.IsFile() || !ReadWholeFile(companion.disk(), companion.found(), &bytes).ok()) {
    return std::nullopt;
  }
  return FormCompanion(std::move(bytes));
}

std::function<std::string(std::string_view)> DecoderFor(Encoding encoding) {
  return [encoding](std::string_view bytes) {
    std::string utf8;
    AppendDecoded(bytes, encoding, &utf8);
    return utf8;
  };
}

}  // namespace

Status ReadScreen(const SourcePath& member, FolderListings& listings, Encoding encoding,
                  std::vector<std::string> handlers, Screen* screen) {
  LineReader reader(encoding);
  if (Status opened = reader.Open(member); !opened.ok()) return opened;
  FormDescriptionReader description;
  DescribingComment comment;
  std::string line;
  bool in_description = true;
  while (reader.ReadLine(&line)) {
    if (in_description && description.Take(line)) continue;
    in_description = false;
    if (!comment.Take(line)) break;
  }
  if (!reader.status().ok()) return reader.status();
  const FormDescription form = description.Finish();
  const std::optional<FormCompanion> companion = ReadCompanion(member, listings);
  ScreenSource source;
  source.FileName = FileNamePart(member.windows());
  source.Description = &form;
  source.Companion = companion ? &*companion : nullptr;
  source.Decode = DecoderFor(encoding);
  source.Comment = comment.Text();
  source.Procedures = std::move(handlers);
  *screen = BuildScreen(source);
  return Status::OK();
}

}  // namespace dovrek
