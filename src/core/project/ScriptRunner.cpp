#include "ScriptRunner.h"

#include "core/app/FileBytes.h"
#include "ProjectReset.h"
#include "ProjectWindow.h"
#include "SourceLookup.h"
#include "ScriptExport.h"
#include "ScriptReader.h"
#include "core/app/MessageService.h"
#include "core/app/PathProcedures.h"
#include "core/app/Startup.h"
#include "core/app/LoadedSettings.h"
#include "core/document/EditorSession.h"
#include "core/app/TextCatalog.h"
#include "core/document/FrameScanHost.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "platform/text/NameCodec.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

namespace kelbrin {

namespace {

constexpr qint64 kMaxScriptBytes = 64LL * 1024 * 1024;

const QString kP1 = QStringLiteral("|1");
const QString kP2 = QStringLiteral("|2");

// Tells why a script cannot run; true when it can.
bool explain(const ScriptReadResult& r, const QString& path) {
    switch (r.status) {
    case ScriptReadStatus::Ok:
        return true;
    case ScriptReadStatus::NoSourceSection:
        ShowText(3343, mb::Information, kP1, path, kP2, QStringLiteral("[Source Files]"));
        return false;
    case ScriptReadStatus::NoDestinationSection:
        ShowText(3343, mb::Information, kP1, path, kP2, QStringLiteral("[Destination Files]"));
        return false;
    case ScriptReadStatus::BadLine:
        ShowText(3030, mb::Information, kP1, QString::number(r.line), kP2, r.lineText);
        return false;
    case ScriptReadStatus::BadRange:
        ShowText(7315, mb::Information, kP1, QString::number(r.line), kP2, r.lineText);
        return false;
    case ScriptReadStatus::BadName:
        ShowText(3344, mb::Information, kP1, QString::number(r.line), kP2, r.lineText);
        return false;
    }
    return false;
}

void setTime(const ScriptTime& time, std::int32_t& m, std::int32_t& s, std::int32_t& ms) {
    m = time.minutes;
    s = time.seconds;
    ms = time.milliseconds;
}

} // namespace

bool ScriptRunner::openSources(const ScriptDescription& script, const QString& scriptFolder) {
    const QDir folder(scriptFolder);
    m_sameSourceAs.clear();
    QHash<QString, std::int32_t> opened; // each file as the system names it, and its id
    for (const ScriptSource& source : script.sources) {
        auto file = std::make_shared<cPozycjaPlikow>();
        // A relative path means the script's own folder, not wherever the
        // program happened to start.
        file->strFileName = QDir::cleanPath(folder.absoluteFilePath(source.path));
        // A script written on another system names drives ("C:\muzyka\okno.mp3"):
        // like a project, it then looks for the file by its name beside itself.
        if (!QFileInfo::exists(file->strFileName)) {
            const QString beside = folder.absoluteFilePath(StoredFileName(source.path));
            if (QFileInfo::exists(beside))
                file->strFileName = QDir::cleanPath(beside);
        }
        // One file listed twice is one source: opened and scanned twice, it
        // would say everything it has to say twice.
        const QString canonical = QFileInfo(file->strFileName).canonicalFilePath();
        const auto first = canonical.isEmpty() ? opened.cend() : opened.constFind(canonical);
        if (first != opened.cend()) {
            m_sameSourceAs.insert(source.id, *first);
            continue;
        }
        bool buildIndex = true;
        QString dialogFolder;
        const QString openedPath = Plik_Open(
            m_window.ScanHost(), &m_window.Session(), m_window.Loaded().SourceFolder, file,
            buildIndex, false, QString(), nullptr, false, false, dialogFolder, source_filter::Mpeg);
        m_window.ScanHost().ZerujProgress();
        if (openedPath.isEmpty())
            return false;
        const QString openedCanonical = QFileInfo(openedPath).canonicalFilePath();
        if (!openedCanonical.isEmpty())
            opened.insert(openedCanonical, source.id);
        file->lngNrPozycji = source.id;
        file->blnZmodyfikowana = false;
        m_window.Session().OpenFiles->Add(file);
    }
    return true;
}

void ScriptRunner::buildTracks(const ScriptDescription& script) {
    m_window.Session().NextTrackNo = 1;
    // Thousands of lines name a handful of sources: each is looked up once.
    struct Source {
        std::shared_ptr<cPozycjaPlikow> file;
        QString label;
    };
    QHash<std::int32_t, Source> sources;
    for (const ScriptTrackLine& line : script.tracks) {
        auto known = sources.constFind(line.sourceId);
        if (known == sources.cend()) {
            auto file = FirstOpenFileWithId(*m_window.Session().OpenFiles,
                                            m_sameSourceAs.value(line.sourceId, line.sourceId));
            const QString label = file ? FileNameFromPath(file->strFileName) : QString();
            known = sources.insert(line.sourceId, Source{std::move(file), label});
        }
        auto track = std::make_shared<cPozycjaMP3>();
        cPozycjaMP3& t = *track;
        if (const auto& source = known->file) {
            t.strFileNameSource = source->strFileName;
            t.strLabel = known->label;
            t.dblDuration = source->sngCzasTrwania;
        }
        t.strFileName = line.name;
        t.blnJednostka = line.inTime;
        if (line.inTime) {
            setTime(line.start, t.lngPoczatek_M, t.lngPoczatek_S, t.lngPoczatek_SS);
            setTime(line.end, t.lngKoniec_M, t.lngKoniec_S, t.lngKoniec_SS);
        } else {
            t.lngRamkaOd = line.frameFrom;
            t.lngRamkaDo = line.frameTo;
        }
        t.lngNrPozycji = m_window.Session().NextTrackNo++;
        t.blnZmodyfikowana = false;
        t.blnAwlaysTop = true;
        m_window.Tracks()->Add(track);
    }
}

bool ScriptRunner::Run(const QString& path) {
    // Whatever keeps the script from exporting ends the program, whenever it
    // ends, with the failure's status (the export sets it for its own).
    const FileBytesResult file = ReadFileBytes(path, kMaxScriptBytes);
    if (file.status == FileBytesStatus::TooLarge) {
        ShowText(3348, mb::Information, kP1, path);
        RequestExitStatus(exitstatus::kFailed);
        return false;
    }
    if (!file.ok()) {
        ShowText(3301, mb::Information, kP1, path);
        RequestExitStatus(exitstatus::kFailed);
        return false;
    }
    const ScriptReadResult read = ParseScript(NameCodec().decodeTextFile(file.bytes));
    if (!explain(read, path)) {
        RequestExitStatus(exitstatus::kFailed);
        return false;
    }

    ResetProject(m_window);
    m_window.SetInputEnabled(false);
    if (openSources(read.script, QFileInfo(path).absolutePath())) {
        buildTracks(read.script);
        ScriptExportRequest request;
        request.tracks = m_window.Tracks();
        request.files = m_window.Session().OpenFiles;
        request.destFolder = m_window.Loaded().DestFolder;
        m_window.ScriptExporter().Run(request);
    } else {
        RequestExitStatus(exitstatus::kFailed);
    }
    ResetProject(m_window);
    m_window.SetInputEnabled(true);
    return false;
}

} // namespace kelbrin
