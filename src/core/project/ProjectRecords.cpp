#include "ProjectRecords.h"

#include "ByteFields.h"
#include "platform/text/NameCodec.h"
#include "core/app/Numbers.h"
#include "core/document/cPozycjaMP3.h"

#include <cmath>

namespace kelbrin {

namespace project_format {

qint64 MinimumSourceRecordBytes(std::int32_t version) {
    // path count, VBR flag, id, duration; then the no-save flag
    return version >= 1003 ? 16 : 14;
}

qint64 MinimumTrackRecordBytes(std::int32_t version) {
    // Fixed fields plus the 2-byte counts of the strings (two in 1002, three after).
    if (version <= 1002)
        return 94 + 2 * 2;
    if (version == 1003)
        return 130 + 3 * 2;
    if (version == 1004)
        return 142 + 3 * 2;
    if (version == 1005)
        return 146 + 3 * 2;
    return 271 + 3 * 2;
}

namespace {
const qint64 kDayZero = QDate(1899, 12, 30).toJulianDay();
const double kFirstDay = static_cast<double>(QDate(100, 1, 1).toJulianDay() - kDayZero);
const double kLastDay = static_cast<double>(QDate(9999, 12, 31).toJulianDay() - kDayZero);
} // namespace

double DateValue(const QDate& date) {
    return date.isValid() ? static_cast<double>(date.toJulianDay() - kDayZero) : 0.0;
}

QDate DateFromValue(double value) {
    if (!std::isfinite(value))
        return QDate();
    const double day = std::trunc(value);
    if (day < kFirstDay || day > kLastDay)
        return QDate();
    return QDate::fromJulianDay(kDayZero + static_cast<qint64>(day));
}

} // namespace project_format

namespace {

constexpr int kTagWidth = 30;

// The year is stored as a number; an empty year is 0 and reads back empty.
std::int32_t yearNumber(const QString& year) {
    return year.trimmed().isEmpty() ? 0 : ValLong(year);
}
QString yearText(std::int32_t number) {
    return number == 0 ? QString() : QString::number(number);
}

} // namespace

void WriteHeader(ByteWriter& out, const ProjectHeader& h) {
    out.Long(h.version);
    out.Double(h.date);
    out.Long(h.trackCount);
    out.Long(h.sourceCount);
    out.Long(h.windowHeight);
    out.Long(h.nextTrackNo);
    out.Long(h.nextFileId);
    out.Long(h.windowWidth);
    out.Long(h.constant);
    out.Long(h.templateLeft);
    out.Long(h.templateTop);
    out.Long(h.windowA);
    out.Long(h.windowB);
}

ProjectHeader ReadHeader(ByteReader& in) {
    ProjectHeader h;
    h.version = in.Long();
    h.date = in.Double();
    h.trackCount = in.Long();
    h.sourceCount = in.Long();
    h.windowHeight = in.Long();
    h.nextTrackNo = in.Long();
    h.nextFileId = in.Long();
    h.windowWidth = in.Long();
    h.constant = in.Long();
    h.templateLeft = in.Long();
    h.templateTop = in.Long();
    h.windowA = in.Long();
    h.windowB = in.Long();
    return h;
}

void WriteSourceRecord(ByteWriter& out, const StoredSource& s) {
    out.VariableString(s.path);
    out.Boolean(s.vbr);
    out.Integer(s.id);
    out.Double(s.duration);
    out.Boolean(s.noSave);
}

StoredSource ReadSourceRecord(ByteReader& in, std::int32_t version) {
    StoredSource s;
    s.pathBytes = in.VariableBytes();
    s.path = NameCodec(in.codec()).decode(s.pathBytes);
    s.vbr = in.Boolean();
    s.id = in.Integer();
    s.duration = in.Double();
    if (version >= 1003)
        s.noSave = in.Boolean();
    return s;
}

void WriteTrackRecord(ByteWriter& out, const cPozycjaMP3& t, std::int32_t sourceId) {
    out.VariableString(t.strFileName);
    out.Long(t.lngPoczatek_M);
    out.Long(t.lngPoczatek_S);
    out.Long(t.lngPoczatek_SS);
    out.Long(t.lngKoniec_M);
    out.Long(t.lngKoniec_S);
    out.Long(t.lngKoniec_SS);
    out.Long(t.lngNrPozycji);
    out.Long(0);
    out.Long(0);
    out.Long(t.lngRamkaOd);
    out.Long(t.lngRamkaDo);
    out.Boolean(t.blnJednostka);
    out.VariableString(t.strLabel);
    out.Long(t.lngLeft);
    out.Long(t.lngTop);
    out.Long(t.lngTrack);
    out.Long(t.lngLoopTrack);
    out.Long(t.lngLoopCountBackup);
    out.Boolean(t.blnZablokowany);
    out.Long(t.lngVolume);
    out.Long(t.lngBalance);
    out.Single(t.sngRate);
    out.Boolean(t.blnAwlaysTop);
    out.Double(t.dblDuration);
    out.Long(sourceId);
    out.Long(t.lngVolumeStart);
    out.Long(t.lngVolumeEnd);
    out.Single(t.sngFadeInTime);
    out.Single(t.sngFadeInTimeOld);
    out.Single(t.sngFadeInOffsetTime);
    out.Single(t.sngFadeInOffsetTimeOld);
    out.Single(t.sngFadeOutTime);
    out.Single(t.sngFadeOutTimeOld);
    out.Single(t.sngOvertake);
    out.VariableString(t.strDevice);
    out.Boolean(t.blnLabelEdited);
    out.Long(t.lngMarkerFrom);
    out.Long(t.lngMarkerTo);
    out.Boolean(t.blnDetails);
    out.Long(t.lngBPM);
    out.FixedString(t.strTitle, kTagWidth);
    out.FixedString(t.strAutor, kTagWidth);
    out.FixedString(t.strAlbum, kTagWidth);
    out.FixedString(t.strComment, kTagWidth);
    out.Byte(static_cast<std::uint8_t>(t.lngGenre & 0xFF));
    out.Long(yearNumber(t.strYear));
}

void ReadTrackTexts(cPozycjaMP3& t, const StoredTrackTexts& texts, std::int32_t version,
                    const AnsiCodec& codec) {
    const NameCodec names(codec);
    t.strFileName = names.decode(texts.fileName);
    t.strLabel = names.decode(texts.label);
    if (version < 1003)
        return;
    t.strDevice = names.decode(texts.device);
    if (version < 1006)
        return;
    t.strTitle = codec.toUnicode(texts.title);
    t.strAutor = codec.toUnicode(texts.artist);
    t.strAlbum = codec.toUnicode(texts.album);
    t.strComment = codec.toUnicode(texts.comment);
}

namespace {

void readTrackFields(ByteReader& in, std::int32_t version, StoredTrack& stored) {
    cPozycjaMP3& t = *stored.track;
    StoredTrackTexts& texts = stored.texts;
    texts.fileName = in.VariableBytes();
    t.lngPoczatek_M = in.Long();
    t.lngPoczatek_S = in.Long();
    t.lngPoczatek_SS = in.Long();
    t.lngKoniec_M = in.Long();
    t.lngKoniec_S = in.Long();
    t.lngKoniec_SS = in.Long();
    t.lngNrPozycji = in.Long();
    in.Long();
    in.Long();
    t.lngRamkaOd = in.Long();
    t.lngRamkaDo = in.Long();
    t.blnJednostka = in.Boolean();
    texts.label = in.VariableBytes();
    t.lngLeft = in.Long();
    t.lngTop = in.Long();
    t.lngTrack = in.Long();
    t.lngLoopTrack = in.Long();
    t.lngLoopCountBackup = in.Long();
    t.lngLoopCount = t.lngLoopCountBackup;
    t.blnZablokowany = in.Boolean();
    t.lngVolume = in.Long();
    t.lngBalance = in.Long();
    t.sngRate = in.Single();
    t.blnAwlaysTop = in.Boolean();
    stored.storedDuration = in.Double();
    stored.sourceId = in.Long();
    t.blnZmodyfikowana = false;
    if (version < 1003)
        return;

    const bool rescaled = version >= 1004; // 1003 has no rescaled fade values
    t.lngVolumeStart = in.Long();
    t.lngVolumeEnd = in.Long();
    t.sngFadeInTime = in.Single();
    if (rescaled)
        t.sngFadeInTimeOld = in.Single();
    t.sngFadeInOffsetTime = in.Single();
    if (rescaled)
        t.sngFadeInOffsetTimeOld = in.Single();
    t.sngFadeOutTime = in.Single();
    if (rescaled)
        t.sngFadeOutTimeOld = in.Single();
    t.sngOvertake = in.Single();
    texts.device = in.VariableBytes();
    t.blnLabelEdited = in.Boolean();
    t.lngMarkerFrom = in.Long();
    t.lngMarkerTo = in.Long();
    t.blnDetails = in.Boolean();
    if (version < 1005)
        return;
    t.lngBPM = in.Long();
    if (version < 1006)
        return;
    texts.title = in.FixedBytes(kTagWidth);
    texts.artist = in.FixedBytes(kTagWidth);
    texts.album = in.FixedBytes(kTagWidth);
    texts.comment = in.FixedBytes(kTagWidth);
    t.lngGenre = in.Byte();
    t.strYear = yearText(in.Long());
}

} // namespace

StoredTrack ReadTrackRecord(ByteReader& in, std::int32_t version) {
    StoredTrack stored;
    stored.track = std::make_shared<cPozycjaMP3>();
    readTrackFields(in, version, stored);
    ReadTrackTexts(*stored.track, stored.texts, version, in.codec());
    return stored;
}

} // namespace kelbrin
