#pragma once
#include "MediaDuration.h"

namespace kelbrin {

// Asks GStreamer's discoverer for the file's duration (synchronously, with a
// time limit so a file that never prerolls cannot hang the caller).
class GstMediaDurationReader final : public MediaDurationReader {
public:
    std::optional<double> durationSeconds(const QString& path) override;
};

} // namespace kelbrin
