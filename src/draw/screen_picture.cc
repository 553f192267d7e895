#include "draw/screen_picture.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "draw/image_file.h"
#include "draw/png_file.h"
#include "draw/vb_color.h"
#include "base/text_helpers.h"
#include "source/property_text.h"

namespace dovrek {
namespace {

constexpr int kCaptionHeight = 18;
constexpr int kToolCaptionHeight = 15;
constexpr int kMenuHeight = 19;
// Installed Japanese Gothic fonts stand in for the Windows ones a description names.
constexpr char kFallbackFamilies[] = "IPAGothic,Noto Sans CJK JP,sans-serif";

const Rgb kFace = SystemColor(15), kShadow = SystemColor(16), kHighlight = SystemColor(20),
          kDarkShadow = SystemColor(21), kLight = SystemColor(22), kWindow = SystemColor(5),
          kText = SystemColor(8), kGrey = SystemColor(17);

std::string_view Property(const std::vector<ScreenProperty>& properties, std::string_view name) {
  for (const ScreenProperty& property : properties) {
    if (EqualsNoCase(property.Name, name)) return property.Text;
  }
  return {};
}

double Number(const std::vector<ScreenProperty>& properties, std::string_view name, double fallback) {
  std::optional<double> value = NumberValue(Property(properties, name));
  return value ? *value : fallback;
}

bool IsClass(const ScreenControl& control, std::string_view cls) {
  return EqualsNoCase(control.Class, std::string("VB.") + std::string(cls));
}

struct Font {
  std::string family = "MS UI Gothic";
  double points = 9;
  bool bold = false;
  bool italic = false;
};

// The font a set of properties gives, the inherited one where they say nothing.
Font FontOf(const std::vector<ScreenProperty>& properties, Font font) {
  if (std::optional<std::string> name = QuotedText(Property(properties, "Font.Name"))) font.family = *name;
  font.points = Number(properties, "Font.Size", font.points);
  if (font.points <= 0 || font.points > 200) font.points = 9;
  const double weight = Number(properties, "Font.Weight", 0);
  if (weight > 0) font.bold = weight >= 600;
  if (Property(properties, "Font.Bold").size()) font.bold = Number(properties, "Font.Bold", 0) != 0;
  if (Property(properties, "Font.Italic").size()) font.italic = Number(properties, "Font.Italic", 0) != 0;
  return font;
}

// "&Save" is "Save" with the S underlined; "&&" is one "&".
std::pair<std::string, int> WithoutAccessKey(std::string_view caption) {
  std::string text;
  int underline = -1;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != '&' && underline < 0) underline = static_cast<int>(text.size());
    }
    text += caption[i];
  }
  return {text, underline};
}

enum class Align { kLeft, kCenter, kRight };
enum class Valign { kTop, kMiddle };

class Painter {
 public:
  Painter(cairo_t* cr) : cr_(cr), layout_(pango_cairo_create_layout(cr)) {}
  ~Painter() { g_object_unref(layout_); }
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  void Fill(double x, double y, double w, double h, Rgb color) {
    Color(color);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
  }

  // A one-pixel line between pixel centres.
  void Line(double x1, double y1, double x2, double y2, Rgb color, double width = 1) {
    Color(color);
    cairo_set_line_width(cr_, width);
    cairo_move_to(cr_, x1 + 0.5, y1 + 0.5);
    cairo_line_to(cr_, x2 + 0.5, y2 + 0.5);
    cairo_stroke(cr_);
  }

  // Two pixels of bevel, as Windows draws buttons (raised) and fields (sunken).
  void Bevel(int x, int y, int w, int h, bool raised) {
    if (w < 2 || h < 2) return;
    const Rgb outer_light = raised ? kHighlight : kShadow, outer_dark = raised ? kDarkShadow : kHighlight;
    const Rgb inner_light = raised ? kLight : kDarkShadow, inner_dark = raised ? kShadow : kLight;
    Box(x, y, w, h, outer_light, outer_dark);
    Box(x + 1, y + 1, w - 2, h - 2, inner_light, inner_dark);
  }

  // Top and left in one colour, bottom and right in another.
  void Box(int x, int y, int w, int h, Rgb top_left, Rgb bottom_right) {
    Line(x, y, x + w - 1, y, top_left);
    Line(x, y, x, y + h - 1, top_left);
    Line(x, y + h - 1, x + w - 1, y + h - 1, bottom_right);
    Line(x + w - 1, y, x + w - 1, y + h - 1, bottom_right);
  }

  void Text(std::string_view caption, double x, double y, double w, double h, const Font& font,
            Rgb color, Align align, Valign valign, bool wrap) {
    if (caption.empty() || w <= 0 || h <= 0) return;
    auto [text, underline] = WithoutAccessKey(caption);
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, (font.family + "," + kFallbackFamilies).c_str());
    pango_font_description_set_absolute_size(description, font.points * 96 / 72 * PANGO_SCALE);
    pango_font_description_set_weight(description, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout_, description);
    pango_font_description_free(description);
    pango_layout_set_text(layout_, text.data(), static_cast<int>(text.size()));
    PangoAttrList* attributes = pango_attr_list_new();
    if (underline >= 0) {
      PangoAttribute* line = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
      line->start_index = static_cast<guint>(underline);
      line->end_index = static_cast<guint>(underline + 1);
      while (line->end_index < text.size() && (text[line->end_index] & 0xC0) == 0x80) ++line->end_index;
      pango_attr_list_insert(attributes, line);
    }
    pango_layout_set_attributes(layout_, attributes);
    pango_attr_list_unref(attributes);
    pango_layout_set_width(layout_, wrap ? static_cast<int>(w * PANGO_SCALE) : -1);
    pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout_, align == Align::kLeft ? PANGO_ALIGN_LEFT
                                        : align == Align::kCenter ? PANGO_ALIGN_CENTER
                                                                  : PANGO_ALIGN_RIGHT);
    int text_w = 0, text_h = 0;
    pango_layout_get_pixel_size(layout_, &text_w, &text_h);
    double left = x;
    if (!wrap && align == Align::kCenter) left = x + (w - text_w) / 2;
    if (!wrap && align == Align::kRight) left = x + w - text_w;
    const double top = valign == Valign::kMiddle ? y + (h - text_h) / 2 : y;
    cairo_save(cr_);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_clip(cr_);
    Color(color);
    cairo_move_to(cr_, left, top);
    pango_cairo_show_layout(cr_, layout_);
    cairo_restore(cr_);
  }

  void Image(const std::string& bytes, double x, double y, double w, double h, bool stretch) {
    Surface image = DecodeImageFile(bytes);
    cairo_save(cr_);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_clip(cr_);
    if (image) {
      const double iw = cairo_image_surface_get_width(image.get());
      const double ih = cairo_image_surface_get_height(image.get());
      cairo_translate(cr_, x, y);
      if (stretch && iw > 0 && ih > 0) cairo_scale(cr_, w / iw, h / ih);
      cairo_set_source_surface(cr_, image.get(), 0, 0);
      cairo_paint(cr_);
    } else if (!bytes.empty()) {
      Fill(x, y, w, h, kLight);
      Line(x, y, x + w - 1, y + h - 1, kShadow);
      Line(x, y + h - 1, x + w - 1, y, kShadow);
    }
    cairo_restore(cr_);
  }

  void Arrow(double cx, double cy, int direction, Rgb color) {  // 0 down, 1 up, 2 left, 3 right
    Color(color);
    for (int i = 0; i < 4; ++i) {
      const double half = 3 - i;
      if (direction < 2) {
        const double y = direction == 0 ? cy - 1 + i : cy + 1 - i;
        cairo_rectangle(cr_, cx - half, y, 2 * half + 1, 1);
      } else {
        const double x = direction == 2 ? cx - 1 + i : cx + 1 - i;
        cairo_rectangle(cr_, x, cy - half, 1, 2 * half + 1);
      }
    }
    cairo_fill(cr_);
  }

  cairo_t* cr() { return cr_; }

 private:
  void Color(Rgb c) { cairo_set_source_rgb(cr_, c.r, c.g, c.b); }

  cairo_t* cr_;
  PangoLayout* layout_;
};

// The window's frame: border width, caption bar, the buttons on it, and the menu bar.
struct Frame {
  int border = 0;
  int caption = 0;
  bool tool = false;
  bool icon = false;
  bool close = false, minimize = false, maximize = false;
  int menu = 0;
};

Frame FrameOf(const Screen& screen) {
  Frame frame;
  const bool is_form = EqualsNoCase(screen.Kind, "Form") || EqualsNoCase(screen.Kind, "MDIForm");
  const int style = is_form ? WholeNumber(Number(screen.Properties, "BorderStyle", 2)) : 0;
  if (style == 0) return frame;
  frame.border = style == 2 || style == 5 ? 4 : 3;
  frame.tool = style == 4 || style == 5;
  frame.caption = frame.tool ? kToolCaptionHeight : kCaptionHeight;
  const bool control_box = Number(screen.Properties, "ControlBox", -1) != 0;
  frame.close = control_box;
  frame.icon = control_box && !frame.tool && style != 3;
  const bool buttons = control_box && (style == 1 || style == 2);
  frame.minimize = buttons && Number(screen.Properties, "MinButton", -1) != 0;
  frame.maximize = buttons && Number(screen.Properties, "MaxButton", -1) != 0;
  for (const ScreenControl& control : screen.Controls) {
    if (control.Container.empty() && IsClass(control, "Menu")) frame.menu = kMenuHeight;
  }
  return frame;
}

class ScreenDrawing {
 public:
  ScreenDrawing(const Screen& screen, cairo_t* cr)
      : screen_(screen), frame_(FrameOf(screen)), paint_(cr), window_font_(FontOf(screen.Properties, Font())) {
    for (size_t i = 0; i < screen.Controls.size(); ++i) {
      by_name_[AsciiSmall(screen.Controls[i].ItemName())] = i;
    }
  }

  int Width() const { return screen_.Width + 2 * frame_.border; }
  int Height() const { return screen_.Height + 2 * frame_.border + frame_.caption + frame_.menu; }

  void Draw() {
    DrawFrame();
    cairo_save(paint_.cr());
    cairo_translate(paint_.cr(), frame_.border, frame_.border + frame_.caption + frame_.menu);
    cairo_rectangle(paint_.cr(), 0, 0, screen_.Width, screen_.Height);
    cairo_clip(paint_.cr());
    paint_.Fill(0, 0, screen_.Width, screen_.Height, VbColor(Property(screen_.Properties, "BackColor"), kFace));
    if (!screen_.Controls.empty()) {
      for (size_t i = 0; i < screen_.Controls.size(); ++i) DrawControl(i);
    }
    cairo_restore(paint_.cr());
  }

 private:
  void DrawFrame() {
    const int w = Width(), h = Height();
    paint_.Fill(0, 0, w, h, kFace);
    if (frame_.border == 0) return;
    paint_.Bevel(0, 0, w, h, true);
    const int b = frame_.border, c = frame_.caption;
    cairo_pattern_t* gradient = cairo_pattern_create_linear(b, 0, w - b, 0);
    cairo_pattern_add_color_stop_rgb(gradient, 0, 0x0A / 255.0, 0x24 / 255.0, 0x6A / 255.0);
    cairo_pattern_add_color_stop_rgb(gradient, 1, 0xA6 / 255.0, 0xCA / 255.0, 0xF0 / 255.0);
    cairo_rectangle(paint_.cr(), b, b, w - 2 * b, c);
    cairo_set_source(paint_.cr(), gradient);
    cairo_fill(paint_.cr());
    cairo_pattern_destroy(gradient);
    int text_left = b + 3;
    if (frame_.icon) {
      DrawWindowIcon(b + 2, b + 1);
      text_left += 18;
    }
    int right = w - b - 2;
    if (frame_.close) right = CaptionButton(right, "×", true);
    if (frame_.maximize) right = CaptionButton(right - 2, "□", true);
    if (frame_.minimize) right = CaptionButton(right, "_", true);
    Font caption_font{"MS UI Gothic", frame_.tool ? 8.0 : 9.0, true, false};
    paint_.Text(screen_.Caption, text_left, b, right - text_left, c, caption_font, SystemColor(9),
                Align::kLeft, Valign::kMiddle, false);
    if (frame_.menu) DrawMenuBar(b, b + c, w - 2 * b);
  }

  void DrawWindowIcon(int x, int y) {
    paint_.Fill(x, y + 1, 14, 14, kWindow);
    paint_.Box(x, y + 1, 14, 14, kShadow, kDarkShadow);
    paint_.Fill(x + 1, y + 2, 12, 3, SystemColor(2));
  }

  int CaptionButton(int right, std::string_view glyph, bool enabled) {
    const int bw = frame_.tool ? 12 : 16, bh = frame_.tool ? 10 : 14;
    const int x = right - bw, y = frame_.border + (frame_.caption - bh) / 2;
    paint_.Fill(x, y, bw, bh, kFace);
    paint_.Bevel(x, y, bw, bh, true);
    paint_.Text(glyph, x, y, bw, bh, Font{"sans-serif", frame_.tool ? 6.0 : 7.5, true, false},
                enabled ? kText : kGrey, Align::kCenter, Valign::kMiddle, false);
    return x;
  }

  void DrawMenuBar(int x, int y, int w) {
    paint_.Fill(x, y, w, kMenuHeight, SystemColor(4));
    double left = x + 6;
    for (const ScreenControl& menu : screen_.Controls) {
      if (!menu.Container.empty() || !IsClass(menu, "Menu") || menu.Caption == "-") continue;
      if (Number(menu.Properties, "Visible", -1) == 0) continue;
      const std::string text = WithoutAccessKey(menu.Caption).first;
      const double width = 12 + 7.0 * static_cast<double>(CountCharacters(text)) * 1.1;
      paint_.Text(menu.Caption, left, y, width, kMenuHeight, window_font_, SystemColor(7),
                  Align::kCenter, Valign::kMiddle, false);
      left += width;
    }
  }

  Font FontFor(const ScreenControl& control) {
    auto container = by_name_.find(AsciiSmall(control.Container));
    const Font inherited = container == by_name_.end() ? window_font_ : FontFor(screen_.Controls[container->second]);
    return FontOf(control.Properties, inherited);
  }

  void DrawControl(size_t i) {
    const ScreenControl& control = screen_.Controls[i];
    if (!control.Placed || !control.Shown || IsClass(control, "Menu")) return;
    if (!ContainersShown(control)) return;
    cairo_save(paint_.cr());
    ClipToContainers(control);
    DrawOne(control, FontFor(control));
    cairo_restore(paint_.cr());
  }

  // A control is hidden with a container that is hidden (on a tab not shown).
  bool ContainersShown(const ScreenControl& control) {
    auto container = by_name_.find(AsciiSmall(control.Container));
    if (container == by_name_.end()) return true;
    const ScreenControl& parent = screen_.Controls[container->second];
    return parent.Shown && ContainersShown(parent);
  }

  void ClipToContainers(const ScreenControl& control) {
    auto container = by_name_.find(AsciiSmall(control.Container));
    if (container == by_name_.end()) return;
    const ScreenControl& parent = screen_.Controls[container->second];
    ClipToContainers(parent);
    if (!parent.Placed) return;
    cairo_rectangle(paint_.cr(), parent.X, parent.Y, parent.W, parent.H);
    cairo_clip(paint_.cr());
  }

  void DrawOne(const ScreenControl& c, const Font& font) {
    const Rgb back = VbColor(Property(c.Properties, "BackColor"), kFace);
    const Rgb fore = VbColor(Property(c.Properties, "ForeColor"), kText);
    const bool flat = Number(c.Properties, "Appearance", 1) == 0;
    const int x = c.X, y = c.Y, w = c.W, h = c.H;
    if (IsClass(c, "CommandButton")) {
      paint_.Fill(x, y, w, h, back);
      paint_.Bevel(x, y, w, h, true);
      if (!c.Picture.empty()) paint_.Image(c.Picture, x + 2, y + 2, w - 4, h - 4, false);
      paint_.Text(c.Caption, x + 3, y + 2, w - 6, h - 4, font, fore, Align::kCenter, Valign::kMiddle, false);
    } else if (IsClass(c, "TextBox")) {
      DrawField(c, VbColor(Property(c.Properties, "BackColor"), kWindow), flat);
      const bool multi = Number(c.Properties, "MultiLine", 0) != 0;
      std::string text = c.Text;
      if (std::optional<std::string> mask = QuotedText(Property(c.Properties, "PasswordChar")); mask && !mask->empty()) {
        text.assign(CountCharacters(c.Text), (*mask)[0]);
      }
      paint_.Text(text, x + 4, y + 3, w - 8, h - 6, font, VbColor(Property(c.Properties, "ForeColor"), kText),
                  AlignOf(c), multi ? Valign::kTop : Valign::kMiddle, multi);
    } else if (IsClass(c, "Label")) {
      if (Number(c.Properties, "BackStyle", 1) != 0) paint_.Fill(x, y, w, h, back);
      if (Number(c.Properties, "BorderStyle", 0) != 0) DrawEdge(x, y, w, h, flat);
      paint_.Text(c.Caption, x, y, w, h, font, fore, AlignOf(c), Valign::kTop, true);
    } else if (IsClass(c, "Frame")) {
      DrawFrameBox(c, back, fore, font);
    } else if (IsClass(c, "CheckBox") || IsClass(c, "OptionButton")) {
      DrawCheck(c, back, fore, font);
    } else if (IsClass(c, "ComboBox") || IsClass(c, "DriveListBox")) {
      DrawCombo(c, font);
    } else if (IsClass(c, "ListBox") || IsClass(c, "FileListBox") || IsClass(c, "DirListBox")) {
      DrawField(c, VbColor(Property(c.Properties, "BackColor"), kWindow), flat);
      std::string items;
      for (const std::string& item : c.Items) items += item + "\n";
      if (items.empty() && !IsClass(c, "ListBox")) items = c.Name;
      paint_.Text(items, x + 3, y + 3, w - 6, h - 6, font, fore, Align::kLeft, Valign::kTop, false);
    } else if (IsClass(c, "PictureBox")) {
      if (Number(c.Properties, "BorderStyle", 1) != 0) {
        DrawField(c, back, flat);
      } else {
        paint_.Fill(x, y, w, h, back);
      }
      const int inset = Number(c.Properties, "BorderStyle", 1) == 0 ? 0 : flat ? 1 : 2;
      if (!c.Picture.empty()) paint_.Image(c.Picture, x + inset, y + inset, w - 2 * inset, h - 2 * inset, false);
    } else if (IsClass(c, "Image")) {
      if (!c.Picture.empty()) {
        paint_.Image(c.Picture, x, y, w, h, Number(c.Properties, "Stretch", 0) != 0);
      } else {
        DashedBox(x, y, w, h);
      }
    } else if (IsClass(c, "Shape")) {
      DrawShape(c);
    } else if (IsClass(c, "Line")) {
      paint_.Line(c.X1, c.Y1, c.X2, c.Y2, VbColor(Property(c.Properties, "BorderColor"), kText),
                  std::clamp(Number(c.Properties, "BorderWidth", 1), 1.0, 64.0));
    } else if (IsClass(c, "HScrollBar") || IsClass(c, "VScrollBar")) {
      DrawScrollBar(c);
    } else if (EqualsNoCase(c.Class, "TabDlg.SSTab")) {
      DrawTabs(c, font);
    } else {
      DrawOther(c, font);
    }
  }

  static Align AlignOf(const ScreenControl& c) {
    const int alignment = WholeNumber(Number(c.Properties, "Alignment", 0));
    return alignment == 1 ? Align::kRight : alignment == 2 ? Align::kCenter : Align::kLeft;
  }

  void DrawEdge(int x, int y, int w, int h, bool flat) {
    if (flat) {
      paint_.Box(x, y, w, h, kText, kText);
    } else {
      paint_.Bevel(x, y, w, h, false);
    }
  }

  void DrawField(const ScreenControl& c, Rgb back, bool flat) {
    paint_.Fill(c.X, c.Y, c.W, c.H, back);
    if (Number(c.Properties, "BorderStyle", 1) != 0) DrawEdge(c.X, c.Y, c.W, c.H, flat);
  }

  void DrawFrameBox(const ScreenControl& c, Rgb back, Rgb fore, const Font& font) {
    const int x = c.X, y = c.Y, w = c.W, h = c.H;
    paint_.Fill(x, y, w, h, back);
    const int top = y + static_cast<int>(font.points * 96 / 72 / 2);
    if (Number(c.Properties, "BorderStyle", 1) != 0) {
      paint_.Box(x, top, w - 1, h - (top - y) - 1, kShadow, kShadow);
      paint_.Box(x + 1, top + 1, w - 1, h - (top - y) - 1, kHighlight, kHighlight);
    }
    if (c.Caption.empty()) return;
    const std::string text = WithoutAccessKey(c.Caption).first;
    const double width = std::min<double>(w - 10, 4 + font.points * 96 / 72 * 0.62 * static_cast<double>(text.size()));
    paint_.Fill(x + 7, y, width, font.points * 96 / 72 + 2, back);
    paint_.Text(c.Caption, x + 8, y, width, font.points * 96 / 72 + 4, font, fore, Align::kLeft, Valign::kTop, false);
  }

  void DrawCheck(const ScreenControl& c, Rgb back, Rgb fore, const Font& font) {
    const int x = c.X, y = c.Y, w = c.W, h = c.H;
    const bool option = IsClass(c, "OptionButton");
    if (Number(c.Properties, "Style", 0) == 1) {  // graphical: a button that stays down
      paint_.Fill(x, y, w, h, back);
      paint_.Bevel(x, y, w, h, Number(c.Properties, "Value", 0) == 0);
      paint_.Text(c.Caption, x + 3, y + 2, w - 6, h - 4, font, fore, Align::kCenter, Valign::kMiddle, false);
      return;
    }
    if (Number(c.Properties, "BackStyle", 1) != 0) paint_.Fill(x, y, w, h, back);
    const bool right = Number(c.Properties, "Alignment", 0) == 1;
    const int box_x = right ? x + w - 13 : x, box_y = y + (h - 13) / 2;
    const double value = Number(c.Properties, "Value", 0);
    cairo_t* cr = paint_.cr();
    if (option) {
      cairo_arc(cr, box_x + 6.5, box_y + 6.5, 6, 0, 2 * G_PI);
      cairo_set_source_rgb(cr, kWindow.r, kWindow.g, kWindow.b);
      cairo_fill_preserve(cr);
      cairo_set_source_rgb(cr, kShadow.r, kShadow.g, kShadow.b);
      cairo_set_line_width(cr, 1.5);
      cairo_stroke(cr);
      if (value != 0) {
        cairo_arc(cr, box_x + 6.5, box_y + 6.5, 2, 0, 2 * G_PI);
        cairo_set_source_rgb(cr, kText.r, kText.g, kText.b);
        cairo_fill(cr);
      }
    } else {
      paint_.Fill(box_x, box_y, 13, 13, value == 2 ? kLight : kWindow);
      paint_.Bevel(box_x, box_y, 13, 13, false);
      if (value != 0) {
        cairo_set_source_rgb(cr, value == 2 ? kGrey.r : kText.r, value == 2 ? kGrey.g : kText.g, value == 2 ? kGrey.b : kText.b);
        cairo_set_line_width(cr, 2);
        cairo_move_to(cr, box_x + 3, box_y + 6);
        cairo_line_to(cr, box_x + 5.5, box_y + 9);
        cairo_line_to(cr, box_x + 10, box_y + 3.5);
        cairo_stroke(cr);
      }
    }
    const int text_x = right ? x : x + 17;
    paint_.Text(c.Caption, text_x, y, w - 17, h, font, fore, Align::kLeft, Valign::kMiddle, true);
  }

  void DrawCombo(const ScreenControl& c, const Font& font) {
    const int x = c.X, y = c.Y, w = c.W, h = std::max(c.H, 21);
    const int field_h = Number(c.Properties, "Style", 0) == 1 ? 21 : h;
    paint_.Fill(x, y, w, field_h, VbColor(Property(c.Properties, "BackColor"), kWindow));
    paint_.Bevel(x, y, w, field_h, false);
    std::string text = c.Text.empty() && IsClass(c, "DriveListBox") ? "c: []" : c.Text;
    paint_.Text(text, x + 4, y + 2, w - 24, field_h - 4, font, VbColor(Property(c.Properties, "ForeColor"), kText),
                Align::kLeft, Valign::kMiddle, false);
    if (Number(c.Properties, "Style", 0) == 1) {
      paint_.Fill(x, y + field_h, w, c.H - field_h, kWindow);
      paint_.Bevel(x, y + field_h, w, c.H - field_h, false);
      return;
    }
    const int bx = x + w - 18, by = y + 2;
    paint_.Fill(bx, by, 16, field_h - 4, kFace);
    paint_.Bevel(bx, by, 16, field_h - 4, true);
    paint_.Arrow(bx + 7.5, by + (field_h - 4) / 2.0, 0, kText);
  }

  void DrawShape(const ScreenControl& c) {
    const int shape = WholeNumber(Number(c.Properties, "Shape", 0));
    double x = c.X, y = c.Y, w = c.W, h = c.H;
    if (shape == 1 || shape == 3 || shape == 5) {  // square and circle: the smaller side, centred
      const double side = std::min(w, h);
      x += (w - side) / 2;
      y += (h - side) / 2;
      w = h = side;
    }
    cairo_t* cr = paint_.cr();
    cairo_new_path(cr);
    if (shape == 2 || shape == 3) {
      cairo_save(cr);
      cairo_translate(cr, x + w / 2, y + h / 2);
      cairo_scale(cr, std::max(w, 1.0) / 2, std::max(h, 1.0) / 2);
      cairo_arc(cr, 0, 0, 1, 0, 2 * G_PI);
      cairo_restore(cr);
    } else if (shape == 4 || shape == 5) {
      const double r = std::min(w, h) / 6;
      cairo_new_sub_path(cr);
      cairo_arc(cr, x + w - r, y + r, r, -G_PI / 2, 0);
      cairo_arc(cr, x + w - r, y + h - r, r, 0, G_PI / 2);
      cairo_arc(cr, x + r, y + h - r, r, G_PI / 2, G_PI);
      cairo_arc(cr, x + r, y + r, r, G_PI, 3 * G_PI / 2);
      cairo_close_path(cr);
    } else {
      cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
    }
    if (Number(c.Properties, "BackStyle", 0) != 0) {
      const Rgb back = VbColor(Property(c.Properties, "BackColor"), kWindow);
      cairo_set_source_rgb(cr, back.r, back.g, back.b);
      cairo_fill_preserve(cr);
    }
    if (Number(c.Properties, "FillStyle", 1) == 0) {
      const Rgb fill = VbColor(Property(c.Properties, "FillColor"), kText);
      cairo_set_source_rgb(cr, fill.r, fill.g, fill.b);
      cairo_fill_preserve(cr);
    }
    const Rgb border = VbColor(Property(c.Properties, "BorderColor"), kText);
    cairo_set_source_rgb(cr, border.r, border.g, border.b);
    cairo_set_line_width(cr, std::clamp(Number(c.Properties, "BorderWidth", 1), 1.0, 64.0));
    if (Number(c.Properties, "BorderStyle", 1) != 0) {
      cairo_stroke(cr);
    } else {
      cairo_new_path(cr);
    }
  }

  void DrawScrollBar(const ScreenControl& c) {
    const bool vertical = IsClass(c, "VScrollBar");
    paint_.Fill(c.X, c.Y, c.W, c.H, kLight);
    const int side = vertical ? c.W : c.H;
    for (int end = 0; end < 2; ++end) {
      const int bx = vertical ? c.X : end ? c.X + c.W - side : c.X;
      const int by = vertical ? (end ? c.Y + c.H - side : c.Y) : c.Y;
      paint_.Fill(bx, by, side, side, kFace);
      paint_.Bevel(bx, by, side, side, true);
      paint_.Arrow(bx + side / 2.0 - 0.5, by + side / 2.0 - 0.5, vertical ? (end ? 0 : 1) : (end ? 3 : 2), kText);
    }
    const int tx = vertical ? c.X : c.X + side, ty = vertical ? c.Y + side : c.Y;
    paint_.Fill(tx, ty, side, side, kFace);
    paint_.Bevel(tx, ty, side, side, true);
  }

  void DrawTabs(const ScreenControl& c, const Font& font) {
    const int tabs = std::clamp(WholeNumber(Number(c.Properties, "Tabs", 3)), 1, 64);
    const int current = WholeNumber(Number(c.Properties, "Tab", 0));
    const int tab_h = std::max(16, WholeNumber(Number(c.Properties, "TabHeight", 300) / 15));
    const int per_row = std::clamp(WholeNumber(Number(c.Properties, "TabsPerRow", 3)), 1, 64);
    const int rows = (tabs + per_row - 1) / per_row;
    const int body_y = c.Y + rows * tab_h;
    paint_.Fill(c.X, body_y, c.W, c.H - rows * tab_h, kFace);
    paint_.Bevel(c.X, body_y, c.W, c.H - rows * tab_h, true);
    const double tab_w = static_cast<double>(c.W) / per_row;
    for (int t = 0; t < tabs; ++t) {
      const int row = rows - 1 - t / per_row;
      const int tx = c.X + static_cast<int>((t % per_row) * tab_w), ty = c.Y + row * tab_h;
      const int lift = t == current ? 0 : 2;
      paint_.Fill(tx, ty + lift, static_cast<int>(tab_w), tab_h - lift + (t == current ? 1 : 0), kFace);
      paint_.Box(tx, ty + lift, static_cast<int>(tab_w), tab_h + 2, kHighlight, kDarkShadow);
      const std::string key = "TabCaption(" + std::to_string(t) + ")";
      const std::string caption = QuotedText(Property(c.Properties, key)).value_or("");
      paint_.Text(caption, tx + 2, ty + lift, tab_w - 4, tab_h - lift, font, kText, Align::kCenter, Valign::kMiddle, false);
    }
  }

  void DashedBox(int x, int y, int w, int h) {
    cairo_t* cr = paint_.cr();
    const double dash[] = {2, 2};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_source_rgb(cr, kShadow.r, kShadow.g, kShadow.b);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
  }

  // A control of another library, or one with no picture at run time: a box with its class,
  // name and caption or text, as the design view shows what it cannot draw.
  void DrawOther(const ScreenControl& c, const Font& font) {
    paint_.Fill(c.X, c.Y, c.W, c.H, kFace);
    paint_.Box(c.X, c.Y, c.W, c.H, kShadow, kDarkShadow);
    std::string label = c.Class + "\n" + c.ItemName();
    const std::string& shown = c.Caption.empty() ? c.Text : c.Caption;
    if (!shown.empty()) label = shown + "\n" + label;
    Font small = font;
    small.points = std::min(font.points, 8.0);
    paint_.Text(label, c.X + 2, c.Y + 1, c.W - 4, c.H - 2, small, kText, Align::kLeft, Valign::kTop, true);
  }

  const Screen& screen_;
  Frame frame_;
  Painter paint_;
  Font window_font_;
  std::map<std::string, size_t> by_name_;
};

}  // namespace

std::string DrawScreenPicture(const Screen& screen) {
  // Measured on an empty surface first: the frame's size depends on the screen alone.
  cairo_surface_t* probe = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
  cairo_t* probe_cr = cairo_create(probe);
  int width = 0, height = 0;
  {
    ScreenDrawing measure(screen, probe_cr);
    width = std::clamp(measure.Width(), 1, 8192);
    height = std::clamp(measure.Height(), 1, 8192);
  }
  cairo_destroy(probe_cr);
  cairo_surface_destroy(probe);

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  {
    ScreenDrawing drawing(screen, cr);
    drawing.Draw();
  }
  cairo_surface_flush(surface);
  std::string png = PngFile(cairo_image_surface_get_data(surface), width, height,
                            cairo_image_surface_get_stride(surface));
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return png;
}


std::vector<std::string> DrawScreenPictures(const std::vector<Screen>& screens) {
  std::vector<std::string> pictures(screens.size());
  std::atomic<size_t> next{0};
  auto draw = [&] {
    for (size_t i = next++; i < screens.size(); i = next++) pictures[i] = DrawScreenPicture(screens[i]);
  };
  const unsigned helpers = std::min<unsigned>(std::thread::hardware_concurrency(), 8);
  std::vector<std::thread> threads;
  for (unsigned t = 1; t < helpers && t < screens.size(); ++t) threads.emplace_back(draw);
  draw();
  for (std::thread& thread : threads) thread.join();
  return pictures;
}

const std::vector<std::string>& DrawnScreenPictures::Of(const std::vector<Screen>& screens) {
  if (!pictures_) pictures_ = DrawScreenPictures(screens);
  return *pictures_;
}

}  // namespace dovrek
