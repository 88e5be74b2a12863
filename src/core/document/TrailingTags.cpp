#include "TrailingTags.h"

#include <QByteArray>
#include <algorithm>
#include <optional>

namespace kelbrin {

namespace {

constexpr std::int64_t kId3v1Size = 128;
constexpr std::int64_t kApeFooterSize = 32;
constexpr std::uint32_t kApeHasHeader = 0x80000000u;
constexpr std::uint32_t kApeIsHeader = 0x20000000u;
constexpr std::int64_t kLyrics3v2TailSize = 15; // six digits of size, "LYRICS200"
constexpr std::int64_t kLyrics3v1Longest = 5100 + 11 + 9;
// Tags in front of the ID3v1 one: more than any writer puts there.
constexpr int kMostTags = 4;

const QByteArray kLyricsBegin = QByteArrayLiteral("LYRICSBEGIN");

std::uint32_t little32(const QByteArray& bytes, int at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

// The bytes [end - count, end), or nothing when they cannot be read; `failed`
// tells the two apart.
std::optional<QByteArray> before(std::int64_t end, std::int64_t count, const ReadExactly& read,
                                 bool& failed) {
    if (count > end)
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(count), Qt::Uninitialized);
    if (!read(end - count, bytes.data(), count)) {
        failed = true;
        return std::nullopt;
    }
    return bytes;
}

// Where an APE tag ending at `end` starts; `end` when none ends there.
std::int64_t apeStart(std::int64_t end, const ReadExactly& read, bool& failed) {
    const auto footer = before(end, kApeFooterSize, read, failed);
    if (!footer || !footer->startsWith("APETAGEX"))
        return end;
    const std::uint32_t flags = little32(*footer, 20);
    // The size counts the items and the footer, not the header.
    const std::int64_t size = little32(*footer, 12);
    const std::int64_t whole = size + ((flags & kApeHasHeader) ? kApeFooterSize : 0);
    if ((flags & kApeIsHeader) || size < kApeFooterSize || whole > end)
        return end;
    return end - whole;
}

// Where a Lyrics3 block ending at `end` starts; `end` when none ends there.
std::int64_t lyricsStart(std::int64_t end, const ReadExactly& read, bool& failed) {
    const auto tail = before(end, kLyrics3v2TailSize, read, failed);
    if (!tail)
        return end;
    if (tail->endsWith("LYRICS200")) {
        bool digits = false;
        const std::int64_t size = tail->left(6).toLongLong(&digits);
        const std::int64_t start = end - kLyrics3v2TailSize - size;
        if (!digits || size < kLyricsBegin.size() || start < 0)
            return end;
        bool unreadable = false;
        const auto begin =
            before(start + kLyricsBegin.size(), kLyricsBegin.size(), read, unreadable);
        failed = failed || unreadable;
        return begin && *begin == kLyricsBegin ? start : end;
    }
    if (!tail->endsWith("LYRICSEND"))
        return end;
    // The first version has no size: its block starts with the last marker
    // within its longest length.
    const auto block = before(end, std::min(end, kLyrics3v1Longest), read, failed);
    const qsizetype at = block ? block->lastIndexOf(kLyricsBegin) : -1;
    return at >= 0 ? end - block->size() + at : end;
}

} // namespace

std::int64_t AudioEndBeforeTags(std::int64_t size, const ReadExactly& read) {
    bool failed = false;
    std::int64_t end = size;
    if (const auto tag = before(end, kId3v1Size, read, failed); tag && tag->startsWith("TAG"))
        end -= kId3v1Size;
    for (int i = 0; i < kMostTags && !failed; ++i) {
        std::int64_t start = apeStart(end, read, failed);
        if (start == end && !failed)
            start = lyricsStart(end, read, failed);
        if (start == end)
            break;
        end = start;
    }
    return failed ? -1 : end;
}

} // namespace kelbrin
