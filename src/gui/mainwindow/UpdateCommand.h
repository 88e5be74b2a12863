#pragma once
// Info > Check for updates of the main window.

namespace kelbrin {

class HttpClient;

// Checks the version text at UpgAdres against this program and tells the
// user; the window waits (busy pointer, no input) until the answer or the
// deadline. `http` replaces the network client (tests); null uses the real one.
void mnuUpdate_Click(HttpClient* http = nullptr);

} // namespace kelbrin
