#include "frmLegend.h"

#include "core/app/TextCatalog.h"
#include "core/editor/TrackGraph.h"
#include "gui/app/TopMost.h"
#include "gui/app/Translation.h"
#include "gui/app/Twips.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>

namespace kelbrin {

namespace {

QPointer<frmLegend> g_legend;

// One sample: a filled box with its outline, or a short line in the line's
// colour and style. Painted by hand, so it shows the same on every style.
class LegendSample : public QWidget {
public:
    LegendSample(QWidget* parent, const QString& name, QColor fill, QColor outline, bool line,
                 bool dashed)
        : QWidget(parent), m_fill(fill), m_outline(outline), m_line(line), m_dashed(dashed) {
        setObjectName(name);
        setProperty("fillColour", fill);
        setProperty("outlineColour", outline);
        if (line)
            setFixedSize(40, 12);
        else
            setFixedSize(24, 24);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (m_line) {
            painter.setPen(QPen(m_outline, 2, m_dashed ? Qt::DashLine : Qt::SolidLine));
            painter.drawLine(0, height() / 2, width(), height() / 2);
            return;
        }
        // A two-pixel outline around the fill, so the outline colour is seen.
        painter.fillRect(rect(), m_outline);
        painter.fillRect(rect().adjusted(2, 2, -2, -2), m_fill);
    }

private:
    QColor m_fill, m_outline;
    bool m_line, m_dashed;
};

QColor Rgb(int r, int g, int b) { return QColor(r, g, b); }

} // namespace

frmLegend::frmLegend(QWidget* parent) : QWidget(parent, Qt::Window | Qt::Tool) {
    setObjectName(QStringLiteral("frmLegend"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* outer = new QVBoxLayout(this);
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("fraLegend"));
    frame->setProperty("Tag", QStringLiteral("2557"));
    outer->addWidget(frame);
    auto* grid = new QGridLayout(frame);

    struct Row {
        const char* sample;
        QColor fill, outline;
        bool line, dashed;
        int label, text;
    };
    // The surface's colours; the selection pointer is yellow.
    const QColor start = ColourFromBgr(graph_colour::StartBox);
    const QColor plain = ColourFromBgr(graph_colour::Plain);
    const QColor playing = ColourFromBgr(graph_colour::Playing);
    const QColor locked = ColourFromBgr(graph_colour::Locked);
    const QColor looped = ColourFromBgr(graph_colour::Looped);
    const QColor yellow = Rgb(255, 255, 0);
    const Row rows[] = {
        {"shpTrack(0)", start, start, false, false, 0, 2152},
        {"shpTrack(1)", plain, Rgb(0, 192, 0), false, false, 1, 2153},
        {"shpTrack(2)", playing, Rgb(240, 15, 0), false, false, 3, 2155},
        {"shpTrack(3)", yellow, yellow, false, false, 4, 2156},
        {"shpTrack(4)", locked, locked, false, false, 2, 2154},
        {"shpTrack(5)", looped, looped, false, false, 7, 2164},
        {"Line1", QColor(), ColourFromBgr(graph_colour::SuccessorLine), true, false, 5, 2157},
        {"Line2", QColor(), ColourFromBgr(graph_colour::LoopLine), true, true, 6, 2158},
    };
    int r = 0;
    for (const Row& row : rows) {
        grid->addWidget(new LegendSample(frame, QLatin1String(row.sample), row.fill, row.outline,
                                         row.line, row.dashed),
                        r, 0, Qt::AlignCenter);
        auto* label = new QLabel(frame);
        label->setObjectName(QStringLiteral("lblLegend(%1)").arg(row.label));
        label->setProperty("Tag", QString::number(row.text));
        grid->addWidget(label, r, 1);
        ++r;
    }
    ApplyButtonIcons(this);
    LoadLangCaptions(this);
    setWindowTitle(GetText(2557));
}

frmLegend* frmLegend::Instance() { return g_legend; }

frmLegend* frmLegend::PokazMnie(QWidget* parent) {
    if (!g_legend)
        g_legend = new frmLegend(parent);
    g_legend->show();
    SetTopMost(g_legend, true);
    g_legend->raise();
    return g_legend;
}

void frmLegend::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kelbrin
