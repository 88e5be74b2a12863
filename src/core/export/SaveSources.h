#pragma once
// The sources an export run reads, each opened once for the whole run: one
// reader and one frame locator per source file, however many pieces come
// from it. A piece after the first pays for no tag check, tail read or
// first-frame search again.

#include "SaveCopy.h"
#include "SaveFrameLocator.h"

#include <map>
#include <memory>

namespace kelbrin {

class cPozycjaPlikow;

class SaveSources {
public:
    struct Opened {
        Opened(const cPozycjaPlikow& file, bool useIndex);
        SaveSource source;
        SaveFrameLocator frames;
    };

    // The source of this open file, opened on first use; nothing when it
    // cannot be opened or holds no frame (the caller reports the failure).
    // `useIndex` is read on first use only: a run uses the index for every
    // piece or for none.
    Opened* open(const cPozycjaPlikow& file, bool useIndex);
    // Closes what was opened for this file: the file changed and is read anew.
    void forget(const cPozycjaPlikow& file);

private:
    std::map<const cPozycjaPlikow*, std::unique_ptr<Opened>> m_opened;
};

} // namespace kelbrin
