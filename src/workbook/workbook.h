#pragma once
// A workbook made from a template package (.xlt/.xltx, or a workbook), changed in memory and
// saved as an .xlsx workbook. Sheets are addressed by position as the automation interface
// does: book.Worksheets(8), book.Sheets(1). Every operation throws WorkbookError with a
// description naming what is wrong.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "os/buffered_writer.h"
#include "os/output_transaction.h"
#include "frontend/warning_reporter.h"
#include "workbook/shared_strings.h"
#include "workbook/style_table.h"
#include "workbook/worksheet.h"
#include "workbook/zip_package.h"

namespace dovrek {

class Workbook {
 public:
  // Opens the package at the native path: finds its workbook part, its sheets, styles and
  // shared strings. Throws WorkbookError naming the file when it is no usable package (a legacy
  // binary workbook, not a zip, a part too large, no workbook part, damaged XML, a
  // macro-enabled template). Damage the workbook survives (a template entry left out, a text
  // cut to a cell's limit) is told to `warnings`, which must outlive the workbook; without
  // one, only the results show it (SetValue answers true for a cut text).
  static std::unique_ptr<Workbook> Open(const std::string& native_path,
                                        WarningReporter* warnings = nullptr);

  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  // The number of sheets of every kind.
  int32_t SheetCount() const;
  // The number of worksheets (chart sheets not counted).
  int32_t WorksheetCount() const;
  // The worksheet at a 1-based position among worksheets.
  Worksheet& Worksheets(int32_t position);
  // The sheet of any kind at a 1-based position.
  Worksheet& Sheets(int32_t position);
  // The formula text of a defined name as the sheet at a 0-based position sees it: a name
  // local to that sheet first, else the workbook-wide one. nullopt when there is none.
  std::optional<std::string> DefinedName(const std::string& name, int32_t sheet_index) const;
  // Removes the defined name DefinedName answers for that sheet; nothing when there is none.
  void RemoveDefinedName(const std::string& name, int32_t sheet_index);

  // Puts a new, empty worksheet of that name right after `after`: a copy of `layout`'s page
  // setup, header and footer without its cells, with the given column widths (the first for
  // column A). Names local to later sheets move with them. The name is refused as SetName
  // refuses it.
  Worksheet& AddWorksheet(Worksheet& after, const std::string& name, Worksheet& layout,
                          const std::vector<double>& column_widths);

  // Writes the workbook (content type of a workbook, not a template) to the native path as it
  // is made, replacing an earlier file only when complete (see ReplacingFile). Throws
  // WorkbookError naming the file when it cannot be written.
  void SaveAs(const std::string& native_path, OutputTransaction* transaction = nullptr);
  // The bytes SaveAs writes.
  std::string SaveAsBytes();

 private:
  friend class Worksheet;
  friend class Cell;
  friend class CellColor;

  Workbook(ZipPackage package, std::string source, WarningReporter* warnings);
  void Warn(const std::string& warning) const;
  void Load();
  void WriteTo(BufferedWriter& out);
  std::unique_ptr<pugi::xml_document> ParsePart(const std::string& part) const;
  pugi::xml_node DefinedNameNode(const std::string& name, int32_t sheet_index) const;
  void RenameSheet(Worksheet& sheet, const std::string& name);
  void ActivateSheet(Worksheet& sheet);
  int32_t IndexOf(const Worksheet& sheet) const;
  StyleTable& Styles();
  const SharedStrings& Strings();
  void MarkWorkbookType();
  std::string BookFolder() const;
  void CheckSheetName(const std::string& name, int32_t index) const;
  std::unique_ptr<pugi::xml_document> EmptySheetLike(Worksheet& layout,
                                                     const std::vector<double>& widths);
  void ShiftSheetPositions(int32_t index);
  // Adds a PNG picture and the drawing part that places it (its image relationship id written
  // as kPictureIdSlot) to the sheet.
  void AddPicture(Worksheet& sheet, const std::string& png, const std::string& drawing_xml);
  void DropCalculationChain();

  ZipPackage package_;
  std::string source_;         // the template's path, for messages
  WarningReporter* warnings_;  // may be null
  std::string workbook_part_;  // e.g. "xl/workbook.xml"
  std::unique_ptr<pugi::xml_document> workbook_xml_;
  std::unique_ptr<pugi::xml_document> relationships_;
  std::unique_ptr<pugi::xml_document> content_types_;
  std::string styles_part_;
  std::unique_ptr<pugi::xml_document> styles_xml_;
  std::unique_ptr<StyleTable> styles_;
  std::string strings_part_;
  std::unique_ptr<SharedStrings> strings_;
  std::vector<std::unique_ptr<Worksheet>> sheets_;
  // The numbers the next added parts' names try first.
  size_t next_sheet_ = 1, next_image_ = 1, next_drawing_ = 1;
};

}  // namespace dovrek
