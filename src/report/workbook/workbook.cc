#include "report/workbook/workbook.h"

#include "platform/messages.h"
#include "platform/replacing_file.h"
#include "platform/system_error.h"
#include "platform/text_helpers.h"
#include "report/workbook/defined_name_formula.h"
#include "report/workbook/workbook_error.h"
#include "report/workbook/xml_memory.h"
#include "report/workbook/zip_writer.h"

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

// The relationships part of a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
std::string RelationshipsPart(const std::string& part) {
  size_t slash = part.rfind('/');
  std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  return folder + "_rels/" + part.substr(slash == std::string::npos ? 0 : slash + 1) + ".rels";
}

// A relationship target resolved against the folder of its source part, as a part name
// without the leading "/".
std::string ResolveTarget(const std::string& source_part, std::string target) {
  std::string path;
  if (!target.empty() && target[0] == '/') {
    path = target.substr(1);
  } else {
    size_t slash = source_part.rfind('/');
    path = (slash == std::string::npos ? "" : source_part.substr(0, slash + 1)) + target;
  }
  std::vector<std::string> segments;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string segment = path.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string joined;
  for (const std::string& segment : segments) joined += (joined.empty() ? "" : "/") + segment;
  return joined;
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

void Workbook::RenameSheet(Worksheet& sheet, const std::string& name) {
  std::string old_name = sheet.Name();
  static constexpr std::string_view kForbidden = ":\\/?*[]";
  bool bad = name.empty() || CountCharacters(name) > 31 || name.front() == '\'' ||
             name.back() == '\'' || name.find_first_of(kForbidden) != std::string::npos;
  if (bad) throw WorkbookError(FileMessage(source_, UnusableSheetName(name)));
  for (const auto& other : sheets_) {
    if (other.get() != &sheet && EqualsNoCase(other->Name(), name)) {
      throw WorkbookError(SheetNameInUse(source_, name, IndexOf(sheet) + 1, IndexOf(*other) + 1));
    }
  }
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
  package_.WriteTo(out, [&](const std::string& name, ZipWriter& zip) {
    for (const auto& [part, document] : documents) {
      if (!EqualsNoCase(part, name)) continue;
      Serialize(*document, zip);
      return true;
    }
    return false;
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
