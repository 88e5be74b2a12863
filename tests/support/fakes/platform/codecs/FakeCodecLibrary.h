#pragma once
// Test stand-in for the codec layer: one "codec" per listed tag whose stream
// passes the source bytes through unchanged, with scriptable failures and a
// record of what callers converted.

#include "platform/codecs/CodecLibrary.h"

#include <QList>
#include <algorithm>
#include <memory>

namespace kelbrin {

struct FakeCodecLog {
    QList<WaveFormatEx> openedSources;
    QList<WaveFormatEx> openedDestinations;
    qint64 bytesConverted = 0;
    int converts = 0;
    int ends = 0;
};

class FakeCodecStream final : public CodecStream {
public:
    FakeCodecStream(std::shared_ptr<FakeCodecLog> log, int convertResult, int frameBytes)
        : m_log(std::move(log)), m_result(convertResult), m_frameBytes(std::max(1, frameBytes)) {}
    qint64 destinationSize(qint64 sourceBytes) const override { return sourceBytes; }
    int convert(const QByteArray& source, QByteArray& output, bool end) override {
        output = source;
        m_bytesOut += source.size();
        ++m_log->converts;
        m_log->bytesConverted += source.size();
        if (end)
            ++m_log->ends;
        return m_result;
    }
    qint64 samplesOut() const override { return m_bytesOut / m_frameBytes; }

private:
    std::shared_ptr<FakeCodecLog> m_log;
    int m_result;
    int m_frameBytes;
    qint64 m_bytesOut = 0;
};

class FakeCodecLibrary final : public CodecLibrary {
public:
    QList<CodecFormatTag> tags = {{wave::kPcm, QStringLiteral("PCM"), 16}};
    QList<CodecFormat> offered = {
        {WaveFormatEx::pcm(2, 44100, 16), QStringLiteral("44100 Hz, 16 bit, stereo")},
        {WaveFormatEx::pcm(1, 8000, 8), QStringLiteral("8000 Hz, 8 bit, mono")},
    };
    int openResult = codec::kOk;
    int convertResult = codec::kOk;
    std::shared_ptr<FakeCodecLog> log = std::make_shared<FakeCodecLog>();

    QList<CodecFormatTag> formatTags() override { return tags; }
    QList<CodecFormat> formats(std::uint16_t tag) override {
        QList<CodecFormat> list;
        for (const CodecFormat& f : offered)
            if (f.format.wFormatTag == tag)
                list.append(f);
        return list;
    }
    std::unique_ptr<CodecStream> openStream(const WaveFormatEx& source, const WaveFormatEx& destination,
                                            int* error) override {
        log->openedSources.append(source);
        log->openedDestinations.append(destination);
        if (error)
            *error = openResult;
        if (openResult != codec::kOk)
            return nullptr;
        return std::make_unique<FakeCodecStream>(log, convertResult, source.nBlockAlign);
    }
};

} // namespace kelbrin
