#include "frmRecording.h"

#include "codecChooser.h"
#include "gui/app/NumericBox.h"
#include "gui/app/PathLabel.h"
#include "core/recording/RecordingConfiguration.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/recording/BlockSizes.h"
#include "core/recording/CaptureFormats.h"
#include "core/recording/CodecFormatChoice.h"
#include "core/recording/LameConfiguration.h"
#include "core/recording/LameTables.h"
#include "core/recording/RecordingOptions.h"
#include "gui/app/FileDialogs.h"
#include "gui/app/SelectAllText.h"
#include "gui/app/TopMost.h"
#include "gui/app/Translation.h"
#include "gui/app/WidgetNaming.h"
#include "platform/capture/CaptureDevices.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace kelbrin {

namespace {

QPointer<frmRecording> g_window;
frmRecording::FolderBrowser g_browser;
frmRecording::ChooserFactory g_chooser;

using texts::kRecordingOptionsCaption;
using texts::kEncoderVersionCaption;
using texts::kHzText;
using texts::kKbitText;
using texts::kPaddingHint;
const char* const kWaveMapper = "Wave Mapper";

QLabel* Caption(QWidget* parent, const char* name, const char* tag) { return Named(new QLabel(parent), name, tag); }

QComboBox* List(QWidget* parent, const char* name) {
    auto* list = Named(new QComboBox(parent), name);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return list;
}

// A path label that keeps room for the start of a path.
QLabel* WidePathLabel(QWidget* parent, const char* name) {
    QLabel* label = PathLabel(parent, name);
    label->setMinimumWidth(180);
    return label;
}

// A spin bar beside its number: up raises it, large step 10, small step 1.
QScrollBar* SpinBar(QWidget* parent, const char* name) {
    auto* bar = Named(new QScrollBar(Qt::Vertical, parent), name);
    bar->setRange(kSpinMin, kSpinMax);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    bar->setInvertedAppearance(true);
    bar->setInvertedControls(true);
    bar->setFixedHeight(40);
    return bar;
}

QLabel* NumberLabel(QWidget* parent, const char* name) {
    auto* label = Named(new QLabel(parent), name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
    return label;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* w : widgets)
        row->addWidget(w);
    row->addStretch(1);
    return row;
}

int Selected(const QComboBox* list) { return std::max(0, list->currentIndex()); }

} // namespace

frmRecording* frmRecording::Instance() { return g_window; }

frmRecording* frmRecording::PokazMnie(RecordingConfiguration& recording) {
    if (!g_window)
        g_window = new frmRecording(recording);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return g_window;
}

frmRecording::FolderBrowser frmRecording::SetFolderBrowser(FolderBrowser browser) {
    return std::exchange(g_browser, std::move(browser));
}

frmRecording::ChooserFactory frmRecording::SetChooserFactory(ChooserFactory factory) {
    return std::exchange(g_chooser, std::move(factory));
}

frmRecording::frmRecording(RecordingConfiguration& recording) : QWidget(nullptr, Qt::Window), m_recording(recording) {
    setObjectName(QStringLiteral("frmRecording"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    Form_Load();
}

void frmRecording::buildControls() {
    Option1[1] = Named(new QRadioButton(this), "Option1(1)", "2563");
    Option1[0] = Named(new QRadioButton(this), "Option1(0)", "2564");
    cmdInfo = Named(new QPushButton(this), "cmdInfo");

    auto* left = new QVBoxLayout;
    left->addWidget(Option1[1]);
    left->addWidget(buildLameFrame(), 1);
    auto* right = new QVBoxLayout;
    right->addWidget(Option1[0]);
    right->addWidget(buildCodecFrame());
    right->addWidget(buildCaptureFrame(), 1);
    right->addWidget(cmdInfo, 0, Qt::AlignRight);
    auto* outer = new QHBoxLayout(this);
    outer->addLayout(left, 1);
    outer->addLayout(right, 1);
    outer->setSizeConstraint(QLayout::SetMinimumSize);

    connect(Option1[0], &QRadioButton::toggled, this, [this](bool on) { if (on) Option1_Click(0); });
    connect(Option1[1], &QRadioButton::toggled, this, [this](bool on) { if (on) Option1_Click(1); });
    connect(cboMPEG, qOverload<int>(&QComboBox::activated), this, [this] { cboMPEG_Click(); });
    connect(chkVBR, &QCheckBox::toggled, this, [this] { chkVBR_Click(); });
    connect(chkABR, &QCheckBox::toggled, this, [this] { chkABR_Click(); });
    // The VBR range stays ordered: the other end follows a choice past it.
    connect(Combo1[0], qOverload<int>(&QComboBox::activated), this, [this](int low) {
        if (low > Combo1[1]->currentIndex())
            Combo1[1]->setCurrentIndex(low);
    });
    connect(Combo1[1], qOverload<int>(&QComboBox::activated), this, [this](int high) {
        if (high < Combo1[0]->currentIndex())
            Combo1[0]->setCurrentIndex(high);
    });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    connect(VScroll2, &QScrollBar::valueChanged, this, [this] { VScroll2_Change(); });
    connect(cmdFormat, &QPushButton::clicked, this, [this] { cmdFormat_Click(); });
    connect(cmdRecord, &QPushButton::clicked, this, [this] { cmdRecord_Click(); });
    connect(cmdTemp, &QPushButton::clicked, this, [this] { cmdTemp_Click(); });
    connect(cmdInfo, &QPushButton::clicked, this, [this] { cmdInfo_Click(); });
    SelectAllTextOnFocus(txtPrefix);
    for (QLineEdit* box : {txtSek, txtMin})
        AcceptNumbersOnly(box, false, false);
}

QWidget* frmRecording::buildLameFrame() {
    auto* frame = Named(new QGroupBox(this), "fraEngine(1)", "2561");
    fraEngine[1] = frame;
    cboMPEG = List(frame, "cboMPEG");
    cboSRate = List(frame, "cboSRate");
    cboChannelMode = List(frame, "cboChannelMode");
    cboQuality = List(frame, "cboQuality");
    cboBRate = List(frame, "cboBRate");
    lblLameBuf = NumberLabel(frame, "lblLameBuf");
    VScroll2 = SpinBar(frame, "VScroll2");
    chkVBR = Named(new QCheckBox(frame), "chkVBR", "2185");

    auto* grid = new QGridLayout(frame);
    const struct {
        const char* name;
        const char* tag;
        QWidget* control;
    } rows[] = {{"lblVersion", "2108", cboMPEG},       {"lblSRate", "2112", cboSRate},
                {"lblChannels", "2111", cboChannelMode}, {"lblQuality", "3228", cboQuality},
                {"lblBRate", "3226", cboBRate}};
    int r = 0;
    for (const auto& row : rows) {
        grid->addWidget(Caption(frame, row.name, row.tag), r, 0);
        grid->addWidget(row.control, r++, 1, Qt::AlignLeft);
    }
    grid->addWidget(Caption(frame, "lblLameBufCaption", "3229"), r, 0);
    grid->addLayout(Row({lblLameBuf, VScroll2}), r++, 1);
    grid->addWidget(chkVBR, r++, 0, 1, 2);

    Frame3 = Named(new QGroupBox(frame), "Frame3", "2562");
    Combo1[0] = List(Frame3, "Combo1(0)");
    Combo1[1] = List(Frame3, "Combo1(1)");
    chkABR = Named(new QCheckBox(Frame3), "chkABR", "2190");
    chkXing = Named(new QCheckBox(Frame3), "chkXing", "2187");
    sldVBR = Named(new QSlider(Qt::Horizontal, Frame3), "sldVBR");
    sldVBR->setRange(kVbrQualityMin, kVbrQualityMax);
    sldVBR->setTickPosition(QSlider::TicksBelow);
    sldVBR->setPageStep(1);
    lblVbrQ[0] = Caption(Frame3, "lblVbrQ(0)", "2191");
    lblVbrQ[1] = Caption(Frame3, "lblVbrQ(1)", "2188");
    auto* dash = new QLabel(QStringLiteral("–"), Frame3);
    auto* vbr = new QGridLayout(Frame3);
    vbr->addWidget(Caption(Frame3, "lblVbrRange", "3227"), 0, 0, 1, 3);
    vbr->addLayout(Row({Combo1[0], dash, Combo1[1]}), 1, 0, 1, 3);
    vbr->addWidget(chkABR, 2, 0, 1, 3);
    vbr->addWidget(chkXing, 3, 0, 1, 3);
    // The slider over its two end captions, so that long captions never
    // squeeze it.
    sldVBR->setMinimumWidth(140);
    vbr->addWidget(sldVBR, 4, 0, 1, 3);
    vbr->addWidget(lblVbrQ[0], 5, 0, Qt::AlignLeft);
    vbr->addWidget(lblVbrQ[1], 5, 2, Qt::AlignRight);
    vbr->setColumnStretch(1, 1);
    grid->addWidget(Frame3, r++, 0, 1, 2);

    auto* flags = Named(new QGroupBox(frame), "fraFlags", "2565");
    chkCRC = Named(new QCheckBox(flags), "chkCRC", "2180");
    chkPriv = Named(new QCheckBox(flags), "chkPriv", "2181");
    chkCopy = Named(new QCheckBox(flags), "chkCopy", "2182");
    chkOry = Named(new QCheckBox(flags), "chkOry", "2183");
    chkPad = Named(new QCheckBox(flags), "chkPad", "2184");
    // The encoder sets the padding bit of each frame itself; the box has no effect.
    chkPad->setEnabled(false);
    auto* flagGrid = new QGridLayout(flags);
    int f = 0;
    for (QCheckBox* box : {chkCRC, chkPriv, chkCopy, chkOry, chkPad}) {
        flagGrid->addWidget(box, f / 2, f % 2);
        ++f;
    }
    grid->addWidget(flags, r++, 0, 1, 2);
    grid->setRowStretch(r, 1);
    grid->setColumnStretch(1, 1);
    return frame;
}

QWidget* frmRecording::buildCodecFrame() {
    auto* frame = Named(new QGroupBox(this), "fraEngine(0)", "2560");
    fraEngine[0] = frame;
    lblBufor = NumberLabel(frame, "lblBufor");
    VScroll1 = SpinBar(frame, "VScroll1");
    lblRecordFormat = WidePathLabel(frame, "lblRecordFormat");
    lblRecordFormat->setWordWrap(true);
    cmdFormat = Named(new QPushButton(QStringLiteral("..."), frame), "cmdFormat");
    cmdFormat->setFixedWidth(cmdFormat->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    chkRecord = Named(new QCheckBox(frame), "chkRecord", "2170");
    auto* grid = new QGridLayout(frame);
    grid->addWidget(Caption(frame, "lblBuforCaption", "2173"), 0, 0);
    grid->addLayout(Row({lblBufor, VScroll1}), 0, 1, 1, 2);
    grid->addWidget(Caption(frame, "lblFormatCaption", "2172"), 1, 0, 1, 3);
    grid->addWidget(lblRecordFormat, 2, 0, 1, 2);
    grid->addWidget(cmdFormat, 2, 2);
    grid->addWidget(chkRecord, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return frame;
}

QWidget* frmRecording::buildCaptureFrame() {
    auto* frame = Named(new QGroupBox(this), "fraCapture", "2566");
    cboDeviceIn = Named(new QComboBox(frame), "cboDeviceIn");
    cboDeviceIn->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboDeviceIn->setMinimumContentsLength(22);
    Label1[2] = Caption(frame, "Label1(2)", "3175");
    Label1[1] = Caption(frame, "Label1(1)", "2169");
    lblRecord = WidePathLabel(frame, "lblRecord");
    cmdRecord = Named(new QPushButton(frame), "cmdRecord");
    Label1[3] = Caption(frame, "Label1(3)", "2174");
    lblTemp = WidePathLabel(frame, "lblTemp");
    cmdTemp = Named(new QPushButton(QStringLiteral("..."), frame), "cmdTemp");
    for (QPushButton* b : {cmdRecord, cmdTemp})
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    Label1[0] = Caption(frame, "Label1(0)", "2171");
    txtPrefix = Named(new QLineEdit(frame), "txtPrefix");
    txtPrefix->setMaxLength(kPrefixMaxLength);
    chkSpeech = Named(new QCheckBox(frame), "chkSpeech", "2189");
    txtSek = Named(new QLineEdit(frame), "txtSek");
    txtSek->setMaxLength(5);
    txtMin = Named(new QLineEdit(frame), "txtMin");
    txtMin->setMaxLength(kSplitSizeMaxLength);
    for (QLineEdit* box : {txtSek, txtMin})
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);

    auto* grid = new QGridLayout(frame);
    int r = 0;
    grid->addWidget(Label1[2], r++, 0, 1, 2);
    grid->addWidget(cboDeviceIn, r++, 0, 1, 2);
    grid->addWidget(Label1[1], r++, 0, 1, 2);
    grid->addWidget(lblRecord, r, 0);
    grid->addWidget(cmdRecord, r++, 1);
    grid->addWidget(Label1[3], r++, 0, 1, 2);
    grid->addWidget(lblTemp, r, 0);
    grid->addWidget(cmdTemp, r++, 1);
    grid->addWidget(Label1[0], r++, 0, 1, 2);
    grid->addWidget(txtPrefix, r++, 0, 1, 2);
    grid->addWidget(chkSpeech, r++, 0, 1, 2);
    grid->addLayout(Row({Caption(frame, "lblSek", "2197"), txtSek, Caption(frame, "lblSekUnit", "2198")}), r++, 0, 1, 2);
    grid->addLayout(Row({Caption(frame, "lblMin", "2195"), txtMin, Caption(frame, "lblMinUnit", "2196")}), r++, 0, 1, 2);
    grid->setRowStretch(r, 1);
    grid->setColumnStretch(0, 1);
    return frame;
}

void frmRecording::LoadLang() {
    LoadLangCaptions(this);
}

void frmRecording::selectStored(QComboBox* list, int index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : (list->count() > 0 ? 0 : -1));
}

void frmRecording::Form_Load() {
    LoadLang();
    const RecordingOptions o = LoadRecordingOptions(static_cast<int>(CaptureDeviceList().names().size()));
    for (int t = 3222; t <= 3225; ++t)
        cboQuality->addItem(DisplayText(GetText(t)));
    VScroll2->setValue(o.lameBufLen);
    lblLameBuf->setText(QString::number(o.lameBufLen));
    lblLameBuf_Change(); // keeps the bar (and the number) to blocks of a few seconds
    chkPad->setToolTip(DisplayText(GetText(kPaddingHint)));
    chkCRC->setChecked(o.crc);
    chkPriv->setChecked(o.privateFlag);
    chkCopy->setChecked(o.copyright);
    chkOry->setChecked(o.original);
    chkPad->setChecked(o.padding);
    sldVBR->setValue(o.vbrQuality);
    chkXing->setChecked(o.vbrHeader);
    chkABR->setChecked(o.abr);
    chkABR_Click();
    chkVBR->setChecked(o.vbr);
    chkVBR_Click();
    chkSpeech->setChecked(o.speech);
    selectStored(cboQuality, o.qualCBR);
    for (int t : {3071, 3070, 3068})
        cboMPEG->addItem(DisplayText(GetText(t)));
    selectStored(cboMPEG, o.mpegVersion);
    for (int t = 3075; t <= 3078; ++t)
        cboChannelMode->addItem(DisplayText(GetText(t)));
    selectStored(cboChannelMode, o.chanMode);
    FillLameLists();
    Option1[1]->setChecked(o.lameEngine);
    Option1[0]->setChecked(!o.lameEngine);
    Option1_Click(o.lameEngine ? 1 : 0);
    SetPath(lblTemp, o.bufferFolder);
    txtPrefix->setText(o.prefix);
    limitCodecBuffer();
    VScroll1->setValue(o.recBufor);
    lblBufor->setText(QString::number(VScroll1->value()));
    lblRecordFormat->setText(o.destFormat);
    lblRecordFormat->setToolTip(o.destFormat);
    chkRecord->setChecked(o.writeWav);
    // Every codec but MPEG Layer-3 writes a ".wav" file; the box is offered
    // only where there is a choice.
    const std::uint16_t tag = RecordedFormatTag(m_recording, false);
    if (tag != wave::kNone && tag != wave::kMpegLayer3) {
        chkRecord->setChecked(true);
        chkRecord->setEnabled(false);
    } else {
        chkRecord->setEnabled(true);
    }
    SetPath(lblRecord, o.recordFolder);
    cmdRecord->setText(QStringLiteral("..."));
    cboDeviceIn->clear();
    cboDeviceIn->addItem(QLatin1String(kWaveMapper));
    cboDeviceIn->addItems(CaptureDeviceList().names());
    txtSek->setText(o.autoPauseText);
    txtMin->setText(o.splitSizeText);
    selectStored(cboDeviceIn, o.deviceIn);
    QString caption = DisplayText(GetText(kRecordingOptionsCaption)).remove(QLatin1Char('&'));
    while (caption.endsWith(QLatin1Char('.')))
        caption.chop(1);
    setWindowTitle(caption);
    cmdInfo->setText(DisplayText(GetText(kEncoderVersionCaption)));
    SetTopMost(this, true);
}

void frmRecording::FillLameLists() {
    for (QComboBox* list : {cboSRate, cboBRate, Combo1[0], Combo1[1]})
        list->clear();
    const int index = Selected(cboMPEG);
    if (index >= kMpegVersionCount)
        return;
    const LameMpegVersion version = LameVersionOf(index);
    for (std::uint32_t rate : LameSampleRates(version))
        cboSRate->addItem(DisplayText(GetText(kHzText, QStringLiteral("|1"), QString::number(rate))));
    for (std::uint32_t rate : LameBitRates(version)) {
        const QString text = DisplayText(GetText(kKbitText, QStringLiteral("|1"), QString::number(rate)));
        for (QComboBox* list : {cboBRate, Combo1[0], Combo1[1]})
            list->addItem(text);
    }
    const LameListSelection stored = StoredLameListSelection(index);
    selectStored(cboSRate, stored.sampleRate);
    selectStored(cboBRate, stored.bitRate);
    selectStored(Combo1[0], stored.qualLow);
    selectStored(Combo1[1], stored.qualHigh);
    if (Combo1[0]->currentIndex() > Combo1[1]->currentIndex()) { // a reversed pair stored before
        const int low = Combo1[1]->currentIndex();
        Combo1[1]->setCurrentIndex(Combo1[0]->currentIndex());
        Combo1[0]->setCurrentIndex(low);
    }
}

void frmRecording::Option1_Click(int index) {
    if (index != 0 && index != 1)
        return;
    fraEngine[index]->setEnabled(true);
    fraEngine[1 - index]->setEnabled(false);
}

void frmRecording::cboMPEG_Click() { FillLameLists(); }

void frmRecording::chkVBR_Click() { Frame3->setEnabled(chkVBR->isChecked()); }

void frmRecording::chkABR_Click() {
    const bool quality = !chkABR->isChecked();
    lblVbrQ[0]->setEnabled(quality);
    lblVbrQ[1]->setEnabled(quality);
    sldVBR->setEnabled(quality);
}

void frmRecording::VScroll1_Change() { lblBufor->setText(QString::number(VScroll1->value())); }

void frmRecording::VScroll2_Change() {
    lblLameBuf->setText(QString::number(VScroll2->value()));
    lblLameBuf_Change();
}

void frmRecording::limitCodecBuffer() {
    const WaveFormatEx capture = CodecSourceFormat(WaveFormatEx::fromRecord(m_recording.RecordFormat));
    VScroll1->setMaximum(CodecMultiplierLimit(capture)); // moves the bar, and the number, when beyond
}

void frmRecording::lblLameBuf_Change() {
    // Opens and closes one test stream of the encoder with the stored settings.
    const std::int32_t chunk = ConfigureLameEncoder(m_recording, false);
    {
        const QSignalBlocker quiet(VScroll2);
        VScroll2->setMaximum(LameMultiplierLimit(chunk, LameCaptureFormat(m_recording)));
    }
    if (lblLameBuf->text().toInt() > VScroll2->maximum())
        lblLameBuf->setText(QString::number(VScroll2->maximum()));
    lblLameBuf->setToolTip(LameBlockSizeText(chunk, lblLameBuf->text().toInt()));
}

void frmRecording::cmdFormat_Click() {
    std::unique_ptr<FormatChooser> chooser =
        g_chooser ? g_chooser(this) : std::make_unique<QtFormatChooser>(this);
    const FormatButtonOutcome outcome = ChooseAndStoreRecordFormat(m_recording, *chooser);
    if (!outcome.changed)
        return;
    lblRecordFormat->setText(outcome.description);
    lblRecordFormat->setToolTip(outcome.description);
    if (outcome.recordBoxTicked)
        chkRecord->setChecked(true);
    chkRecord->setEnabled(outcome.recordBoxEnabled);
    limitCodecBuffer();
}

void frmRecording::cmdRecord_Click() {
    const QString title = DisplayText(GetText(TagNumber(TagOf(Label1[1]))));
    const QString folder = g_browser ? g_browser(this, title) : BrowseForFolder(this, title);
    if (!folder.isEmpty())
        SetPath(lblRecord, folder);
}

void frmRecording::cmdTemp_Click() {
    const QString title = DisplayText(GetText(TagNumber(TagOf(Label1[3]))));
    const QString folder = g_browser ? g_browser(this, title) : BrowseForFolder(this, title);
    if (!folder.isEmpty())
        SetPath(lblTemp, folder);
}

void frmRecording::cmdInfo_Click() { ShowLameVersion(); }

void frmRecording::Form_Unload() {
    if (m_saved)
        return;
    m_saved = true;
    RecordingOptions o;
    o.lameEngine = Option1[1]->isChecked();
    o.mpegVersion = Selected(cboMPEG);
    o.sampleRate = Selected(cboSRate);
    o.bitRate = Selected(cboBRate);
    o.qualLow = Selected(Combo1[0]);
    o.qualHigh = Selected(Combo1[1]);
    o.chanMode = Selected(cboChannelMode);
    o.qualCBR = Selected(cboQuality);
    o.vbr = chkVBR->isChecked();
    o.abr = chkABR->isChecked();
    o.vbrHeader = chkXing->isChecked();
    o.vbrQuality = sldVBR->value();
    o.crc = chkCRC->isChecked();
    o.privateFlag = chkPriv->isChecked();
    o.copyright = chkCopy->isChecked();
    o.original = chkOry->isChecked();
    o.padding = chkPad->isChecked();
    o.lameBufLen = lblLameBuf->text().toInt();
    o.recBufor = lblBufor->text().toInt();
    o.writeWav = chkRecord->isChecked();
    o.deviceIn = Selected(cboDeviceIn);
    o.recordFolder = lblRecord->text();
    o.bufferFolder = lblTemp->text();
    o.prefix = txtPrefix->text();
    o.speech = chkSpeech->isChecked();
    o.autoPauseText = txtSek->text();
    o.splitSizeText = txtMin->text();
    SaveRecordingOptions(m_recording, o);
}

void frmRecording::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmRecording::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kelbrin
