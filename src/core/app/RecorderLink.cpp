#include "RecorderLink.h"

#include "SharedState.h"

namespace kelbrin {

namespace {
RecorderConnector& pendingConnector() {
    static RecorderConnector connect;
    return connect;
}
} // namespace

void SetRecorderConnector(RecorderConnector connect) { pendingConnector() = std::move(connect); }

const std::shared_ptr<RecorderClient>& LinkRecorder() {
    auto& recorder = Shared().Recorder;
    if (!recorder && pendingConnector()) {
        // Taken out first: the attempt is made once even if it throws.
        const RecorderConnector connect = std::move(pendingConnector());
        pendingConnector() = nullptr;
        recorder = connect();
    }
    return recorder;
}

} // namespace kelbrin
