#include "frmSave.h"

#include "ExportDesktopOpener.h"
#include "SaveDialogHost.h"
#include "SaveDialogLayout.h"
#include "core/app/BusyHold.h"
#include "core/app/BusyRefusal.h"
#include "core/app/FileList.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/export/DefaultNames.h"
#include "core/export/SaveEngine.h"
#include "gui/app/FileDialogs.h"
#include "gui/app/Translation.h"
#include "gui/editor/TrackCommandSet.h"
#include "gui/mainwindow/LongWorkHold.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/SystemInfo.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

namespace kelbrin {

QPointer<frmSave> frmSave::s_instance;

namespace {

using texts::kNoOpenFile;
using texts::kStopSavingQuestion;
using texts::kSaveTracksCaption;
using texts::kNoJoinedName;

SaveOutcome& lastOutcome() {
    static SaveOutcome outcome;
    return outcome;
}

bool settingTicked(const char* key) {
    return ValLong(GetSetting(QLatin1String(key), QStringLiteral("0"))) == 1;
}

QString tickText(const QCheckBox* box) {
    return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

template <typename W> W* named(QWidget* parent, const char* name, const QString& tag) {
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    w->setProperty("Tag", tag);
    return w;
}

// The dialog runs the export: its busy flag goes down when the user stops
// it, and its caption shows the run's status.
class DialogExportView final : public ExportRunView {
public:
    explicit DialogExportView(frmSave& dialog) : m_dialog(dialog) {}
    bool exportGoesOn() const override { return m_dialog.IsBusy(); }
    void showExportStatus(const QString& text) override {
        m_dialog.setWindowTitle(text.isEmpty() ? GetText(kSaveTracksCaption) : text);
    }

private:
    frmSave& m_dialog;
};

} // namespace

frmSave* frmSave::Instance() { return s_instance; }

const SaveOutcome& frmSave::LastOutcome() { return lastOutcome(); }

frmSave* frmSave::PokazMnie(frmDazudizi& main, bool fromScript) {
    if (s_instance && s_instance->blnBusy)
        return s_instance;
    const auto& files = main.Objects().session.OpenFiles;
    if (!files || files->Count() == 0) {
        ShowText(kNoOpenFile, mb::Information);
        return nullptr;
    }
    if (!s_instance) {
        s_instance = new frmSave(main);
        s_instance->Form_Load();
    }
    frmSave* dialog = s_instance;
    dialog->fillList();
    if (fromScript) {
        dialog->optSave[1]->setChecked(true);
        dialog->optSave_Click(1);
        dialog->chkTurbo->setChecked(false);
        dialog->chkDetails->setChecked(true);
        dialog->chkNazwy->setChecked(false);
        dialog->StartSave(false);
        if (dialog == s_instance && !dialog->m_unloaded)
            dialog->close();
        return nullptr;
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

frmSave::frmSave(frmDazudizi& main) : QDialog(&main), m_main(main) {
    setObjectName(QStringLiteral("frmSave"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setSizeGripEnabled(true);
    UseDesktopServicesOpener();
    buildControls();
    InstallHintOnHover(this);
}

void frmSave::buildControls() {
    createControls();
    placeControls();

    // Design state: one file per track, Turbo variants hidden, boxes clear.
    optSave[1]->setChecked(true);
    txtFileName->setEnabled(false);
    optTurbo[2]->setChecked(true);
    fraTurbo->hide();
    for (QPushButton* b : {txtWGore, txtWDol, cmdDir, cmdWytnij[0], cmdWytnij[1], cmdOK})
        b->setAutoDefault(false);

    connectControls();
}

void frmSave::createControls() {
    Label2 = named<QLabel>(this, "Label2", QStringLiteral("3107"));
    lstSource = named<QListWidget>(this, "lstSource", QStringLiteral(";5051"));
    txtWGore = named<QPushButton>(this, "txtWGore", QStringLiteral("1157;5042"));
    txtWDol = named<QPushButton>(this, "txtWDol", QStringLiteral("1158;5043"));
    Label1 = named<QLabel>(this, "Label1", QStringLiteral("3200"));
    txtSave = named<QLineEdit>(this, "txtSave", QString());
    txtSave->setReadOnly(true);
    cmdDir = named<QPushButton>(this, "cmdDir", QStringLiteral(";0"));
    optSave[0] = named<QRadioButton>(this, "optSave(0)", QStringLiteral("2161;5045"));
    txtFileName = named<QLineEdit>(this, "txtFileName", QString());
    txtFileName->setMaxLength(255);
    optSave[1] = named<QRadioButton>(this, "optSave(1)", QStringLiteral("2162;5046"));
    chkNazwy = named<QCheckBox>(this, "chkNazwy", QStringLiteral("2163;"));
    chkWinamp = named<QCheckBox>(this, "chkWinamp", QStringLiteral("2167;5044"));
    chkDetails = named<QCheckBox>(this, "chkDetails", QStringLiteral("2166;5047"));
    chkTurbo = named<QCheckBox>(this, "chkTurbo", QStringLiteral("2176;5048"));
    chkCue = named<QCheckBox>(this, "chkCue", QStringLiteral("2200;"));
    fraTurbo = named<QGroupBox>(this, "fraTurbo", QString());
    fraTurbo->setTitle(QStringLiteral("Turbo"));
    Label3 = named<QLabel>(fraTurbo, "Label3", QStringLiteral("3189"));
    Label3->setWordWrap(true);
    optTurbo[0] = named<QRadioButton>(fraTurbo, "optTurbo(0)", QString());
    optTurbo[0]->setText(QStringLiteral("1"));
    optTurbo[1] = named<QRadioButton>(fraTurbo, "optTurbo(1)", QString());
    optTurbo[1]->setText(QStringLiteral("0"));
    optTurbo[2] = named<QRadioButton>(fraTurbo, "optTurbo(2)", QStringLiteral("2175"));
    optTurbo[2]->setText(QStringLiteral("Auto"));
    cmdWytnij[0] = named<QPushButton>(this, "cmdWytnij(0)", QStringLiteral(";5041"));
    cmdWytnij[1] = named<QPushButton>(this, "cmdWytnij(1)", QStringLiteral(";5041"));
    cmdOK = named<QPushButton>(this, "cmdOK", QStringLiteral(";5040"));
    // The dialog's one caption that no language pass touches.
    cmdOK->setText(QStringLiteral("Cancel"));
}

// The design places and the tab order.
void frmSave::placeControls() {
    const SaveDialogLayout l = DesignSaveDialogLayout();
    const std::pair<QWidget*, TwipRect> places[] = {
        {Label2, l.Label2},       {lstSource, l.lstSource},     {Label1, l.Label1},
        {txtSave, l.txtSave},     {cmdDir, l.cmdDir},           {optSave[0], l.optSave0},
        {txtFileName, l.txtFileName}, {optSave[1], l.optSave1}, {chkNazwy, l.chkNazwy},
        {chkWinamp, l.chkWinamp}, {chkDetails, l.chkDetails},   {chkTurbo, l.chkTurbo},
        {chkCue, l.chkCue},       {fraTurbo, l.fraTurbo},       {Label3, l.Label3},
        {optTurbo[0], l.optTurbo0}, {optTurbo[1], l.optTurbo1}, {optTurbo[2], l.optTurbo2},
        {txtWGore, l.txtWGore},   {txtWDol, l.txtWDol},         {cmdWytnij[0], l.cmdWytnij0},
        {cmdWytnij[1], l.cmdWytnij1}, {cmdOK, l.cmdOK}};
    for (const auto& [widget, rect] : places)
        widget->setGeometry(rect.toPx());
    QWidget* order[] = {lstSource, optSave[0],  optSave[1], txtFileName,  chkNazwy,     chkWinamp,
                        txtWDol,   txtWGore,    fraTurbo,   optTurbo[0],  optTurbo[1],  optTurbo[2],
                        chkTurbo,  chkDetails,  txtSave,    cmdDir,       cmdWytnij[0], cmdWytnij[1],
                        cmdOK,     chkCue};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    resize(TwipsToPx(l.innerWidth), TwipsToPx(l.innerHeight));
}

void frmSave::connectControls() {
    connect(cmdWytnij[0], &QPushButton::clicked, this, [this] { cmdWytnij_Click(0); });
    connect(cmdWytnij[1], &QPushButton::clicked, this, [this] { cmdWytnij_Click(1); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdDir, &QPushButton::clicked, this, [this] { cmdDir_Click(); });
    connect(txtWGore, &QPushButton::clicked, this, [this] { txtWGore_Click(); });
    connect(txtWDol, &QPushButton::clicked, this, [this] { txtWDol_Click(); });
    connect(chkDetails, &QCheckBox::toggled, this, [this] { chkDetails_Click(); });
    connect(chkTurbo, &QCheckBox::toggled, this, [this] { chkTurbo_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(optSave[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optSave_Click(i);
        });
    connect(lstSource, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { lstSource_ItemCheck(item); });
    connect(txtFileName, &QLineEdit::textChanged, this, [this] { txtFileName_Change(); });
    txtFileName->installEventFilter(this);
}

void frmSave::Form_Load() {
    setDeleteTrackEnabled(false);
    LoadLang();
    ApplyButtonIcons(this);
    cmdDir->setText(QStringLiteral("..."));
    cmdDir->setToolTip(GetText(1113));
    txtSave->setText(
        GetSetting(settingkeys::kDestPath, SystemInfo::UserMediaFolder()).trimmed());
    if (txtSave->text().isEmpty())
        txtSave->setText(SystemInfo::UserMediaFolder());
    showFolderFromItsStart();
    setWindowTitle(GetText(kSaveTracksCaption));

    const std::int32_t count = m_main.cPozycje() ? m_main.cPozycje()->Count() : 0;
    txtFileName->setText(DefaultOutputName(QDateTime::currentDateTime(), count + 1, count));
    chkDetails->setChecked(settingTicked(settingkeys::kExactSave));
    chkNazwy->setChecked(settingTicked(settingkeys::kFileNameSame));
    chkWinamp->setChecked(settingTicked(settingkeys::kExtPlayer));
    if (Val(GetSetting(settingkeys::kFileNameSave, QStringLiteral("0"))) != 0)
        optSave[0]->setChecked(true);
    chkTurbo->setChecked(settingTicked(settingkeys::kTurbo));
    chkCue->setChecked(settingTicked(settingkeys::kCreateCue));
    std::int32_t turboSet = ValLong(GetSetting(settingkeys::kT_Set, QStringLiteral("2")));
    if (turboSet < 0 || turboSet > 2)
        turboSet = 2;
    optTurbo[static_cast<std::size_t>(turboSet)]->setChecked(true);
}

void frmSave::LoadLang() {
    cmdWytnij[0]->setText(GetText(2075));
    cmdWytnij[1]->setText(GetText(2076));
    LoadLangCaptions(this);
    fitTexts();
}

// Every caption shows whole: the options of the column take the width of
// their texts, the window's smallest width grows with the widest of them, and
// the Turbo frame grows to hold its wrapped explanation.
void frmSave::fitTexts() {
    const SaveDialogLayout design = DesignSaveDialogLayout();
    // Each control's left edge relative to the column, as the re-flow places it.
    const std::pair<QWidget*, double> column[] = {
        {optSave[0], 0}, {optSave[1], 0}, {chkNazwy, 500}, {chkWinamp, 0},
        {chkDetails, 0}, {chkTurbo, 0},   {chkCue, 0}};
    double extent = 770 + design.fraTurbo.width;
    for (const auto& [w, offset] : column) {
        w->resize(w->sizeHint().width(), w->height());
        extent = std::max(extent, offset + PxToTwips(w->width()));
    }
    m_columnExtent = extent;
    // The buttons are at least as large as their captions need; the re-flow
    // stacks them up from the bottom edge.
    for (QPushButton* b : {cmdWytnij[0], cmdWytnij[1], cmdOK})
        b->resize(std::max(b->width(), b->sizeHint().width()), std::max(b->height(), b->sizeHint().height()));

    const QRect label = design.Label3.toPx();
    const int top = std::max(label.top(), fraTurbo->fontMetrics().height() + 2);
    const int height = std::max(label.height(), Label3->heightForWidth(label.width()));
    Label3->setGeometry(label.left(), top, label.width(), height);
    const int shift = top + height - label.bottom() - 1;
    const std::pair<QWidget*, TwipRect> below[] = {
        {optTurbo[0], design.optTurbo0}, {optTurbo[1], design.optTurbo1}, {optTurbo[2], design.optTurbo2}};
    for (const auto& [w, rect] : below) {
        const QRect r = rect.toPx();
        w->setGeometry(r.left(), r.top() + shift, std::max(r.width(), w->sizeHint().width()), r.height());
    }
    fraTurbo->resize(fraTurbo->width(), design.fraTurbo.toPx().height() + shift);
}

void frmSave::fillList() {
    const bool wasEnabled = isEnabled();
    setEnabled(false); // filling shows the marks; it must not change them
    lstSource->clear();
    const auto& tracks = m_main.cPozycje();
    for (std::int32_t i = 1; tracks && i <= tracks->Count(); ++i) {
        const auto track = tracks->Item(i);
        if (!IsFileSavable(m_main.Objects().session.OpenFiles.get(), track->strFileNameSource))
            continue;
        auto* item = new QListWidgetItem(track->strLabel);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setData(Qt::UserRole, i);
        item->setCheckState(track->blnAwlaysTop ? Qt::Checked : Qt::Unchecked);
        lstSource->addItem(item);
    }
    setEnabled(wasEnabled);
}

SaveRequest frmSave::BuildRequest(bool preview) const {
    SaveRequest request;
    request.openFiles = m_main.Objects().session.OpenFiles;
    request.copyChunkSize = m_main.Objects().settings.CopyChunkSize;
    const auto& tracks = m_main.cPozycje();
    for (int row = 0; row < lstSource->count(); ++row) {
        const QListWidgetItem* item = lstSource->item(row);
        const std::int32_t position = item->data(Qt::UserRole).toInt();
        if (item->checkState() != Qt::Checked || !tracks || position < 1 ||
            position > tracks->Count())
            continue;
        request.pieces.append(ExportPieceFromTrack(*tracks->Item(position)));
    }
    request.joined = optSave[0]->isChecked();
    request.joinedName = txtFileName->text();
    request.destFolder = txtSave->text();
    request.nameByLabel = chkNazwy->isChecked();
    request.turbo = chkTurbo->isChecked();
    request.turboLength = optTurbo[0]->isChecked()   ? TurboLength::EveryFramePadded
                          : optTurbo[1]->isChecked() ? TurboLength::NoFramePadded
                                                     : TurboLength::AsReferenceHeader;
    request.exactAnalysis = chkDetails->isChecked();
    request.writeCue = chkCue->isChecked();
    request.writePlaylist = chkWinamp->isChecked();
    request.preview = preview;
    return request;
}

void frmSave::cmdWytnij_Click(int index) { StartSave(index == 0); }

void frmSave::StartSave(bool preview) {
    // Another long operation (a scan) holds the project.
    if (blnBusy || !ReadyOrSayBusy(m_main.CanChangeProject()))
        return;
    const SaveRequest request = BuildRequest(preview);
    {
        // The window is usable again however the run ends, an error thrown
        // through it included: a flag left down would refuse every later
        // source command without a word.
        const BusyHold hold([this] { SetBusy(true); },
                            [this] {
                                SetBusy(false);
                                setWindowTitle(GetText(kSaveTracksCaption));
                            });
        const LongWorkHold mainHeld(m_main); // given back before the dialog's own state
        DialogExportView view(*this);
        SaveDialogHost host(m_main, view);
        lastOutcome() = SavePieces(request, host);
    }
    switch (lastOutcome().status) {
    case SaveStatus::Finished:
    case SaveStatus::Declined:
    case SaveStatus::Cancelled:
        cmdOK_Click();
        break;
    case SaveStatus::Refused:
        if (lastOutcome().messageNumber == kNoJoinedName && txtFileName->isEnabled())
            txtFileName->setFocus();
        break;
    case SaveStatus::Failed:
        break;
    }
}

void frmSave::SetBusy(bool busy) {
    blnBusy = busy;
    const bool on = !busy;
    for (QWidget* w : std::initializer_list<QWidget*>{
             lstSource, fraTurbo, txtWGore, txtWDol, optSave[0], optSave[1], chkDetails, chkWinamp,
             chkTurbo, chkCue, cmdWytnij[0], cmdWytnij[1], txtSave, cmdDir, Label1})
        w->setEnabled(on);
    (optSave[1]->isChecked() ? static_cast<QWidget*>(chkNazwy) : txtFileName)->setEnabled(on);
}

void frmSave::cmdOK_Click() { close(); }

// A folder longer than its box shows from its root, where it can be told
// from another, not from its last letters.
void frmSave::showFolderFromItsStart() {
    txtSave->setCursorPosition(0);
}

void frmSave::cmdDir_Click() {
    const QString title = GetText(2100) + QLatin1Char('\r') +
                          GetText(3136, QStringLiteral("|1"), txtSave->text());
    QString folder = BrowseForFolder(this, title);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (folder.isEmpty())
        return;
    txtSave->setText(folder);
    showFolderFromItsStart();
    SaveSetting(settingkeys::kDestPath, folder);
    m_main.Objects().settings.DestFolder = folder;
}

void frmSave::chkDetails_Click() {
    if (chkDetails->isChecked())
        chkTurbo->setChecked(false);
}

void frmSave::chkTurbo_Click() {
    fraTurbo->setVisible(chkTurbo->isChecked());
    if (chkTurbo->isChecked())
        chkDetails->setChecked(false);
}

void frmSave::optSave_Click(int index) {
    txtFileName->setEnabled(index == 0);
    chkNazwy->setEnabled(index != 0);
    QPalette p = txtFileName->palette();
    const QPalette base = QApplication::palette();
    p.setColor(QPalette::Base, txtFileName->isEnabled() ? base.color(QPalette::Base)
                                                        : base.color(QPalette::Button));
    txtFileName->setPalette(p);
}

void frmSave::lstSource_ItemCheck(QListWidgetItem* item) {
    // Only the user's own clicks count, not filling or moving the items.
    if (!item || !isEnabled() || !isVisible() || !m_main.cPozycje())
        return;
    const std::int32_t position = item->data(Qt::UserRole).toInt();
    if (position < 1 || position > m_main.cPozycje()->Count())
        return;
    cPozycjaMP3& track = *m_main.cPozycje()->Item(position);
    const bool ticked = item->checkState() == Qt::Checked;
    if (track.blnAwlaysTop == ticked)
        return;
    // The tick is kept in the project: closing asks to save it.
    track.blnAwlaysTop = ticked;
    track.blnZmodyfikowana = true;
}

void frmSave::txtFileName_Change() {
    static const QString forbidden = QStringLiteral("/\\\"<>|*:?");
    const QString text = txtFileName->text();
    QString kept;
    for (const QChar c : text)
        if (!forbidden.contains(c))
            kept += c;
    if (kept != text) {
        txtFileName->setText(kept);
        txtFileName->setCursorPosition(kept.size());
    }
}

void frmSave::txtFileName_LostFocus() { txtFileName->setText(txtFileName->text().trimmed()); }

void frmSave::moveItem(int from, int to) {
    setEnabled(false); // the swap's check changes are not the user's
    QListWidgetItem* a = lstSource->item(from);
    QListWidgetItem* b = lstSource->item(to);
    const QString text = a->text();
    const QVariant userData = a->data(Qt::UserRole);
    const Qt::CheckState check = a->checkState();
    a->setText(b->text());
    a->setData(Qt::UserRole, b->data(Qt::UserRole));
    a->setCheckState(b->checkState());
    b->setText(text);
    b->setData(Qt::UserRole, userData);
    b->setCheckState(check);
    lstSource->setCurrentRow(to);
    setEnabled(true);
    if (lstSource->isEnabled())
        lstSource->setFocus();
}

void frmSave::txtWGore_Click() {
    const int i = lstSource->currentRow();
    if (i > 0)
        moveItem(i, i - 1);
}

void frmSave::txtWDol_Click() {
    const int i = lstSource->currentRow();
    if (i >= 0 && i + 1 < lstSource->count())
        moveItem(i, i + 1);
}

void frmSave::saveOptions() {
    SaveSetting(settingkeys::kExactSave, tickText(chkDetails));
    SaveSetting(settingkeys::kFileNameSame, tickText(chkNazwy));
    SaveSetting(settingkeys::kExtPlayer, tickText(chkWinamp));
    SaveSetting(settingkeys::kTurbo, tickText(chkTurbo));
    SaveSetting(settingkeys::kFileNameSave,
                optSave[0]->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    SaveSetting(settingkeys::kCreateCue, tickText(chkCue));
    SaveSetting(settingkeys::kT_Set, optTurbo[0]->isChecked()   ? QStringLiteral("0")
                                         : optTurbo[1]->isChecked() ? QStringLiteral("1")
                                                                    : QStringLiteral("2"));
}

void frmSave::setDeleteTrackEnabled(bool enabled) {
    // No track may vanish under the list's positions while the dialog is open.
    m_main.Commands().HoldDeletion(!enabled);
}

void frmSave::closeEvent(QCloseEvent* event) {
    if (blnBusy) {
        event->ignore();
        if (ShowText(kStopSavingQuestion, mb::YesNo | mb::Question) == mb::Yes) {
            // The engine stops at its next check and closes the dialog itself.
            blnBusy = false;
            m_main.ZerujProgress();
        }
        return;
    }
    if (!m_unloaded) {
        m_unloaded = true;
        setDeleteTrackEnabled(true);
        saveOptions();
    }
    QDialog::closeEvent(event);
}

void frmSave::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmSave::Form_Resize() {
    const QSize frameExtra = frameGeometry().size() - size();
    const int minWidth =
        TwipsToPx(SaveDialogMinOuterWidth(m_columnExtent, PxToTwips(frameExtra.width()))) - frameExtra.width();
    const int minHeight = TwipsToPx(kSaveDialogMinOuterHeight) - frameExtra.height();
    // A resize of a window that is not shown yet sends no event back, so
    // the layout goes on here with the size just set.
    if (!isMinimized() && (height() < minHeight || width() < minWidth))
        resize(std::max(width(), minWidth), std::max(height(), minHeight));
    const auto twips = [](const QWidget* w) { return TwipRect::fromPx(w->geometry()); };
    SaveDialogLayout l;
    const std::pair<QWidget*, TwipRect*> controls[] = {
        {Label1, &l.Label1},       {Label2, &l.Label2},         {lstSource, &l.lstSource},
        {txtSave, &l.txtSave},     {cmdDir, &l.cmdDir},         {optSave[0], &l.optSave0},
        {txtFileName, &l.txtFileName}, {optSave[1], &l.optSave1}, {chkNazwy, &l.chkNazwy},
        {chkWinamp, &l.chkWinamp}, {chkDetails, &l.chkDetails}, {chkTurbo, &l.chkTurbo},
        {chkCue, &l.chkCue},       {fraTurbo, &l.fraTurbo},     {txtWGore, &l.txtWGore},
        {txtWDol, &l.txtWDol},     {cmdWytnij[0], &l.cmdWytnij0}, {cmdWytnij[1], &l.cmdWytnij1},
        {cmdOK, &l.cmdOK}};
    const auto reflow = [&] {
        l.innerWidth = PxToTwips(width());
        l.innerHeight = PxToTwips(height());
        l.outerWidth = PxToTwips(frameGeometry().width());
        l.outerHeight = PxToTwips(frameGeometry().height());
        l.minInnerWidth = PxToTwips(minWidth);
        for (const auto& [widget, rect] : controls)
            *rect = twips(widget);
        ReflowSaveDialog(l);
    };
    reflow();
    // A Turbo frame grown by its wrapped explanation must not run under the
    // buttons: the window grows instead.
    const int turboHeight = static_cast<int>(std::ceil(SaveDialogMinInnerHeight(l) / kTwipsPerPixel));
    if (!isMinimized() && height() < turboHeight) {
        resize(width(), turboHeight);
        reflow();
    }
    for (const auto& [widget, rect] : controls)
        widget->setGeometry(rect->toPx());
}

void frmSave::keyPressEvent(QKeyEvent* event) {
    m_keyDown = true;
    if (event->key() == Qt::Key_Escape)
        return; // closing waits for the key's release, as the dialog's other keys do
    QDialog::keyPressEvent(event);
}

void frmSave::keyReleaseEvent(QKeyEvent* event) {
    if (!m_keyDown) {
        QDialog::keyReleaseEvent(event);
        return;
    }
    m_keyDown = false;
    if (event->key() == Qt::Key_Escape)
        cmdOK_Click();
    else if (event->key() == Qt::Key_F1)
        cmdDir_Click();
    else
        QDialog::keyReleaseEvent(event);
}

bool frmSave::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtFileName && event->type() == QEvent::FocusOut)
        txtFileName_LostFocus();
    return QDialog::eventFilter(watched, event);
}

} // namespace kelbrin
