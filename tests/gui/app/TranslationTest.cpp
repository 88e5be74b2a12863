#include "gui/app/Translation.h"

#include "core/app/TextCatalog.h"
#include "gui/app/ProgramIcons.h"
#include "platform/settings/MemorySettingsStore.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class Translation : public ::testing::Test {
protected:
    void SetUp() override {
        Catalog().loadFromText(QString::fromUtf8("[ENGLISH]\n"
                                                 "1101=Cancel`the dialog\n"
                                                 "1102=OK\n"
                                                 "1116=Play\n"
                                                 "2013=Repeat\n"
                                                 "2062=Track\n"
                                                 "2103=Hint of its own\n"
                                                 "2142=Title\n"
                                                 "2165=VBR\n"
                                                 "2500=General\n"
                                                 "2559=Help`panel\n"
                                                 "3156=Output |1\n"
                                                 "5037=Close without`saving\n"
                                                 "5054=Drag to resize\n"));
        Catalog().setLanguage(QStringLiteral("ENGLISH"));
        previousStore = SetSettingsStore(std::make_unique<MemorySettingsStore>());
        previousSink = SetHintSink([this](const QString& text) { hints.append(text); });
    }
    void TearDown() override {
        SetHintSink(std::move(previousSink));
        SetSettingsStore(std::move(previousStore));
    }

    template <typename T> T* add(QWidget* parent, const char* tag, const QString& text = "design") {
        auto* widget = new T(parent);
        if (tag)
            widget->setProperty("Tag", QString::fromLatin1(tag));
        if constexpr (std::is_same_v<T, QGroupBox>)
            widget->setTitle(text);
        else
            widget->setText(text);
        return widget;
    }
    static QImage Pixels(const QIcon& icon) { return icon.pixmap(24, 24).toImage(); }
    static void Enter(QWidget* w) {
        QEnterEvent event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(w, &event);
    }
    // A leave is settled once the events of the same move are through.
    static void Leave(QWidget* w) {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(w, &event);
        QCoreApplication::processEvents();
    }

    QStringList hints;
    std::unique_ptr<SettingsStore> previousStore;
    HintSink previousSink;
};

TEST_F(Translation, TagNumbersReadTheCaptionBeforeAndTheHintAfterTheFirstSemicolon) {
    struct Case {
        const char* tag;
        int caption, hint;
    } cases[] = {{"1101;5037", 1101, 5037}, {"2101;", 2101, 0},   {"1119;0", 1119, 0},
                 {"0;5054", 0, 5054},       {"2103", 2103, 2103}, {"", 0, 0},
                 {";5000", 0, 5000},        {" 12;7;9", 12, 7},   {"x1;y", 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        EXPECT_EQ(TagNumber(c.tag), c.caption);
        EXPECT_EQ(TagHintNumber(c.tag), c.hint);
    }
}

TEST_F(Translation, ButtonIconsGoToTaggedCommandButtonsUntilTheFirstNumberWithoutAnIcon) {
    QWidget form;
    auto* cancel = add<QPushButton>(&form, "1101;5037", "Cancel");
    auto* frame = add<QGroupBox>(&form, nullptr);
    auto* play = add<QToolButton>(frame, "1116");
    auto* untagged = add<QPushButton>(&form, nullptr, "Keep");
    auto* hintOnly = add<QPushButton>(&form, ";5000", "Keep too");
    auto* check = add<QCheckBox>(&form, "1102;", "Option");
    auto* bad = add<QPushButton>(&form, "2101;5037", "Bad");
    auto* after = add<QPushButton>(&form, "1102", "After");

    ApplyButtonIcons(&form);

    EXPECT_EQ(cancel->text(), "");
    EXPECT_EQ(Pixels(cancel->icon()), Pixels(ProgramIcon(1101)));
    EXPECT_EQ(cancel->toolTip(), "Cancel\nthe dialog");
    EXPECT_EQ(play->text(), "");
    EXPECT_EQ(Pixels(play->icon()), Pixels(ProgramIcon(1116)));
    EXPECT_EQ(play->toolTip(), "Play");
    for (QAbstractButton* kept :
         std::initializer_list<QAbstractButton*>{untagged, hintOnly, check}) {
        EXPECT_NE(kept->text(), "") << kept->text().toStdString();
        EXPECT_TRUE(kept->icon().isNull());
        EXPECT_EQ(kept->toolTip(), "");
    }
    // The pass ends at the bad number; that button keeps its caption as well.
    for (QPushButton* kept : {bad, after}) {
        EXPECT_EQ(kept->text(), kept == bad ? "Bad" : "After");
        EXPECT_TRUE(kept->icon().isNull());
        EXPECT_EQ(kept->toolTip(), "");
    }
}

TEST_F(Translation, CaptionsComeRawFromTheTagOfLabelsFramesAndChoices) {
    QWidget form;
    auto* help = add<QGroupBox>(&form, "2559;0");
    auto* device = add<QGroupBox>(&form, "3156;5035");
    auto* title = add<QLabel>(help, "2142");
    auto* zero = add<QLabel>(&form, "0");
    auto* empty = add<QLabel>(&form, "");
    auto* untagged = add<QLabel>(&form, nullptr);
    auto* hintOnly = add<QLabel>(&form, "0;5054");
    auto* missing = add<QLabel>(&form, "2560");
    auto* vbr = add<QCheckBox>(&form, "2165;");
    auto* choice = add<QRadioButton>(&form, "2142");
    auto* button = add<QPushButton>(&form, "2142");

    LoadLangCaptions(&form);

    EXPECT_EQ(help->title(), "Help\npanel");
    EXPECT_EQ(device->title(), "Output |1");
    EXPECT_EQ(title->text(), "Title");
    for (QLabel* kept : {zero, empty, untagged, hintOnly})
        EXPECT_EQ(kept->text(), "design");
    EXPECT_EQ(missing->text(), "");
    EXPECT_EQ(vbr->text(), "VBR");
    EXPECT_EQ(choice->text(), "Title");
    EXPECT_EQ(button->text(), "design");
}

TEST_F(Translation, MenuItemsTakeTheTextOfTheMenuBasePlusTheirNumber) {
    QWidget form;
    auto* bar = new QMenuBar(&form);
    QMenu* track = bar->addMenu("design");
    track->setProperty("Tag", "62");
    QAction* repeat = track->addAction("design");
    repeat->setProperty("Tag", "13");
    QAction unowned("design");
    unowned.setProperty("Tag", "13");
    track->addAction(&unowned);
    QAction* zero = track->addAction("design");
    zero->setProperty("Tag", "0");
    QAction* untagged = track->addAction("design");

    LoadLangCaptions(&form);

    EXPECT_EQ(track->title(), "Track");
    EXPECT_EQ(repeat->text(), "Repeat");
    EXPECT_EQ(unowned.text(), "Repeat");
    EXPECT_EQ(zero->text(), "design");
    EXPECT_EQ(untagged->text(), "design");

    QWidget tabs;
    auto* general = new QAction("design", &tabs);
    general->setProperty("Tag", "1");
    LoadLangCaptions(&tabs, 2499);
    EXPECT_EQ(general->text(), "General");
}

TEST_F(Translation, ShowHintTakesTheNumberAfterTheFirstSemicolonOrTheWholeTag) {
    const struct {
        const char* tag;
        const char* shown;
    } cases[] = {{"1119;0", ""},
                 {"2101;", ""},
                 {"", ""},
                 {"2103", "Hint of its own"},
                 {"1101;5037", "Close without\nsaving"},
                 {"0;5054", "Drag to resize"}};
    for (const auto& c : cases) {
        ShowHint(c.tag);
        ASSERT_FALSE(hints.isEmpty());
        EXPECT_EQ(hints.takeLast(), c.shown) << c.tag;
    }
    SetHintSink(nullptr);
    ShowHint("2103"); // no help line registered: nothing to do, nothing breaks
}

TEST_F(Translation, HoveringATaggedControlShowsItsHintAndLeavingItTheOneAroundIt) {
    QWidget window;
    auto* frame = add<QGroupBox>(&window, "0;5054");
    auto* cancel = add<QPushButton>(frame, "1101;5037");
    auto* plain = add<QPushButton>(&window, nullptr);
    InstallHintOnHover(&window);
    InstallHintOnHover(&window);
    auto* later = add<QLabel>(&window, "2103");

    Enter(cancel);
    EXPECT_EQ(hints, QStringList{"Close without\nsaving"});
    Leave(cancel);
    EXPECT_EQ(hints.last(), "Drag to resize");
    Leave(frame);
    EXPECT_EQ(hints.last(), "");
    hints.clear();
    Enter(plain);
    Leave(plain);
    EXPECT_TRUE(hints.isEmpty());
    Enter(later);
    EXPECT_EQ(hints, QStringList{"Hint of its own"});
}

} // namespace
