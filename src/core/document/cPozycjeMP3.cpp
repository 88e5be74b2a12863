#include "cPozycjeMP3.h"

#include "CollectionRange.h"

namespace kelbrin {

void cPozycjeMP3::Add(std::shared_ptr<cPozycjaMP3> track) {
    m_items.append(std::move(track));
}

std::int32_t cPozycjeMP3::Count() const {
    return static_cast<std::int32_t>(m_items.size());
}

std::shared_ptr<cPozycjaMP3> cPozycjeMP3::Item(std::int32_t position) const {
    return CollectionItem(m_items, position);
}

void cPozycjeMP3::Remove(std::int32_t position) {
    CollectionRemove(m_items, position);
}

} // namespace kelbrin
