#include "gui/app/FileDialogs.h"

#include "ModalDriver.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kelbrin;
using kelbrin::test::WhenModal;

namespace {

const QChar Nul(QChar::Null);

QString filterOf(std::initializer_list<const char*> parts) {
    QString result;
    for (const char* part : parts)
        result += QString::fromUtf8(part) + Nul;
    return result;
}

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// The dialog's own accept, as its Open or Save button runs it.
void confirm(QDialog* dialog) {
    dialog->accept();
}

// The description of the filter in force, with or without its masks.
QString shownFilter(const QFileDialog* dialog) {
    const QString filter = dialog->selectedNameFilter();
    const qsizetype masks = filter.lastIndexOf(QStringLiteral(" ("));
    return masks >= 0 && filter.endsWith(QLatin1Char(')')) ? filter.left(masks) : filter;
}

void typeName(QFileDialog* dialog, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
}

class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        folder = kelbrin::test::MakeTempDir(QStringLiteral("dialogs"));
        for (const char* name : {"a.mp3", "b.mp3", "c.cue"})
            touch(folder + QLatin1Char('/') + QLatin1String(name));
    }
    QString folder;
    const QString filter = filterOf({"Audio", "*.mp3;*.MP2", "Cue sheets", "*.cue", "All", "*.*"});
};

TEST_F(FileDialogs, OpenDialogShowsTheCallersFiltersFolderAndTitle) {
    int index = 2;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Open a sheet");
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(folder).canonicalPath());
        EXPECT_EQ(dialog->nameFilters(),
                  QStringList({"Audio (*.mp3 *.MP2)", "Cue sheets (*.cue)", "All (*)"}));
        EXPECT_EQ(shownFilter(dialog), "Cue sheets");
        // The user sees the descriptions as the caller wrote them.
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        EXPECT_EQ(types->itemText(0), "Audio");
        EXPECT_EQ(types->count(), 3);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        typeName(dialog, "c.cue");
        confirm(dialog);
    });
    const QString result =
        ShowFileDialog(nullptr, folder, filter, index, false, false, "Open a sheet");
    EXPECT_EQ(result, folder + "/c.cue");
    EXPECT_EQ(index, 2);
}

TEST_F(FileDialogs, FilterIndexReturnsTheFilterInForceOrStaysOnCancel) {
    int index = 1;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(shownFilter(dialog), "Audio");
        dialog->selectNameFilter("Cue sheets (*.cue)");
        typeName(dialog, "c.cue");
        confirm(dialog);
    });
    ShowFileDialog(nullptr, folder, filter, index, false, false, QString());
    EXPECT_EQ(index, 2);

    // An index out of range shows the first filter.
    index = 9;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(shownFilter(dialog), "Audio");
        dialog->selectNameFilter("All (*)");
        dialog->reject();
    });
    EXPECT_EQ(ShowFileDialog(nullptr, folder, filter, index, false, false, QString()), "");
    EXPECT_EQ(index, 9);
}

TEST_F(FileDialogs, MultipleChoiceGivesFolderAndNamesOrOnePath) {
    int index = 1;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
        typeName(dialog, "\"a.mp3\" \"b.mp3\"");
        confirm(dialog);
    });
    QString result = ShowFileDialog(nullptr, folder, filter, index, false, true, QString());
    EXPECT_EQ(result, folder + Nul + "a.mp3" + Nul + "b.mp3" + Nul + Nul);

    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        typeName(dialog, "\"b.mp3\"");
        confirm(dialog);
    });
    result = ShowFileDialog(nullptr, folder, filter, index, false, true, QString());
    EXPECT_EQ(result, folder + "/b.mp3");
}

TEST_F(FileDialogs, SingleSaveDialogAsksBeforeReplacingAFile) {
    int index = 1;
    bool asked = false;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            asked = true;
            box->button(QMessageBox::No)->click();
        });
        typeName(dialog, folder + "/a.mp3");
        confirm(dialog); // refused: the dialog stays open
        EXPECT_TRUE(dialog->isVisible());
        WhenModal<QMessageBox>([&](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        confirm(dialog);
    });
    EXPECT_EQ(ShowFileDialog(nullptr, folder, filter, index, true, false, QString()),
              folder + "/a.mp3");
    EXPECT_TRUE(asked);

    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        typeName(dialog, "new.mp3");
        confirm(dialog);
    });
    EXPECT_EQ(ShowFileDialog(nullptr, folder, filter, index, true, false, QString()),
              folder + "/new.mp3");
}

TEST_F(FileDialogs, MultiSelectSaveDialogReplacesWithoutAsking) {
    int index = 1;
    bool asked = false;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        kelbrin::test::WhileOpen<QMessageBox>(dialog, [&](QMessageBox* box) {
            asked = true;
            box->button(QMessageBox::Yes)->click();
        });
        typeName(dialog, folder + "/a.mp3");
        confirm(dialog);
    });
    EXPECT_EQ(ShowFileDialog(nullptr, folder, filter, index, true, true, QString()),
              folder + "/a.mp3");
    EXPECT_FALSE(asked);
}

class FolderBrowser : public ::testing::Test {
protected:
    static QFileDialog* browserOf(QDialog* frame) {
        auto* browser = frame->findChild<QFileDialog*>();
        EXPECT_NE(browser, nullptr);
        return browser;
    }
    void choose(const QString& path) {
        WhenModal<QDialog>([path](QDialog* frame) {
            QFileDialog* browser = browserOf(frame);
            typeName(browser, path);
            confirm(browser);
        });
    }
};

TEST_F(FolderBrowser, ReturnsTheFolderWithOneTrailingSlash) {
    const QString parent = kelbrin::test::MakeTempDir(QStringLiteral("browse"));
    const QString chosen = parent + "/Music";
    ASSERT_TRUE(QDir().mkpath(chosen));
    choose(chosen);
    EXPECT_EQ(BrowseForFolder(nullptr, "t"), chosen + "/");
    choose(chosen + "/");
    EXPECT_EQ(BrowseForFolder(nullptr, "t"), chosen + "/");
    choose("/");
    EXPECT_EQ(BrowseForFolder(nullptr, "t"), "/");
}

TEST_F(FolderBrowser, ShowsTheTitleAboveTheFoldersAndGivesNothingOnCancel) {
    WhenModal<QDialog>([](QDialog* frame) {
        auto* label = frame->findChild<QLabel*>(QStringLiteral("lblTitle"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), "Destination folder\nNow: /tmp");
        EXPECT_EQ(browserOf(frame)->fileMode(), QFileDialog::Directory);
        browserOf(frame)->reject();
    });
    EXPECT_EQ(BrowseForFolder(nullptr, "Destination folder\r\nNow: /tmp"), "");
}

} // namespace
