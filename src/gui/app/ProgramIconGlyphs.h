#pragma once
// The drawings behind the program's numbered icons.

class QPainter;

namespace kelbrin {

// Draws glyph `number` (1101..1166) on a 24 x 24 grid in the painter's current
// coordinates; `disabled` draws it in muted greys. False for other numbers.
bool PaintProgramGlyph(QPainter& painter, int number, bool disabled);

} // namespace kelbrin
