#pragma once
// A box that keeps the focus while its text is not acceptable: whatever takes
// the focus away (Tab, a click elsewhere), it comes back to the box, every
// time and not only after the first edit.

#include <functional>

class QLineEdit;

namespace kelbrin {

// `acceptable` is asked each time the focus leaves the box.
void HoldFocusUntil(QLineEdit* box, std::function<bool()> acceptable);

} // namespace kelbrin
