#include "source/module_part.h"

#include <iterator>

#include "source/module_scanner.h"

namespace dovrek {
namespace {

// Keeps what a read shows, to be shown on the joining thread in order. A read asks no question.
class HeldMessages : public MessageBox {
 public:
  explicit HeldMessages(ModulePart* part) : part_(part) {}
  void ShowError(const std::string& text) override { Hold(&MessageBox::ShowError, text); }
  void ShowMessage(const std::string& text) override { Hold(&MessageBox::ShowMessage, text); }
  void ShowInformation(const std::string& text) override {
    Hold(&MessageBox::ShowInformation, text);
  }
  int16_t ShowQuestion(const std::string&) override { return kAnswerNo; }

 private:
  void Hold(ModulePart::Show show, const std::string& text) {
    part_->messages.emplace_back(show, text);
  }
  ModulePart* part_;
};

}  // namespace

ModulePart ReadModulePart(const std::string& path, const Options& options,
                          const std::string& encoding, FolderListings* listings) {
  ModulePart part;
  SpecificationModel model;
  try {
    model.Encoding = encoding;
    model.Procedures.emplace_back().Comment = kUnwritten;
    HeldMessages held(&part);
    part.ok = ReadModule(path, options, &model, held, listings);
  } catch (...) {
    part.exception = std::current_exception();
  }
  // Entries made before a failure stay, as they do in the model.
  part.procedures = std::move(model.Procedures);
  return part;
}

bool JoinModulePart(ModulePart part, const std::string& path, const Options& options,
                    SpecificationModel* model, MessageBox& msg, FolderListings* listings) {
  if (!part.procedures.empty()) {
    std::string& leading = part.procedures.front().Comment;
    if (leading != kUnwritten) {
      if (model->Procedures.empty()) return ReadModule(path, options, model, msg, listings);
      model->Procedures.back().Comment = std::move(leading);
    }
    model->Procedures.insert(model->Procedures.end(),
                             std::make_move_iterator(part.procedures.begin() + 1),
                             std::make_move_iterator(part.procedures.end()));
  }
  if (part.exception) std::rethrow_exception(part.exception);
  for (const auto& [show, text] : part.messages) (msg.*show)(text);
  return part.ok;
}

}  // namespace dovrek
