#include "frmStream.h"

#include "core/app/Numbers.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "gui/app/Translation.h"
#include "gui/app/Twips.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>

namespace kelbrin {

namespace {

using texts::kSpeechWindowTitle;
constexpr int kCompactHeightTwips = 1515;
constexpr int kRed = 0x0000FF; // 0x00BBGGRR

QLabel* MakeLabel(QWidget* parent, const char* name, int textNumber, const QString& value = {}) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    if (textNumber > 0)
        label->setProperty("Tag", QString::number(textNumber));
    else
        label->setText(value);
    return label;
}

QLabel* MakeValue(QWidget* parent, const char* name, const QString& value) {
    QLabel* label = MakeLabel(parent, name, 0, value);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-0000000000")));
    return label;
}

QScrollBar* MakeSlider(QWidget* parent, const char* name, Qt::Orientation orientation, int maximum, int small,
                       int large) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(0, maximum);
    bar->setSingleStep(small);
    bar->setPageStep(large);
    if (orientation == Qt::Horizontal)
        bar->setMinimumWidth(TwipsToPx(3600));
    return bar;
}

} // namespace

frmStream::frmStream(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmStream"));

    Label8 = MakeLabel(this, "Label8", 6800);
    Label2 = MakeValue(this, "Label2", QStringLiteral("0"));
    HScroll2 = MakeSlider(this, "HScroll2", Qt::Horizontal, SegmentDetector::kBarMax, 1, 1);
    HScroll2->setEnabled(false);
    Label9 = MakeLabel(this, "Label9", 6801);
    Label3 = MakeValue(this, "Label3", QStringLiteral("250"));
    HScroll3 = MakeSlider(this, "HScroll3", Qt::Horizontal, SpeechParameters::kThresholdMax, 1, 10);
    HScroll3->setValue(250);
    Label12 = MakeLabel(this, "Label12", 6802);
    lblAmp = MakeValue(this, "lblAmp", QStringLiteral("3500"));
    HScroll1 = MakeSlider(this, "HScroll1", Qt::Horizontal, SpeechParameters::kMinimumJumpMax, 10, 100);
    HScroll1->setValue(3500);
    Label13 = MakeLabel(this, "Label13", 6803);
    lblOdrzutM = MakeValue(this, "lblOdrzutM", QStringLiteral("10"));
    lblOdrzutM->setProperty("ToolTipTag", 6804);
    HScroll8 = MakeSlider(this, "HScroll8", Qt::Horizontal, SpeechParameters::kWindowLengthMax, 1, 20);
    HScroll8->setValue(10);
    Label4 = MakeLabel(this, "Label4", 6805);
    Label11 = MakeValue(this, "Label11", QStringLiteral("5000"));
    HScroll7 = MakeSlider(this, "HScroll7", Qt::Horizontal, SpeechParameters::kCrossingLevelMax, 1, 1);
    HScroll7->setValue(5000);
    Label6 = MakeLabel(this, "Label6", 6806);
    Label5 = MakeValue(this, "Label5", QStringLiteral("0"));
    Label10 = MakeLabel(this, "Label10", 6807);
    Label7 = MakeValue(this, "Label7", QStringLiteral("0"));
    Label21 = MakeLabel(this, "Label21", 6808);
    Label20 = MakeValue(this, "Label20", QStringLiteral("4000"));
    Label20->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    VScroll1 = MakeSlider(this, "VScroll1", Qt::Vertical, SpeechParameters::kPeriodMax, 10, 100);
    VScroll1->setInvertedAppearance(true); // the longest period at the top
    VScroll1->setValue(4000);
    Label19 = MakeLabel(this, "Label19", 6809);
    lblVolume = MakeValue(this, "lblVolume", QStringLiteral("60000"));
    HScroll6 = MakeSlider(this, "HScroll6", Qt::Horizontal, SpeechParameters::kGainMax, 1, 1);
    HScroll6->setValue(30000);

    auto* grid = new QGridLayout(this);
    int row = 0;
    auto addRow = [&](QLabel* title, QLabel* value, QScrollBar* slider) {
        grid->addWidget(title, row, 0);
        grid->addWidget(value, row++, 1);
        if (slider)
            grid->addWidget(slider, row++, 0, 1, 2);
    };
    addRow(Label8, Label2, HScroll2);
    addRow(Label9, Label3, HScroll3);
    addRow(Label12, lblAmp, HScroll1);
    addRow(Label13, lblOdrzutM, HScroll8);
    addRow(Label4, Label11, HScroll7);
    addRow(Label6, Label5, nullptr);
    addRow(Label10, Label7, nullptr);
    addRow(Label19, lblVolume, HScroll6);
    grid->addWidget(Label21, 4, 2, Qt::AlignHCenter);
    grid->addWidget(Label20, 5, 2);
    grid->addWidget(VScroll1, 6, 2, row - 6, 1, Qt::AlignHCenter);
    grid->setColumnStretch(0, 1);

    for (QScrollBar* slider : {HScroll3, HScroll1, HScroll8, HScroll7, VScroll1, HScroll6})
        connect(slider, &QScrollBar::valueChanged, this, &frmStream::slider_Change);

    setWindowTitle(GetText(kSpeechWindowTitle));
    LoadLang();
    // Only a non-zero RecHeight shows the tuning sliders.
    setFullHeight(ValLong(GetSetting(settingkeys::kRecHeight, QStringLiteral("0"))) != 0);
}

void frmStream::LoadLang() {
    LoadLangCaptions(this);
    lblOdrzutM->setToolTip(GetText(lblOdrzutM->property("ToolTipTag").toInt()));
    if (!anyPeriodShown())
        setWindowTitle(GetText(kSpeechWindowTitle));
}

bool frmStream::anyPeriodShown() const {
    return m_periodShown;
}

QList<QWidget*> frmStream::detailControls() const {
    return {Label12, lblAmp, HScroll1, Label13, lblOdrzutM, HScroll8, Label4, Label11, HScroll7, Label6,
            Label5, Label10, Label7, Label21, Label20, VScroll1, Label19, lblVolume, HScroll6};
}

void frmStream::setFullHeight(bool full) {
    m_full = full;
    for (QWidget* w : detailControls())
        w->setVisible(full);
    layout()->activate();
    const int height = full ? layout()->minimumSize().height()
                            : std::max(TwipsToPx(kCompactHeightTwips), layout()->minimumSize().height());
    setMinimumHeight(height);
    resize(width(), height);
    if (!full)
        setMaximumHeight(height);
    else
        setMaximumHeight(QWIDGETSIZE_MAX);
}

void frmStream::attach(SpeechMarker* marker) {
    m_marker = marker;
    if (m_marker)
        m_marker->setView(this);
}

SpeechParameters frmStream::sliderParameters() const {
    SpeechParameters p;
    p.threshold = HScroll3->value();
    p.windowLength = HScroll8->value();
    p.minimumJump = HScroll1->value();
    p.crossingLevel = HScroll7->value();
    p.periodMs = VScroll1->value();
    p.gainWhileSpeaking = HScroll6->value();
    return p;
}

void frmStream::showParameters(const SpeechParameters& parameters) {
    m_showing = true;
    HScroll3->setValue(parameters.threshold);
    HScroll8->setValue(parameters.windowLength);
    HScroll1->setValue(parameters.minimumJump);
    HScroll7->setValue(parameters.crossingLevel);
    VScroll1->setValue(parameters.periodMs);
    HScroll6->setValue(parameters.gainWhileSpeaking);
    m_showing = false;
    slider_Change();
}

void frmStream::slider_Change() {
    Label3->setText(QString::number(HScroll3->value()));
    lblOdrzutM->setText(QString::number(HScroll8->value()));
    lblAmp->setText(QString::number(HScroll1->value()));
    Label11->setText(QString::number(HScroll7->value()));
    Label20->setText(QString::number(VScroll1->value()));
    lblVolume->setText(QString::number(2 * HScroll6->value()));
    if (!m_showing && m_marker && !(sliderParameters() == m_marker->detector().parameters()))
        m_marker->setParameters(sliderParameters());
}

void frmStream::showPeriod(const SpeechPeriod& period, const SpeechParameters& parameters) {
    m_periodShown = true;
    Label5->setText(QString::number(period.crossings));
    Label7->setText(QString::number(period.depth));
    HScroll2->setValue(period.bar);
    Label2->setText(QString::number(period.coefficient));
    setWindowTitle(Label2->text() + QLatin1Char('/') + QString::number(parameters.threshold));
}

void frmStream::showSegmentOpen(bool open) {
    QPalette palette = Label3->palette();
    palette.setColor(QPalette::WindowText, open ? ColourFromBgr(kRed) : QColor(Qt::black));
    Label3->setPalette(palette);
}

void frmStream::closeEvent(QCloseEvent* event) {
    if (recordingState && recordingState() != -1) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace kelbrin
