#pragma once
// The live link to the encoder server. The server is reached when something
// first needs it (the recorder window, a scheduled recording), not while the
// editor starts: reaching it starts the server process over the session bus,
// and most runs never record.

#include <functional>
#include <memory>

namespace kelbrin {

class RecorderClient;

struct ServerLink {
    // Empty when the encoder server is unavailable or not reached yet.
    // Callers that only ask whether a recording runs read it directly: a
    // server never reached records nothing.
    std::shared_ptr<RecorderClient> Recorder;

    // How the server is reached; start-up installs it. One attempt per run:
    // a server that could not be reached stays unavailable until the next start.
    std::function<std::shared_ptr<RecorderClient>()> connect;

    // Recorder, reached on the first call.
    const std::shared_ptr<RecorderClient>& link() {
        if (!Recorder && connect) {
            // Taken out first: the attempt is made once even if it throws.
            const auto once = std::move(connect);
            connect = nullptr;
            Recorder = once();
        }
        return Recorder;
    }
};

} // namespace kelbrin
