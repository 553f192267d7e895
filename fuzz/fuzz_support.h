#pragma once
// Helpers shared by the fuzz targets.

#include <cstddef>
#include <cstdint>
#include <string>

#include "frontend/message_box.h"

namespace dovrek::fuzz {

// Writes the bytes to a file of the given name in a private temporary folder (made once per
// process) and returns its native path.
std::string WriteInput(const std::string& name, const uint8_t* data, size_t size);

// A message box that shows nothing.
class QuietMessageBox : public MessageBox {
 public:
  void ShowError(const std::string&) override {}
  void ShowMessage(const std::string&) override {}
  void ShowInformation(const std::string&) override {}
  bool Ask(const std::string&) override { return false; }
};

}  // namespace dovrek::fuzz
