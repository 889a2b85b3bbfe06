#pragma once

#include <vector>

struct Pix;

namespace tovrik::standin {

// A step that makes a screen's picture (8-bit gray, mostly dark text on light) look more like a
// page to the models before the layout analysis: the text of a button, a field or a group box
// is otherwise taken with its frame for one picture, and read as nothing.
// Frames around buttons, fields, groups and lists: connected ink at least minWidth by minHeight
// that lies along the edges of its box (a rectangle, maybe with rounded corners) is painted
// white, so that the text inside is read as a line of its own.
void RemoveFrames(Pix* gray, int minWidth, int minHeight);

// Icons beside a dialog's message (a question mark in a disc or a diamond, a warning sign): a
// blob of ink (darker than 200, or than 20 levels below the page's median) at least `minSide`
// both ways, no more than twice as wide as high or high as wide, and filled for at least
// `minFillPercent` of its box, is painted white with its box. Letters are smaller, or, as large,
// hollow; left there, an icon is read as a character ("人", "《").
void RemoveIcons(Pix* gray, int minSide, int minFillPercent);

// Rows top to bottom (excluded) of a picture.
struct RowBand {
    int top = 0;
    int bottom = 0;
};

// Bands across the picture on a background of their own (a window's title bar, a list's header,
// a selected row): each row of such a band is made dark text on white, inverted first when its
// text is lighter than its background; the bands are returned top to bottom. A row belongs to
// a band when its median level is more than `offPage` from the picture's; a band is
// `minHeight` to `maxHeight` rows.
[[nodiscard]] std::vector<RowBand> NormaliseBands(Pix* gray, int offPage, int minHeight, int maxHeight);

} // namespace tovrik::standin
