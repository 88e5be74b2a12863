#include "UnwrittenHeaderEdits.h"

#include "SourceToolHost.h"
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/document/EditorSession.h"
#include "core/document/HeaderWriteBack.h"
#include "core/document/SourceWriteReport.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "frmFrame.h"

#include <QPointer>
#include <QStringList>
#include <vector>

namespace kelbrin {

namespace {

bool writeEdits(SourceToolHost& host, cPozycjaPlikow& file) {
    const LongWorkScope work(host);
    if (!work.held())
        return false;
    // The editor's lists stay still while the index they change is written:
    // an edit made meanwhile could fall behind the write and go unnoticed.
    QPointer<frmFrame> editor = frmFrame::Instance();
    if (editor)
        editor->setEnabled(false);
    const bool stop = false;
    ToolWriteProgress progress(host, stop);
    const SourceWriteResult result = WriteBackHeaders(file, progress);
    if (editor)
        editor->setEnabled(true);
    ReportSourceWrite(result, file.strFileName);
    return result.finished();
}

} // namespace

bool SettleUnwrittenHeaderEdits(SourceToolHost& host) {
    const auto& files = host.Session().OpenFiles;
    std::vector<std::shared_ptr<cPozycjaPlikow>> edited;
    QStringList names;
    for (std::int32_t i = 1; files && i <= files->Count(); ++i) {
        if (files->Item(i)->headerEditsUnwritten) {
            edited.push_back(files->Item(i));
            names.append(files->Item(i)->strFileName);
        }
    }
    if (edited.empty())
        return true;
    switch (ShowText(texts::kHeaderEditsUnwritten, mb::YesNoCancel | mb::Question,
                     QStringLiteral("|1"), names.join(QChar(13)))) {
    case mb::Yes:
        for (const auto& file : edited)
            if (!writeEdits(host, *file))
                return false;
        return true;
    case mb::No:
        return true;
    default:
        return false;
    }
}

} // namespace kelbrin
