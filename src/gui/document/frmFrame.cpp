#include "frmFrame.h"

#include "SourceToolFiles.h"
#include "SourceToolHost.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/TextCatalog.h"
#include "core/document/EditorSession.h"
#include "core/document/HeaderWriteBack.h"
#include "core/document/MpegHeader.h"
#include "core/document/SourceWriteReport.h"
#include "core/document/cPozycjaPlikow.h"
#include "frmTAG.h"
#include "gui/app/Translation.h"
#include "gui/app/Twips.h"
#include "gui/app/WidgetNaming.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <stdexcept>

namespace kelbrin {

QPointer<frmFrame> frmFrame::s_instance;

namespace {

QLabel* label(QWidget* parent, const QString& name, int tag, TwipRect r) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    if (tag > 0)
        l->setProperty("Tag", QString::number(tag));
    l->setGeometry(r.toPx());
    return l;
}

QValidator* digitsOnly(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,15}")),
                                           parent);
}

// The twelve field lists: field, control name, caption index and text, column, row.
struct ListPlace {
    HeaderField field;
    const char* name;
    int captionIndex;
    int captionText;
    int column;
    int row;
};
constexpr ListPlace kPlaces[] = {
    {HeaderField::Version, "cboVersion", 10, 2108, 0, 0},
    {HeaderField::Layer, "cboLayer", 1, 2109, 0, 1},
    {HeaderField::Crc, "cboCRC", 6, 2133, 0, 2},
    {HeaderField::Bitrate, "cboBiteRate", 3, 2110, 0, 3},
    {HeaderField::SamplingRate, "cboSamplingRate", 9, 2112, 0, 4},
    {HeaderField::Padding, "cboPadding", 15, 2138, 0, 5},
    {HeaderField::Private, "cboPrivate", 13, 2136, 1, 0},
    {HeaderField::ChannelMode, "cboChannelMode", 4, 2111, 1, 1},
    {HeaderField::Extension, "cboExtension", 14, 2137, 1, 2},
    {HeaderField::Copyright, "cboCopyrights", 5, 2132, 1, 3},
    {HeaderField::Original, "cboOriginal", 12, 2134, 1, 4},
    {HeaderField::Emphasis, "cboEmphasis", 7, 2135, 1, 5},
};
constexpr int kHeaderTop = 1650, kRowHeight = 420, kLabelWidth = 2000, kListWidth = 2600;
constexpr int kColumnLeft[2] = {150, 4850};
} // namespace

frmFrame* frmFrame::PokazMnie(SourceToolHost& host, QWidget* parent) {
    if (!s_instance) {
        s_instance = new frmFrame(host, parent);
        s_instance->blnEditsCount = false;
        s_instance->Form_Load();
        s_instance->show();
        s_instance->blnEditsCount = true;
        s_instance->txtRamka->setText(QStringLiteral("1"));
    }
    s_instance->show();
    s_instance->raise();
    s_instance->activateWindow();
    return s_instance;
}

frmFrame::frmFrame(SourceToolHost& host, QWidget* parent) : QDialog(parent), m_host(host) {
    setObjectName(QStringLiteral("frmFrame"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    Label2 = label(this, QStringLiteral("Label2"), 2106, {120, 180, 700, 255});
    cboPlik = new QComboBox(this);
    cboPlik->setObjectName(QStringLiteral("cboPlik"));
    cboPlik->setGeometry(TwipRect{850, 140, 5600, 315}.toPx());
    cboPlik->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    const auto button = [this](const char* name, const char* tag, double left) {
        return PlacedButton(this, name, tag, {left, 60, 450, 450});
    };
    cmdPlik = button("cmdPlik", "1103", 6600);
    cmdTAG = button("cmdTAG", "1128", 7150);
    cmdSave = button("cmdSave", "1111", 7700);
    cmdTAG->setEnabled(false);
    buildInfo();
    buildLists();
    setFixedSize(TwipsToPx(9750), TwipsToPx(kHeaderTop + 6 * kRowHeight + 350 + 200));

    connect(cboPlik, &QComboBox::currentIndexChanged, this, [this] {
        if (blnEditsCount)
            ShowFrame(1);
    });
    connect(cmdPlik, &QPushButton::clicked, this, [this] { cmdPlik_Click(); });
    connect(cmdTAG, &QPushButton::clicked, this, [this] { cmdTAG_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(txtRamka, &QLineEdit::textChanged, this, [this] { txtRamka_Change(); });
    connect(txtOffset, &QLineEdit::textEdited, this, [this] { txtOffset_Change(); });
    // A box left empty shows the offset the frame keeps.
    connect(txtOffset, &QLineEdit::editingFinished, this, [this] {
        if (txtOffset->text().isEmpty())
            txtOffset->setText(QString::number(m_shownOffset));
    });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int v) { VScroll1_Change(v); });
}

void frmFrame::buildInfo() {
    Label3 = label(this, QStringLiteral("Label3"), 2114, {120, 740, 700, 255});
    txtRamka = new QLineEdit(this);
    txtRamka->setObjectName(QStringLiteral("txtRamka"));
    txtRamka->setGeometry(TwipRect{850, 700, 1000, 315}.toPx());
    txtRamka->setValidator(digitsOnly(txtRamka));
    txtRamka->installEventFilter(this);
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setGeometry(TwipRect{1860, 660, 255, 390}.toPx());
    VScroll1->setRange(0, 2);
    VScroll1->setPageStep(1);
    VScroll1->setValue(1);

    Label1[19] = label(this, QStringLiteral("Label1_19"), 2140, {2400, 740, 1400, 255});
    txtOffset = new QLineEdit(this);
    txtOffset->setObjectName(QStringLiteral("txtOffset"));
    txtOffset->setGeometry(TwipRect{3850, 700, 1500, 315}.toPx());
    txtOffset->setValidator(digitsOnly(txtOffset));
    Label1[21] = label(this, QStringLiteral("Label1_21"), 2149, {5600, 740, 1500, 255});
    lblInfo[3] = label(this, QStringLiteral("lblInfo_3"), 0, {7150, 740, 1600, 255});

    Label1[17] = label(this, QStringLiteral("Label1_17"), 2139, {120, 1180, 1800, 255});
    lblInfo[0] = label(this, QStringLiteral("lblInfo_0"), 0, {1950, 1180, 900, 255});
    Label1[18] = label(this, QStringLiteral("Label1_18"), 2103, {2900, 1180, 300, 255});
    Label1[8] = label(this, QStringLiteral("Label1_8"), 2107, {3500, 1180, 900, 255});
    lblInfo[8] = label(this, QStringLiteral("lblInfo_8"), 0, {4450, 1180, 900, 255});
    Label1[2] = label(this, QStringLiteral("Label1_2"), 2113, {5600, 1180, 1500, 255});
    lblInfo[2] = label(this, QStringLiteral("lblInfo_2"), 0, {7150, 1180, 900, 255});
    Label1[16] = label(this, QStringLiteral("Label1_16"), 2103, {8100, 1180, 300, 255});
    for (int i : {0, 2, 8})
        setInfo(i, QString());
    for (QWidget* w :
         std::initializer_list<QWidget*>{txtOffset, lblInfo[3], Label1[19], Label1[21]})
        w->hide();
}

void frmFrame::buildLists() {
    fraHeader = new QGroupBox(this);
    fraHeader->setObjectName(QStringLiteral("fraHeader"));
    fraHeader->setProperty("Tag", QStringLiteral("2131"));
    fraHeader->setGeometry(TwipRect{120, kHeaderTop, 9500, 6.0 * kRowHeight + 350}.toPx());
    for (const ListPlace& p : kPlaces) {
        const double top = 300 + p.row * double(kRowHeight);
        const double left = kColumnLeft[p.column];
        Label1[p.captionIndex] = label(fraHeader, QStringLiteral("Label1_%1").arg(p.captionIndex),
                                       p.captionText, {left, top + 40, double(kLabelWidth), 255});
        auto* list = new QComboBox(fraHeader);
        list->setObjectName(QLatin1String(p.name));
        list->setGeometry(TwipRect{left + kLabelWidth + 50, top, double(kListWidth), 315}.toPx());
        lists[p.field] = list;
        const HeaderField field = p.field;
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, field] { fieldSelected(field); });
    }
    cboVersion = lists[HeaderField::Version];
    cboLayer = lists[HeaderField::Layer];
    cboCRC = lists[HeaderField::Crc];
    cboBiteRate = lists[HeaderField::Bitrate];
    cboSamplingRate = lists[HeaderField::SamplingRate];
    cboPadding = lists[HeaderField::Padding];
    cboPrivate = lists[HeaderField::Private];
    cboChannelMode = lists[HeaderField::ChannelMode];
    cboExtension = lists[HeaderField::Extension];
    cboCopyrights = lists[HeaderField::Copyright];
    cboOriginal = lists[HeaderField::Original];
    cboEmphasis = lists[HeaderField::Emphasis];
}

void frmFrame::Form_Load() {
    listOpenFiles();
    setWindowTitle(ToolWindowCaption(2017));
    blnFillingBitrates = false;
    blnFillingRates = false;
    // In this order; the selections run the lists' own handlers, which build
    // the dependent lists and, with no file chosen, change no file.
    for (HeaderField field :
         {HeaderField::Version, HeaderField::Layer, HeaderField::Crc, HeaderField::Padding,
          HeaderField::Private, HeaderField::ChannelMode, HeaderField::Copyright,
          HeaderField::Original, HeaderField::Emphasis}) {
        fill(lists[field], FixedFieldEntries(field), FirstFieldSelection(field));
        fieldSelected(field);
    }
    cmdSave->setEnabled(false);
    LoadLangCaptions(this);
    ApplyButtonIcons(this);
}

void frmFrame::fill(QComboBox* list, const QList<HeaderFieldEntry>& entries, int select) {
    const QSignalBlocker block(list);
    list->clear();
    for (const HeaderFieldEntry& e : entries)
        list->addItem(e.textNumber > 0 ? GetText(e.textNumber) : e.text, int(e.value));
    list->setCurrentIndex(entries.isEmpty() ? -1 : select);
}

void frmFrame::SelectByItemData(QComboBox* list, int value) {
    if (list->count() == 0)
        return;
    int index = 0;
    for (int i = 1; i < list->count(); ++i) {
        if (list->itemData(i).toInt() == value) {
            index = i;
            break;
        }
    }
    list->setCurrentIndex(index);
}

void frmFrame::RefillBitrateList() {
    blnFillingBitrates = true;
    const QString previous = cboBiteRate->currentText();
    std::optional<std::uint8_t> version, layer;
    if (cboVersion->currentIndex() >= 0)
        version = static_cast<std::uint8_t>(cboVersion->currentData().toInt());
    if (cboLayer->currentIndex() >= 0)
        layer = static_cast<std::uint8_t>(cboLayer->currentData().toInt());
    const QList<HeaderFieldEntry> entries = BitrateEntries(version, layer);
    fill(cboBiteRate, entries, BitrateSelection(entries, previous));
    blnFillingBitrates = false;
}

void frmFrame::listOpenFiles() {
    FillToolFileList(m_host.Session(), cboPlik);
    m_listedFiles = m_host.Session().OpenFiles;
}

void frmFrame::FollowOpenFiles() {
    frmFrame* self = s_instance;
    if (!self)
        return;
    const auto& files = self->m_host.Session().OpenFiles;
    const bool sameFiles = files && files == self->m_listedFiles.lock();
    const QString shownText = self->cboPlik->currentText();
    const QVariant shownId = self->cboPlik->currentData();
    const bool shown = self->cboPlik->currentIndex() >= 0;
    self->listOpenFiles();
    // The shown file stays only while it is still open in the same project.
    if (shown && sameFiles) {
        const int index = self->cboPlik->findData(shownId);
        if (index >= 0 && self->cboPlik->itemText(index) == shownText) {
            const QSignalBlocker block(self->cboPlik);
            self->cboPlik->setCurrentIndex(index);
            return;
        }
    }
    self->showNoFile();
}

void frmFrame::showNoFile() {
    setInfo(8, QString());
    setInfo(2, QString());
    for (QWidget* w : std::initializer_list<QWidget*>{txtOffset, lblInfo[3], Label1[19], Label1[21],
                                                      lblInfo[0], Label1[17], Label1[18]})
        w->hide();
    cmdSave->setEnabled(false);
    cmdTAG->setEnabled(false);
}

std::shared_ptr<cPozycjaPlikow> frmFrame::GetSelectedFile() const {
    return SelectedToolFile(m_host.Session(), cboPlik);
}

std::int32_t frmFrame::shownFrame() const {
    return static_cast<std::int32_t>(ClampTo<double>(Val(txtRamka->text()), 0, 2147483647.0));
}

void frmFrame::fieldSelected(HeaderField field) {
    if ((field == HeaderField::Bitrate && blnFillingBitrates) ||
        (field == HeaderField::SamplingRate && blnFillingRates))
        return;
    QComboBox* list = lists[field];
    const int value = list->currentData().toInt();
    switch (field) {
    case HeaderField::Version:
        RefillBitrateList();
        blnFillingRates = true;
        fill(cboSamplingRate, SamplingRateEntries(static_cast<std::uint8_t>(value)), 0);
        blnFillingRates = false;
        break;
    case HeaderField::Layer:
        RefillBitrateList();
        fill(cboExtension, ExtensionEntries(static_cast<std::uint8_t>(value)), 0);
        fieldSelected(HeaderField::Extension);
        break;
    case HeaderField::ChannelMode:
        cboExtension->setEnabled(value == 0x40);
        break;
    default:
        break;
    }
    // Only the user's choices change the frame: what the window selects to
    // show a header never writes into the index.
    if (!blnEditsCount || list->currentIndex() < 0)
        return;
    const auto file = GetSelectedFile();
    const std::int32_t n = shownFrame();
    if (!file || file->Daj_Naglowek_Ilosc() == 0 || n < 1 || n > file->Daj_Naglowek_Ilosc())
        return;
    const HeaderFieldBits bits = FieldBits(field);
    const std::uint8_t byte = bits.byte == 2   ? file->Daj_Naglowek_Header2(n)
                              : bits.byte == 3 ? file->Daj_Naglowek_Header3(n)
                                               : file->Daj_Naglowek_Header4(n);
    file->Naglowek_Przypisz(bits.byte, n,
                            ApplyFieldValue(byte, field, static_cast<std::uint8_t>(value)));
    markEdited(*file, n);
    if (field == HeaderField::Bitrate || field == HeaderField::SamplingRate ||
        field == HeaderField::Padding)
        ShowFrame(n);
}

void frmFrame::markEdited(cPozycjaPlikow& file, std::int32_t n) {
    file.Naglowek_Przypisz(2, n, file.Daj_Naglowek_Header2(n) & ~0x40);
    file.blnZmodyfikowana = true;
    file.headerEditsUnwritten = true;
    if (!m_writing)
        cmdSave->setEnabled(true);
}

void frmFrame::setInfo(int index, const QString& text) {
    QLabel* value = lblInfo[index];
    value->setText(text);
    const bool shown = !text.isEmpty();
    if (index == 2 || index == 8) {
        value->setVisible(shown);
        Label1[index]->setVisible(shown);
        if (index == 2)
            Label1[16]->setVisible(shown);
    }
    if (shown && (index == 0 || index == 2)) {
        QLabel* unit = Label1[index == 0 ? 18 : 16];
        value->adjustSize();
        unit->move(value->x() + value->width() + TwipsToPx(100), unit->y());
    }
}

void frmFrame::ShowFrame(std::int32_t n) {
    const bool remembered = blnEditsCount;
    blnEditsCount = false;
    struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{blnEditsCount, remembered};
    try {
        auto file = GetSelectedFile();
        if (!file)
            return;
        if (file->Daj_Naglowek_Ilosc() == 0 &&
            !EnsureFrameIndex(m_host, file, cboPlik->currentText())) {
            cmdSave->setEnabled(false);
            return;
        }
        const std::int32_t count = file->Daj_Naglowek_Ilosc();
        setInfo(8, QString::number(count));
        // A single-precision value: seven significant digits.
        setInfo(2, QString::number(static_cast<double>(FramesToSeconds(*file, count)), 'g', 7));
        std::int32_t m = count == 0 ? 0 : std::min(n, count);
        {
            const QSignalBlocker block(txtRamka);
            txtRamka->setText(QString::number(m));
        }
        cmdTAG->setEnabled(!file->strFileName.trimmed().isEmpty());
        ShowHeader(file->Daj_Naglowek_Offset(m), file->Daj_Naglowek_Header2(m),
                   file->Daj_Naglowek_Header3(m), file->Daj_Naglowek_Header4(m),
                   m > 0 ? FramesToSeconds(*file, m) : 0.0f);
        cmdSave->setEnabled(file->blnZmodyfikowana && !m_writing);
    } catch (const std::exception&) {
        // The display stays as far as it got.
    }
}

void frmFrame::ShowHeader(std::int64_t offset, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4,
                          float time) {
    SelectByItemData(cboVersion, b2 & 0x18);
    SelectByItemData(cboLayer, b2 & 0x06);
    SelectByItemData(cboCRC, b2 & 0x01);
    SelectByItemData(cboBiteRate, b3 & 0xF0);
    SelectByItemData(cboSamplingRate, b3 & 0x0C);
    SelectByItemData(cboPadding, b3 & 0x02);
    SelectByItemData(cboPrivate, b3 & 0x01);
    SelectByItemData(cboChannelMode, b4 & 0xC0);
    SelectByItemData(cboExtension, b4 & 0x30);
    SelectByItemData(cboCopyrights, b4 & 0x08);
    SelectByItemData(cboOriginal, b4 & 0x04);
    SelectByItemData(cboEmphasis, b4 & 0x03);

    const bool placed = shownFrame() > 0 && offset >= 0;
    if (placed) {
        m_shownOffset = offset;
        {
            const QSignalBlocker block(txtOffset);
            txtOffset->setText(QString::number(offset));
        }
        const auto last = FrameLastByte(offset, b2, b3);
        lblInfo[3]->setText(last ? QString::number(*last) : QStringLiteral("?"));
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{txtOffset, lblInfo[3], Label1[19], Label1[21]})
        w->setVisible(placed);
    if (time <= 0) {
        for (QWidget* w : std::initializer_list<QWidget*>{lblInfo[0], Label1[17], Label1[18]})
            w->hide();
    } else {
        setInfo(0, QString::number(time, 'f', 4));
        for (QWidget* w : std::initializer_list<QWidget*>{lblInfo[0], Label1[17], Label1[18]})
            w->show();
    }
}

void frmFrame::txtRamka_Change() {
    if (cboPlik->currentIndex() < 0)
        return;
    blnEditsCount = false;
    const QString text = txtRamka->text();
    if (text.isEmpty()) {
        txtRamka->setText(QStringLiteral("0")); // shows again through this handler
        return;
    }
    ShowFrame(
        static_cast<std::int32_t>(RoundHalfEven(ClampTo<double>(Val(text), 0, 2147483647.0))));
    blnEditsCount = true;
}

void frmFrame::txtRamka_KeyUp() {
    if (!blnKeyDown)
        return;
    blnKeyDown = false;
    blnEditsCount = false;
    if (const auto file = GetSelectedFile()) {
        const double value = Val(txtRamka->text());
        if (value > file->Daj_Naglowek_Ilosc())
            txtRamka->setText(QString::number(file->Daj_Naglowek_Ilosc()));
        else if (value == 0)
            txtRamka->setText(QStringLiteral("1"));
    }
    blnEditsCount = true;
}

void frmFrame::txtOffset_Change() {
    const auto file = GetSelectedFile();
    const std::int32_t n = shownFrame();
    if (!file || n < 1 || n > file->Daj_Naglowek_Ilosc())
        return;
    // A header must lie wholly inside the file. The offset follows the box
    // digit by digit, so a refused number or an emptied box gives the frame
    // back the offset it was shown with, not the digits typed on the way.
    const QString text = txtOffset->text();
    const std::int64_t value = text.toLongLong();
    const std::int64_t size = QFileInfo(file->strFileName).size();
    if (text.isEmpty() || value < 1 || value + 3 > size) {
        file->Naglowek_Przypisz(0, n, m_shownOffset);
        if (!text.isEmpty()) {
            const QSignalBlocker block(txtOffset);
            txtOffset->setText(QString::number(m_shownOffset));
        }
        return;
    }
    file->Naglowek_Przypisz(0, n, value);
    if (blnEditsCount)
        markEdited(*file, n);
    const auto last =
        FrameLastByte(value, file->Daj_Naglowek_Header2(n), file->Daj_Naglowek_Header3(n));
    lblInfo[3]->setText(last ? QString::number(*last) : QStringLiteral("?"));
}

void frmFrame::VScroll1_Change(int value) {
    {
        const QSignalBlocker block(VScroll1);
        VScroll1->setValue(1); // the bar never moves
    }
    const auto file = GetSelectedFile();
    if (!file || m_spinBusy)
        return;
    m_spinBusy = true;
    const std::int32_t n = shownFrame();
    std::int32_t next = n;
    if (value > 1 && n > 1)
        next = n - 1;
    else if (value < 1 && n < file->Daj_Naglowek_Ilosc())
        next = n + 1;
    if (next != n) {
        blnEditsCount = false;
        txtRamka->setText(QString::number(next));
        blnEditsCount = true;
    }
    m_spinBusy = false;
}

void frmFrame::cmdPlik_Click() {
    if (m_writing)
        return;
    OpenToolFile(m_host);
    listOpenFiles();
    if (isVisible())
        activateWindow();
}

void frmFrame::cmdTAG_Click() {
    if (const auto file = GetSelectedFile())
        frmTAG::PokazMnie(file, m_host.Players(), parentWidget());
}

void frmFrame::cmdSave_Click() {
    if (m_writing)
        return;
    if (ShowText(3029, mb::YesNo | mb::Question) != mb::Yes)
        return;
    const auto file = GetSelectedFile();
    if (!file) {
        cmdSave->setEnabled(false);
        return;
    }
    SourceWriteResult result;
    {
        const LongWorkScope work(m_host);
        if (!work.held())
            return;
        setWriting(true);
        const auto writingOver = qScopeGuard([this] { setWriting(false); });
        ToolWriteProgress progress(m_host, m_stop);
        result = WriteBackHeaders(*file, progress);
    }
    ReportSourceWrite(result, file->strFileName);
    // The edit marks stay, so Save comes back with the next frame shown.
    cmdSave->setEnabled(!result.finished());
    if (m_closeWhenDone)
        close();
}

void frmFrame::setWriting(bool on) {
    m_writing = on;
    m_stop = false;
    for (QWidget* w : std::initializer_list<QWidget*>{cboPlik, cmdPlik, cmdTAG, cmdSave, txtRamka,
                                                      VScroll1, txtOffset, fraHeader})
        w->setEnabled(!on);
}

void frmFrame::closeEvent(QCloseEvent* event) {
    if (m_writing) {
        event->ignore();
        if (AskStopToolWrite()) {
            m_stop = true;
            m_closeWhenDone = true;
        }
        return;
    }
    QDialog::closeEvent(event);
}

bool frmFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtRamka) {
        if (event->type() == QEvent::KeyPress) {
            blnKeyDown = true;
        } else if (event->type() == QEvent::KeyRelease) {
            txtRamka_KeyUp();
        } else if (event->type() == QEvent::FocusIn) {
            QTimer::singleShot(0, txtRamka, &QLineEdit::selectAll);
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kelbrin
