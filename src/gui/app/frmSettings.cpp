#include "frmSettings.h"

#include "BusyPointer.h"
#include "FileDialogs.h"
#include "Translation.h"
#include "UpwardScrollBar.h"
#include "WidgetNaming.h"
#include "frmLang.h"
#include "core/app/AppSettings.h"
#include "core/app/MessageService.h"
#include "NumericBox.h"
#include "PathLabel.h"
#include "core/app/SettingsOptions.h"
#include "core/app/ProgramObjects.h"
#include "core/app/SoundCards.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "platform/media/MediaPlatform.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kelbrin {

namespace {

QPointer<frmSettings> g_settings;

using texts::kSettingsCaption;
constexpr int kTabCaptionBase = 2499;
using texts::kFirstNamingText;
using texts::kApplyDeviceQuestion;
using texts::kChooseLanguage;

// A path the user can select and copy.
QLabel* SelectablePathLabel(QWidget* parent, const char* name) {
    QLabel* label = PathLabel(parent, name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QScrollBar* TopIsLargest(QWidget* parent, const char* name, int low, int high, int small, int large) {
    QScrollBar* bar = Named(new UpwardScrollBar(parent), name);
    bar->setRange(low, high);
    bar->setSingleStep(small);
    bar->setPageStep(large);
    bar->setMinimumHeight(90);
    return bar;
}

} // namespace

frmSettings* frmSettings::Instance() { return g_settings; }

frmSettings* frmSettings::PokazMnie(ProgramObjects& program, QWidget* parent,
                                    std::shared_ptr<cPozycjeMP3> tracks) {
    if (!g_settings)
        g_settings = new frmSettings(program, parent, std::move(tracks));
    g_settings->show();
    g_settings->raise();
    g_settings->activateWindow();
    return g_settings;
}

frmSettings::frmSettings(ProgramObjects& program, QWidget* parent,
                         std::shared_ptr<cPozycjeMP3> tracks)
    : QWidget(parent, Qt::Window), m_program(program), m_tracks(std::move(tracks)) {
    setObjectName(QStringLiteral("frmSettings"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    Form_Load();
    qApp->installEventFilter(this);
}

void frmSettings::buildControls() {
    TabStrip1 = Named(new QTabWidget(this), "TabStrip1");
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(TabStrip1);
    outer->setSizeConstraint(QLayout::SetMinimumSize);

    buildGeneralPage();
    buildAdvancedPage();
    connectControls();
}

void frmSettings::buildGeneralPage() {
    // Page 1: general options.
    Frame1 = Named(new QWidget(TabStrip1), "Frame1", "1");
    auto* g1 = new QGridLayout(Frame1);
    chkPytaj = Named(new QCheckBox(Frame1), "chkPytaj", "2199");
    chkOpen = Named(new QCheckBox(Frame1), "chkOpen", "2104");
    chkAutoSave = Named(new QCheckBox(Frame1), "chkAutoSave", "2177");
    auto* lblMove = Named(new QLabel(Frame1), "lblMove", "6300");
    txtMove = Named(new QLineEdit(Frame1), "txtMove");
    txtMove->setMaximumWidth(80);
    lblNaming = Named(new QLabel(Frame1), "lblNaming", "3161");
    cboName = Named(new QComboBox(Frame1), "cboName");
    cboName->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Label1[0] = Named(new QLabel(Frame1), "Label1(0)", "2100");
    lblFolder = SelectablePathLabel(Frame1, "lblFolder");
    cmdFolder = Named(new QPushButton(Frame1), "cmdFolder", "1113");
    Label1[1] = Named(new QLabel(Frame1), "Label1(1)", "2101");
    lblSource = SelectablePathLabel(Frame1, "lblSource");
    cmdSource = Named(new QPushButton(Frame1), "cmdSource", "1113");
    // Its caption names the language in the one language every user can find.
    Command1 = Named(new QPushButton(QString::fromUtf8("Język"), Frame1), "Command1");
    int r = 0;
    g1->addWidget(chkPytaj, r++, 0, 1, 3);
    g1->addWidget(chkOpen, r++, 0, 1, 3);
    g1->addWidget(chkAutoSave, r++, 0, 1, 3);
    g1->addWidget(lblMove, r, 0);
    g1->addWidget(txtMove, r++, 1, Qt::AlignLeft);
    g1->addWidget(lblNaming, r, 0);
    g1->addWidget(cboName, r++, 1, 1, 2);
    g1->addWidget(Label1[0], r++, 0, 1, 3);
    g1->addWidget(lblFolder, r, 0, 1, 2);
    g1->addWidget(cmdFolder, r++, 2);
    g1->addWidget(Label1[1], r++, 0, 1, 3);
    g1->addWidget(lblSource, r, 0, 1, 2);
    g1->addWidget(cmdSource, r++, 2);
    g1->addWidget(Command1, r++, 0, Qt::AlignLeft);
    g1->setRowStretch(r, 1);
    g1->setColumnStretch(1, 1);
    TabStrip1->addTab(Frame1, QString());
}

void frmSettings::buildAdvancedPage() {
    // Page 2: advanced options.
    Frame2 = Named(new QWidget(TabStrip1), "Frame2", "2");
    auto* g2 = new QGridLayout(Frame2);
    lblDevice = Named(new QLabel(Frame2), "lblDevice", "3155");
    cboDevice = Named(new QComboBox(Frame2), "cboDevice");
    cboDevice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboDevice->setMinimumContentsLength(18);
    cmdRefresh = Named(new QPushButton(Frame2), "cmdRefresh", "1104");
    cmdSet = Named(new QPushButton(Frame2), "cmdSet", "1150");
    cmdAdd = Named(new QPushButton(Frame2), "cmdAdd", "1105");
    chkMultiDev = Named(new QCheckBox(Frame2), "chkMultiDev", "3157");
    auto* lblOverTake = Named(new QLabel(Frame2), "lblOverTake", "6301");
    txtOverTake = Named(new QLineEdit(Frame2), "txtOverTake");
    txtOverTake->setMaximumWidth(80);
    auto* devices = new QHBoxLayout;
    devices->addWidget(cboDevice, 1);
    devices->addWidget(cmdRefresh);
    devices->addWidget(cmdSet);
    devices->addWidget(cmdAdd);
    int r = 0;
    g2->addWidget(lblDevice, r++, 0, 1, 3);
    g2->addLayout(devices, r++, 0, 1, 3);
    g2->addWidget(chkMultiDev, r++, 0, 1, 3);
    g2->addWidget(lblOverTake, r, 0);
    g2->addWidget(txtOverTake, r++, 1, 1, 2, Qt::AlignLeft);

    buildSizeBars(g2, r);
    lstDev = Named(new QListWidget(Frame2), "lstDev");
    lstDev->hide();
    cmdAdd->hide();
    TabStrip1->addTab(Frame2, QString());
}

// The font size, node size and mouse sensitivity bars, each under its caption
// and value, from row `r` of the advanced page on.
void frmSettings::buildSizeBars(QGridLayout* g2, int r) {
    vscrFont = TopIsLargest(Frame2, "vscrFont", kFontSizeMin, kFontSizeMax, 1, 1);
    vscrFont->setValue(8);
    VScrNode = TopIsLargest(Frame2, "VScrNode", kNodeSizeMin, kNodeSizeMax, 10, 100);
    VScrMouse = TopIsLargest(Frame2, "VScrMouse", kMouseSensMin, kMouseSensMax, 1, 10);
    VScrMouse->setValue(150);
    lblFont = Named(new QLabel(Frame2), "lblFont");
    lblNode = Named(new QLabel(Frame2), "lblNode");
    lblMouse = Named(new QLabel(Frame2), "lblMouse");
    struct Column {
        const char* captionName;
        const char* captionTag;
        QLabel* value;
        QScrollBar* bar;
    };
    const Column columns[] = {{"lblFontCaption", "6302", lblFont, vscrFont},
                              {"lblNodeCaption", "6303", lblNode, VScrNode},
                              {"lblMouseCaption", "6304", lblMouse, VScrMouse}};
    int c = 0;
    for (const Column& column : columns) {
        auto* caption = Named(new QLabel(Frame2), column.captionName, column.captionTag);
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        column.value->setAlignment(Qt::AlignHCenter);
        g2->addWidget(caption, r, c, Qt::AlignHCenter | Qt::AlignBottom);
        g2->addWidget(column.value, r + 1, c, Qt::AlignHCenter);
        g2->addWidget(column.bar, r + 2, c, Qt::AlignHCenter);
        ++c;
    }
    g2->setRowStretch(r + 3, 1);
    for (int k = 0; k < 3; ++k)
        g2->setColumnStretch(k, 1);
}

void frmSettings::connectControls() {
    connect(TabStrip1, &QTabWidget::currentChanged, this, [this] { TabStrip1_Click(); });
    connect(vscrFont, &QScrollBar::valueChanged, this, [this](int v) { lblFont->setText(QString::number(v)); });
    connect(VScrNode, &QScrollBar::valueChanged, this, [this](int v) { lblNode->setText(QString::number(v)); });
    connect(VScrMouse, &QScrollBar::valueChanged, this, [this](int v) {
        lblMouse->setText(QString::number(v));
        m_program.settings.MouseSensitivity = v; // the drawing surface reacts at once
        m_program.settings.announceChange();
    });
    connect(chkMultiDev, &QCheckBox::clicked, this, [this] { chkMultiDev_Click(); });
    connect(cmdSet, &QPushButton::clicked, this, [this] { cmdSet_Click(); });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { cmdRefresh_Click(); });
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(lstDev, &QListWidget::itemDoubleClicked, this, [this] { lstDev_DblClick(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(cmdFolder, &QPushButton::clicked, this, [this] { cmdFolder_Click(); });
    connect(cmdSource, &QPushButton::clicked, this, [this] { cmdSource_Click(); });
    for (QLineEdit* box : {txtMove, txtOverTake})
        AcceptNumbersOnly(box, false, false);
}

void frmSettings::LoadLang() {
    cboName->clear();
    for (int i = 0; i < kFileNamingCount; ++i)
        cboName->addItem(DisplayText(GetText(kFirstNamingText + i)));
    cboName->setMinimumWidth(cboName->sizeHint().width()); // every entry readable
    LoadLangCaptions(this);
    for (int tab = 0; tab < TabStrip1->count(); ++tab)
        TabStrip1->setTabText(tab, DisplayText(CatalogText(kTabCaptionBase + TagNumber(TagOf(TabStrip1->widget(tab))))));
}

void frmSettings::Form_Load() {
    LoadLang();
    const SettingsOptions o = LoadSettingsOptions(m_program);
    cboName->setCurrentIndex(o.fileNaming);
    chkMultiDev->setChecked(o.oneOutputForAll);
    chkMultiDev_Click();
    txtOverTake->setText(o.overTakeText);
    chkPytaj->setChecked(o.askRemove);
    txtMove->setText(o.moveText);
    chkOpen->setChecked(o.autoOpen);
    SetPath(lblFolder, o.destFolder);
    SetPath(lblSource, o.sourceFolder);
    lblFont->setText(QString::number(o.fontSize));
    lblNode->setText(QString::number(o.nodeSize));
    lblMouse->setText(QString::number(o.mouseSensitivity));
    VScrMouse->setValue(o.mouseSensitivity);
    VScrNode->setValue(o.nodeSize);
    vscrFont->setValue(o.fontSize);
    FillDeviceCombo();
    ApplyButtonIcons(this);
    cmdAdd->setToolTip(DisplayText(GetText(3163)));
    cmdRefresh->setToolTip(DisplayText(GetText(3164)));
    cmdSet->setToolTip(DisplayText(GetText(3165)));
    Command1->setToolTip(DisplayText(GetText(kChooseLanguage)));
    chkAutoSave->setChecked(o.autoSave);
    QString caption = DisplayText(GetText(kSettingsCaption)).remove(QLatin1Char('&'));
    while (caption.endsWith(QLatin1Char('.')))
        caption.chop(1);
    setWindowTitle(caption);
    TabStrip1->setCurrentIndex(0);
    TabStrip1_Click();
}

void frmSettings::TabStrip1_Click() {
    if (lstDev->isVisible())
        lstDev->setGeometry(Frame2->rect());
}

void frmSettings::chkMultiDev_Click() {
    m_program.outputs.UseDefaultRenderer = chkMultiDev->isChecked();
    const bool perTrack = !chkMultiDev->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{lblDevice, cboDevice, cmdRefresh, cmdSet, cmdAdd})
        w->setEnabled(perTrack);
}

void frmSettings::FillDeviceCombo() {
    const QString stored = GetSetting(settingkeys::kDefSoundCard, kDefaultOutputName);
    EnsureSoundCards(m_program.outputs, ShowBusyPointer);
    cboDevice->clear();
    cboDevice->addItems(m_program.outputs.SoundCards);
    const int match = cboDevice->findText(stored, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (match >= 0)
        cboDevice->setCurrentIndex(match);
    else if (cboDevice->count() > 0)
        cboDevice->setCurrentIndex(0);
}

void frmSettings::cmdSet_Click() {
    if (ShowText(kApplyDeviceQuestion, mb::YesNo | mb::Question) != mb::Yes || !m_tracks)
        return;
    const QString device = cboDevice->currentText();
    for (std::int32_t i = 1; i <= m_tracks->Count(); ++i)
        SetTrackOutput(*m_tracks->Item(i), device);
    emit devicesApplied();
}

void frmSettings::cmdRefresh_Click() {
    RefreshSoundCards(m_program.outputs, cboDevice->currentText(), ShowBusyPointer);
    FillDeviceCombo();
}

void frmSettings::cmdAdd_Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    lstDev->clear();
    // Every output a graph can be built on, the hidden ones included.
    lstDev->addItem(kDefaultOutputName);
    lstDev->addItems(Media().outputDeviceNames());
    lstDev->addItem(kNullOutputName);
    lstDev->setGeometry(Frame2->rect());
    lstDev->show();
    lstDev->raise();
    QApplication::restoreOverrideCursor();
}

void frmSettings::hideDeviceList() {
    lstDev->hide();
    Label1[0]->setText(DisplayText(CatalogText(TagNumber(TagOf(Label1[0])))));
}

void frmSettings::lstDev_DblClick() {
    QListWidgetItem* item = lstDev->currentItem();
    if (!item)
        return;
    hideDeviceList();
    AddSoundCard(m_program.outputs, item->text());
    FillDeviceCombo();
}

void frmSettings::Command1_Click() {
    frmLang dialog(m_program.settings, this);
    dialog.exec();
}

void frmSettings::cmdFolder_Click() {
    const QString title = DisplayText(GetText(2100)) + QStringLiteral("\r\n") +
                          DisplayText(GetText(3136, QStringLiteral("|1"), lblFolder->text()));
    QString folder = BrowseForFolder(this, title);
    if (folder.isEmpty())
        return;
    if (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (!folder.isEmpty())
        SetPath(lblFolder, folder);
}

void frmSettings::cmdSource_Click() {
    const QString folder = BrowseForFolder(this, DisplayText(GetText(2101)), 2101);
    if (!folder.isEmpty())
        SetPath(lblSource, folder);
}

void frmSettings::Form_Unload() {
    if (m_saved)
        return;
    m_saved = true;
    SettingsOptions o;
    o.fileNaming = std::max(0, cboName->currentIndex());
    o.fontSize = lblFont->text().toInt();
    o.mouseSensitivity = lblMouse->text().toInt();
    o.nodeSize = lblNode->text().toInt();
    o.autoSave = chkAutoSave->isChecked();
    o.askRemove = chkPytaj->isChecked();
    o.destFolder = lblFolder->text();
    o.sourceFolder = lblSource->text();
    o.overTakeText = txtOverTake->text();
    o.autoOpen = chkOpen->isChecked();
    o.moveText = txtMove->text();
    o.device = cboDevice->currentText();
    o.oneOutputForAll = chkMultiDev->isChecked();
    SaveSettingsOptions(m_program.settings, m_program.outputs, o);
    Settings().sync();
}

void frmSettings::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmSettings::keyPressEvent(QKeyEvent* event) {
    // On the press, as a dialog's Esc works: the release that ends an Esc
    // pressed in a box over this window must not close it too.
    if (event->key() == Qt::Key_Escape && !lstDev->isVisible()) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool frmSettings::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && keyReleased(key->key()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool frmSettings::keyReleased(int key) {
    if (key == Qt::Key_Escape && lstDev->isVisible()) {
        hideDeviceList();
        return true;
    }
    if (key == Qt::Key_F10) {
        cmdAdd->setVisible(cmdAdd->isHidden());
        return true;
    }
    return false;
}

} // namespace kelbrin
