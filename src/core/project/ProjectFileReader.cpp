#include "ProjectFileReader.h"

#include "ByteFields.h"
#include "core/app/FileBytes.h"
#include "core/document/cPozycjaMP3.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

namespace kelbrin {

namespace {

using namespace project_format;

// Numbers above this are given a new number too, so that renumbering and the
// next-number counters can never overflow.
constexpr std::int64_t kMaxTrackNumber = std::numeric_limits<std::int32_t>::max() - (1 << 28);

// Box positions (twips on the drawing surface) and range times are brought
// back within this bound: no window is a thousandth as wide, no source that
// long. Only a damaged field lies beyond it, and the sums the editor and the
// fade editor make of positions, sizes, minutes and seconds stay in range.
constexpr std::int32_t kFarthest = 1 << 24;
// The fade editor's markers are points on its own scale.
constexpr std::int32_t kMarkerScale = 32767;
// The track panel sets rates up to twice the speed; a rate that is no number,
// or beyond a hundredfold, is damaged.
constexpr float kFastestRate = 100.0f;

void bound(std::int32_t& value) {
    value = std::clamp(value, -kFarthest, kFarthest);
}

void keepFieldsWithinReach(ProjectContents& c) {
    bound(c.header.templateLeft);
    bound(c.header.templateTop);
    for (StoredTrack& stored : c.tracks) {
        cPozycjaMP3& t = *stored.track;
        for (std::int32_t* field : {&t.lngLeft, &t.lngTop, &t.lngPoczatek_M, &t.lngPoczatek_S,
                                    &t.lngPoczatek_SS, &t.lngKoniec_M, &t.lngKoniec_S,
                                    &t.lngKoniec_SS})
            bound(*field);
        t.lngMarkerFrom = std::clamp(t.lngMarkerFrom, 0, kMarkerScale);
        t.lngMarkerTo = std::clamp(t.lngMarkerTo, 0, kMarkerScale);
        t.sngRate = std::isfinite(t.sngRate) ? std::clamp(t.sngRate, -kFastestRate, kFastestRate)
                                             : 1.0f;
    }
}

ProjectReadResult damaged() {
    ProjectReadResult r;
    r.status = ProjectReadStatus::Damaged;
    return r;
}

bool countFits(std::int32_t count, qint64 minimumRecord, qint64 bytesLeft) {
    return count >= 0 && static_cast<qint64>(count) * minimumRecord <= bytesLeft;
}

void renumberTracks(ProjectContents& c) {
    std::int64_t highest = 0;
    QSet<std::int32_t> used;
    for (const StoredTrack& t : c.tracks) {
        const std::int32_t n = t.track->lngNrPozycji;
        if (n > 0 && n <= kMaxTrackNumber)
            highest = std::max<std::int64_t>(highest, n);
    }
    for (StoredTrack& t : c.tracks) {
        const std::int32_t n = t.track->lngNrPozycji;
        if (n > 0 && n <= kMaxTrackNumber && !used.contains(n)) {
            used.insert(n);
            continue;
        }
        const auto fresh = static_cast<std::int32_t>(++highest);
        c.renumbered.append({n, fresh});
        t.track->lngNrPozycji = fresh;
        used.insert(fresh);
    }
    // A stored counter beyond the numbers kept is damaged too: new numbers
    // then follow the highest in use, with room to count on.
    const auto counter = [](std::int32_t stored, std::int64_t highestInUse) {
        const std::int64_t next = stored > kMaxTrackNumber + 1 ? 1 : stored;
        return static_cast<std::int32_t>(std::max<std::int64_t>({next, highestInUse + 1, 1}));
    };
    ProjectHeader& h = c.header;
    h.nextTrackNo = counter(h.nextTrackNo, highest);
    std::int32_t highestId = 0;
    for (const StoredSource& s : c.sources)
        highestId = std::max<std::int32_t>(highestId, s.id);
    h.nextFileId = counter(h.nextFileId, highestId);
}

} // namespace

ProjectReadResult ParseProject(const QByteArray& bytes, const AnsiCodec& codec) {
    ByteReader in(bytes, codec);
    const std::int32_t version = in.Long();
    if (!in.ok())
        return damaged();
    ProjectReadResult result;
    if (version == kUnsupportedOldVersion) {
        result.status = ProjectReadStatus::TooOld;
        return result;
    }
    if (version < kOldestReadVersion || version > kWrittenVersion) {
        result.status = ProjectReadStatus::UnknownVersion;
        return result;
    }

    ByteReader header(bytes, codec);
    ProjectContents& c = result.contents;
    c.header = ReadHeader(header);
    if (!header.ok())
        return damaged();
    const qint64 left = header.remaining();
    const qint64 sourceBytes =
        static_cast<qint64>(std::max(c.header.sourceCount, 0)) * MinimumSourceRecordBytes(version);
    if (!countFits(c.header.sourceCount, MinimumSourceRecordBytes(version), left) ||
        !countFits(c.header.trackCount, MinimumTrackRecordBytes(version), left - sourceBytes))
        return damaged();

    c.sources.reserve(c.header.sourceCount);
    for (std::int32_t i = 0; i < c.header.sourceCount; ++i) {
        c.sources.append(ReadSourceRecord(header, version));
        if (!header.ok())
            return damaged();
    }
    c.tracks.reserve(c.header.trackCount);
    for (std::int32_t i = 0; i < c.header.trackCount; ++i) {
        c.tracks.append(ReadTrackRecord(header, version));
        if (!header.ok())
            return damaged();
    }
    renumberTracks(c);
    keepFieldsWithinReach(c);
    return result;
}

ProjectReadResult ReadProjectFile(const QString& path, const AnsiCodec& codec) {
    const FileBytesResult file = ReadFileBytes(path);
    if (file.ok())
        return ParseProject(file.bytes, codec);
    ProjectReadResult result;
    result.status = file.status == FileBytesStatus::TooLarge ? ProjectReadStatus::TooLarge
                                                             : ProjectReadStatus::Unreadable;
    result.error = file.error;
    return result;
}

} // namespace kelbrin
