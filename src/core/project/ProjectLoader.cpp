#include "ProjectLoader.h"

#include "LoadedTrackView.h"
#include "OutputNames.h"
#include "ProjectFileReader.h"
#include "ProjectWindow.h"
#include "SourceLookup.h"
#include "core/app/MessageService.h"
#include "core/app/LoadedSettings.h"
#include "core/document/EditorSession.h"
#include "core/app/TextCatalog.h"
#include "core/document/FrameScanHost.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/editor/TrackListRow.h"
#include "platform/text/AnsiCodec.h"
#include "platform/text/NameCodec.h"

#include <QFileInfo>
#include <QList>

namespace kelbrin {

namespace {

constexpr int kDefaultButtonNo = 256;

} // namespace

QString ProjectLoader::pickReplacement(const QString& storedPath,
                                       std::shared_ptr<cPozycjaPlikow>& file) {
    auto picked = std::make_shared<cPozycjaPlikow>();
    bool buildIndex = false;
    QString folder;
    const QString path = Plik_Open(m_window.ScanHost(), &m_window.Session(),
                                   m_window.Loaded().SourceFolder, picked, buildIndex, false,
                                   GetText(3111, QStringLiteral("|1"), StoredFileName(storedPath)),
                                   nullptr, false, false, folder, source_filter::Mpeg);
    m_window.ScanHost().ZerujProgress();
    if (!path.isEmpty())
        file = picked;
    return path;
}

std::shared_ptr<cPozycjaPlikow> ProjectLoader::openSource(const StoredSource& stored,
                                                          std::int32_t version, bool quiet) {
    auto file = std::make_shared<cPozycjaPlikow>();
    // Written under another locale, the path's bytes name the file in that
    // locale's code page.
    int shown = 0;
    QString path = ExistingSourcePath(stored.pathBytes, stored.path, QString(), &shown);
    bool replaced = false;
    if (!QFileInfo::exists(path)) {
        int style = mb::YesNo | mb::Question;
        if (version >= 1003) {
            if (m_window.Session().OpenFiles->Count() == 0 && !quiet) {
                const QString chosen = m_window.ChooseFolder(
                    GetText(3111, QStringLiteral("|1"), StoredFileName(stored.path)), 3111);
                if (!chosen.isEmpty())
                    MissingSourceFolder = chosen;
            }
            if (!MissingSourceFolder.isEmpty()) {
                QString folder = MissingSourceFolder;
                if (!folder.endsWith(QLatin1Char('/')))
                    folder += QLatin1Char('/');
                path = ExistingSourcePath(stored.pathBytes, folder + StoredFileName(stored.path),
                                          folder, &shown);
            }
            style |= kDefaultButtonNo;
        }
        if (!quiet && !QFileInfo::exists(path) &&
            ShowText(3101, style, QStringLiteral("|1"), path) == mb::Yes) {
            const QString picked = pickReplacement(path, file);
            if (!picked.isEmpty()) {
                path = picked;
                replaced = true;
            }
        }
    }
    if (m_codePage == 0)
        m_codePage = shown;
    // Saved, such a path would take the place of one that may yet be found
    // again (a drive not mounted now).
    if (!replaced && path != stored.path && !QFileInfo::exists(path))
        m_movedToMissing = true;
    file->strFileName = path;
    file->lngNrPozycji = stored.id;
    file->sngCzasTrwania = static_cast<float>(stored.duration);
    file->blnVBR = stored.vbr;
    file->blnNoSave = version >= 1003 && stored.noSave;
    file->blnZmodyfikowana = replaced;
    return file;
}

bool ProjectLoader::Load(const QString& path, const ProjectContents& contents, bool quiet) {
    MissingSourceFolder.clear();
    m_movedToMissing = false;
    m_codePage = 0;
    const ProjectHeader& h = contents.header;
    // A value that names no day keeps the new project's date; any other is
    // kept whole, with its time of day.
    if (project_format::DateFromValue(h.date).isValid())
        m_window.SetProjectDateValue(h.date);
    m_window.Session().NextTrackNo = h.nextTrackNo;
    m_window.Session().NextFileId = h.nextFileId;
    m_window.SetTemplateBoxPosition(h.templateLeft, h.templateTop);

    QList<std::shared_ptr<cPozycjaPlikow>> opened;
    for (const StoredSource& stored : contents.sources) {
        opened.append(openSource(stored, h.version, quiet));
        m_window.Session().OpenFiles->Add(opened.last());
    }
    const AnsiCodec codec = m_codePage != 0 ? AnsiCodec(m_codePage) : AnsiCodec();
    if (m_codePage != 0) {
        // A source still missing under its stored path keeps the path the
        // project's code page reads, which its save writes back as it was.
        for (qsizetype i = 0; i < opened.size(); ++i) {
            const StoredSource& stored = contents.sources.at(i);
            cPozycjaPlikow& file = *opened.at(i);
            if (file.strFileName == stored.path && !QFileInfo::exists(stored.path))
                file.strFileName = NameCodec(codec).decode(stored.pathBytes);
        }
    }
    m_window.Session().ProjectCodePage = m_codePage;

    int unplaced = 0;
    int refusedNames = 0;
    cPozycjeMP3& tracks = *m_window.Tracks();
    for (const StoredTrack& stored : contents.tracks) {
        const auto source = FirstOpenFileWithId(*m_window.Session().OpenFiles, stored.sourceId);
        if (!source) {
            ++unplaced;
            continue;
        }
        cPozycjaMP3& t = *stored.track;
        if (m_codePage != 0)
            ReadTrackTexts(t, stored.texts, h.version, codec);
        t.strFileNameSource = source->strFileName;
        t.dblDuration = source->sngCzasTrwania;
        t.blnPlayed = false;
        const QString name = CleanOutputName(t.strFileName);
        if (!t.strFileName.isEmpty() && !IsUsableOutputName(name)) {
            ++refusedNames;
            t.strFileName.clear();
        } else {
            t.strFileName = name;
        }
        tracks.Add(stored.track);
        m_window.ShowLoadedTrack(t, LoadedBoxColour(t), HasListRow(t));
    }

    const QString count = QStringLiteral("|2");
    if (!contents.renumbered.isEmpty())
        ShowText(3341, mb::Information, QStringLiteral("|1"), path, count,
                 QString::number(contents.renumbered.size()));
    if (unplaced > 0)
        ShowText(3342, mb::Information, QStringLiteral("|1"), path, count,
                 QString::number(unplaced));
    if (refusedNames > 0)
        ShowText(3345, mb::Information, QStringLiteral("|1"), path, count,
                 QString::number(refusedNames));
    return unplaced == 0 && refusedNames == 0 && !m_movedToMissing;
}

} // namespace kelbrin
