#include "frmInfo.h"

#include "core/app/Numbers.h"
#include "core/app/TextCatalog.h"
#include "platform/shell/DesktopOpener.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QUrl>
#include <QVBoxLayout>

namespace kelbrin {

namespace {

QPointer<frmInfo> g_info;

const QColor kLinkBlue(0, 0, 255);
const QColor kDarkBlue(0, 0, 128);

QString ForDisplay(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QColor* colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    if (colour) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, *colour);
        label->setPalette(p);
    }
    return label;
}

QFrame* Separator(QWidget* parent, const QString& name) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

frmInfo* frmInfo::Instance() { return g_info; }

frmInfo* frmInfo::PokazMnie(QWidget* parent) {
    if (!g_info)
        g_info = new frmInfo(parent);
    g_info->show();
    g_info->raise();
    g_info->activateWindow();
    return g_info;
}

QString frmInfo::CaptionText() {
    const QStringList parts = QCoreApplication::applicationVersion().split(QLatin1Char('.'));
    QStringList numbers;
    for (int i = 0; i < 3; ++i)
        numbers << QString::number(i < parts.size() ? ValLong(parts[i]) : 0);
    return GetText(105) + numbers.join(QLatin1Char('.')) + GetText(102);
}

frmInfo::frmInfo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmInfo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    layout->setContentsMargins(24, 16, 24, 16);

    Label5[0] = MakeLabel(this, QStringLiteral("Label5(0)"), &kDarkBlue);
    Label5[0]->setCursor(Qt::WhatsThisCursor);
    lblLink = MakeLabel(this, QStringLiteral("lblLink"), &kLinkBlue);
    lblLink2 = MakeLabel(this, QStringLiteral("lblLink2"), &kLinkBlue);
    Label5[1] = MakeLabel(this, QStringLiteral("Label5(1)"), &kLinkBlue);
    Label7[0] = MakeLabel(this, QStringLiteral("Label7(2)"), nullptr);
    Label7[1] = MakeLabel(this, QStringLiteral("Label7(3)"), nullptr);

    layout->addWidget(Label5[0]);
    layout->addWidget(Separator(this, QStringLiteral("Line1(0)")));
    layout->addWidget(lblLink);
    layout->addWidget(lblLink2);
    layout->addWidget(Label5[1]);
    layout->addWidget(Separator(this, QStringLiteral("Line1(1)")));
    layout->addWidget(Label7[0]);
    layout->addWidget(Label7[1]);

    // Wide enough for the addresses on one line each.
    setMinimumWidth(460);
    for (QLabel* l : {lblLink, lblLink2, Label5[0], Label5[1]})
        l->installEventFilter(this);
    Form_Load();
}

void frmInfo::Form_Load() {
    setWindowTitle(CaptionText());
    lblLink->setText(GetText(103));
    lblLink->setToolTip(ForDisplay(GetText(3057)));
    lblLink2->setText(GetText(111));
    lblLink2->setToolTip(lblLink->toolTip());
    Label5[0]->setText(ForDisplay(GetText(112)));
    Label5[1]->setText(GetText(109));
    Label5[1]->setToolTip(ForDisplay(GetText(3058)));
    Label7[0]->setText(ForDisplay(GetText(3047)));
    Label7[1]->setText(ForDisplay(GetText(3048)));
    // The wrapped lines need their height at the smallest width.
    if (layout()->hasHeightForWidth())
        setMinimumHeight(layout()->totalHeightForWidth(minimumWidth()));
}

void frmInfo::lblLink_Click() { Desktop().openWithDefaultApplication(GetText(103)); }

void frmInfo::lblLink2_Click() { Desktop().openWithDefaultApplication(GetText(111)); }

void frmInfo::Label5_Click(int index) {
    if (index == 1) {
        // The subject is the product name; spaces and other reserved
        // characters are escaped so the address reaches the mail program whole.
        const QString subject = QString::fromLatin1(QUrl::toPercentEncoding(GetText(105)));
        Desktop().openWithDefaultApplication(QStringLiteral("mailto:") + GetText(109) +
                                             QStringLiteral("?subject=") + subject);
    } else if (index == 0) {
        // The clipboard gets the author line alone, with the line breaks of
        // this system, however often it is clicked.
        if (QClipboard* clipboard = QGuiApplication::clipboard()) {
            clipboard->clear();
            clipboard->setText(Label5[0]->text());
        }
    }
}

void frmInfo::hover(QLabel* label) {
    if (label == lblLink || label == lblLink2) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, kLinkBlue);
        label->setPalette(p);
        label->setCursor(Qt::WhatsThisCursor);
    } else {
        Label5[1]->setCursor(Qt::WhatsThisCursor);
    }
}

bool frmInfo::eventFilter(QObject* watched, QEvent* event) {
    auto* label = qobject_cast<QLabel*>(watched);
    if (!label)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        hover(label);
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
               label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        if (label == lblLink)
            lblLink_Click();
        else if (label == lblLink2)
            lblLink2_Click();
        else
            Label5_Click(label == Label5[1] ? 1 : 0);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kelbrin
