#pragma once
// The encoder server is reached when something first needs it (the recorder
// window, a scheduled recording), not while the editor starts: reaching it
// starts the server process over the session bus, and most runs never record.

#include <functional>
#include <memory>

namespace kelbrin {

class RecorderClient;

// How the server is reached; start-up installs it. One attempt per run: a
// server that could not be reached stays unavailable until the next start.
using RecorderConnector = std::function<std::shared_ptr<RecorderClient>()>;
void SetRecorderConnector(RecorderConnector connect);

// Shared().Recorder, reached on the first call; empty when the server is
// unavailable. Callers that only ask whether a recording runs read
// Shared().Recorder instead: a server never reached records nothing.
const std::shared_ptr<RecorderClient>& LinkRecorder();

} // namespace kelbrin
