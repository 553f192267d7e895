#pragma once
// How many lines a wrapping cell's text takes, estimated from the text and the column's width
// alone, without the fonts at hand.

#include <cstdint>
#include <string_view>

namespace dovrek {

// The half-width places a column holds for text of `cell_font_size` points: a column `width`
// characters wide (the spreadsheet's unit, the digit width of the book's default font of
// `default_font_size` points) is taken as `width` digits of half an em of that font, and a place
// as half an em of the cell's font. Real digits are a little wider (about 0.55 em in the Gothic
// faces) and Latin letters of a proportional face narrower than half an em, so the estimate errs
// towards too few places: a line near the edge may be counted as wrapping when it does not,
// never the other way. Always at least 1.
int32_t ColumnPlaces(double width, double default_font_size, double cell_font_size);

// The lines `text` takes in a column of `places` half-width places: its line feeds, as the row
// heights count lines, plus one for each time a line wraps. A full-width character takes two
// places, any other one (ASCII, half-width katakana) one. Lines break at spaces, as the
// spreadsheet wraps words; a word longer than a line breaks anywhere, and so do full-width
// characters, which need no space to break between them.
int32_t WrappedLineCount(std::string_view text, int32_t places);

}  // namespace dovrek
