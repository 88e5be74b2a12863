#include "CodecLibrary.h"

#include "CodecModule.h"

#include "platform/ModuleLoader.h"

namespace kelbrin {

namespace {
std::unique_ptr<CodecLibrary>& current() {
    static std::unique_ptr<CodecLibrary> library;
    return library;
}

// Without the codec module the recorder offers no codec, and every
// conversion is refused; nothing else changes.
class NoCodecs final : public CodecLibrary {
public:
    QList<CodecFormatTag> formatTags() override { return {}; }
    QList<CodecFormat> formats(std::uint16_t) override { return {}; }
    std::unique_ptr<CodecStream> openStream(const WaveFormatEx&, const WaveFormatEx&, int* error) override {
        if (error)
            *error = codec::kNotPossible;
        return nullptr;
    }
};
} // namespace

std::unique_ptr<CodecLibrary> LoadCodecModule() {
    const auto create = reinterpret_cast<CreateCodecLibraryFunction>(
        ResolveModuleFunction(kCodecModuleName, kCreateCodecLibrarySymbol).function);
    return create ? std::unique_ptr<CodecLibrary>(create()) : nullptr;
}

QString CodecErrorText(int code) {
    switch (code) {
    case codec::kOk:
        return QStringLiteral("The command completed successfully.");
    case codec::kInvalidParam:
        return QStringLiteral("An invalid parameter was passed to a system function.");
    case codec::kNotPossible:
        return QStringLiteral("The requested conversion is not possible.");
    case codec::kBusy:
        return QStringLiteral("The stream is in use.");
    case codec::kUnprepared:
        return QStringLiteral("The stream has ended and takes no more data.");
    case codec::kCanceled:
        return QStringLiteral("The operation was cancelled.");
    default:
        return QStringLiteral("Unspecified error.");
    }
}

std::uint32_t CodecLibrary::formatSize(std::uint16_t tag) {
    for (const CodecFormatTag& t : formatTags())
        if (t.tag == tag)
            return t.formatSize;
    return 0;
}

QString CodecLibrary::tagName(std::uint16_t tag) {
    for (const CodecFormatTag& t : formatTags())
        if (t.tag == tag)
            return t.name;
    return QString::number(tag);
}

CodecLibrary& Codecs() {
    if (!current()) {
        current() = LoadCodecModule();
        if (!current())
            current() = std::make_unique<NoCodecs>();
    }
    return *current();
}

std::unique_ptr<CodecLibrary> SetCodecLibrary(std::unique_ptr<CodecLibrary> library) {
    std::unique_ptr<CodecLibrary> previous = std::move(current());
    current() = std::move(library);
    return previous;
}

} // namespace kelbrin
