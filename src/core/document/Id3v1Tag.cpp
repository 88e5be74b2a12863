#include "Id3v1Tag.h"

#include "InPlaceFile.h"
#include "platform/text/AnsiCodec.h"

#include <QFile>
#include <QFileInfo>

namespace kelbrin {

namespace {

QString text(const QByteArray& block, int offset, int width, const AnsiCodec& codec) {
    QByteArray bytes = block.mid(offset, width);
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    while (!bytes.isEmpty() && bytes.endsWith(' '))
        bytes.chop(1);
    return codec.toUnicode(bytes);
}

QByteArray field(const QString& value, int width, const AnsiCodec& codec) {
    // Cut by characters first: a single-byte code page gives one byte each.
    QByteArray bytes = codec.fromUnicode(value.left(width)).left(width);
    bytes.replace('\0', ' ');
    bytes.append(QByteArray(width - bytes.size(), ' '));
    return bytes;
}

} // namespace

std::optional<Id3v1Tag> ParseId3v1(const QByteArray& block, const AnsiCodec& codec) {
    if (block.size() != kId3v1Size || !block.startsWith("TAG"))
        return std::nullopt;
    Id3v1Tag tag;
    tag.title = text(block, 3, 30, codec);
    tag.artist = text(block, 33, 30, codec);
    tag.album = text(block, 63, 30, codec);
    tag.year = text(block, 93, 4, codec);
    const auto byte = [&](int i) { return static_cast<std::uint8_t>(block.at(i)); };
    if (byte(125) == 0) {
        tag.track = byte(126);
        tag.v11 = tag.track > 0;
        tag.comment = text(block, 97, 28, codec);
    } else {
        // The whole 30 bytes: trimming the 28-byte part on its own would drop
        // blanks inside the comment.
        tag.comment = text(block, 97, 30, codec);
    }
    tag.genre = byte(127);
    return tag;
}

std::optional<QByteArray> BuildId3v1(const Id3v1Tag& tag, const AnsiCodec& codec) {
    if (tag.v11 && (tag.track < 0 || tag.track > 255))
        return std::nullopt;
    QByteArray block("TAG");
    block += field(tag.title, 30, codec);
    block += field(tag.artist, 30, codec);
    block += field(tag.album, 30, codec);
    block += field(tag.year, 4, codec);
    if (tag.v11) {
        block += field(tag.comment, 28, codec);
        block += '\0';
        block += static_cast<char>(static_cast<std::uint8_t>(tag.track));
    } else {
        block += field(tag.comment, 30, codec);
    }
    block += static_cast<char>(tag.genre);
    return block;
}

Id3v1ReadResult ReadId3v1(const QString& path, const AnsiCodec& codec) {
    Id3v1ReadResult result;
    result.fileFound = !path.isEmpty() && QFileInfo(path).isFile();
    if (!result.fileFound)
        return result;
    InPlaceFile file(path, InPlaceFile::Mode::Read);
    if (file.isOpen() && file.size() >= kId3v1Size)
        result.tag = ParseId3v1(file.readAt(file.size() - kId3v1Size, kId3v1Size), codec);
    return result;
}

Id3v1WriteResult WriteId3v1(const QString& path, const Id3v1Tag& tag, const AnsiCodec& codec) {
    Id3v1WriteResult result;
    const std::optional<QByteArray> block = BuildId3v1(tag, codec);
    if (!block) {
        result.status = Id3v1WriteStatus::BadTrack;
        return result;
    }
    InPlaceFile file(path, InPlaceFile::Mode::ReadWrite);
    if (!file.isOpen()) {
        result.status = file.missing() ? Id3v1WriteStatus::Missing : Id3v1WriteStatus::CannotOpen;
        result.error = file.error();
        return result;
    }
    const std::int64_t size = file.size();
    bool inPlace = false;
    if (size >= kId3v1Size) {
        const QByteArray marker = file.readAt(size - kId3v1Size, 3);
        if (marker.isEmpty()) {
            result.status = Id3v1WriteStatus::WriteFailed;
            result.error = file.error();
            return result;
        }
        inPlace = marker == "TAG";
    }
    const std::int64_t at = inPlace ? size - kId3v1Size : size;
    if (!file.writeAt(at, *block) || !file.close()) {
        result.status = Id3v1WriteStatus::WriteFailed;
        result.error = file.error();
        // A full disk or a size limit may have taken part of an appended
        // block: cut short, it would stay behind the audio as junk that no
        // longer reads as a tag, and the next save would append after it.
        // Only what this save may have added is cut.
        if (!inPlace) {
            file.close();
            const std::int64_t now = QFileInfo(path).size();
            if (now > size && now <= size + kId3v1Size)
                QFile::resize(path, size);
        }
        return result;
    }
    result.status = inPlace ? Id3v1WriteStatus::Written : Id3v1WriteStatus::Appended;
    return result;
}

} // namespace kelbrin
