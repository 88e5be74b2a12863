#include "LameLibrary.h"

#include "LameModule.h"
#include "platform/ModuleLoader.h"

namespace kelbrin {

namespace {
std::unique_ptr<LameLibrary>& current() {
    static std::unique_ptr<LameLibrary> library;
    return library;
}

// The encoder that could not be reached: a module that is not there is not
// loaded, as a missing library would be; one that is there but does not load
// says why.
class UnloadedLame final : public LameLibrary {
public:
    explicit UnloadedLame(LameLibraryState state) : m_state(std::move(state)) {}
    LameLibraryState state() override { return m_state; }
    BE_ERR beInitStream(const BE_CONFIG&, std::uint32_t*, std::uint32_t*, HBE_STREAM*) override {
        return BE_ERR_INVALID_FORMAT;
    }
    BE_ERR beEncodeChunk(HBE_STREAM, std::uint32_t, const std::int16_t*, unsigned char*, std::uint32_t*) override {
        return BE_ERR_INVALID_HANDLE;
    }
    BE_ERR beDeinitStream(HBE_STREAM, unsigned char*, std::uint32_t*) override { return BE_ERR_INVALID_HANDLE; }
    BE_ERR beCloseStream(HBE_STREAM) override { return BE_ERR_INVALID_HANDLE; }
    void beVersion(BE_VERSION* version) override { *version = BE_VERSION{}; }
    BE_ERR beWriteVBRHeader(const QString&) override { return BE_ERR_INVALID_HANDLE; }

private:
    LameLibraryState m_state;
};

std::unique_ptr<LameLibrary> LoadLameModule() {
    const ModuleFunction found = ResolveModuleFunction(kLameModuleName, kCreateLameLibrarySymbol);
    if (found.function)
        return std::unique_ptr<LameLibrary>(reinterpret_cast<CreateLameLibraryFunction>(found.function)());
    LameLibraryState state;
    state.loaded = false;
    state.errorInLoading = !found.failure.isEmpty();
    state.description = found.failure;
    return std::make_unique<UnloadedLame>(state);
}
} // namespace

LameLibrary& Lame() {
    if (!current())
        current() = LoadLameModule();
    return *current();
}

std::unique_ptr<LameLibrary> SetLameLibrary(std::unique_ptr<LameLibrary> library) {
    std::unique_ptr<LameLibrary> previous = std::move(current());
    current() = std::move(library);
    return previous;
}

} // namespace kelbrin
