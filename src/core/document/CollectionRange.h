#pragma once
// The 1-based item and remove rules shared by the track and open-file
// collections: an item at 0 or less is nothing, past the end a failure; a
// removal past the end does nothing, at 0 or less a failure.

#include <QList>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace kelbrin {

template <typename T>
std::shared_ptr<T> CollectionItem(const QList<std::shared_ptr<T>>& items, std::int32_t position) {
    if (position <= 0)
        return nullptr;
    if (position > items.size())
        throw std::out_of_range("Subscript out of range");
    return items[position - 1];
}

// The same rule without a copy of the pointer: position 0 or less gives an
// empty pointer that lives as long as the program.
template <typename T>
const std::shared_ptr<T>& CollectionItemRef(const QList<std::shared_ptr<T>>& items,
                                            std::int32_t position) {
    static const std::shared_ptr<T> nothing;
    if (position <= 0)
        return nothing;
    if (position > items.size())
        throw std::out_of_range("Subscript out of range");
    return items[position - 1];
}

template <typename T>
void CollectionRemove(QList<std::shared_ptr<T>>& items, std::int32_t position) {
    if (position <= 0)
        throw std::out_of_range("Subscript out of range");
    if (position > items.size())
        return;
    items.removeAt(position - 1);
}

} // namespace kelbrin
