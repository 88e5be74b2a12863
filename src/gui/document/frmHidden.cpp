#include "frmHidden.h"

#include "SourceToolFiles.h"
#include "SourceToolHost.h"
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/document/HiddenText.h"
#include "core/document/SourceWriteReport.h"
#include "core/document/cPozycjaPlikow.h"
#include "gui/app/Translation.h"
#include "gui/app/Twips.h"
#include "gui/app/WidgetNaming.h"
#include "platform/text/AnsiCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>

namespace kelbrin {

QPointer<frmHidden> frmHidden::s_instance;

namespace {
using texts::kHiddenTextTooLong;
using texts::kUnmappableText;
} // namespace

frmHidden* frmHidden::PokazMnie(SourceToolHost& host, QWidget* parent) {
    if (!s_instance) {
        s_instance = new frmHidden(host, parent);
        s_instance->Form_Load();
    }
    FillToolFileList(s_instance->m_host.Session(), s_instance->cboPlik);
    s_instance->show();
    s_instance->raise();
    s_instance->activateWindow();
    return s_instance;
}

frmHidden::frmHidden(SourceToolHost& host, QWidget* parent) : QDialog(parent), m_host(host) {
    setObjectName(QStringLiteral("frmHidden"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setSizeGripEnabled(true);
    fraInfo = new QGroupBox(this);
    fraInfo->setObjectName(QStringLiteral("fraInfo"));
    Label4 = new QLabel(fraInfo);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setProperty("Tag", QStringLiteral("2106"));
    Label4->setGeometry(TwipRect{100, 240, 700, 255}.toPx());
    cboPlik = new QComboBox(fraInfo);
    cboPlik->setObjectName(QStringLiteral("cboPlik"));
    cboPlik->setGeometry(TwipRect{850, 200, 4400, 315}.toPx());
    cboPlik->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    const auto button = [this](const char* name, const char* tag, double left) {
        return PlacedButton(fraInfo, name, tag, {left, 120, 450, 450});
    };
    cmdPlik = button("cmdPlik", "1103", 5350);
    cmdEdit = button("cmdEdit", "1142", 5900);
    cmdHidden = button("cmdHidden", "1111", 6400);
    cmdRefresh = button("cmdRefresh", "1115", 6900);
    cmdHidden->setEnabled(false);
    lblTekst = new QLabel(fraInfo);
    lblTekst->setObjectName(QStringLiteral("lblTekst"));
    lblTekst->setWordWrap(true);
    lblTekst->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTekst->setFrameShape(QFrame::StyledPanel);
    lblTekst->setTextFormat(Qt::PlainText);
    lblTekst->move(TwipsToPx(50), TwipsToPx(700));
    txtTekst = new QPlainTextEdit(fraInfo);
    txtTekst->setObjectName(QStringLiteral("txtTekst"));
    txtTekst->move(TwipsToPx(50), TwipsToPx(700));
    txtTekst->hide();
    setMinimumSize(TwipsToPx(7600), TwipsToPx(2000));
    resize(TwipsToPx(7600), TwipsToPx(3600));

    connect(cboPlik, &QComboBox::currentIndexChanged, this, [this] { cboPlik_Click(); });
    connect(cmdPlik, &QPushButton::clicked, this, [this] { cmdPlik_Click(); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
    connect(cmdHidden, &QPushButton::clicked, this, [this] { cmdHidden_Click(); });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { cmdRefresh_Click(); });
    connect(txtTekst, &QPlainTextEdit::textChanged, this, [this] { txtTekst_Change(); });
}

void frmHidden::FollowOpenFiles() {
    frmHidden* self = s_instance;
    if (!self || self->m_writing)
        return;
    ++self->m_readGeneration; // a reading under way ends: its file may be gone
    self->m_reading = false;
    FillToolFileList(self->m_host.Session(), self->cboPlik);
    self->lblTekst->clear();
    self->txtTekst->hide();
    self->cmdHidden->setEnabled(false);
}

void frmHidden::Form_Load() {
    ApplyButtonIcons(this);
    LoadLangCaptions(this);
    setWindowTitle(ToolWindowCaption(2018));
    txtTekst->setToolTip(GetText(3056));
}

void frmHidden::cboPlik_Click() {
    if (m_writing)
        return;
    lblTekst->clear();
    auto file = SelectedToolFile(m_host.Session(), cboPlik);
    if (!file || !EnsureFrameIndex(m_host, file, cboPlik->currentText()))
        return;
    const int generation = ++m_readGeneration;
    m_reading = true;
    const AnsiCodec codec;
    QByteArray shown;
    const QByteArray codes = ReadHiddenCodes(*file, [&] {
        QCoreApplication::processEvents();
        // Closing the window or choosing again ends this reading.
        return generation == m_readGeneration && !m_closeWhenDone;
    });
    if (generation == m_readGeneration) {
        m_reading = false;
        lblTekst->setText(codec.toUnicode(codes));
    }
    if (m_closeWhenDone && !isBusy())
        close();
}

void frmHidden::cmdPlik_Click() {
    if (isBusy())
        return;
    if (OpenToolFile(m_host))
        txtTekst->hide();
    FillToolFileList(m_host.Session(), cboPlik);
    if (isVisible())
        activateWindow();
}

void frmHidden::cmdEdit_Click() {
    txtTekst->setVisible(!txtTekst->isVisible());
    if (txtTekst->isVisible() && txtTekst->isEnabled())
        txtTekst->setFocus();
}

void frmHidden::cmdRefresh_Click() {
    txtTekst->hide();
    cboPlik_Click();
}

void frmHidden::txtTekst_Change() {
    if (cboPlik->currentIndex() >= 0 && !m_writing)
        cmdHidden->setEnabled(!txtTekst->toPlainText().isEmpty());
}

void frmHidden::cmdHidden_Click() {
    if (isBusy() || cboPlik->currentIndex() < 0)
        return;
    if (ShowText(3029, mb::YesNo | mb::Question) != mb::Yes)
        return;
    auto file = SelectedToolFile(m_host.Session(), cboPlik);
    if (!file)
        return;
    // The whole text is checked before a single bit is written.
    QString refused;
    const std::optional<QByteArray> codes =
        EncodeHiddenText(txtTekst->toPlainText(), AnsiCodec(), &refused);
    if (!codes) {
        ShowText(kUnmappableText, mb::Exclamation, QStringLiteral("|1"), refused);
        return;
    }
    // A text the frames cannot hold would lose its end, or keep only some
    // bits of its last character; the file keeps its old text instead.
    const std::int64_t capacity = HiddenTextCapacity(file->Daj_Naglowek_Ilosc());
    if (codes->size() > capacity) {
        ShowText(kHiddenTextTooLong, mb::Exclamation, QStringLiteral("|1"), file->strFileName,
                 QStringLiteral("|2"), QString::number(capacity), QStringLiteral("|3"),
                 QString::number(codes->size()));
        return;
    }
    SourceWriteResult result;
    {
        const LongWorkScope work(m_host);
        if (!work.held())
            return;
        m_writing = true;
        m_stop = false;
        setControlsEnabled(false);
        const auto writingOver = qScopeGuard([this] {
            m_writing = false;
            setControlsEnabled(true);
        });
        ToolWriteProgress progress(m_host, m_stop);
        result = WriteHiddenCodes(*file, *codes, progress);
    }
    ReportSourceWrite(result, file->strFileName);
    if (m_closeWhenDone)
        close();
}

void frmHidden::setControlsEnabled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{cboPlik, cmdPlik, cmdEdit, cmdHidden,
                                                      cmdRefresh, txtTekst})
        w->setEnabled(on);
    if (on)
        txtTekst_Change();
}

void frmHidden::closeEvent(QCloseEvent* event) {
    if (m_writing) {
        event->ignore();
        if (AskStopToolWrite()) {
            m_stop = true;
            m_closeWhenDone = true;
        }
        return;
    }
    if (m_reading) {
        // The reading ends at its next pause and closes the window then.
        event->ignore();
        m_closeWhenDone = true;
        return;
    }
    QDialog::closeEvent(event);
}

void frmHidden::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_C && event->modifiers() == Qt::ControlModifier) {
        QApplication::clipboard()->setText(lblTekst->text());
        return;
    }
    QDialog::keyReleaseEvent(event);
}

void frmHidden::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (isMinimized())
        return;
    fraInfo->setGeometry(0, 0, width(), height());
    const int w = TwipsToPx(PxToTwips(fraInfo->width()) - 100);
    const int h = TwipsToPx(PxToTwips(fraInfo->height()) - 800);
    if (w <= 0 || h <= 0)
        return;
    lblTekst->resize(w, h);
    txtTekst->resize(w, h);
}

} // namespace kelbrin
