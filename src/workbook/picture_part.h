#pragma once
// The drawing part that places one picture on a sheet: its top left corner at a cell, its size
// in pixels as the picture has them (a pixel is 9525 English metric units at 96 dpi).

#include <cstdint>
#include <string>
#include <string_view>

#include "workbook/cell_reference.h"

namespace dovrek {

// Stands in the drawing for the relationship id of its image until the image has one.
inline constexpr char kPictureIdSlot[] = "{picture}";

// The drawing part's XML: one picture anchored at the cell, moving with it but keeping its size,
// named (and described for readers of the sheet) by `name`.
std::string PictureDrawingXml(CellReference at, int32_t width, int32_t height,
                              std::string_view name);

}  // namespace dovrek
