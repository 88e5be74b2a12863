#include "HiddenText.h"

#include "FrameWriteLoop.h"
#include "HeaderRewrite.h"
#include "cPozycjaPlikow.h"
#include "platform/text/AnsiCodec.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kelbrin {

std::optional<QByteArray> EncodeHiddenText(const QString& text, const AnsiCodec& codec,
                                           QString* refused) {
    QString bad;
    QByteArray codes;
    for (const QChar c : text) {
        const QByteArray one = codec.fromUnicode(QString(c));
        bool lossless = true;
        codec.fromUnicode(QString(c), &lossless);
        if (!lossless || one.size() != 1 || one.at(0) == '\0') {
            if (!bad.contains(c))
                bad += c;
            continue;
        }
        codes += one;
    }
    if (refused)
        *refused = bad;
    if (!bad.isEmpty())
        return std::nullopt;
    return codes;
}

std::int64_t HiddenTextCapacity(std::int32_t frames) {
    return std::clamp(frames, 0, kHiddenTextReadFrames) / 8;
}

bool HiddenTextBit(const QByteArray& codes, std::int64_t frame) {
    const std::int64_t character = (frame - 1) / 8;
    if (frame < 1 || character >= codes.size())
        return false;
    const int bit = static_cast<int>((frame - 1) % 8);
    return (static_cast<std::uint8_t>(codes.at(static_cast<int>(character))) >> bit) & 1;
}

QByteArray ReadHiddenCodes(const cPozycjaPlikow& file, const std::function<bool()>& yield) {
    QByteArray codes;
    const std::int32_t frames = std::min(file.Daj_Naglowek_Ilosc(), kHiddenTextReadFrames);
    std::uint8_t character = 0;
    int bit = 0;
    for (std::int32_t k = 1; k <= frames; ++k) {
        if (k % 100 == 0 && yield && !yield())
            break;
        if (file.Daj_Naglowek_Header3(k) & 0x01)
            character = static_cast<std::uint8_t>(character | (1 << bit));
        if (++bit == 8) {
            if (character == 0)
                break;
            codes += static_cast<char>(character);
            character = 0;
            bit = 0;
        }
    }
    return codes;
}

SourceWriteResult WriteHiddenCodes(cPozycjaPlikow& file, const QByteArray& codes,
                                   SourceWriteHost& host) {
    std::vector<std::pair<std::int32_t, std::uint8_t>> learnt; // frame, byte 3 before
    SourceWriteResult result = WriteFramesInPlace(
        file, host,
        [&file, &codes, &learnt](InPlaceFile& out, std::int32_t k) {
            std::uint8_t byte3 = 0;
            const HeaderWriteStatus status = SetPrivateBit(
                out, file.Daj_Naglowek_Offset(k) - 1, HiddenTextBit(codes, k), &byte3);
            if (status == HeaderWriteStatus::Written || status == HeaderWriteStatus::Unchanged) {
                // Only the private bit: other bits of the stored byte may hold
                // header edits that are not written yet.
                const std::uint8_t stored = file.Daj_Naglowek_Header3(k);
                learnt.emplace_back(k, stored);
                file.Naglowek_Przypisz(3, k, (stored & 0xFE) | (byte3 & 0x01));
            }
            return status;
        });
    // The file got its old headers back: so does the index.
    if (result.putBack)
        for (auto frame = learnt.rbegin(); frame != learnt.rend(); ++frame)
            file.Naglowek_Przypisz(3, frame->first, frame->second);
    return result;
}

} // namespace kelbrin
