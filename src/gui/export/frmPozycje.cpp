#include "frmPozycje.h"

#include "SplitCommands.h"

#include "core/app/BusyRefusal.h"
#include "core/app/FileList.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/NumericInput.h"
#include "core/app/LoadedSettings.h"
#include "core/document/EditorSession.h"
#include "core/recording/RecordingConfiguration.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/export/CueReader.h"
#include "core/export/DecimalBox.h"
#include "core/export/DefaultNames.h"
#include "core/export/SegmentList.h"
#include "core/export/SplitApply.h"
#include "core/export/SplitHost.h"
#include "core/export/SplitSource.h"
#include "gui/app/FileDialogs.h"
#include "gui/app/ProgramIcons.h"
#include "gui/app/Translation.h"
#include "gui/app/Twips.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

namespace kelbrin {

namespace {

// The decimal separator the number boxes show: the user's.
QChar decimalSeparator() {
    // The boxes read "." and ","; a locale with another separator sees ".".
    return QLocale().decimalPoint() == QLatin1String(",") ? QLatin1Char(',') : QLatin1Char('.');
}

} // namespace

QString frmPozycje::s_dialogFolder;
QPointer<frmPozycje> frmPozycje::s_instance;

namespace {

void place(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(TwipRect{left, top, width, height}.toPx());
}

// Disabled boxes take the button face, as the rest of the editor shows them.
void setBackColour(QWidget* w, bool windowColour) {
    QPalette p = w->palette();
    const QPalette app = QApplication::palette();
    p.setColor(QPalette::Base, app.color(windowColour ? QPalette::Base : QPalette::Button));
    w->setPalette(p);
}

bool namesAFolder(const QString& name) {
    return name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
           name.contains(QLatin1Char(':'));
}

} // namespace

frmPozycje* frmPozycje::Instance() { return s_instance.data(); }

frmPozycje* frmPozycje::PokazMnie(std::shared_ptr<SplitHost> host, std::shared_ptr<cPozycjaMP3> track,
                                  const SplitOpenOptions& options, QWidget* parent) {
    if (!host || !track)
        return nullptr;
    if (options.autoOK) {
        // A window of its own, never shown, so a dialog the user has open stays as it is.
        std::unique_ptr<frmPozycje> run(new frmPozycje(host, parent));
        run->setAttribute(Qt::WA_DeleteOnClose, false);
        run->cPozTrack = std::move(track);
        run->Form_Load();
        if (run->postPokazMnie(options))
            run->cmdOK_Click();
        run->Form_Unload();
        return nullptr;
    }
    if (!s_instance) {
        s_instance = new frmPozycje(host, parent);
        s_instance->Form_Load();
    }
    frmPozycje* w = s_instance.data();
    w->m_host = std::move(host);
    w->cPozTrack = std::move(track);
    w->m_unloaded = false;
    w->postPokazMnie(options);
    // The open step may have let the user close the window meanwhile.
    if (!s_instance)
        return nullptr;
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

frmPozycje::frmPozycje(std::shared_ptr<SplitHost> host, QWidget* parent)
    : QDialog(parent), m_host(std::move(host)) {
    setObjectName(QStringLiteral("frmPozycje"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint & ~Qt::WindowContextHelpButtonHint);
    buildControls();
    watchControls();
}

frmPozycje::~frmPozycje() = default;

void frmPozycje::buildControls() {
    buildSourceFrame();
    buildDestinationChoices();
    buildMinutesBoxes();
    buildCueFileBoxes();
    buildButtons();

    setFixedSize(TwipsToPx(7830), TwipsToPx(4845));
    setTabOrder(cboPlikZ, cmdPlik);

    connectControls();
}

// The source file, its chooser button and the VBR box.
void frmPozycje::buildSourceFrame() {
    fraFileS = new QGroupBox(this);
    fraFileS->setObjectName(QStringLiteral("fraFileS"));
    fraFileS->setProperty("Tag", QStringLiteral("2554;0"));
    place(fraFileS, 120, 60, 7590, 1000);

    cboPlikZ = new QComboBox(fraFileS);
    cboPlikZ->setObjectName(QStringLiteral("cboPlikZ"));
    place(cboPlikZ, 120, 360, 5900, 330);

    cmdPlik = new QPushButton(fraFileS);
    cmdPlik->setObjectName(QStringLiteral("cmdPlik"));
    cmdPlik->setProperty("Tag", QStringLiteral("1103;0"));
    place(cmdPlik, 6100, 300, 495, 435);

    chkVBR = new QCheckBox(QStringLiteral("VBR"), fraFileS);
    chkVBR->setObjectName(QStringLiteral("chkVBR"));
    chkVBR->setProperty("Tag", QStringLiteral("2165;0"));
    place(chkVBR, 6700, 360, 800, 330);
}

// The frame of the ways to cut, and the name of the track made by hand.
void frmPozycje::buildDestinationChoices() {
    fraDest = new QGroupBox(this);
    fraDest->setObjectName(QStringLiteral("fraDest"));
    fraDest->setProperty("Tag", QStringLiteral("2560;5039"));
    place(fraDest, 120, 1140, 7590, 2700);

    for (int i = 0; i < 4; ++i) {
        optDest[i] = new QRadioButton(fraDest);
        optDest[i]->setObjectName(QStringLiteral("optDest(%1)").arg(i));
    }
    optDest[0]->setProperty("Tag", QStringLiteral("2117"));
    optDest[1]->setProperty("Tag", QStringLiteral("2118"));
    optDest[2]->setProperty("Tag", QStringLiteral("2119"));
    optDest[3]->setProperty("Tag", QStringLiteral("2128"));
    place(optDest[0], 120, 330, 2300, 330);
    place(optDest[1], 120, 930, 1500, 330);
    place(optDest[3], 120, 1530, 2300, 330);
    place(optDest[2], 120, 2130, 7300, 330);
    optDest[0]->setChecked(true);

    lblDest = new QLabel(fraDest);
    lblDest->setObjectName(QStringLiteral("lblDest"));
    lblDest->setProperty("Tag", QStringLiteral("2126;5039"));
    place(lblDest, 2450, 360, 1300, 300);
    cboPlikD = new QComboBox(fraDest);
    cboPlikD->setObjectName(QStringLiteral("cboPlikD"));
    cboPlikD->setEditable(true);
    cboPlikD->setInsertPolicy(QComboBox::NoInsert);
    place(cboPlikD, 3750, 330, 3700, 330);
}

// Every N minutes: the length and the overlap, enabled with their choice.
void frmPozycje::buildMinutesBoxes() {
    Label1 = new QLabel(fraDest);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setProperty("Tag", QStringLiteral("2120"));
    place(Label1, 1650, 960, 450, 300);
    txtMin = new QLineEdit(QStringLiteral("74"), fraDest);
    txtMin->setObjectName(QStringLiteral("txtMin"));
    txtMin->setAlignment(Qt::AlignRight);
    place(txtMin, 2150, 930, 700, 330);
    Label2 = new QLabel(fraDest);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setProperty("Tag", QStringLiteral("2121"));
    place(Label2, 2920, 960, 700, 300);
    Label3 = new QLabel(fraDest);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setProperty("Tag", QStringLiteral("2122"));
    place(Label3, 3650, 960, 2000, 300);
    txtOverlap = new QLineEdit(QStringLiteral("0"), fraDest);
    txtOverlap->setObjectName(QStringLiteral("txtOverlap"));
    txtOverlap->setAlignment(Qt::AlignRight);
    place(txtOverlap, 5700, 930, 700, 330);
    Label4 = new QLabel(fraDest);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setProperty("Tag", QStringLiteral("2123"));
    place(Label4, 6470, 960, 700, 300);
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(txtMin),
                       static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(txtOverlap), static_cast<QWidget*>(Label4)})
        w->setEnabled(false);
}

void frmPozycje::buildCueFileBoxes() {
    txtCueFile = new QLineEdit(fraDest);
    txtCueFile->setObjectName(QStringLiteral("txtCueFile"));
    place(txtCueFile, 2450, 1530, 4500, 330);
    txtCueFile->setEnabled(false);
    setBackColour(txtCueFile, false);
    cmdCueFile = new QPushButton(QStringLiteral("..."), fraDest);
    cmdCueFile->setObjectName(QStringLiteral("cmdCueFile"));
    place(cmdCueFile, 7000, 1530, 450, 330);
    cmdCueFile->setEnabled(false);
}

// OK, Cancel and the status line.
void frmPozycje::buildButtons() {
    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setProperty("Tag", QStringLiteral("1102;5038"));
    place(cmdOK, 6150, 3960, 495, 435);
    cmdAnuluj = new QPushButton(this);
    cmdAnuluj->setObjectName(QStringLiteral("cmdAnuluj"));
    cmdAnuluj->setProperty("Tag", QStringLiteral("1101;5037"));
    place(cmdAnuluj, 6780, 3960, 495, 435);
    // Enter and Esc are the window's own keys, never a default button's.
    for (QPushButton* b : {cmdPlik, cmdCueFile, cmdOK, cmdAnuluj})
        b->setAutoDefault(false);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    place(StatusBar1, 0, 4845 - 300, 7830, 300);
}

void frmPozycje::connectControls() {
    connect(cboPlikZ, &QComboBox::activated, this, [this] { cboPlikZ_Click(); });
    connect(cmdPlik, &QPushButton::clicked, this, [this] { cmdPlik_Click(); });
    connect(cmdCueFile, &QPushButton::clicked, this, [this] { cmdCueFile_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdAnuluj, &QPushButton::clicked, this, [this] { cmdAnuluj_Click(); });
    for (int i = 0; i < 4; ++i)
        connect(optDest[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optDest_Click(i);
        });
    for (QLineEdit* box : {txtMin, txtOverlap})
        connect(box, &QLineEdit::textEdited, this, [box] {
            const SanitizedNumber s =
                SanitizeDecimalBox(box->text(), box->cursorPosition(), decimalSeparator());
            if (s.changed) {
                box->setText(s.text);
                box->setCursorPosition(s.caret);
            }
        });
}

// Keys reach the window before its controls; a few controls show their hint
// in the main window's help line.
void frmPozycje::watchControls() {
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

void frmPozycje::Form_Load() {
    LoadLang();
    setWindowTitle(GetText(3035));
    ApplyButtonIcons(this);
    const double minutes = DecimalBoxValue(GetSetting(settingkeys::kLMinDiv, QStringLiteral("74")));
    txtMin->setText(DecimalBoxText(minutes, decimalSeparator()));
    setWindowIcon(ProgramIcon(1130));
}

void frmPozycje::LoadLang() {
    chkVBR->setToolTip(GetText(3129));
    LoadLangCaptions(this);
    fitTexts();
}

// Each caption gets the width its text needs, and what follows it on its line
// moves right to make room; the box of a line gives up the width, keeping its
// right edge.
void frmPozycje::fitTexts() {
    const int gap = TwipsToPx(60);
    auto flow = [gap](std::initializer_list<QWidget*> line, QWidget* box) {
        int x = 0;
        bool first = true;
        for (QWidget* w : line) {
            if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w))
                w->resize(std::max(w->width(), w->sizeHint().width()), w->height());
            if (!first && w->x() < x) {
                if (w == box)
                    w->setGeometry(x, w->y(), w->geometry().right() + 1 - x, w->height());
                else
                    w->move(x, w->y());
            }
            x = w->geometry().right() + 1 + gap;
            first = false;
        }
    };
    flow({optDest[0], lblDest, cboPlikD}, cboPlikD);
    flow({optDest[1], Label1, txtMin, Label2, Label3, txtOverlap, Label4}, nullptr);
    flow({optDest[3], txtCueFile}, txtCueFile);
    flow({optDest[2]}, nullptr);
    flow({cboPlikZ, cmdPlik, chkVBR}, nullptr);
}

bool frmPozycje::postPokazMnie(const SplitOpenOptions& options) {
    blnNewTrack = options.newTrack;
    blnAutoOK = options.autoOK;
    m_runFinished = false;
    const QDateTime when = options.date.isValid() ? options.date : QDateTime::currentDateTime();
    if (options.autoOK)
        optDest[int(options.autoMode)]->setChecked(true);

    fillSourceList();

    const auto tracks = m_host->Tracks();
    cboPlikD->clear();
    for (std::int32_t i = 1; tracks && i <= tracks->Count(); ++i)
        cboPlikD->addItem(tracks->Item(i)->strFileName);

    if (blnNewTrack) {
        lngTrackNo = 0;
        cboPlikD->addItem(ProposedOutputName(when, tracks.get()));
        cboPlikD->setCurrentIndex(cboPlikD->count() - 1);
        updateSegmentOption();
    } else {
        optDest[1]->setEnabled(false);
        optDest[2]->setEnabled(false);
        // Never preselect another file: OK would point the track at it.
        if (!selectSource(cPozTrack->strFileNameSource)) {
            cboPlikZ->setCurrentIndex(-1);
            cboPlikZ_Click();
        }
        cboPlikD->setEditText(cPozTrack->strFileName);
        lngTrackNo = cPozTrack->lngNrPozycji;
        const auto file = FindOpenFile(m_host->Session(), cPozTrack->strFileNameSource);
        chkVBR->setChecked(file && file->blnVBR);
    }

    blnOpenSource = options.openSource;
    if (blnOpenSource)
        OpenSourceFile(cPozTrack->strFileNameSource, cPozTrack->lngTrack);
    if (blnAutoOK) {
        // Only the caller's own source may be cut: when it did not open, nothing is made.
        const QString source = cPozTrack->strFileNameSource;
        if (blnOpenSource && (source.isEmpty() || !FindOpenFile(m_host->Session(), source)))
            return false;
        selectSource(source);
    }
    return true;
}

void frmPozycje::fillSourceList() {
    const FileListContent list =
        BuildFileList(m_host->Session().OpenFiles.get(), true, false,
                      CurrentFileListFolders(m_host->Recording(), m_host->IsRecording()));
    {
        const QSignalBlocker block(cboPlikZ);
        cboPlikZ->clear();
        for (const FileListEntry& e : list.entries)
            cboPlikZ->addItem(e.text, e.itemData);
        cboPlikZ->setCurrentIndex(list.selected);
    }
    cboPlikZ_Click();
}

bool frmPozycje::selectSource(const QString& path) {
    const int index = path.isEmpty() ? -1 : cboPlikZ->findText(path, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    {
        const QSignalBlocker block(cboPlikZ);
        cboPlikZ->setCurrentIndex(index);
    }
    cboPlikZ_Click();
    return true;
}

void frmPozycje::updateSegmentOption() {
    const QString source = cboPlikZ->currentText();
    const bool offered =
        blnNewTrack && !source.isEmpty() && QFileInfo(SegmentListPath(source)).isFile();
    optDest[2]->setEnabled(offered);
    if (!offered && optDest[2]->isChecked())
        optDest[0]->setChecked(true);
}

void frmPozycje::cboPlikZ_Click() {
    const QString text = cboPlikZ->currentText();
    if (const auto file = FindOpenFile(m_host->Session(), text)) {
        chkVBR->setChecked(file->blnVBR);
        m_sourceSavable = !file->blnNoSave;
        chkVBR->setEnabled(m_sourceSavable);
        cmdOK->setEnabled(true);
    } else {
        m_sourceSavable = true;
        chkVBR->setEnabled(true);
        // A heading of the list cannot be split.
        cmdOK->setEnabled(text != GetText(3152) && text != GetText(3153));
    }
    updateSegmentOption();
    applyDestinationState();
}

// The boxes that belong to the chosen mode, and the CUE sheet proposed for the source.
void frmPozycje::applyDestinationState() {
    const int mode = int(SelectedMode());
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(txtMin),
                       static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(txtOverlap), static_cast<QWidget*>(Label4)})
        w->setEnabled(mode == 1);
    const bool named = mode == 0 && m_sourceSavable;
    cboPlikD->setEnabled(named);
    lblDest->setEnabled(named);
    setBackColour(cboPlikD, named);
    const bool cue = mode == 3;
    txtCueFile->setEnabled(cue);
    cmdCueFile->setEnabled(cue);
    if (cue)
        txtCueFile->setText(CueSheetPathFor(cboPlikZ->currentText()));
    setBackColour(txtCueFile, cue);
}

void frmPozycje::optDest_Click(int index) {
    Q_UNUSED(index);
    applyDestinationState();
}

SplitMode frmPozycje::SelectedMode() const {
    for (int i = 0; i < 4; ++i)
        if (optDest[i]->isChecked())
            return SplitMode(i);
    return SplitMode::Manual;
}

QString frmPozycje::OpenSourceFile(const QString& path, std::int32_t fileType) {
    // A source already open is taken as it is, not scanned again.
    if (!path.isEmpty() && FindOpenFile(m_host->Session(), path)) {
        if (!selectSource(path))
            fillSourceList();
        selectSource(path);
        return path;
    }
    if (s_dialogFolder.isEmpty())
        s_dialogFolder = m_host->Settings().SourceFolder;
    const QString opened = m_host->OpenSource(path, fileType, s_dialogFolder);
    if (!opened.isEmpty())
        m_host->Settings().SourceFolder = opened.left(opened.lastIndexOf(QLatin1Char('/')) + 1);
    fillSourceList();
    updateSegmentOption();
    if (isVisible() && isEnabled() && !isMinimized())
        activateWindow();
    return opened;
}

void frmPozycje::cmdPlik_Click() {
    OpenSourceFile(QString(), 1);
    if (cmdOK->isEnabled() && isVisible())
        cmdOK->setFocus();
}

void frmPozycje::cmdCueFile_Click() {
    int filterIndex = 1;
    const QString chosen = ShowFileDialog(this, m_host->Settings().SourceFolder, CueSheetFilter(), filterIndex,
                                          false, false, QString());
    if (!chosen.isEmpty())
        txtCueFile->setText(chosen);
}

void frmPozycje::cboPlikD_GotFocus() {
    QLineEdit* edit = cboPlikD->lineEdit();
    const QString text = edit->text();
    for (const char* ending : {".mp3", ".mp2", ".wav"}) {
        if (text.endsWith(QLatin1String(ending), Qt::CaseInsensitive)) {
            edit->deselect();
            edit->setCursorPosition(int(text.size()) - 4);
            return;
        }
    }
}

bool frmPozycje::txtMin_Validate() {
    const SanitizedNumber s = SanitizeDecimalBox(txtMin->text(), 0, decimalSeparator());
    return s.valid && DecimalBoxValue(txtMin->text()) * 60.0 >= 1.0;
}

bool frmPozycje::txtOverlap_Validate() {
    if (txtOverlap->text().trimmed().isEmpty()) {
        txtOverlap->setText(QStringLiteral("0"));
        return true;
    }
    return SanitizeDecimalBox(txtOverlap->text(), 0, decimalSeparator()).valid;
}

bool frmPozycje::CueFileReady() const {
    if (SelectedMode() != SplitMode::CueSheet)
        return true;
    const QString path = txtCueFile->text();
    return !path.isEmpty() && QFileInfo(path).isFile();
}

void frmPozycje::cmdOK_Click() {
    if (m_runFinished || !ReadyOrSayBusy(m_host->CanChangeProject()))
        return;
    const QString sourceText = cboPlikZ->currentText();
    if (sourceText.trimmed().isEmpty()) {
        ShowText(3002, mb::Information);
        return;
    }
    if (!CueFileReady()) {
        ShowText(3242, mb::Information);
        return;
    }
    auto file = FindOpenFile(m_host->Session(), sourceText);
    if (!file) {
        if (OpenSourceFile(sourceText, 1).isEmpty())
            return;
        file = FindOpenFile(m_host->Session(), cboPlikZ->currentText());
        if (!file)
            return;
    }
    const QString outputName = cboPlikD->currentText();
    if (namesAFolder(outputName)) {
        ShowText(3005, mb::Information);
        cboPlikD->setFocus();
        return;
    }
    if (!blnNewTrack) {
        if (!ApplySplitEdit(*m_host, lngTrackNo, outputName, *file, chkVBR->isChecked()))
            return;
    } else if (!runNewTracks(file, outputName)) {
        return;
    }
    m_runFinished = true;
    if (!blnAutoOK)
        close();
}

bool frmPozycje::runNewTracks(const std::shared_ptr<cPozycjaPlikow>& file, const QString& outputName) {
    SplitRequest request;
    request.mode = SelectedMode();
    QStringList skipped;
    QList<ReversedSegment> reversed;
    QString cuePath;
    const QString listPath = SegmentListPath(file->strFileName);

    if (request.mode == SplitMode::SegmentList) {
        if (!QFileInfo(listPath).isFile()) {
            optDest[0]->setChecked(true);
            request.mode = SplitMode::Manual;
        } else {
            const auto values = ReadSegmentLines(listPath);
            if (!values)
                return false;
            SegmentSplit split = SplitSegmentLines(*values);
            request.segments = std::move(split.pieces);
            reversed = std::move(split.reversed);
        }
    } else if (request.mode == SplitMode::CueSheet) {
        cuePath = txtCueFile->text();
        const auto sheet = ReadCueSheet(cuePath);
        if (!sheet)
            return false;
        request.cueEntries = sheet->entries;
        skipped = sheet->skipped;
    }

    file->blnVBR = chkVBR->isChecked();
    request.duration = SourceDuration(*file);
    request.sourceLength = file->sngCzasTrwania;

    if (request.mode == SplitMode::EveryMinutes) {
        if (txtOverlap->text().trimmed().isEmpty())
            txtOverlap->setText(QStringLiteral("0"));
        request.minutes = DecimalBoxValue(txtMin->text());
        request.overlap = DecimalBoxValue(txtOverlap->text());
        const SplitNumberFault fault =
            CheckEveryMinutesNumbers(request.minutes, request.overlap, request.duration);
        if (fault != SplitNumberFault::None) {
            QLineEdit* box = fault == SplitNumberFault::Minutes ? txtMin : txtOverlap;
            if (isVisible())
                box->setFocus();
            return false;
        }
    }

    request.sourcePath = file->strFileName;
    request.outputName = outputName;
    request.runStart = QDateTime::currentDateTime();
    if (blnAutoOK || blnOpenSource)
        request.given = cPozTrack;
    request.givenIsComplete = blnAutoOK && !blnOpenSource;
    request.keepCallerFields = blnAutoOK;

    const SplitPlan plan = PlanSplit(request, SplitContextFrom(*m_host));
    skipped += plan.skippedCue;
    if (request.mode == SplitMode::CueSheet && plan.tracks.isEmpty()) {
        ReportSkippedCueEntries(skipped);
        ShowText(3682, mb::Information, QStringLiteral("|1"), cuePath);
        return false;
    }
    ApplySplitPlan(plan, *m_host, !blnAutoOK);
    ReportSkippedCueEntries(skipped);
    if (!blnAutoOK) { // a hand-over from the recorder shows no box
        ReportReversedSegments(listPath, reversed);
        ReportSkippedSegments(listPath, plan.skippedSegments);
    }
    if (!blnAutoOK && !plan.tracks.isEmpty()) {
        m_host->ShowInTrackPanel(plan.tracks.last());
        m_host->ResetPreviewPlayMode();
    }
    return true;
}

void frmPozycje::cmdAnuluj_Click() { close(); }

void frmPozycje::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QDialog::closeEvent(event);
}

void frmPozycje::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    // A hidden run at once leaves the add button to the dialog the user has open.
    if (!s_instance || s_instance == this)
        m_host->SetAddButtonEnabled(true);
    if (blnNewTrack) {
        const int mode = int(SelectedMode());
        SaveSetting(settingkeys::kOpenType, QString::number(mode <= 2 ? mode : 3));
    }
    if (txtMin_Validate())
        SaveSetting(settingkeys::kLMinDiv, NumberText(DecimalBoxValue(txtMin->text())));
}

bool frmPozycje::handleKeyPress(QKeyEvent* event) {
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (focusWidget() == txtMin)
        return enter || key == Qt::Key_Escape;
    blnKeyDown = true;
    if (enter) {
        if (cmdOK->isEnabled())
            cmdOK_Click();
        return true;
    }
    return key == Qt::Key_Escape;
}

bool frmPozycje::handleKeyRelease(QKeyEvent* event) {
    if (!blnKeyDown || event->isAutoRepeat())
        return false;
    blnKeyDown = false;
    if (event->key() == Qt::Key_Escape) {
        cmdAnuluj_Click();
        return true;
    }
    if (event->key() == Qt::Key_F && event->modifiers() == Qt::AltModifier) {
        if (cmdPlik->isEnabled())
            cmdPlik_Click();
        return true;
    }
    return false;
}

bool frmPozycje::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((watched == txtMin || watched == txtOverlap) && !key->text().isEmpty() &&
            key->text()[0].unicode() >= 32) {
            auto* box = static_cast<QLineEdit*>(watched);
            const QChar typed = key->text()[0];
            const QChar kept = FilterDecimalKey(box->text(), typed, decimalSeparator());
            if (kept.isNull())
                return true;
            if (kept != typed) { // "." or "," shown as the separator in use
                box->insert(QString(kept));
                return true;
            }
        }
        return handleKeyPress(key);
    }
    case QEvent::KeyRelease:
        return handleKeyRelease(static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        if (watched == cboPlikD->lineEdit() || watched == cboPlikD)
            QTimer::singleShot(0, this, [this] { cboPlikD_GotFocus(); });
        break;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            break;
        if ((watched == txtMin && !txtMin_Validate()) || (watched == txtOverlap && !txtOverlap_Validate())) {
            QPointer<QLineEdit> box = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, this, [box] {
                if (box)
                    box->setFocus();
            });
        }
        break;
    }
    case QEvent::Enter:
    case QEvent::MouseMove:
        for (QWidget* w : {static_cast<QWidget*>(fraFileS), static_cast<QWidget*>(fraDest),
                           static_cast<QWidget*>(lblDest), static_cast<QWidget*>(cmdPlik),
                           static_cast<QWidget*>(chkVBR), static_cast<QWidget*>(cmdOK),
                           static_cast<QWidget*>(cmdAnuluj)})
            if (watched == w)
                ShowHint(TagOf(w));
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kelbrin
