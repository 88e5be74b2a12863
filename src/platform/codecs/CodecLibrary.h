#pragma once
// The audio codecs the recorder can write into a WAVE file: their format tags,
// the formats each offers, and conversion streams from captured PCM into one of
// those formats.
//
// Usage: openStream(source PCM, chosen format) gives a stream; convert() takes
// any amount of source bytes and returns what the codec produced (a partial
// codec block waits for the next call); convert(..., end = true) finishes the
// stream. destinationSize() bounds the output of a given input, for callers that
// size their buffers once. Failures carry a code and the system's text for it.

#include "WaveFormat.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

namespace kelbrin {

// Result codes of the codec calls (the multimedia system's values).
namespace codec {
constexpr int kOk = 0;
constexpr int kError = 1;           // unspecified error
constexpr int kInvalidParam = 11;
constexpr int kNotPossible = 512;   // this conversion cannot be made
constexpr int kBusy = 513;
constexpr int kUnprepared = 514;
constexpr int kCanceled = 515;      // the user cancelled a chooser
} // namespace codec

// The system's text for a result code.
QString CodecErrorText(int code);

struct CodecFormatTag {
    std::uint16_t tag = 0;
    QString name;               // "PCM", "IMA ADPCM", ...
    std::uint32_t formatSize = 0; // the largest format record of the tag in bytes
};

struct CodecFormat {
    WaveFormatEx format;
    QString description; // rate, bits, channels and data rate, e.g. "44100 Hz, 16 bit, stereo"
};

class CodecStream {
public:
    virtual ~CodecStream() = default;
    // The most bytes converting `sourceBytes` bytes (with what is held back) can give.
    virtual qint64 destinationSize(qint64 sourceBytes) const = 0;
    // Converts source bytes; with `end` it also flushes the codec, after which
    // the stream takes nothing more. Returns a result code.
    virtual int convert(const QByteArray& source, QByteArray& output, bool end = false) = 0;
    // The source sample frames that the output given so far holds: what the
    // codec still keeps back is not counted, nor the silence that fills up
    // the last codec block.
    virtual qint64 samplesOut() const = 0;
};

class CodecLibrary {
public:
    virtual ~CodecLibrary() = default;
    virtual QList<CodecFormatTag> formatTags() = 0;
    // The formats a tag can encode, in a stable order; none for an unknown tag.
    virtual QList<CodecFormat> formats(std::uint16_t tag) = 0;
    // Opens a conversion from PCM `source` to `destination`; the two must share
    // rate and channels. On failure returns nothing and sets `error` to a code.
    virtual std::unique_ptr<CodecStream> openStream(const WaveFormatEx& source,
                                                    const WaveFormatEx& destination, int* error) = 0;

    // The largest format size of a tag (the "fmt " chunk size of a WAVE file);
    // 0 for a tag the library does not know.
    std::uint32_t formatSize(std::uint16_t tag);
    // The tag's name, or the tag number when the library does not know it.
    QString tagName(std::uint16_t tag);
};

// The codecs in force: libavcodec's, from the codec module loaded at the
// first call (none when it is missing), unless a test installed another.
CodecLibrary& Codecs();
std::unique_ptr<CodecLibrary> SetCodecLibrary(std::unique_ptr<CodecLibrary> library);

} // namespace kelbrin
