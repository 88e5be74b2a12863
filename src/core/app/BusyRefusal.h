#pragma once
// A command that would start a long operation, or change the project or its
// files, while another long operation holds the program is refused with a
// reason: the user never clicks and sees nothing happen.

namespace kelbrin {

// `ready` as given; when false, says first that another operation runs (7180).
bool ReadyOrSayBusy(bool ready);

} // namespace kelbrin
