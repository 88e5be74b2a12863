#include "ProgramObjects.h"

#include "core/document/cPozycjePlikow.h"
#include "core/recording/RecorderClient.h"

#include <cstdio>
#include <cstdlib>

namespace kelbrin {

namespace {
ProgramObjects* g_installed = nullptr;
} // namespace

ProgramObjectSet::ProgramObjectSet() : m_previous(g_installed) { g_installed = &objects; }

ProgramObjectSet::~ProgramObjectSet() {
    if (g_installed == &objects)
        g_installed = m_previous;
}

ProgramObjects& Program() {
    if (!g_installed) {
        std::fputs("kelbrin: the program's objects were reached before they were built\n", stderr);
        std::abort();
    }
    return *g_installed;
}

} // namespace kelbrin
