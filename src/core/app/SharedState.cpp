#include "SharedState.h"

#include "core/document/cPozycjePlikow.h"
#include "core/recording/RecorderClient.h"

namespace kelbrin {

namespace {
SharedState& instance() {
    static SharedState state;
    return state;
}
} // namespace

SharedState& Shared() { return instance(); }

void ResetSharedState() { instance() = SharedState(); }

} // namespace kelbrin
