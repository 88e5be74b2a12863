// Select-all on focus, shared by every box that offers its text for overtyping.
#include "gui/app/SelectAllText.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

using namespace kelbrin;

TEST(SelectAllText, SelectsTheWholeTextWithTheCaretAtItsStart) {
    QLineEdit box("Intro");
    box.setCursorPosition(2);
    SelectAllText(&box);
    EXPECT_EQ(box.selectedText(), "Intro");
    EXPECT_EQ(box.cursorPosition(), 0);
    QLineEdit empty;
    SelectAllText(&empty);
    EXPECT_FALSE(empty.hasSelectedText());
    SelectAllText(nullptr); // nothing to do
}

TEST(SelectAllText, FocusByKeyOrByMouseSelectsIt) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit("other", &window);
    auto* box = new QLineEdit("a label", &window);
    layout->addWidget(other);
    layout->addWidget(box);
    SelectAllTextOnFocus(box);
    SelectAllTextOnFocus(box); // once is enough
    window.show();
    QApplication::setActiveWindow(&window);
    other->setFocus();
    QApplication::processEvents();

    box->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(box->selectedText(), "a label");

    other->setFocus();
    box->deselect();
    QApplication::processEvents();
    // The click that brings the focus leaves the selection in place.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(10, box->height() / 2));
    QApplication::processEvents();
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(box->selectedText(), "a label");
    EXPECT_EQ(box->cursorPosition(), 0);
}
