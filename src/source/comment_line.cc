#include "source/comment_line.h"

#include <algorithm>

#include "source/procedure_head.h"

namespace dovrek {

void CollectComment(std::string_view line, const Options& options, std::string* collected) {
  size_t quote = options.Complete ? FindOutsideStrings(line, "'") : line.find('\'');
  if (quote == std::string_view::npos) return;
  if (Options::On(options.Cmt) && line.find("''", quote) != std::string_view::npos) return;
  const size_t indent = Options::On(options.Trim) ? line.find_first_not_of(' ') + 1 : 0;
  std::string_view text = line.substr(quote + 1);
  // Room for the whole piece at once: a long comment is then not copied while it grows.
  const size_t needed = collected->size() + indent + text.size() + 1;
  if (needed > collected->capacity()) {
    collected->reserve(std::max(needed, 2 * collected->capacity()));
  }
  collected->append(indent, ' ');
  collected->append(text);
  collected->push_back('\n');
}

}  // namespace dovrek
