#pragma once
// The live link to the encoder server.

#include <memory>

namespace kelbrin {

class RecorderClient;

struct ServerLink {
    std::shared_ptr<RecorderClient> Recorder; // empty when the encoder server is unavailable
};

} // namespace kelbrin
