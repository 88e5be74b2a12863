#include "cPozycjePlikow.h"

#include "CollectionRange.h"

namespace kelbrin {

void cPozycjePlikow::Add(std::shared_ptr<cPozycjaPlikow> file) {
    m_items.append(std::move(file));
}

std::int32_t cPozycjePlikow::Count() const {
    return static_cast<std::int32_t>(m_items.size());
}

std::shared_ptr<cPozycjaPlikow> cPozycjePlikow::Item(std::int32_t position) const {
    return CollectionItem(m_items, position);
}

void cPozycjePlikow::Remove(std::int32_t position) {
    CollectionRemove(m_items, position);
}

} // namespace kelbrin
