#include "FontConfigWarmUp.h"

#include <dlfcn.h>

namespace kelbrin {

FontConfigWarmUp::FontConfigWarmUp() {
    // The window library links the font library already: this only finds it
    // in the process, and a system without it starts as before.
    void* library = dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return;
    using Init = int (*)();
    const auto init = reinterpret_cast<Init>(dlsym(library, "FcInit"));
    if (init)
        m_reader = std::thread([init, library] {
            init();
            dlclose(library);
        });
    else
        dlclose(library);
}

FontConfigWarmUp::~FontConfigWarmUp() {
    if (m_reader.joinable())
        m_reader.join();
}

} // namespace kelbrin
