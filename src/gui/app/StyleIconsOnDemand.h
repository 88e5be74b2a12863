#pragma once
// The style's own pictures (the menu bar's overflow arrow and the like) are
// read from image files; reading one loads every image format the system has.
// Handing them out as icons that read their file when first painted keeps
// that off the program's start.

namespace kelbrin {

// Puts a style over the application's own that defers the style's icons.
void DeferStyleIcons();

} // namespace kelbrin
