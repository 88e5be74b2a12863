#include "frmDazudizi.h"

#include "core/app/TextCatalog.h"

#include <QCoreApplication>

namespace kelbrin {

frmDazudizi::frmDazudizi(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmDazudizi"));
    setAttribute(Qt::WA_DeleteOnClose);
}

QString frmDazudizi::TitleText() {
    return GetText(101, QStringLiteral("|1"), QStringLiteral("Linux")) +
           QCoreApplication::applicationVersion();
}

void frmDazudizi::Form_Load() {
    setWindowTitle(TitleText());
    resize(755, 386); // 11325 x 5790 twips at 15 twips per pixel
}

void frmDazudizi::PokazMnie() {
    Form_Load();
    show();
}

bool frmDazudizi::OtworzPlik(const QString& path, int mode, bool isScript, bool fromRecorder) {
    // Project files and batch scripts come with the project-file work; until
    // then nothing is opened and the caller sees it.
    Q_UNUSED(path);
    Q_UNUSED(mode);
    Q_UNUSED(isScript);
    Q_UNUSED(fromRecorder);
    return false;
}

} // namespace kelbrin
