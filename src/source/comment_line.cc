#include "source/comment_line.h"

namespace dovrek {

void CollectComment(std::string_view line, const Options& options, std::string* collected) {
  size_t quote = line.find('\'');
  if (quote == std::string_view::npos) return;
  if (Options::On(options.Cmt) && line.find("''", quote) != std::string_view::npos) return;
  if (Options::On(options.Trim)) collected->append(line.find_first_not_of(' ') + 1, ' ');
  collected->append(line.substr(quote + 1));
  collected->push_back('\n');
}

}  // namespace dovrek
