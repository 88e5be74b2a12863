#include "Id3v1Block.h"

#include "platform/text/AnsiCodec.h"

namespace kelbrin {

namespace {
QByteArray field(const QString& text, int width, const AnsiCodec& codec) {
    QByteArray bytes = codec.fromUnicode(text).left(width);
    bytes.append(QByteArray(width - bytes.size(), ' '));
    return bytes;
}
} // namespace

QByteArray Id3v1Block(const Id3v1Fields& fields, const AnsiCodec& codec) {
    QByteArray block("TAG");
    block += field(fields.title, 30, codec);
    block += field(fields.artist, 30, codec);
    block += field(fields.album, 30, codec);
    block += field(fields.year, 4, codec);
    block += field(fields.comment, 30, codec);
    const std::int32_t genre = (fields.genre < 0 || fields.genre > 255) ? 255 : fields.genre;
    block += static_cast<char>(static_cast<std::uint8_t>(genre));
    return block;
}

QByteArray Id3v1Block(const Id3v1Fields& fields) { return Id3v1Block(fields, AnsiCodec()); }

} // namespace kelbrin
