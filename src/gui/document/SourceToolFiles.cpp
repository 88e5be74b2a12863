#include "SourceToolFiles.h"

#include "SourceToolHost.h"
#include "core/app/FileList.h"
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/document/EditorSession.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QStringList>

namespace kelbrin {

namespace {

// A new open file that keeps header bytes, added to the open files.
std::shared_ptr<cPozycjaPlikow> AddToolRecord(EditorSession& session, const QString& path, std::int32_t id) {
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = path;
    file->blnExtraArray = true;
    file->lngNrPozycji = id;
    session.OpenFiles->Add(file);
    return file;
}

// The tools' own record of an open source: it keeps the header bytes of every
// frame, which the project's record of the same file does not. Made, with an
// empty index, the first time the source is chosen in a tool.
std::shared_ptr<cPozycjaPlikow> ToolCopyOf(EditorSession& session, const QString& path) {
    for (std::int32_t i = 1; i <= session.OpenFiles->Count(); ++i) {
        const auto& file = session.OpenFiles->Item(i);
        if (file->blnExtraArray && file->strFileName == path)
            return file;
    }
    return AddToolRecord(session, path, session.NextFileId++);
}

} // namespace

void FillToolFileList(EditorSession& session, QComboBox* list) {
    const QSignalBlocker block(list);
    list->clear();
    QStringList listed;
    for (const FileListEntry& e :
         BuildFileList(session.OpenFiles.get(), false, true, FileListFolders{}).entries) {
        list->addItem(e.text, e.itemData);
        listed.append(e.text);
    }
    // The project's sources too, each once.
    for (const FileListEntry& e :
         BuildFileList(session.OpenFiles.get(), false, false, FileListFolders{}).entries) {
        if (listed.contains(e.text))
            continue;
        list->addItem(e.text, e.itemData);
        listed.append(e.text);
    }
    list->setCurrentIndex(-1);
}

std::shared_ptr<cPozycjaPlikow> SelectedToolFile(EditorSession& session, const QComboBox* list) {
    const auto& files = session.OpenFiles;
    if (!files || list->currentIndex() < 0)
        return nullptr;
    const std::int32_t id = list->currentData().toInt();
    for (std::int32_t i = 1; i <= files->Count(); ++i) {
        const auto& file = files->Item(i);
        if (file->lngNrPozycji == id)
            return file->blnExtraArray ? file : ToolCopyOf(session, file->strFileName);
    }
    return nullptr;
}

bool EnsureFrameIndex(SourceToolHost& host, std::shared_ptr<cPozycjaPlikow>& file,
                      const QString& entryText) {
    if (file->Daj_Naglowek_Ilosc() > 0)
        return true;
    if (ShowText(3098, mb::YesNo | mb::Question, QStringLiteral("|1"), entryText) != mb::Yes)
        return false;
    return !host.OpenSource(file, true).isEmpty();
}

bool OpenToolFile(SourceToolHost& host) {
    EditorSession& session = host.Session();
    if (!session.OpenFiles)
        return false;
    // Numbered for good only once a file was opened.
    auto file = AddToolRecord(session, QString(), session.NextFileId);
    const QString path = host.OpenSource(file, false).trimmed();
    if (!path.isEmpty()) {
        file->strFileName = path;
        file->lngNrPozycji = session.NextFileId++;
        return true;
    }
    for (std::int32_t i = 1; i <= session.OpenFiles->Count(); ++i) {
        if (session.OpenFiles->Item(i)->lngNrPozycji == session.NextFileId) {
            session.OpenFiles->Remove(i);
            break;
        }
    }
    return false;
}

QString ToolWindowCaption(int number) {
    QString text = GetText(number);
    text.remove(QLatin1Char('&'));
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.trimmed();
}

bool AskStopToolWrite() {
    return ShowText(6507, mb::YesNo | mb::Question) == mb::Yes;
}

} // namespace kelbrin
