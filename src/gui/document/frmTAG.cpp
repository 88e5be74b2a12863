#include "frmTAG.h"

#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/document/Id3v1Tag.h"
#include "core/document/MpegHeader.h"
#include "core/document/PlayerGraphs.h"
#include "core/document/SourceWriteHost.h"
#include "core/document/SourceWriteReport.h"
#include "core/document/cPozycjaPlikow.h"
#include "gui/app/Translation.h"
#include "gui/app/Twips.h"
#include "platform/text/AnsiCodec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace kelbrin {

QPointer<frmTAG> frmTAG::s_instance;

namespace {
constexpr int kLabelLeft = 120, kBoxLeft = 1470, kRow = 400, kTop = 150;
using texts::kBadTrackText;

SourceWriteStatus writeStatus(Id3v1WriteStatus status) {
    switch (status) {
    case Id3v1WriteStatus::Missing:
        return SourceWriteStatus::Missing;
    case Id3v1WriteStatus::CannotOpen:
        return SourceWriteStatus::CannotOpen;
    case Id3v1WriteStatus::WriteFailed:
        return SourceWriteStatus::Failed;
    default:
        return SourceWriteStatus::Done;
    }
}
} // namespace

frmTAG* frmTAG::PokazMnie(std::shared_ptr<cPozycjaPlikow> file, PlayerGraphs& players,
                          QWidget* parent) {
    if (!file)
        return nullptr;
    const Id3v1ReadResult read = ReadId3v1(file->strFileName, AnsiCodec());
    if (!read.fileFound)
        return nullptr;
    // Each opening starts from the start values.
    if (s_instance)
        delete s_instance.data();
    s_instance = new frmTAG(file, players, parent);
    s_instance->Form_Load();
    if (read.tag)
        s_instance->showTag(*read.tag);
    else
        s_instance->selectGenre(0);
    ApplyButtonIcons(s_instance);
    s_instance->show();
    s_instance->raise();
    s_instance->activateWindow();
    return s_instance;
}

frmTAG::frmTAG(std::shared_ptr<cPozycjaPlikow> file, PlayerGraphs& players, QWidget* parent)
    : QDialog(parent), m_file(std::move(file)), m_players(players) {
    setObjectName(QStringLiteral("frmTAG"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    const char* names[8] = {nullptr,  "Label1", "Label2", "Label3",
                            "Label4", "Label5", "Label6", "Label7"};
    const int tags[8] = {0, 2142, 2143, 2144, 2145, 2146, 2147, 2148};
    // Rows: title, artist, album, year, genre, comment, track.
    const int rows[8] = {0, 0, 1, 2, 3, 4, 5, 6};
    Label[0] = nullptr;
    for (int i = 1; i <= 7; ++i) {
        Label[i] = new QLabel(this);
        Label[i]->setObjectName(QLatin1String(names[i]));
        Label[i]->setProperty("Tag", QString::number(tags[i]));
        Label[i]->setGeometry(TwipRect{kLabelLeft, kTop + rows[i] * kRow + 40.0, 1300, 255}.toPx());
    }
    const auto box = [this](const char* name, int row, int width, int maxLength) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setMaxLength(maxLength);
        edit->setGeometry(TwipRect{kBoxLeft, kTop + row * double(kRow), double(width), 315}.toPx());
        return edit;
    };
    txtTitle = box("txtTitle", 0, 3900, 30);
    txtArtist = box("txtArtist", 1, 3900, 30);
    txtAlbum = box("txtAlbum", 2, 3900, 30);
    txtYear = box("txtYear", 3, 700, 4);
    txtYear->setText(QStringLiteral("1999"));
    cboGenre = new QComboBox(this);
    cboGenre->setObjectName(QStringLiteral("cboGenre"));
    cboGenre->setEditable(false);
    cboGenre->setGeometry(TwipRect{kBoxLeft, kTop + 4.0 * kRow, 3900, 315}.toPx());
    txtComment = box("txtComment", 5, 3900, 30);

    chkID3 = new QCheckBox(QStringLiteral("ID3 v1.1"), this);
    chkID3->setObjectName(QStringLiteral("chkID3"));
    chkID3->setGeometry(TwipRect{kBoxLeft, kTop + 6.0 * kRow + 20, 1500, 285}.toPx());
    txtTrack = box("txtTrack", 6, 700, 3);
    txtTrack->move(TwipsToPx(kBoxLeft + 3200), txtTrack->y());
    Label[7]->move(TwipsToPx(kBoxLeft + 1700), Label[7]->y());
    Label[7]->resize(TwipsToPx(1450), Label[7]->height());
    Label[7]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Digits only: a track number is 0 to 255.
    txtTrack->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,3}")), txtTrack));
    txtTrack->setText(QStringLiteral("0"));
    txtTrack->setEnabled(false);
    Label[7]->setEnabled(false);

    cmdSave = new QPushButton(this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setProperty("Tag", QStringLiteral("1111"));
    cmdSave->setGeometry(TwipRect{kBoxLeft + 2250, kTop + 7.0 * kRow + 100, 550, 550}.toPx());
    cmdAnuluj = new QPushButton(this);
    cmdAnuluj->setObjectName(QStringLiteral("cmdAnuluj"));
    cmdAnuluj->setProperty("Tag", QStringLiteral("1101"));
    cmdAnuluj->setGeometry(TwipRect{kBoxLeft + 3350, kTop + 7.0 * kRow + 100, 550, 550}.toPx());
    for (QPushButton* b : {cmdSave, cmdAnuluj})
        b->setAutoDefault(false);
    setFixedSize(TwipsToPx(kBoxLeft + 3900 + 200), TwipsToPx(kTop + 7 * kRow + 100 + 550 + 200));

    connect(chkID3, &QCheckBox::toggled, this, [this] { chkID3_Click(); });
    connect(txtTrack, &QLineEdit::textChanged, this, [this] { txtTrack_Change(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdAnuluj, &QPushButton::clicked, this, &QWidget::close);
}

void frmTAG::Form_Load() {
    LoadLang();
    cboGenre->clear();
    for (int number = 0; number <= 256; ++number) {
        const QString name = GenreName(static_cast<std::int16_t>(number));
        if (!name.isEmpty())
            cboGenre->addItem(name, number);
    }
}

void frmTAG::LoadLang() {
    setWindowTitle(DisplayText(GetText(7060))); // "Track Info"
    LoadLangCaptions(this);
}

void frmTAG::showTag(const Id3v1Tag& tag) {
    txtTitle->setText(tag.title);
    txtArtist->setText(tag.artist);
    txtAlbum->setText(tag.album);
    txtYear->setText(tag.year);
    txtTrack->setText(QString::number(tag.track));
    // Ticking first sets the comment's limit to 28 before the comment goes in.
    chkID3->setChecked(tag.v11);
    chkID3_Click();
    txtComment->setText(tag.comment);
    selectGenre(tag.genre);
}

void frmTAG::selectGenre(int genre) {
    int index = cboGenre->findData(genre);
    if (index < 0 && genre > 0) {
        // A number without a name stays as it is unless another genre is picked.
        int before = cboGenre->count();
        for (int i = 0; i < cboGenre->count(); ++i)
            if (cboGenre->itemData(i).toInt() > genre) {
                before = i;
                break;
            }
        cboGenre->insertItem(before, QStringLiteral("(%1)").arg(genre), genre);
        index = before;
    }
    cboGenre->setCurrentIndex(index < 0 ? 0 : index);
}

void frmTAG::chkID3_Click() {
    const bool on = chkID3->isChecked();
    txtTrack->setEnabled(on);
    Label[7]->setEnabled(on);
    txtComment->setMaxLength(on ? 28 : 30);
    if (on && txtComment->text().size() > 28)
        txtComment->setText(txtComment->text().left(28));
}

void frmTAG::txtTrack_Change() {
    if (Val(txtTrack->text()) > 255)
        txtTrack->setText(QStringLiteral("255"));
}

void frmTAG::cmdSave_Click() {
    Id3v1Tag tag;
    tag.title = txtTitle->text();
    tag.artist = txtArtist->text();
    tag.album = txtAlbum->text();
    tag.year = txtYear->text();
    tag.comment = txtComment->text();
    tag.v11 = chkID3->isChecked();
    const std::int64_t track = RoundHalfEven(Val(txtTrack->text()));
    if (tag.v11 && (track < 0 || track > 255)) {
        ShowText(kBadTrackText, mb::Exclamation);
        txtTrack->setFocus();
        return;
    }
    tag.track = static_cast<std::int32_t>(track);
    tag.genre = static_cast<std::uint8_t>(cboGenre->currentData().toInt());

    // The file is rewritten under the players' feet otherwise.
    m_players.ReleaseGraphsBeforeTagWrite();
    const Id3v1WriteResult written = WriteId3v1(m_file->strFileName, tag, AnsiCodec());
    if (!written.ok()) {
        SourceWriteResult report;
        report.status = writeStatus(written.status);
        report.error = written.error;
        ReportSourceWrite(report, m_file->strFileName);
        return;
    }
    close();
}

void frmTAG::keyPressEvent(QKeyEvent* event) {
    if (m_escape.pressed(event))
        return; // closing waits for the release
    QDialog::keyPressEvent(event);
}

void frmTAG::keyReleaseEvent(QKeyEvent* event) {
    // Only an Escape pressed here closes it, edits unsaved, not one that
    // dismissed a box.
    if (m_escape.released(event)) {
        close();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

} // namespace kelbrin
