#pragma once
// The encoder server's client answers through the event loop: these wait,
// running it, until the answer a test needs is in.

#include "core/recording/RecorderClient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <memory>
#include <optional>

namespace kelbrin::test {

// The start's answer.
inline bool Opened(RecorderClient& client, const QString& formatFile, const QString& bufferFile) {
    const auto opened = std::make_shared<std::optional<bool>>();
    client.INIT(formatFile, bufferFile, [opened](bool ok) { *opened = ok; });
    QDeadlineTimer deadline(30000);
    while (!*opened && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return opened->value_or(false);
}

// A state query, asked until its answer is in.
inline int Answered(RecorderClient& client, int (RecorderClient::*query)(bool*)) {
    bool ok = false;
    int value = (client.*query)(&ok);
    QDeadlineTimer deadline(5000);
    while (!ok && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        value = (client.*query)(&ok);
    }
    return value;
}

} // namespace kelbrin::test
