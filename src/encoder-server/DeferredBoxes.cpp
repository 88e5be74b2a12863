#include "DeferredBoxes.h"

#include "platform/media/Clock.h"

namespace kelbrin {

namespace {

class Collector final : public MessageService {
public:
    explicit Collector(QList<MessageRequest>& boxes) : m_boxes(boxes) {}
    int showMessage(const MessageRequest& request) override {
        m_boxes.append(request);
        return mb::Ok;
    }
    std::optional<QString> inputBox(const InputRequest&) override { return std::nullopt; }

private:
    QList<MessageRequest>& m_boxes;
};

} // namespace

DeferredBoxes::DeferredBoxes(Clock& clock)
    : m_clock(clock), m_service(SetMessageService(std::make_unique<Collector>(m_boxes))) {}

DeferredBoxes::~DeferredBoxes() {
    SetMessageService(std::move(m_service));
    if (m_boxes.isEmpty())
        return;
    m_clock.callAfter(0, [boxes = m_boxes] {
        for (const MessageRequest& box : boxes)
            Messages().showMessage(box);
    });
}

} // namespace kelbrin
