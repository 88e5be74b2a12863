#include "LameLibrary.h"

#include "Mp3LameLibrary.h"

namespace kelbrin {

namespace {
std::unique_ptr<LameLibrary>& current() {
    static std::unique_ptr<LameLibrary> library;
    return library;
}
} // namespace

LameLibrary& Lame() {
    if (!current())
        current() = std::make_unique<Mp3LameLibrary>();
    return *current();
}

std::unique_ptr<LameLibrary> SetLameLibrary(std::unique_ptr<LameLibrary> library) {
    std::unique_ptr<LameLibrary> previous = std::move(current());
    current() = std::move(library);
    return previous;
}

} // namespace kelbrin
