#include "frmLegend.h"

#include "core/app/TextCatalog.h"
#include "core/editor/TrackGraph.h"
#include "gui/app/TopMost.h"
#include "gui/app/Translation.h"
#include "gui/app/Twips.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace kelbrin {

namespace {

QPointer<frmLegend> g_legend;

// A sample: a filled box, or a short line drawn in the line's colour and style.
QFrame* Sample(QWidget* parent, const QString& name, const QColor& fill, const QColor& outline,
               bool line, bool dashed = false) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    if (line) {
        f->setFixedSize(40, 12);
        f->setStyleSheet(QStringLiteral("QFrame#%1 { border: none; border-top: 2px %2 %3; margin-top: 5px; }")
                             .arg(name, dashed ? QStringLiteral("dashed") : QStringLiteral("solid"),
                                  outline.name()));
    } else {
        f->setFixedSize(24, 24);
        f->setStyleSheet(QStringLiteral("QFrame#%1 { background: %2; border: 1px solid %3; }")
                             .arg(name, fill.name(), outline.name()));
    }
    return f;
}

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
        std::uint32_t bgr;
        bool line, dashed;
        int label, text;
    };
    // The same colours the surface paints with; the selection pointer is yellow.
    const Row rows[] = {
        {"shpTrack(0)", graph_colour::StartBox, false, false, 0, 2152},
        {"shpTrack(1)", graph_colour::Plain, false, false, 1, 2153},
        {"shpTrack(2)", graph_colour::Playing, false, false, 3, 2155},
        {"shpTrack(3)", 0x00FFFF, false, false, 4, 2156},
        {"shpTrack(4)", graph_colour::Locked, false, false, 2, 2154},
        {"shpTrack(5)", graph_colour::Looped, false, false, 7, 2164},
        {"Line1", graph_colour::SuccessorLine, true, false, 5, 2157},
        {"Line2", graph_colour::LoopLine, true, true, 6, 2158},
    };
    int r = 0;
    for (const Row& row : rows) {
        const QColor colour = ColourFromBgr(row.bgr);
        grid->addWidget(Sample(frame, QLatin1String(row.sample), colour, row.line ? colour : colour.darker(130),
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

} // namespace kelbrin
