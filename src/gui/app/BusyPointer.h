#pragma once
// The busy (wait) pointer over the whole program while long work runs.
// Calls nest: every `true` must be matched by one `false`.

namespace kelbrin {

void ShowBusyPointer(bool busy);

} // namespace kelbrin
