// The main window at its smallest size and maximised, showing a track in its
// panel.
#include "PeripheryFixture.h"

#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "core/editor/GraphEditor.h"
#include "gui/app/Twips.h"
#include "gui/mainwindow/MainLayout.h"
#include "support/TextFit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

using namespace kelbrin;

namespace {

class SmallWindowTest : public test::PeripheryTest {
protected:
    void SetUp() override {
        PeripheryTest::SetUp();
        open();
        window->resize(window->minimumWidth(), TwipsToPx(kMainMinNormalHeight));
        showInPanel(add(1));
    }
    // Every shown control lies inside its parent, clear of the others.
    static void expectClearAndInside(QWidget* parent, const QString& where) {
        QList<QWidget*> shown;
        for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisibleTo(parent) && !w->testAttribute(Qt::WA_TransparentForMouseEvents))
                shown << w;
        for (int i = 0; i < shown.size(); ++i) {
            const std::string name = (where + QLatin1Char(' ') + shown[i]->objectName()).toStdString();
            EXPECT_TRUE(parent->rect().contains(shown[i]->geometry())) << name;
            for (int j = i + 1; j < shown.size(); ++j)
                EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                    << name << " overlaps " << shown[j]->objectName().toStdString();
            if (qobject_cast<QGroupBox*>(shown[i]))
                expectClearAndInside(shown[i], where);
        }
    }
};

} // namespace

TEST_F(SmallWindowTest, EveryPanelControlShowsWholeInBothLanguagesAndViews) {
    inEveryLanguageAndView([this](const QString& where, bool) {
        EXPECT_TRUE(window->centralWidget()->rect().contains(window->fraAudio()->geometry()));
        expectClearAndInside(window->fraAudio(), where);
        EXPECT_EQ(test::CutCaptions(window->fraAudio()), QStringList()) << where.toStdString();
    });
}

TEST_F(SmallWindowTest, TheHelpBoxNeverCoversATrackBox) {
    ASSERT_TRUE(window->fraHelp()->isVisible());
    // Boxes above, on and below the help box's top edge.
    const int edge = PxToTwips(window->fraHelp()->y() - window->picWork()->y());
    for (int n = 2; n <= 4; ++n)
        add(n)->lngTop = edge + (n - 3) * 400;
    window->DrawTrackGraph(true);
    for (std::int32_t n = 1; n <= 4; ++n) {
        // What the surface shows of the box, in the window's client area.
        const QRect t = window->Editor().editor().boxRect(n);
        const QRect shown = TwipRect{double(t.x()), double(t.y()), double(t.width()), double(t.height())}
                                .toPx()
                                .translated(window->picWork()->pos())
                                .intersected(window->picWork()->geometry());
        EXPECT_FALSE(shown.intersects(window->fraHelp()->geometry())) << "box " << n;
    }
}

TEST_F(SmallWindowTest, ALongTagShowsFromItsFirstLetter) {
    add(2)->strTitle = QStringLiteral("20261209__18_06_44 Evening news from the radio");
    item("mnulvw")->trigger();
    QTreeWidget* list = window->lvwNodes();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(1)).center());
    QLineEdit* title = window->fraAudio()->txtTitle;
    ASSERT_TRUE(title->text().startsWith("20261209"));
    title->repaint(); // a box scrolls to its cursor when it is drawn
    // The letter at the box's left edge is the first one.
    EXPECT_EQ(title->cursorPositionAt(QPoint(title->contentsRect().left() + 4, title->height() / 2)), 0);
}

// On a large screen the panel's names take the room it has, and the playing
// time is never broken over two lines, whatever the track is called.
class LargeWindowTest : public test::PeripheryTest {};

TEST_F(LargeWindowTest, TheTagBoxesTakeTheRoomAndThePlayingTimeStaysOnOneLine) {
    open();
    window->setWindowState(Qt::WindowMaximized);
    window->resize(1600, 1000);
    const auto track = add(1, 360);
    track->strLabel = QStringLiteral("Poranek w \u0141odzi \u2014 audycja poranna z go\u015b\u0107mi i pogod\u0105");
    auto source = std::make_shared<cPozycjaPlikow>();
    source->strFileName = track->strFileNameSource;
    source->sngCzasTrwania = 360;
    if (!Program().session.OpenFiles)
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
    Program().session.OpenFiles->Add(source);
    TrackPanelFrame& panel = *window->fraAudio();
    inEveryLanguageAndView([&](const QString& view, bool advanced) {
        showInPanel(track);
        const std::string where = view.toStdString();
        const QLabel* time = panel.lblDuration;
        EXPECT_TRUE(time->text().endsWith(QStringLiteral("6 : 0"))) << where << ": " << time->text().toStdString();
        EXPECT_EQ(time->height(), time->fontMetrics().height()) << where;
        EXPECT_EQ(test::CutCaptions(&panel), QStringList()) << where;
        EXPECT_FALSE(time->geometry().intersects(panel.lblCaption->geometry())) << where;
        if (!advanced)
            return;
        // The boxes that show names end at the tag frame's margin; the year
        // keeps its width.
        const int margin = panel.fraTAG->width() - TwipsToPx(100);
        for (QWidget* box : std::initializer_list<QWidget*>{panel.txtTitle, panel.txtArtist, panel.txtAlbum,
                                                             panel.cboGenre, panel.txtComment})
            EXPECT_NEAR(box->geometry().right() + 1, margin, 1) << where << " " << box->objectName().toStdString();
        EXPECT_EQ(panel.txtYear->width(), TwipsToPx(1500)) << where;
    });
    // At the smallest size the name ends in an ellipsis over the time, and
    // shows whole in its tooltip.
    window->setWindowState(Qt::WindowNoState);
    window->resize(window->minimumWidth(), TwipsToPx(kMainMinNormalHeight));
    QCoreApplication::processEvents();
    EXPECT_TRUE(panel.lblCaption->text().endsWith(QChar(0x2026))) << panel.lblCaption->text().toStdString();
    EXPECT_TRUE(panel.lblCaption->toolTip().endsWith(track->strLabel));
    EXPECT_TRUE(panel.lblDuration->text().endsWith(QStringLiteral("6 : 0")));
    EXPECT_EQ(test::CutCaptions(&panel), QStringList());
}
