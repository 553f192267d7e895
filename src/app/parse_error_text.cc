#include "app/parse_error_text.h"

#include <string_view>

#include "app/app_messages.h"

namespace dovrek {
namespace {

// The library words its errors "<option>: <detail>", "<option> excludes <other>" and "The
// following argument(s) ... expected: <arguments>"; these cut the names out of such texts.
// Each answers false when the text is not of that shape, so that a changed wording falls back
// to the library's own.

bool SplitAt(std::string_view text, std::string_view separator, std::string_view* before,
             std::string_view* after) {
  size_t at = text.find(separator);
  if (at == std::string_view::npos) return false;
  *before = text.substr(0, at);
  *after = text.substr(at + separator.size());
  return true;
}

std::string ExtrasText(std::string_view what, Language language) {
  std::string_view lead, arguments;
  if (!SplitAt(what, "expected: ", &lead, &arguments)) return BadCommandLine(what, language);
  if (arguments.starts_with("-")) return UnknownOption(arguments, language);
  return UnexpectedArgument(arguments, language);
}

std::string MismatchText(std::string_view what, Language language) {
  std::string_view option, detail;
  if (!SplitAt(what, ": ", &option, &detail) || !detail.ends_with(" missing")) {
    return BadCommandLine(what, language);
  }
  return MissingValue(option, language);
}

std::string ValidationText(std::string_view what, Language language) {
  std::string_view option, detail, value, allowed;
  if (!SplitAt(what, ": ", &option, &detail) || !SplitAt(detail, " not in ", &value, &allowed)) {
    return BadCommandLine(what, language);
  }
  return ValueNotAllowed(option, value, allowed, language);
}

std::string ExcludesText(std::string_view what, Language language) {
  std::string_view option, other;
  if (!SplitAt(what, " excludes ", &option, &other)) return BadCommandLine(what, language);
  return OptionsExclude(option, other, language);
}

}  // namespace

std::string ParseErrorText(const CLI::ParseError& error, Language language) {
  const std::string_view what = error.what();
  if (dynamic_cast<const CLI::ExtrasError*>(&error)) return ExtrasText(what, language);
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) return MismatchText(what, language);
  if (dynamic_cast<const CLI::ValidationError*>(&error)) return ValidationText(what, language);
  if (dynamic_cast<const CLI::ExcludesError*>(&error)) return ExcludesText(what, language);
  return BadCommandLine(what, language);
}

}  // namespace dovrek
