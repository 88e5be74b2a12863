#pragma once
// GStreamer set up once per process, the same way for every user of it.

namespace kelbrin {

// Initialises GStreamer on first use and pins the MP3 (and MP2) decoder:
// mpg123audiodec gets a rank above every other decoder, so which decoder
// plays a file never depends on what else is installed. False when
// GStreamer cannot start.
bool EnsureGstreamer();

} // namespace kelbrin
