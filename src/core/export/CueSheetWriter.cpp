#include "CueSheetWriter.h"

namespace kelbrin {

namespace {
const QString kEnd = QStringLiteral("\r\n");
const QString kTrackIndent = QStringLiteral("     ");
const QString kFieldIndent = QStringLiteral("              ");
QString quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }
// A title or performer is one line of the sheet. A line break in it (pasted
// into the track's field along with the text) would end the line early and
// leave the rest as a line of its own, which readers take for a keyword or
// refuse.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return text;
}
QString twoDigits(std::int64_t n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }
} // namespace

QString CueSheetWriter::IndexTime(std::int64_t samples, std::int32_t sampleRate) {
    const std::int64_t cdFrames = sampleRate > 0 ? samples * 75 / sampleRate : 0;
    return twoDigits(cdFrames / (75 * 60)) + QLatin1Char(':') + twoDigits(cdFrames / 75 % 60) +
           QLatin1Char(':') + twoDigits(cdFrames % 75);
}

void CueSheetWriter::AddPiece(const QString& outputPath, const QString& performer,
                              const QString& title, std::int64_t startSamples,
                              std::int32_t sampleRate) {
    if (!m_joined || m_tracks == 0)
        m_text += QStringLiteral("FILE ") + quoted(outputPath) + QStringLiteral(" MP3") + kEnd;
    ++m_tracks;
    m_text += kTrackIndent + QStringLiteral("TRACK ") + twoDigits(m_tracks) +
              QStringLiteral(" AUDIO") + kEnd;
    if (!performer.isEmpty())
        m_text += kFieldIndent + QStringLiteral("PERFORMER ") + quoted(oneLine(performer)) + kEnd;
    const QString start = m_joined ? IndexTime(startSamples, sampleRate) : QStringLiteral("00:00:00");
    m_text += kFieldIndent + QStringLiteral("INDEX 01 ") + start + kEnd;
    if (!title.isEmpty())
        m_text += kFieldIndent + QStringLiteral("TITLE ") + quoted(oneLine(title)) + kEnd;
}

} // namespace kelbrin
