#pragma once

struct Pix;

namespace tovrik::standin {

// Steps that make a screen's picture (8-bit gray, mostly dark text on light) look like a page to
// the models before the layout analysis.

// Areas of a picture that hold light text on a darker background (a title bar, a selected row, a
// terminal beside a dialog) are inverted where they lie: the models read dark text on light only.
// The background is taken block by block (its commonest gray level); blocks of about the same
// background form an area, and an area at least two blocks high and wide whose other pixels are
// more often lighter than its background than darker holds light text.
void InvertDarkAreas(Pix* gray);

// Frames around buttons, fields, groups and lists: connected ink at least minWidth by minHeight
// that lies along the edges of its box (a rectangle, maybe with rounded corners) is painted
// white, so that the text inside is read as a line of its own.
void RemoveFrames(Pix* gray, int minWidth, int minHeight);

// Frames, rules, separators and the borders of buttons and fields: long straight runs of ink, which
// the layout takes for text (stray "|", "_" and lines of "eee") or which glue text to its frame,
// are painted white. A run counts as long from `minLength` pixels, longer than a character.
void RemoveRules(Pix* gray, int minLength);

// Icons and pictures: solid blobs of ink far larger than the text around them. Blobs at least
// `minSide` high and wide whose ink covers most of their box are painted white.
void RemoveSolidBlobs(Pix* gray, int minSide);

} // namespace tovrik::standin
