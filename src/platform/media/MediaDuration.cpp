#include "MediaDuration.h"

#include "MediaModule.h"

namespace kelbrin {

namespace {
std::unique_ptr<MediaDurationReader>& readerSlot() {
    static std::unique_ptr<MediaDurationReader> reader;
    return reader;
}
} // namespace

MediaDurationReader& MediaDurations() {
    auto& slot = readerSlot();
    if (!slot)
        slot = MediaModule().createDurationReader();
    return *slot;
}

std::unique_ptr<MediaDurationReader>
SetMediaDurationReader(std::unique_ptr<MediaDurationReader> reader) {
    auto previous = std::move(readerSlot());
    readerSlot() = std::move(reader);
    return previous;
}

} // namespace kelbrin
