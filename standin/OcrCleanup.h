#pragma once

struct Pix;

namespace tovrik::standin {

// A step that makes a screen's picture (8-bit gray, mostly dark text on light) look more like a
// page to the models before the layout analysis: the text of a button, a field or a group box
// is otherwise taken with its frame for one picture, and read as nothing.
// Frames around buttons, fields, groups and lists: connected ink at least minWidth by minHeight
// that lies along the edges of its box (a rectangle, maybe with rounded corners) is painted
// white, so that the text inside is read as a line of its own.
void RemoveFrames(Pix* gray, int minWidth, int minHeight);

} // namespace tovrik::standin
