#include "cPozycjeMP3.h"

#include "CollectionRange.h"

namespace kelbrin {

void cPozycjeMP3::Add(std::shared_ptr<cPozycjaMP3> track) {
    const std::int32_t number = track ? track->lngNrPozycji : 0;
    m_items.append(std::move(track));
    // An earlier track with the same number keeps being the one found.
    if (number > 0 && !m_positions.contains(number))
        m_positions.insert(number, static_cast<std::int32_t>(m_items.size()));
}

std::int32_t cPozycjeMP3::Count() const {
    return static_cast<std::int32_t>(m_items.size());
}

const std::shared_ptr<cPozycjaMP3>& cPozycjeMP3::Item(std::int32_t position) const {
    return CollectionItemRef(m_items, position);
}

void cPozycjeMP3::Remove(std::int32_t position) {
    CollectionRemove(m_items, position);
    if (position > m_items.size() + 1)
        return; // nothing was removed
    for (auto it = m_positions.begin(); it != m_positions.end();) {
        if (it.value() == position) {
            // A later track with the same number is found by the next lookup.
            it = m_positions.erase(it);
            continue;
        }
        if (it.value() > position)
            it.value() -= 1;
        ++it;
    }
}

std::int32_t cPozycjeMP3::PositionOf(std::int32_t number) const {
    if (number <= 0)
        return 0;
    const auto it = m_positions.constFind(number);
    if (it != m_positions.cend()) {
        const std::int32_t position = it.value();
        if (position >= 1 && position <= m_items.size() && m_items[position - 1] &&
            m_items[position - 1]->lngNrPozycji == number)
            return position;
    }
    // Unknown or out of date: a number was changed on a track in place.
    reindex();
    return m_positions.value(number, 0);
}

void cPozycjeMP3::reindex() const {
    m_positions.clear();
    m_positions.reserve(m_items.size());
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        const std::int32_t number = m_items[i] ? m_items[i]->lngNrPozycji : 0;
        if (number > 0 && !m_positions.contains(number))
            m_positions.insert(number, static_cast<std::int32_t>(i + 1));
    }
}

} // namespace kelbrin
