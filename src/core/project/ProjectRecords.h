#pragma once
// The records of the binary project file (".kbe"): a 56-byte header, one
// record per open source file, one record per track. Files are written as
// version 1006 and read as versions 1002 to 1006, which differ only in how
// much of each record they carry.

#include <QDate>
#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

namespace kelbrin {

class AnsiCodec;
class ByteReader;
class ByteWriter;
class cPozycjaMP3;

namespace project_format {
constexpr std::int32_t kWrittenVersion = 1006;
constexpr std::int32_t kOldestReadVersion = 1002;
constexpr std::int32_t kUnsupportedOldVersion = 1001;
constexpr qint64 kHeaderBytes = 56;
constexpr std::int32_t kMaxSourceId = 32767; // the id is a 16-bit field

// The fewest bytes a record of this version can take (all strings empty).
qint64 MinimumSourceRecordBytes(std::int32_t version);
qint64 MinimumTrackRecordBytes(std::int32_t version);

// Date values count days from 30 December 1899; the fraction is the time of day.
double DateValue(const QDate& date);
// The day of a stored date value; an invalid date for values that are not a
// finite day between the years 100 and 9999.
QDate DateFromValue(double value);
} // namespace project_format

struct ProjectHeader {
    std::int32_t version = project_format::kWrittenVersion;
    double date = 0;
    std::int32_t trackCount = 0;
    std::int32_t sourceCount = 0;
    std::int32_t windowHeight = 0;
    std::int32_t nextTrackNo = 1;
    std::int32_t nextFileId = 1;
    std::int32_t windowWidth = 0;
    std::int32_t constant = 1;
    std::int32_t templateLeft = 0;
    std::int32_t templateTop = 0;
    std::int32_t windowA = 0;
    std::int32_t windowB = 0;
};

struct StoredSource {
    QString path;
    // The path's bytes as stored: a project written under another code page
    // names its sources in that code page's bytes.
    QByteArray pathBytes;
    bool vbr = false;
    std::int16_t id = 0;
    double duration = 0;
    bool noSave = false; // carried from version 1003 on
};

// A track's 8-bit texts as stored, undecoded (tag fields without their
// padding): once its sources show which code page a project was written in,
// they are read again in that one.
struct StoredTrackTexts {
    QByteArray fileName, label;
    QByteArray device; // from version 1003 on
    // From version 1006 on.
    QByteArray title, artist, album, comment;
};

struct StoredTrack {
    std::shared_ptr<cPozycjaMP3> track;
    std::int32_t sourceId = 0; // field 26: the id of the track's source record
    double storedDuration = 0; // field 25: written, never trusted on reading
    StoredTrackTexts texts;
};

void WriteHeader(ByteWriter& out, const ProjectHeader& header);
void WriteSourceRecord(ByteWriter& out, const StoredSource& source);
// Always the version written; the year goes in as its whole number, 0 when empty.
void WriteTrackRecord(ByteWriter& out, const cPozycjaMP3& track, std::int32_t sourceId);

ProjectHeader ReadHeader(ByteReader& in);
StoredSource ReadSourceRecord(ByteReader& in, std::int32_t version);
// Fills the fields the version carries; the others keep the track's defaults.
StoredTrack ReadTrackRecord(ByteReader& in, std::int32_t version);
// The track's texts that a record of this version carries, read in `codec`
// (names and labels as NameCodec reads them).
void ReadTrackTexts(cPozycjaMP3& track, const StoredTrackTexts& texts, std::int32_t version,
                    const AnsiCodec& codec);

} // namespace kelbrin
