#pragma once
#include "platform/media/MediaDuration.h"

#include <QMap>
#include <QStringList>

namespace kelbrin {

// Test stand-in: answers from a table of paths, nothing for unknown files.
class FakeMediaDurationReader final : public MediaDurationReader {
public:
    std::optional<double> durationSeconds(const QString& path) override {
        asked.append(path);
        if (durations.contains(path))
            return durations.value(path);
        return std::nullopt;
    }

    QMap<QString, double> durations;
    QStringList asked;
};

} // namespace kelbrin
