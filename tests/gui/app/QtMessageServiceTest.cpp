#include "gui/app/QtMessageService.h"

#include "ModalDriver.h"
#include "core/app/TextCatalog.h"
#include "gui/app/FileDialogs.h"
#include "support/TestEnvironment.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace kelbrin;
using kelbrin::test::WhenModal;

namespace {

struct Press {
    int style;
    QMessageBox::StandardButton button;
    int answer;
};

int show(int style, const QString& text = "text", const QString& title = "title") {
    QtMessageService service;
    return service.showMessage(MessageRequest{text, style, title, 0});
}

TEST(QtMessageService, EveryButtonOfEveryStyleGivesItsPlatformCode) {
    const Press presses[] = {
        {mb::OkOnly, QMessageBox::Ok, mb::Ok},
        {mb::OkCancel, QMessageBox::Ok, mb::Ok},
        {mb::OkCancel, QMessageBox::Cancel, mb::Cancel},
        {mb::AbortRetryIgnore, QMessageBox::Abort, mb::Abort},
        {mb::AbortRetryIgnore, QMessageBox::Retry, mb::Retry},
        {mb::AbortRetryIgnore, QMessageBox::Ignore, mb::Ignore},
        {mb::YesNoCancel, QMessageBox::Yes, mb::Yes},
        {mb::YesNoCancel, QMessageBox::No, mb::No},
        {mb::YesNoCancel, QMessageBox::Cancel, mb::Cancel},
        {mb::YesNo, QMessageBox::Yes, mb::Yes},
        {mb::YesNo, QMessageBox::No, mb::No},
        {mb::RetryCancel, QMessageBox::Retry, mb::Retry},
        {mb::RetryCancel, QMessageBox::Cancel, mb::Cancel},
    };
    const int buttonCounts[] = {1, 2, 3, 3, 2, 2};
    for (const Press& press : presses) {
        SCOPED_TRACE(press.style);
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            EXPECT_EQ(box->buttons().size(), buttonCounts[press.style]);
            QAbstractButton* button = box->button(press.button);
            ASSERT_NE(button, nullptr);
            button->click();
        });
        EXPECT_EQ(show(press.style + mb::Exclamation), press.answer);
    }
}

TEST(QtMessageService, EscapeAndCloseBoxGiveTheCancellingAnswer) {
    const std::pair<int, int> escapes[] = {
        {mb::OkOnly, mb::Ok},
        {mb::OkCancel, mb::Cancel},
        {mb::AbortRetryIgnore, mb::Abort},
        {mb::YesNoCancel, mb::Cancel},
        {mb::YesNo, mb::No},
        {mb::RetryCancel, mb::Cancel},
    };
    for (const auto& [style, answer] : escapes) {
        SCOPED_TRACE(style);
        WhenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        EXPECT_EQ(show(style), answer);
        WhenModal<QMessageBox>([](QMessageBox* box) { box->close(); });
        EXPECT_EQ(show(style), answer);
    }
}

TEST(QtMessageService, EnterTakesTheFirstButton) {
    WhenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(show(mb::YesNo), mb::Yes);
    WhenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(show(mb::RetryCancel), mb::Retry);
}

TEST(QtMessageService, ShowsIconLineBreaksAndTheProgramNameForAnEmptyTitle) {
    const std::pair<int, QMessageBox::Icon> icons[] = {{0, QMessageBox::NoIcon},
                                                       {mb::Critical, QMessageBox::Critical},
                                                       {mb::Question, QMessageBox::Question},
                                                       {mb::Exclamation, QMessageBox::Warning},
                                                       {mb::Information, QMessageBox::Information}};
    for (const auto& [style, icon] : icons) {
        WhenModal<QMessageBox>([icon = icon](QMessageBox* box) {
            EXPECT_EQ(box->icon(), icon);
            EXPECT_EQ(box->text(), "Error Nr.5\nNo file\nModul x");
            EXPECT_EQ(box->windowTitle(), "Kelbrin");
            box->accept();
        });
        show(style + mb::YesNo, "Error Nr.5\rNo file\r\nModul x", QString());
    }
}

TEST(QtMessageService, InputBoxGivesTheTextOrNothingOnCancel) {
    QtMessageService service;
    const InputRequest request{"How many\rloops?", QString(), "1", 0};
    WhenModal<QInputDialog>([](QInputDialog* dialog) {
        EXPECT_EQ(dialog->labelText(), "How many\nloops?");
        EXPECT_EQ(dialog->windowTitle(), "Kelbrin");
        EXPECT_EQ(dialog->textValue(), "1");
        dialog->findChild<QLineEdit*>()->setText("3");
        dialog->accept();
    });
    EXPECT_EQ(service.inputBox(request), std::optional<QString>("3"));

    WhenModal<QInputDialog>([](QInputDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(service.inputBox(request), std::nullopt);

    WhenModal<QInputDialog>([](QInputDialog* dialog) {
        dialog->findChild<QLineEdit*>()->clear();
        dialog->accept();
    });
    EXPECT_EQ(service.inputBox(request), std::optional<QString>(""));
}

} // namespace

// Fault mended: under Polish, the buttons of every message box and the file
// dialogs stayed English.
TEST(QtMessageService, QtsOwnTextsFollowTheProgramsLanguage) {
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
    auto buttonTexts = [] {
        QStringList texts;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            for (auto which : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                texts << box->button(which)->text().remove(QLatin1Char('&'));
            box->button(QMessageBox::Cancel)->click();
        });
        show(mb::YesNoCancel);
        return texts;
    };
    Catalog().setLanguage("POLSKI");
    EXPECT_EQ(buttonTexts(), QStringList({"Tak", "Nie", "Anuluj"}));
    QString cancel;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_TRUE(buttons);
        cancel = buttons->button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&'));
        dialog->reject();
    });
    int filterIndex = 1;
    ShowFileDialog(nullptr, test::MakeTempDir("qt-texts"), QString(), filterIndex, false, false, "title");
    EXPECT_EQ(cancel, "Anuluj");
    Catalog().setLanguage("ENGLISH");
    EXPECT_EQ(buttonTexts(), QStringList({"Yes", "No", "Cancel"}));
}
