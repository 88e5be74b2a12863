#include "DelayTimers.h"

#include <QTimer>

namespace kelbrin {

void DelayTimers::Arm(int index, int intervalMs, const QString& tag) {
    QTimer*& timer = m_timers[index];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, index] { Timer_Timer(index); });
    }
    m_tags[index] = tag;
    timer->start(std::max(1, intervalMs));
}

void DelayTimers::Stop(int index) {
    if (QTimer* t = m_timers.value(index))
        t->stop();
}

QString DelayTimers::Tag(int index) const { return m_tags.value(index); }

bool DelayTimers::IsActive(int index) const {
    const QTimer* t = m_timers.value(index);
    return t && t->isActive();
}

void DelayTimers::Timer_Timer(int index) { m_tags[index] = QStringLiteral("0"); }

} // namespace kelbrin
