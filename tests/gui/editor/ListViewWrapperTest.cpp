// The list-view wrapper over a shown track list: every switch reads back what
// it set and changes what the user sees or can do.
#include "gui/editor/ListViewBehaviour.h"
#include "gui/editor/cListView.h"

#include <QApplication>
#include <QHash>
#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class ListViewWrapper : public ::testing::Test {
protected:
    void SetUp() override {
        view = new QTreeWidget;
        view->setRootIsDecorated(false);
        view->setColumnCount(3);
        view->setHeaderLabels({"Name", "From", "To"});
        for (int c = 0; c < 3; ++c)
            view->setColumnWidth(c, 120);
        for (const char* name : {"One", "Two", "Three"})
            new QTreeWidgetItem(view, {QLatin1String(name), "0:0:0", "1:0:0"});
        view->resize(420, 200);
        view->show();
        QApplication::processEvents();
        lv.setHWnd(view);
    }
    void TearDown() override { delete view; }

    QPoint rowCentre(int row) const { return view->visualItemRect(view->topLevelItem(row)).center(); }
    void send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    static QIcon Red() {
        QPixmap p(16, 16);
        p.fill(Qt::red);
        return QIcon(p);
    }
    // Red pixels of an image between two x positions.
    static int RedBetween(const QImage& image, int from, int to) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = std::max(0, from); x < std::min(image.width(), to); ++x)
                n += image.pixelColor(x, y) == QColor(Qt::red) ? 1 : 0;
        return n;
    }

    QTreeWidget* view = nullptr;
    cListView lv;
};

} // namespace

TEST(ListViewWrapperUnset, NothingHappensBeforeTheListIsGiven) {
    cListView lv;
    lv.setHeaderFullDrag(false);
    lv.setSubItemImages(true);
    lv.setTrackSelect(true);
    lv.OnClickActivate(true);
    lv.setTwoClickActivate(true);
    lv.SetHeaderBitmap(0, QIcon(), true);
    lv.ClearHeaderBitmap();
    EXPECT_FALSE(lv.HeaderFullDrag());
    EXPECT_FALSE(lv.SubItemImages());
    EXPECT_FALSE(lv.TrackSelect());
    EXPECT_FALSE(lv.OneClickActivate());
    EXPECT_FALSE(lv.TwoClickActivate());
    EXPECT_EQ(lv.ItemHitTest(0, 0), -1);
}

TEST_F(ListViewWrapper, SwitchesReadBackAndHitTestsFindRows) {
    EXPECT_TRUE(lv.HeaderFullDrag()); // Qt's own resizing is live
    EXPECT_TRUE(lv.SubItemImages());  // and shows every column's picture
    lv.OnClickActivate(true);
    EXPECT_TRUE(lv.OneClickActivate());
    lv.OnClickActivate(false);
    EXPECT_FALSE(lv.OneClickActivate());
    lv.setHeaderFullDrag(false);
    EXPECT_FALSE(lv.HeaderFullDrag());
    lv.setHeaderFullDrag(false); // setting it again changes nothing
    EXPECT_FALSE(lv.HeaderFullDrag());
    lv.setSubItemImages(false);
    EXPECT_FALSE(lv.SubItemImages());
    lv.setTrackSelect(true);
    EXPECT_TRUE(lv.TrackSelect());
    lv.setTwoClickActivate(true);
    EXPECT_TRUE(lv.TwoClickActivate());

    const QPoint second = rowCentre(1);
    EXPECT_EQ(lv.ItemHitTest(second.x() * 15.0, second.y() * 15.0), 1);
    const QPoint below(10, view->viewport()->height() - 3);
    EXPECT_EQ(lv.ItemHitTest(below.x() * 15.0, below.y() * 15.0), -1);
}

TEST_F(ListViewWrapper, OneClickAndTwoClickActivation) {
    QSignalSpy activated(view, &QAbstractItemView::activated);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(0));
    EXPECT_EQ(activated.count(), 0); // a plain list activates on double-click only

    lv.OnClickActivate(true);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(1));
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.at(0).at(0).toModelIndex().row(), 1);
    send(view->viewport(), QEvent::MouseMove, rowCentre(2), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::PointingHandCursor);

    lv.OnClickActivate(false);
    lv.setTwoClickActivate(true);
    activated.clear();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(2)); // selects
    EXPECT_EQ(activated.count(), 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(2)); // the second click
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.at(0).at(0).toModelIndex().row(), 2);
}

TEST_F(ListViewWrapper, RestingOnARowSelectsItOnlyWithTrackSelect) {
    view->setCurrentItem(view->topLevelItem(0));
    send(view->viewport(), QEvent::MouseMove, rowCentre(2), Qt::NoButton, Qt::NoButton);
    QTest::qWait(ListViewBehaviour::kHoverMs + 200);
    EXPECT_EQ(view->currentItem(), view->topLevelItem(0));

    lv.setTrackSelect(true);
    send(view->viewport(), QEvent::MouseMove, rowCentre(2), Qt::NoButton, Qt::NoButton);
    QTest::qWait(ListViewBehaviour::kHoverMs / 2);
    EXPECT_EQ(view->currentItem(), view->topLevelItem(0)); // not yet
    QTest::qWait(ListViewBehaviour::kHoverMs);
    EXPECT_EQ(view->currentItem(), view->topLevelItem(2));

    // Passing over a row on the way elsewhere does not take it.
    send(view->viewport(), QEvent::MouseMove, rowCentre(1), Qt::NoButton, Qt::NoButton);
    QTest::qWait(ListViewBehaviour::kHoverMs / 2);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view->viewport(), &leave);
    QTest::qWait(ListViewBehaviour::kHoverMs);
    EXPECT_EQ(view->currentItem(), view->topLevelItem(2));
}

TEST_F(ListViewWrapper, SubItemPicturesShowOnlyWhenSwitchedOn) {
    view->topLevelItem(0)->setIcon(1, Red());
    const int from = view->header()->sectionViewportPosition(1);
    const int to = from + view->header()->sectionSize(1);
    auto redInColumn = [&] {
        view->viewport()->update();
        QApplication::processEvents();
        return RedBetween(view->viewport()->grab().toImage(), from, to);
    };
    EXPECT_GT(redInColumn(), 0);
    lv.setSubItemImages(false);
    EXPECT_EQ(redInColumn(), 0);
    lv.setSubItemImages(true);
    EXPECT_GT(redInColumn(), 0);
}

TEST_F(ListViewWrapper, WithoutFullDragAColumnTakesItsWidthOnRelease) {
    QWidget* header = view->header()->viewport();
    const int edge = view->header()->sectionSize(0);
    const QPoint grip(edge - 1, header->height() / 2);

    // Full drag: the column follows the pointer.
    send(header, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    send(header, QEvent::MouseMove, grip + QPoint(30, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_NEAR(view->header()->sectionSize(0), edge + 30, 2);
    send(header, QEvent::MouseButtonRelease, grip + QPoint(30, 0), Qt::LeftButton, Qt::NoButton);
    const int wider = view->header()->sectionSize(0);

    lv.setHeaderFullDrag(false);
    const QPoint grip2(wider - 1, header->height() / 2);
    send(header, QEvent::MouseButtonPress, grip2, Qt::LeftButton, Qt::LeftButton);
    send(header, QEvent::MouseMove, grip2 + QPoint(40, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(view->header()->sectionSize(0), wider); // only a line moves
    send(header, QEvent::MouseButtonRelease, grip2 + QPoint(40, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_NEAR(view->header()->sectionSize(0), wider + 40, 2);
}

TEST_F(ListViewWrapper, HeaderBitmapStandsLeftOrRightOfTheCaption) {
    auto redHalves = [&] {
        QApplication::processEvents();
        const QImage image = view->header()->viewport()->grab().toImage();
        const int width = view->header()->sectionSize(0);
        return std::pair{RedBetween(image, 0, width / 2), RedBetween(image, width / 2, width)};
    };
    lv.SetHeaderBitmap(0, Red(), false);
    auto [left, right] = redHalves();
    EXPECT_GT(left, 0);
    EXPECT_EQ(right, 0);
    lv.SetHeaderBitmap(0, Red(), true);
    std::tie(left, right) = redHalves();
    EXPECT_EQ(left, 0);
    EXPECT_GT(right, 0);
    EXPECT_EQ(view->headerItem()->text(0), "Name");
    lv.ClearHeaderBitmap();
    std::tie(left, right) = redHalves();
    EXPECT_EQ(left + right, 0);
}

TEST_F(ListViewWrapper, TheSelectedRowShowsItsTextWithAndWithoutFocus) {
    // As the main window sets up its track list.
    lv.setFullRowSelect(true);
    lv.setGridlines(true);
    view->setCurrentItem(view->topLevelItem(1));
    for (const bool focused : {true, false}) {
        SCOPED_TRACE(focused);
        QWidget other;
        if (focused) {
            view->activateWindow();
            view->setFocus();
        } else {
            lv.setShowSelAlways(true);
            other.show();
            other.activateWindow();
        }
        QApplication::processEvents();
        // The pixels of the first cell that stand out from its background.
        const QImage image = view->viewport()->grab().toImage();
        const QRect cell = view->visualRect(view->model()->index(1, 0)).adjusted(2, 2, -2, -2);
        QHash<QRgb, int> counts;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                ++counts[image.pixel(x, y)];
        const QColor background(std::max_element(counts.cbegin(), counts.cend()).key());
        int text = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                text += std::abs(image.pixelColor(x, y).lightness() - background.lightness()) > 90;
        EXPECT_GT(text, 15) << "background " << background.name().toStdString();
    }
}

// Fault mended: underscores, drawn at the foot of the text, fell on the row's
// grid line or under the next row: "a_b.mp3" read "a b.mp3".
TEST_F(ListViewWrapper, UnderscoresShowAboveTheGridLine) {
    lv.setGridlines(true);
    for (const int points : {8, 10, 14}) {
        SCOPED_TRACE(points);
        QFont font = view->font();
        font.setPointSize(points); // as the main window sets the size the user chose
        view->setFont(font);
        view->topLevelItem(0)->setText(0, QStringLiteral("__________"));
        view->topLevelItem(1)->setText(0, QString());
        QApplication::processEvents();
        const QImage image = view->viewport()->grab().toImage();
        const QRect row = view->visualItemRect(view->topLevelItem(0));
        // The underscores' pixels are dark and lie in the row's lower half.
        int dark = 0;
        for (int y = row.center().y(); y <= row.bottom(); ++y)
            for (int x = row.left() + 2; x < 100; ++x)
                dark += image.pixelColor(x, y).lightness() < 100;
        EXPECT_GT(dark, 20) << "row of " << row.height() << " px, font " << QFontMetrics(font).height();
    }
}
