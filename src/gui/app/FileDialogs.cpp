#include "FileDialogs.h"

#include "Translation.h"
#include "core/app/MessageService.h"
#include "core/app/PathProcedures.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

namespace kelbrin {

namespace {

const QChar kNul(QChar::Null);

// "*.*" means every file to the callers, with or without an extension.
QString qtMask(const QString& mask) {
    const QString m = mask.trimmed();
    return m == QLatin1String("*.*") ? QStringLiteral("*") : m;
}

struct NameFilters {
    QStringList descriptions; // as the callers wrote them
    QStringList qt;           // "Text (*.mp3 *.mp2)"

    // The 0-based filter of the dialog's selectedNameFilter(), which with hidden
    // details may give the description alone.
    qsizetype indexOf(const QString& selected) const {
        const qsizetype index = qt.indexOf(selected);
        return index >= 0 ? index : descriptions.indexOf(selected.trimmed());
    }
};

// "Text NUL *.mp3;*.mp2 NUL ..." -> "Text (*.mp3 *.mp2)", ... The dialog hides the
// bracketed masks, so the user sees the callers' descriptions unchanged.
NameFilters nameFilters(const QString& filter) {
    const QStringList parts = filter.split(kNul);
    NameFilters result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QStringList masks;
        for (const QString& mask : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString m = qtMask(mask);
            if (!m.isEmpty())
                masks << m;
        }
        if (masks.isEmpty())
            masks << QStringLiteral("*");
        result.descriptions << parts[i].trimmed();
        result.qt << parts[i] + QStringLiteral(" (") + masks.join(QLatin1Char(' ')) +
                         QLatin1Char(')');
    }
    return result;
}

// Several files come back as the folder and the names, each ended by NUL, and
// one more NUL at the end.
QString multipleChoice(const QStringList& files) {
    const QString folder = QFileInfo(files.first()).absolutePath();
    const QDir dir(folder);
    QString result = folder + kNul;
    for (const QString& file : files)
        result += dir.relativeFilePath(file) + kNul;
    return result + kNul;
}

// Nobody can answer a dialog in an unattended run: it counts as cancelled,
// and what it asked goes where the run's messages go, with its own number
// where its text has one.
bool cancelledUnanswered(const QString& asked, int textNumber) {
    if (!NobodyAnswers())
        return false;
    if (textNumber > 0)
        WriteNotice(textNumber, asked + QLatin1Char('\r') + GetText(texts::kNumberedDialogUnanswered));
    else
        WriteNotice(texts::kDialogUnanswered, GetText(texts::kDialogUnanswered, QStringLiteral("|1"), asked));
    return true;
}

// The dialog's title as the user would have seen it, and where it opens.
QString askedInFolder(const QString& title, const QString& folder) {
    return folder.isEmpty() ? title : title + QStringLiteral(" (") + folder + QLatin1Char(')');
}

} // namespace

QString ShowFileDialog(QWidget* owner, const QString& initialFolder, const QString& filter,
                       int& filterIndex, bool save, bool multiSelect, const QString& title,
                       bool askBeforeReplacing) {
    const QString shownTitle = !title.isEmpty() ? title
                               : save           ? QFileDialog::tr("Save As")
                                                : QFileDialog::tr("Open");
    if (cancelledUnanswered(askedInFolder(shownTitle, initialFolder), 0))
        return QString();
    QFileDialog dialog(owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setFileMode(QFileDialog::AnyFile);
    else
        dialog.setFileMode(multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, multiSelect || !askBeforeReplacing);
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    if (!initialFolder.isEmpty())
        dialog.setDirectory(initialFolder);

    const NameFilters filters = nameFilters(filter);
    if (!filters.qt.isEmpty()) {
        dialog.setNameFilters(filters.qt);
        const int shown = filterIndex >= 1 && filterIndex <= filters.qt.size() ? filterIndex : 1;
        dialog.selectNameFilter(filters.qt[shown - 1]);
    }

    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return QString();
    if (!filters.qt.isEmpty()) {
        const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
        if (chosen >= 0)
            filterIndex = static_cast<int>(chosen) + 1;
    }
    return files.size() == 1 ? files.first() : multipleChoice(files);
}

QString BrowseForFolder(QWidget* owner, const QString& title, int textNumber) {
    if (cancelledUnanswered(DisplayText(title).replace(QLatin1Char('\n'), QLatin1Char(' ')), textNumber))
        return QString();
    // The folder dialog has no place for a text above its view, so it is
    // embedded in a frame that shows the title as a label.
    QDialog frame(owner);
    auto* browser = new QFileDialog(&frame);
    browser->setWindowFlags(Qt::Widget);
    browser->setOption(QFileDialog::DontUseNativeDialog);
    browser->setOption(QFileDialog::ShowDirsOnly);
    browser->setFileMode(QFileDialog::Directory);
    browser->setDirectory(QDir::homePath());

    auto* layout = new QVBoxLayout(&frame);
    if (!title.isEmpty()) {
        auto* label = new QLabel(DisplayText(title), &frame);
        label->setObjectName(QStringLiteral("lblTitle"));
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    layout->addWidget(browser);
    frame.setWindowTitle(browser->windowTitle());
    QObject::connect(browser, &QDialog::accepted, &frame, &QDialog::accept);
    QObject::connect(browser, &QDialog::rejected, &frame, &QDialog::reject);

    if (frame.exec() != QDialog::Accepted)
        return QString();
    const QString chosen = browser->selectedFiles().value(0);
    if (chosen.isEmpty() || !QFileInfo(chosen).isDir())
        return QString();
    QString folder = QDir::cleanPath(QFileInfo(chosen).absoluteFilePath());
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

std::optional<SourceFileChoice> ChooseSourceFiles(QWidget* owner, const SourceFileDialog& dialog) {
    QString filter;
    for (const auto& f : dialog.filters)
        filter += GetText(f.first) + QChar(0) + f.second + QChar(0);
    int index = dialog.initialFilter;
    const QString result = ShowFileDialog(owner, dialog.folder, filter, index, false,
                                          dialog.multipleChoice, dialog.title);
    if (result.isEmpty())
        return std::nullopt;
    SourceFileChoice choice;
    choice.filterIndex = index;
    choice.paths = PathsFromFileChoice(result, &choice.folder);
    return choice;
}

} // namespace kelbrin
