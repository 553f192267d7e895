#pragma once
// Recording fakes for the window tests: boxes and dialogs that a person would otherwise answer.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/progress_window.h"

namespace dovrek::testing {

// Records every box as "title|message"; questions are answered from `answers` (No when empty).
class RecordingMessageBox : public MessageBox {
 public:
  void ShowError(const std::string& m) override { Record(kErrorTitle, m); }
  void ShowMessage(const std::string& m) override { Record(kMessageTitle, m); }
  void ShowInformation(const std::string& m) override { Record(kInformationTitle, m); }
  int16_t ShowQuestion(const std::string& m) override {
    Record(kQuestionTitle, m);
    if (answers.empty()) return kAnswerNo;
    int16_t answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<std::string> shown;
  std::deque<int16_t> answers;

 private:
  void Record(const char* title, const std::string& m) { shown.push_back(std::string(title) + "|" + m); }
};

// Answers every dialog with a fixed Windows-form path, or as cancelled when it is empty.
class ScriptedFileDialog : public FileDialog {
 public:
  bool ShowOpenDialog(const std::string&, std::string* chosen) override { return Answer(chosen); }
  bool ShowSaveDialog(const std::string&, std::string* chosen) override { return Answer(chosen); }

  std::string path;
  int calls = 0;

 private:
  bool Answer(std::string* chosen) {
    ++calls;
    *chosen = path;
    return !path.empty();
  }
};

}  // namespace dovrek::testing
