#include "workbook/workbook.h"

#include <algorithm>
#include <sstream>
#include <unordered_map>

#include "texts/failure_messages.h"
#include "workbook/workbook_messages.h"
#include "os/replacing_file.h"
#include "os/system_error.h"
#include "base/text_helpers.h"
#include "workbook/defined_name_formula.h"
#include "workbook/package_parts.h"
#include "workbook/picture_part.h"
#include "workbook/workbook_error.h"
#include "workbook/xml_memory.h"
#include "workbook/zip_writer.h"

namespace dovrek {
namespace {

constexpr char kContentTypesPart[] = "[Content_Types].xml";
constexpr char kRootRelationships[] = "_rels/.rels";
constexpr char kTemplateType[] =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
constexpr char kWorkbookType[] =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
constexpr char kMacroTemplateType[] = "application/vnd.ms-excel.template.macroEnabled.main+xml";
constexpr char kMacroWorkbookType[] = "application/vnd.ms-excel.sheet.macroEnabled.main+xml";

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// The first relationship of a type (compared by its last path segment, so that strict and
// transitional namespaces both match), or an empty node.
pugi::xml_node FindRelationship(const pugi::xml_document& relationships,
                                std::string_view type_tail) {
  for (pugi::xml_node rel : relationships.child("Relationships").children("Relationship")) {
    if (EndsWith(rel.attribute("Type").value(), type_tail) &&
        !EqualsNoCase(rel.attribute("TargetMode").value(), "External")) {
      return rel;
    }
  }
  return {};
}

// A name from the template as a message may show it: control characters, which could steer a
// terminal, become "?".
std::string ShownAsText(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return text;
}

// A small document as text, for the parts written whole when they are added.
std::string XmlText(const pugi::xml_document& document) {
  std::ostringstream text;
  document.save(text, "", pugi::format_raw, pugi::encoding_utf8);
  return text.str();
}

// Serializes a document straight into the zip part being written.
void Serialize(const pugi::xml_document& document, ZipWriter& zip) {
  struct PartWriter : pugi::xml_writer {
    explicit PartWriter(ZipWriter& zip) : zip(zip) {}
    void write(const void* data, size_t size) override {
      zip.Write({static_cast<const char*>(data), size});
    }
    ZipWriter& zip;
  } writer(zip);
  document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
}

}  // namespace

Workbook::Workbook(ZipPackage package, std::string source, WarningReporter* warnings)
    : package_(std::move(package)), source_(std::move(source)), warnings_(warnings) {}

std::unique_ptr<Workbook> Workbook::Open(const std::string& native_path,
                                         WarningReporter* warnings) {
  UseChunkedXmlMemory();
  std::vector<std::string> dropped;
  std::unique_ptr<Workbook> book(
      new Workbook(ZipPackage::Read(native_path, &dropped), native_path, warnings));
  book->Load();
  // The run goes on without them; the user is told, as of a text cut to a cell's limit.
  for (const std::string& entry : dropped) {
    book->Warn(DroppedEntryWarning(native_path, ShownAsText(entry)));
  }
  return book;
}

void Workbook::Warn(const std::string& warning) const {
  if (warnings_) warnings_->Warn(warning);
}

std::unique_ptr<pugi::xml_document> Workbook::ParsePart(const std::string& part) const {
  const std::string* bytes = package_.Find(part);
  if (!bytes) throw WorkbookError(source_ + ": パーツ " + part + " がありません。");
  auto document = std::make_unique<pugi::xml_document>();
  pugi::xml_parse_result parsed = document->load_buffer(
      bytes->data(), bytes->size(),
      pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single,
      pugi::encoding_auto);
  if (!parsed) {
    throw WorkbookError(source_ + ": パーツ " + part + " の XML が壊れています (" +
                        parsed.description() + ", 位置 " + std::to_string(parsed.offset) + ")。");
  }
  return document;
}

void Workbook::Load() {
  content_types_ = ParsePart(kContentTypesPart);
  std::unique_ptr<pugi::xml_document> root = ParsePart(kRootRelationships);
  pugi::xml_node main = FindRelationship(*root, "/officeDocument");
  if (!main) throw WorkbookError(source_ + ": ブックのパーツ (workbook.xml) がありません。");
  workbook_part_ = ResolveTarget("", main.attribute("Target").value());
  workbook_xml_ = ParsePart(workbook_part_);
  relationships_ = ParsePart(RelationshipsPart(workbook_part_));
  MarkWorkbookType();

  pugi::xml_node styles = FindRelationship(*relationships_, "/styles");
  if (!styles) throw WorkbookError(source_ + ": スタイルのパーツ (styles.xml) がありません。");
  styles_part_ = ResolveTarget(workbook_part_, styles.attribute("Target").value());
  if (pugi::xml_node strings = FindRelationship(*relationships_, "/sharedStrings")) {
    strings_part_ = ResolveTarget(workbook_part_, strings.attribute("Target").value());
  }

  for (pugi::xml_node entry : workbook_xml_->child("workbook").child("sheets").children("sheet")) {
    std::string id;
    for (pugi::xml_attribute attribute : entry.attributes()) {
      if (EndsWith(attribute.name(), ":id")) id = attribute.value();
    }
    pugi::xml_node rel = relationships_->child("Relationships")
                             .find_child_by_attribute("Relationship", "Id", id.c_str());
    if (!rel)
      throw WorkbookError(source_ + ": シート「" + entry.attribute("name").value() +
                          "」のパーツがありません。");
    std::string type = rel.attribute("Type").value();
    sheets_.push_back(std::make_unique<Worksheet>(
        this, entry, ResolveTarget(workbook_part_, rel.attribute("Target").value()),
        EndsWith(type, "/worksheet")));
  }
}

// The workbook part's content type becomes that of a workbook; a macro-enabled template is
// refused, since its macros cannot go into an .xlsx.
void Workbook::MarkWorkbookType() {
  std::string part_name = "/" + workbook_part_;
  pugi::xml_node types = content_types_->child("Types");
  pugi::xml_node override_node;
  for (pugi::xml_node node : types.children("Override")) {
    if (EqualsNoCase(node.attribute("PartName").value(), part_name)) override_node = node;
  }
  if (!override_node) {
    override_node = types.append_child("Override");
    override_node.append_attribute("PartName").set_value(part_name.c_str());
    override_node.append_attribute("ContentType").set_value(kWorkbookType);
  }
  std::string type = override_node.attribute("ContentType").value();
  if (type == kMacroTemplateType || type == kMacroWorkbookType) {
    throw WorkbookError(source_ + ": マクロ付きのテンプレートは使えません。");
  }
  if (type != kTemplateType && type != kWorkbookType) {
    throw WorkbookError(source_ + ": ブックのテンプレートではありません (" + type + ")。");
  }
  override_node.attribute("ContentType").set_value(kWorkbookType);
}

int32_t Workbook::WorksheetCount() const {
  int32_t count = 0;
  for (const auto& sheet : sheets_) count += sheet->is_worksheet() ? 1 : 0;
  return count;
}

Worksheet& Workbook::Worksheets(int32_t position) {
  int32_t seen = 0;
  for (const auto& sheet : sheets_) {
    if (sheet->is_worksheet() && ++seen == position) return *sheet;
  }
  throw WorkbookError(source_ + ": ワークシート " + std::to_string(position) +
                      " がありません (テンプレートのワークシートは " +
                      std::to_string(WorksheetCount()) + " 枚です)。");
}

Worksheet& Workbook::Sheets(int32_t position) {
  if (position < 1 || position > static_cast<int32_t>(sheets_.size())) {
    throw WorkbookError(FileMessage(source_, MissingSheet(position)));
  }
  return *sheets_[position - 1];
}

int32_t Workbook::IndexOf(const Worksheet& sheet) const {
  for (size_t i = 0; i < sheets_.size(); ++i) {
    if (sheets_[i].get() == &sheet) return static_cast<int32_t>(i);
  }
  return -1;
}

// The <definedName> node a sheet at a 0-based position sees for a name: the one local to that
// sheet first, else the workbook-wide one; empty when there is none.
pugi::xml_node Workbook::DefinedNameNode(const std::string& name, int32_t sheet_index) const {
  pugi::xml_node global;
  for (pugi::xml_node node :
       workbook_xml_->child("workbook").child("definedNames").children("definedName")) {
    if (!EqualsNoCase(node.attribute("name").value(), name)) continue;
    pugi::xml_attribute local = node.attribute("localSheetId");
    if (!local) {
      global = node;
    } else if (local.as_int(-1) == sheet_index) {
      return node;
    }
  }
  return global;
}

std::optional<std::string> Workbook::DefinedName(const std::string& name,
                                                 int32_t sheet_index) const {
  pugi::xml_node node = DefinedNameNode(name, sheet_index);
  if (!node) return std::nullopt;
  return std::string(node.text().get());
}

void Workbook::RemoveDefinedName(const std::string& name, int32_t sheet_index) {
  pugi::xml_node node = DefinedNameNode(name, sheet_index);
  if (!node) return;
  pugi::xml_node names = node.parent();
  names.remove_child(node);
  // An empty <definedNames> is not allowed by the schema.
  if (!names.child("definedName")) names.parent().remove_child(names);
}

// Refuses a name the spreadsheet would not take for the sheet at a 0-based position: empty,
// over 31 characters, holding one of : \\ / ? * [ ], starting or ending with ', or another
// sheet's name.
void Workbook::CheckSheetName(const std::string& name, int32_t index) const {
  static constexpr std::string_view kForbidden = ":\\/?*[]";
  bool bad = name.empty() || CountCharacters(name) > 31 || name.front() == '\'' ||
             name.back() == '\'' || name.find_first_of(kForbidden) != std::string::npos;
  if (bad) throw WorkbookError(FileMessage(source_, UnusableSheetName(name)));
  for (size_t other = 0; other < sheets_.size(); ++other) {
    if (static_cast<int32_t>(other) != index && EqualsNoCase(sheets_[other]->Name(), name)) {
      throw WorkbookError(SheetNameInUse(source_, name, index + 1, other + 1));
    }
  }
}

void Workbook::RenameSheet(Worksheet& sheet, const std::string& name) {
  std::string old_name = sheet.Name();
  CheckSheetName(name, IndexOf(sheet));
  for (pugi::xml_node node :
       workbook_xml_->child("workbook").child("definedNames").children("definedName")) {
    node.text().set(RenameSheetInFormula(node.text().get(), old_name, name).c_str());
  }
  sheet.entry_.attribute("name").set_value(name.c_str());
}

void Workbook::ActivateSheet(Worksheet& sheet) {
  if (std::string_view(sheet.entry_.attribute("state").value()).find("idden") !=
      std::string_view::npos) {
    throw WorkbookError(FileMessage(source_, HiddenSheetNotSelectable(sheet.Name())));
  }
  pugi::xml_node workbook = workbook_xml_->child("workbook");
  pugi::xml_node views = workbook.child("bookViews");
  if (!views) views = workbook.insert_child_before("bookViews", workbook.child("sheets"));
  pugi::xml_node view = views.child("workbookView");
  if (!view) view = views.append_child("workbookView");
  int32_t index = IndexOf(sheet);
  if (!view.attribute("activeTab")) view.append_attribute("activeTab");
  view.attribute("activeTab").set_value(index);
  if (view.attribute("firstSheet").as_int() > index) view.attribute("firstSheet").set_value(index);
  for (const auto& other : sheets_) other->SetSelected(other.get() == &sheet);
}

StyleTable& Workbook::Styles() {
  if (!styles_) {
    styles_xml_ = ParsePart(styles_part_);
    styles_ = std::make_unique<StyleTable>(styles_xml_.get());
  }
  return *styles_;
}

const SharedStrings& Workbook::Strings() {
  if (!strings_) {
    if (strings_part_.empty()) throw WorkbookError(source_ + ": 共有文字列のパーツがありません。");
    strings_ = std::make_unique<SharedStrings>(*ParsePart(strings_part_));
  }
  return *strings_;
}

// The folder of the workbook part ("xl/"), where new parts go.
std::string Workbook::BookFolder() const {
  size_t slash = workbook_part_.rfind('/');
  return slash == std::string::npos ? "" : workbook_part_.substr(0, slash + 1);
}

int32_t Workbook::SheetCount() const { return static_cast<int32_t>(sheets_.size()); }

// A new sheet is a copy of the layout sheet's part without its cells, breaks, links and
// drawings: it keeps the layout's page setup, header and footer, views and default row height.
std::unique_ptr<pugi::xml_document> Workbook::EmptySheetLike(Worksheet& layout,
                                                             const std::vector<double>& widths) {
  auto document = std::make_unique<pugi::xml_document>();
  document->reset(layout.Document());
  pugi::xml_node root = document->child("worksheet");
  for (const char* name : {"dimension", "cols", "mergeCells", "hyperlinks", "rowBreaks",
                           "colBreaks", "drawing", "legacyDrawing", "legacyDrawingHF", "picture",
                           "oleObjects", "controls", "tableParts", "conditionalFormatting",
                           "dataValidations", "autoFilter", "sortState", "sheetProtection"}) {
    while (root.child(name)) root.remove_child(name);
  }
  pugi::xml_node data = root.child("sheetData");
  if (!data) throw WorkbookError(source_ + ": シート「" + layout.Name() + "」にセルの欄がありません。");
  while (data.first_child()) data.remove_child(data.first_child());
  for (pugi::xml_node view : root.child("sheetViews").children("sheetView")) {
    view.remove_attribute("tabSelected");
    while (view.first_child()) view.remove_child(view.first_child());
  }
  pugi::xml_node cols = root.insert_child_before("cols", data);
  for (size_t i = 0; i < widths.size(); ++i) {
    pugi::xml_node col = cols.append_child("col");
    col.append_attribute("min").set_value(i + 1);
    col.append_attribute("max").set_value(i + 1);
    col.append_attribute("width").set_value(widths[i]);
    col.append_attribute("customWidth").set_value(1);
  }
  if (widths.empty()) root.remove_child(cols);
  return document;
}

Worksheet& Workbook::AddWorksheet(Worksheet& after, const std::string& name, Worksheet& layout,
                                  const std::vector<double>& column_widths) {
  const int32_t index = IndexOf(after) + 1;
  CheckSheetName(name, -1);
  std::unique_ptr<pugi::xml_document> document = EmptySheetLike(layout, column_widths);

  const std::string folder = BookFolder();
  std::string part = UnusedPartName(package_, folder + "worksheets/sheet", ".xml", &next_sheet_);
  package_.Put(part, "");  // its bytes come from the document when saved
  std::string id =
      AddRelationship(*relationships_, kWorksheetRelationship, RelativeTarget(workbook_part_, part));
  AddContentTypeOverride(*content_types_, part,
                         "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml");

  pugi::xml_node sheets = workbook_xml_->child("workbook").child("sheets");
  uint32_t sheet_id = 0;
  std::string id_attribute = "r:id";
  for (pugi::xml_node entry : sheets.children("sheet")) {
    sheet_id = std::max(sheet_id, entry.attribute("sheetId").as_uint());
    for (pugi::xml_attribute attribute : entry.attributes()) {
      if (EndsWith(attribute.name(), ":id")) id_attribute = attribute.name();
    }
  }
  pugi::xml_node entry = sheets.insert_child_after("sheet", after.entry_);
  entry.append_attribute("name").set_value(name.c_str());
  entry.append_attribute("sheetId").set_value(sheet_id + 1);
  entry.append_attribute(id_attribute.c_str()).set_value(id.c_str());
  ShiftSheetPositions(index);

  auto sheet = std::make_unique<Worksheet>(this, entry, part, true);
  sheet->document_ = std::move(document);
  Worksheet& added = *sheet;
  sheets_.insert(sheets_.begin() + index, std::move(sheet));
  return added;
}

// Names local to a sheet and the active tab follow their sheets when one is put in at a 0-based
// position.
void Workbook::ShiftSheetPositions(int32_t index) {
  pugi::xml_node workbook = workbook_xml_->child("workbook");
  for (pugi::xml_node node : workbook.child("definedNames").children("definedName")) {
    pugi::xml_attribute local = node.attribute("localSheetId");
    if (local && local.as_int() >= index) local.set_value(local.as_int() + 1);
  }
  for (pugi::xml_node view : workbook.child("bookViews").children("workbookView")) {
    pugi::xml_attribute active = view.attribute("activeTab");
    if (active && active.as_int() >= index) active.set_value(active.as_int() + 1);
  }
}

void Workbook::AddPicture(Worksheet& sheet, const std::string& png, const std::string& drawing_xml) {
  const std::string folder = BookFolder();
  std::string media = UnusedPartName(package_, folder + "media/image", ".png", &next_image_);
  package_.Put(media, png);
  std::string drawing = UnusedPartName(package_, folder + "drawings/drawing", ".xml", &next_drawing_);
  pugi::xml_document drawing_rels;
  std::string image_id = AddRelationship(drawing_rels, kImageRelationship, RelativeTarget(drawing, media));
  std::string xml = drawing_xml;
  for (size_t at = xml.find(kPictureIdSlot); at != std::string::npos; at = xml.find(kPictureIdSlot)) {
    xml.replace(at, std::string_view(kPictureIdSlot).size(), image_id);
  }
  package_.Put(drawing, std::move(xml));
  package_.Put(RelationshipsPart(drawing), XmlText(drawing_rels));

  std::string sheet_rels_part = RelationshipsPart(sheet.part_);
  pugi::xml_document sheet_rels;
  if (package_.Find(sheet_rels_part)) sheet_rels.reset(*ParsePart(sheet_rels_part));
  std::string drawing_id =
      AddRelationship(sheet_rels, kDrawingRelationship, RelativeTarget(sheet.part_, drawing));
  package_.Put(sheet_rels_part, XmlText(sheet_rels));
  sheet.AddDrawingReference(drawing_id);

  AddContentTypeDefault(*content_types_, "png", "image/png");
  AddContentTypeOverride(*content_types_, drawing,
                         "application/vnd.openxmlformats-officedocument.drawing+xml");
}

// A calculation chain lists formula cells; after cells have been overwritten it may name cells
// that no longer hold formulas, which the spreadsheet reports as damage. It is optional, so it
// goes.
void Workbook::DropCalculationChain() {
  pugi::xml_node rel = FindRelationship(*relationships_, "/calcChain");
  if (!rel) return;
  std::string part = ResolveTarget(workbook_part_, rel.attribute("Target").value());
  rel.parent().remove_child(rel);
  package_.Remove(part);
  pugi::xml_node types = content_types_->child("Types");
  for (pugi::xml_node node : types.children("Override")) {
    if (EqualsNoCase(node.attribute("PartName").value(), "/" + part)) {
      types.remove_child(node);
      break;
    }
  }
}

// The documents held in memory replace the stored bytes of their parts; each goes straight
// from its tree into the zip.
void Workbook::WriteTo(BufferedWriter& out) {
  DropCalculationChain();
  std::vector<std::pair<std::string, const pugi::xml_document*>> documents = {
      {kContentTypesPart, content_types_.get()},
      {workbook_part_, workbook_xml_.get()},
      {RelationshipsPart(workbook_part_), relationships_.get()}};
  if (styles_xml_) documents.push_back({styles_part_, styles_xml_.get()});
  for (const auto& sheet : sheets_) {
    if (!sheet->document_) continue;
    sheet->PrepareForSave();
    documents.push_back({sheet->part_, sheet->document_.get()});
  }
  // By name in small letters: a book of many sheets has many documents and many parts.
  std::unordered_map<std::string, const pugi::xml_document*> by_name;
  for (const auto& [part, document] : documents) by_name.emplace(AsciiSmall(part), document);
  package_.WriteTo(out, [&](const std::string& name, ZipWriter& zip) {
    auto found = by_name.find(AsciiSmall(name));
    if (found == by_name.end()) return false;
    Serialize(*found->second, zip);
    return true;
  });
}

std::string Workbook::SaveAsBytes() {
  std::string bytes;
  BufferedWriter out(&bytes);
  WriteTo(out);
  out.Flush();
  return bytes;
}

void Workbook::SaveAs(const std::string& native_path) {
  ReplacingFile file;
  Status saved = file.Open(native_path);
  if (saved.ok()) {
    WriteTo(file.writer());
    saved = file.Commit();
  }
  if (!saved.ok()) throw WorkbookError(saved.message());
}

}  // namespace dovrek
