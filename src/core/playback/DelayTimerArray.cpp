#include "DelayTimerArray.h"

#include "platform/media/Clock.h"

#include <algorithm>

namespace kelbrin {

void DelayTimerArray::Load(std::int32_t index) {
    if (!m_elements.contains(index))
        m_elements.insert(index, Element{});
}

void DelayTimerArray::Unload(std::int32_t index) {
    auto it = m_elements.find(index);
    if (it == m_elements.end())
        return;
    cancel(*it);
    m_elements.erase(it);
}

void DelayTimerArray::UnloadAll() {
    for (Element& e : m_elements)
        cancel(e);
    m_elements.clear();
}

void DelayTimerArray::cancel(Element& e) {
    if (e.call)
        m_clock.cancel(e.call);
    e.call = 0;
}

void DelayTimerArray::schedule(std::int32_t index) {
    Element& e = m_elements[index];
    cancel(e);
    // A timer with no interval does not tick.
    if (!e.enabled || e.interval <= 0)
        return;
    e.call = m_clock.callAfter(e.interval, [this, index] {
        auto it = m_elements.find(index);
        if (it == m_elements.end())
            return;
        it->call = 0;
        Timer_Timer(index);
        schedule(index);
    });
}

void DelayTimerArray::SetEnabled(std::int32_t index, bool enabled) {
    auto it = m_elements.find(index);
    if (it == m_elements.end())
        return;
    if (it->enabled == enabled)
        return;
    it->enabled = enabled;
    schedule(index);
}

bool DelayTimerArray::Enabled(std::int32_t index) const {
    auto it = m_elements.constFind(index);
    return it != m_elements.cend() && it->enabled;
}

bool DelayTimerArray::AnyEnabled() const {
    return std::any_of(m_elements.cbegin(), m_elements.cend(), [](const Element& e) { return e.enabled; });
}

void DelayTimerArray::SetInterval(std::int32_t index, std::int64_t ms) {
    auto it = m_elements.find(index);
    if (it == m_elements.end())
        return;
    it->interval = std::max<std::int64_t>(0, ms);
    schedule(index); // a new interval starts afresh
}

std::int64_t DelayTimerArray::Interval(std::int32_t index) const {
    return m_elements.value(index).interval;
}

void DelayTimerArray::SetTag(std::int32_t index, const QString& tag) {
    auto it = m_elements.find(index);
    if (it != m_elements.end())
        it->tag = tag;
}

QString DelayTimerArray::Tag(std::int32_t index) const { return m_elements.value(index).tag; }

void DelayTimerArray::Timer_Timer(std::int32_t index) {
    auto it = m_elements.find(index);
    if (it != m_elements.end())
        it->tag = QStringLiteral("0");
}

} // namespace kelbrin
