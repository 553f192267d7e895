#pragma once
// Whether the captions of a window's controls fit the room their style leaves for them, and
// the largest window font at which they all do.

#include <QFont>
#include <QRect>

class QWidget;

namespace dovrek {

// The part of `control` that its style leaves for the caption, in the control's coordinates:
// a check box without its indicator and the spacing after it, a button inside its frame,
// any other control (a label, a group box) its contents rectangle.
QRect CaptionRoom(const QWidget& control);

// The caption of `control`: a group box's title, a button's or a label's text; empty for any
// other control (the text in a text box is the user's, not a caption). Lines are separated by
// '\n'.
QString CaptionOf(const QWidget& control);

// True when every line of the caption is no wider than its room and, for a caption of several
// lines, the lines stacked on each other are no taller. A single line is centred, so its
// glyphs stay inside even where the font's line box is a pixel taller than the control.
bool CaptionFits(const QWidget& control);

// Gives `window` the largest size of `font`, from its own size down in quarter points to
// `smallest_point_size`, at which the captions of all its descendants fit. The designed font
// is narrower than most Japanese Gothics that stand in for it, so a stand-in may need to be a
// little smaller for no caption to be clipped. Stops at the smallest size if nothing fits.
void FitWindowFont(QWidget& window, QFont font, double smallest_point_size);

}  // namespace dovrek
