#pragma once
// While a call the editor waits on runs, its message boxes are collected and
// shown once the call has returned: a box must never hold the editor's call.
// The boxes collected are plain notices, so they are answered OK at once.

#include "core/app/MessageService.h"

#include <QList>
#include <memory>

namespace kelbrin {

class Clock;

class DeferredBoxes {
public:
    // `clock` gives the next turn on which the boxes are shown.
    explicit DeferredBoxes(Clock& clock);
    ~DeferredBoxes(); // puts the service back and shows the boxes on the next turn
    DeferredBoxes(const DeferredBoxes&) = delete;
    DeferredBoxes& operator=(const DeferredBoxes&) = delete;

private:
    Clock& m_clock;
    std::unique_ptr<MessageService> m_service;
    QList<MessageRequest> m_boxes;
};

} // namespace kelbrin
