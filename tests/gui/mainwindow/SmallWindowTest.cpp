// The main window at its smallest size: the track panel shows every control
// whole, each clear of the others, in both languages and both views; the help
// box never covers a track box.
#include "PeripheryFixture.h"

#include "core/app/TextCatalog.h"
#include "core/editor/GraphEditor.h"
#include "gui/app/Twips.h"
#include "gui/editor/TrackSurface.h"
#include "gui/mainwindow/MainLayout.h"
#include "support/TextFit.h"

#include <QGroupBox>
#include <QLabel>

using namespace kelbrin;

namespace {

class SmallWindowTest : public test::PeripheryTest {
protected:
    void openSmallest() {
        open();
        window->resize(window->minimumWidth(), TwipsToPx(kMainMinNormalHeight));
        QCoreApplication::processEvents();
        ASSERT_EQ(window->width(), TwipsToPx(kMainMinOuterWidth));
    }
    // The controls that share one parent and are shown.
    static QList<QWidget*> shownControls(QWidget* parent) {
        QList<QWidget*> shown;
        for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisibleTo(parent) && !w->testAttribute(Qt::WA_TransparentForMouseEvents) &&
                !w->objectName().startsWith(QLatin1String("qt_")))
                shown << w;
        return shown;
    }
    // Each control inside its parent and clear of its neighbours.
    static void expectClearAndInside(QWidget* parent, const QString& where) {
        const QList<QWidget*> shown = shownControls(parent);
        for (int i = 0; i < shown.size(); ++i) {
            const QString name = where + QLatin1Char(' ') + shown[i]->objectName();
            EXPECT_TRUE(parent->rect().contains(shown[i]->geometry())) << name.toStdString();
            for (int j = i + 1; j < shown.size(); ++j)
                EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                    << (name + QStringLiteral(" overlaps ") + shown[j]->objectName()).toStdString();
            if (qobject_cast<QGroupBox*>(shown[i]))
                expectClearAndInside(shown[i], name);
        }
    }
};

} // namespace

TEST_F(SmallWindowTest, EveryPanelControlShowsWholeInBothLanguagesAndViews) {
    openSmallest();
    showInPanel(add(1));
    TrackPanelFrame& panel = *window->fraAudio;
    for (const char* language : {"ENGLISH", "POLSKI"}) {
        Catalog().setLanguage(QLatin1String(language));
        window->LoadLang();
        for (bool advanced : {false, true}) {
            if (item("mnulvw")->isChecked() != advanced)
                item("mnulvw")->trigger();
            QCoreApplication::processEvents();
            const QString where = QLatin1String(language) + (advanced ? " advanced" : " basic");
            EXPECT_TRUE(window->centralWidget()->rect().contains(panel.geometry())) << where.toStdString();
            expectClearAndInside(&panel, where);
            EXPECT_EQ(test::CutCaptions(&panel), QStringList()) << where.toStdString();
        }
    }
}

TEST_F(SmallWindowTest, TheHelpBoxNeverCoversATrackBox) {
    openSmallest();
    showInPanel(add(1));
    ASSERT_TRUE(window->fraHelp->isVisible());
    // Boxes above, on and below the help box's top edge.
    const int edge = PxToTwips(window->fraHelp->y() - window->picWork->y());
    for (int n = 2; n <= 4; ++n) {
        auto t = add(n);
        t->lngTop = edge + (n - 3) * 400;
    }
    window->DrawTrackGraph(true);
    const GraphEditor& graph = window->Editor().editor();
    auto expectUncovered = [&](const char* when) {
        const QRect help = window->fraHelp->geometry();
        for (std::int32_t n = 1; n <= 4; ++n) {
            // What the surface shows of the box, in the window's client area.
            const QRect t = graph.boxRect(n);
            const QRect shown = TwipRect{double(t.x()), double(t.y()), double(t.width()), double(t.height())}
                                    .toPx()
                                    .translated(window->picWork->pos())
                                    .intersected(window->picWork->geometry());
            ASSERT_FALSE(shown.isEmpty() && n == 2) << "the highest box shows";
            EXPECT_FALSE(shown.intersects(help)) << when << ": box " << n;
        }
    };
    expectUncovered("as laid out");
    // In a taller window, the help box dragged taller from its edge over the
    // same boxes still leaves them alone.
    window->resize(window->width(), TwipsToPx(kMainMinNormalHeight + 1500));
    QCoreApplication::processEvents();
    window->Editor().surface()->helpEdge.dragTo(edge - 1000);
    ASSERT_GT(window->fraHelp->height(), TwipsToPx(1200));
    expectUncovered("taller");
}
