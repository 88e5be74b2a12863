#include "SaveSources.h"

#include "core/document/cPozycjaPlikow.h"

namespace kelbrin {

SaveSources::Opened::Opened(const cPozycjaPlikow& file, bool useIndex)
    : source(file.strFileName), frames(file, source, useIndex) {}

SaveSources::Opened* SaveSources::open(const cPozycjaPlikow& file, bool useIndex) {
    auto it = m_opened.find(&file);
    if (it == m_opened.end())
        it = m_opened.emplace(&file, std::make_unique<Opened>(file, useIndex)).first;
    Opened* opened = it->second.get();
    return opened->source.isOpen() && opened->frames.valid() ? opened : nullptr;
}

void SaveSources::forget(const cPozycjaPlikow& file) { m_opened.erase(&file); }

} // namespace kelbrin
