#include "ProjectFileWriter.h"

#include "ByteFields.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"

#include <QList>
#include <QSet>

namespace kelbrin {

namespace {

using StoredFiles = QList<const cPozycjaPlikow*>;

// The open files a project keeps. A source tool's own record of a file that
// the project has open as well is the same source and is stored once. A
// record still being opened (its file scanned, or not yet chosen) has no path
// yet and no track: a save meanwhile leaves it out, as it would be a source
// that no later opening could find.
StoredFiles filesToStore(const cPozycjePlikow& files, const cPozycjeMP3& tracks) {
    bool trackWithoutSourcePath = false;
    for (std::int32_t i = 1; i <= tracks.Count() && !trackWithoutSourcePath; ++i)
        trackWithoutSourcePath = tracks.Item(i)->strFileNameSource.isEmpty();
    QSet<QString> projectSources;
    for (std::int32_t i = 1; i <= files.Count(); ++i)
        if (!files.Item(i)->blnExtraArray)
            projectSources.insert(files.Item(i)->strFileName);
    StoredFiles stored;
    for (std::int32_t i = 1; i <= files.Count(); ++i) {
        const cPozycjaPlikow* f = files.Item(i).get();
        if (f->strFileName.isEmpty() && !trackWithoutSourcePath)
            continue;
        if (!f->blnExtraArray || !projectSources.contains(f->strFileName))
            stored.append(f);
    }
    return stored;
}

std::int32_t storedSourceId(const StoredFiles& files, const QString& path) {
    for (qsizetype i = files.size(); i >= 1; --i)
        if (files.at(i - 1)->strFileName == path)
            return static_cast<std::int32_t>(i);
    return 0;
}

} // namespace

std::optional<QByteArray> BuildProjectBytes(const ProjectHeader& header,
                                            const cPozycjePlikow& files, const cPozycjeMP3& tracks,
                                            const AnsiCodec& codec) {
    const StoredFiles stored = filesToStore(files, tracks);
    if (stored.size() > project_format::kMaxSourceId)
        return std::nullopt;
    ByteWriter out(codec);
    ProjectHeader h = header;
    h.version = project_format::kWrittenVersion;
    h.trackCount = tracks.Count();
    h.sourceCount = static_cast<std::int32_t>(stored.size());
    WriteHeader(out, h);
    for (std::int32_t i = 1; i <= stored.size(); ++i) {
        const cPozycjaPlikow& f = *stored.at(i - 1);
        StoredSource s;
        s.path = f.strFileName;
        s.vbr = f.blnVBR;
        s.id = static_cast<std::int16_t>(i);
        s.duration = f.sngCzasTrwania;
        s.noSave = f.blnNoSave;
        WriteSourceRecord(out, s);
    }
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        WriteTrackRecord(out, t, storedSourceId(stored, t.strFileNameSource));
    }
    return out.bytes();
}

} // namespace kelbrin
