#include "Id3v1Block.h"

#include "core/document/Id3v1Tag.h"
#include "platform/text/AnsiCodec.h"

namespace kelbrin {

QByteArray Id3v1Block(const Id3v1Fields& fields, const AnsiCodec& codec) {
    // The block of the tag editor in its ID3v1 form, with a 30-byte comment.
    Id3v1Tag tag;
    tag.title = fields.title;
    tag.artist = fields.artist;
    tag.album = fields.album;
    tag.year = fields.year;
    tag.comment = fields.comment;
    tag.genre =
        static_cast<std::uint8_t>((fields.genre < 0 || fields.genre > 255) ? 255 : fields.genre);
    return *BuildId3v1(tag, codec);
}

QByteArray Id3v1Block(const Id3v1Fields& fields) {
    return Id3v1Block(fields, AnsiCodec());
}

} // namespace kelbrin
