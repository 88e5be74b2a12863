#pragma once
// The length of a media file that the media framework can play (wav, wma, ...),
// for files the editor takes as they are instead of scanning their frames.

#include <QString>
#include <memory>
#include <optional>

namespace kelbrin {

class MediaDurationReader {
public:
    virtual ~MediaDurationReader() = default;
    // Seconds, or nothing when the framework cannot render the file.
    virtual std::optional<double> durationSeconds(const QString& path) = 0;
};

// The reader in force: GStreamer's discoverer unless a test installed another.
MediaDurationReader& MediaDurations();
std::unique_ptr<MediaDurationReader>
SetMediaDurationReader(std::unique_ptr<MediaDurationReader> reader);

} // namespace kelbrin
