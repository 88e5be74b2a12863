#include "ProjectSaver.h"

#include "ProjectFileWriter.h"
#include "ProjectWindow.h"
#include "RecentProjects.h"
#include "ScriptWriter.h"
#include "core/app/MessageService.h"
#include "core/app/LoadedSettings.h"
#include "core/document/EditorSession.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/export/SaveTarget.h"
#include "platform/text/AnsiCodec.h"
#include "platform/text/NameCodec.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace kelbrin {

namespace {

enum FileType { ProjectType = 1, ScriptType = 2 };

const QString kP1 = QStringLiteral("|1");

struct BusyPointer {
    ProjectWindow& w;
    explicit BusyPointer(ProjectWindow& window) : w(window) { w.SetBusyPointer(true); }
    ~BusyPointer() { w.SetBusyPointer(false); }
};

QString withExtension(QString path, FileType type) {
    path.remove(QChar(0));
    const QString extension = type == ScriptType ? QStringLiteral(".kbs") : QStringLiteral(".kbe");
    if (!path.endsWith(extension, Qt::CaseInsensitive))
        path += extension;
    return path;
}

const cPozycjePlikow& openFiles(ProjectWindow& w) {
    static const cPozycjePlikow none;
    return w.Session().OpenFiles ? *w.Session().OpenFiles : none;
}

} // namespace

std::optional<QByteArray> ProjectBytes(ProjectWindow& w) {
    const ProjectGeometry g = w.Geometry();
    ProjectHeader h;
    h.date = w.ProjectDateValue();
    h.windowHeight = g.innerHeight;
    h.windowWidth = g.innerWidth;
    h.nextTrackNo = w.Session().NextTrackNo;
    h.nextFileId = w.Session().NextFileId;
    h.templateLeft = g.templateLeft;
    h.templateTop = g.templateTop;
    static const cPozycjeMP3 noTracks;
    const int codePage = w.Session().ProjectCodePage;
    return BuildProjectBytes(h, openFiles(w), w.Tracks() ? *w.Tracks() : noTracks,
                             codePage != 0 ? AnsiCodec(codePage) : AnsiCodec());
}

namespace {

// A file that no one may write, or that this user may not. The new contents
// take the target's name through its folder, which the file's own
// permissions do not guard, so they are looked at here.
bool writeProtected(const QString& path) {
    const QFileInfo file(path);
    constexpr auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return file.exists() && (!file.isWritable() || !(file.permissions() & anyWrite));
}

// Through the safe writer, flushed to disk before it takes the target's name.
// A save killed before that leaves a marked temporary file at most; the next
// save into the folder knows it by its mark and removes it.
bool write(const QString& givenPath, const QByteArray& bytes) {
    // A link keeps pointing at the user's file, which takes the new contents;
    // writing under the link's own name would cut it off and leave that file
    // as it was.
    const QFileInfo given(givenPath);
    QString path = givenPath;
    if (given.isSymLink())
        path = given.exists() ? given.canonicalFilePath() : given.symLinkTarget();
    if (writeProtected(path)) {
        ShowText(3346, mb::Information, kP1, givenPath, QStringLiteral("|2"),
                 QString::fromLocal8Bit(std::strerror(EACCES)));
        return false;
    }
    SaveTarget::RemoveLeftovers(QFileInfo(path).absolutePath());
    SaveTarget target(path);
    target.flushNewFile();
    const bool ok = target.open() && target.write(bytes) && target.commit();
    if (!ok)
        ShowText(3346, mb::Information, kP1, givenPath, QStringLiteral("|2"), target.errorText());
    return ok;
}

void markSaved(ProjectWindow& w) {
    // A source tool's own record is marked for frame headers edited and not
    // yet written into the file: the project does not hold those edits, so
    // its save leaves them to the tool's own save.
    const cPozycjePlikow& files = openFiles(w);
    for (std::int32_t i = 1; i <= files.Count(); ++i)
        if (!files.Item(i)->blnExtraArray)
            files.Item(i)->blnZmodyfikowana = false;
    cPozycjeMP3& tracks = *w.Tracks();
    tracks.blnZmodyfikowana = false;
    for (std::int32_t i = 1; i <= tracks.Count(); ++i)
        tracks.Item(i)->blnZmodyfikowana = false;
}

} // namespace

bool Zapisz(ProjectWindow& w, bool updateRecent, bool& keepName, const QString& projectName) {
    BusyPointer busy(w);
    if (!w.Tracks())
        w.Tracks() = std::make_shared<cPozycjeMP3>();
    QString path = w.ProjectFile();
    if (!projectName.isEmpty())
        path = w.Loaded().DestFolder + QLatin1Char('/') + projectName;

    FileType type = ProjectType;
    if (path.isEmpty() || !keepName) {
        const QString filter = GetText(3036) + QChar(0) + QStringLiteral("*.kbe") + QChar(0) +
                               GetText(3132) + QChar(0) + QStringLiteral("*.kbs") + QChar(0);
        int filterIndex = ProjectType;
        const QString chosen =
            w.ChooseFile(w.Loaded().DestFolder + QLatin1Char('/'), filter, filterIndex, true);
        if (chosen.trimmed().isEmpty())
            return false;
        path = chosen;
        type = filterIndex == ScriptType ? ScriptType : ProjectType;
        keepName = false;
    }
    path = withExtension(path, type);

    if (QFileInfo::exists(path) && (type == ScriptType || !keepName) &&
        ShowMessage(GetText(3011, kP1, path) + QLatin1Char('\r') + GetText(3022),
                    mb::YesNo | mb::Question, QString(), 3011) != mb::Yes)
        return false;

    if (type == ScriptType) {
        // A script keeps only ranges and names: the project still counts as unsaved.
        write(path, NameCodec().encodeLines(BuildScriptText(openFiles(w), *w.Tracks())));
        return false;
    }

    const std::optional<QByteArray> bytes = ProjectBytes(w);
    if (!bytes) {
        ShowText(3349, mb::Information, kP1, QString::number(project_format::kMaxSourceId));
        return false;
    }
    if (!write(path, *bytes))
        return false;
    markSaved(w);
    w.SetProjectFile(path);
    w.SetAutosave(true);
    if (updateRecent || !keepName) {
        PushRecentProject(path);
        w.RefreshRecentMenu();
        w.SetCheckedRecentItem(2);
    }
    w.SetTreeRootText(ProjectRootName(path));
    return true;
}

} // namespace kelbrin
