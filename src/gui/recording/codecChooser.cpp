#include "codecChooser.h"

#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "gui/app/Translation.h"
#include "gui/app/WidgetNaming.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace kelbrin {

namespace {
using texts::kOkText;
using texts::kCancelText;
} // namespace

codecChooser::codecChooser(CodecLibrary& codecs, const WaveFormatEx& initial, const QString& title,
                           QWidget* parent)
    : QDialog(parent), m_codecs(codecs) {
    setObjectName(QStringLiteral("codecChooser"));
    setModal(true);
    setWindowTitle(title);

    lblFormatTag = Named(new QLabel(this), "lblFormatTag", "6400");
    lblFormat = Named(new QLabel(this), "lblFormat", "6401");
    cboFormatTag = Named(new QComboBox(this), "cboFormatTag");
    cboFormat = Named(new QComboBox(this), "cboFormat");
    cboFormat->setMinimumContentsLength(36);
    cboFormat->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmdOK = Named(new QPushButton(GetText(kOkText), this), "cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = Named(new QPushButton(GetText(kCancelText), this), "cmdCancel");
    LoadLangCaptions(this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblFormatTag, 0, 0);
    grid->addWidget(cboFormatTag, 0, 1);
    grid->addWidget(lblFormat, 1, 0);
    grid->addWidget(cboFormat, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setSizeConstraint(QLayout::SetMinimumSize);

    m_tags = m_codecs.formatTags();
    for (const CodecFormatTag& t : m_tags)
        cboFormatTag->addItem(t.name);
    int tagIndex = 0;
    for (int i = 0; i < m_tags.size(); ++i)
        if (m_tags[i].tag == initial.wFormatTag)
            tagIndex = i;
    if (!m_tags.isEmpty()) {
        cboFormatTag->setCurrentIndex(tagIndex);
        cboFormatTag_Click(tagIndex);
        selectClosest(initial);
    }
    connect(cboFormatTag, &QComboBox::currentIndexChanged, this, &codecChooser::cboFormatTag_Click);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    cmdOK->setEnabled(hasFormats());
}

bool codecChooser::hasFormats() const { return cboFormat->count() > 0; }

void codecChooser::cboFormatTag_Click(int index) {
    cboFormat->clear();
    m_formats.clear();
    if (index < 0 || index >= m_tags.size())
        return;
    m_formats = m_codecs.formats(m_tags[index].tag);
    for (const CodecFormat& f : m_formats)
        cboFormat->addItem(f.description);
    cmdOK->setEnabled(hasFormats());
}

// The record's own format, else the nearest one of the same tag: same channels,
// rate and data rate, then same channels and rate, then the first.
void codecChooser::selectClosest(const WaveFormatEx& wanted) {
    auto find = [&](auto matches) {
        for (int i = 0; i < m_formats.size(); ++i)
            if (matches(m_formats[i].format))
                return i;
        return -1;
    };
    int at = find([&](const WaveFormatEx& f) { return f.sameFormat(wanted); });
    if (at < 0)
        at = find([&](const WaveFormatEx& f) {
            return f.wFormatTag == wanted.wFormatTag && f.nChannels == wanted.nChannels &&
                   f.nSamplesPerSec == wanted.nSamplesPerSec && f.nAvgBytesPerSec == wanted.nAvgBytesPerSec;
        });
    if (at < 0)
        at = find([&](const WaveFormatEx& f) {
            return f.wFormatTag == wanted.wFormatTag && f.nChannels == wanted.nChannels &&
                   f.nSamplesPerSec == wanted.nSamplesPerSec;
        });
    cboFormat->setCurrentIndex(at < 0 ? 0 : at);
}

WaveFormatEx codecChooser::chosenFormat() const {
    const int at = cboFormat->currentIndex();
    return at >= 0 && at < m_formats.size() ? m_formats[at].format : WaveFormatEx{};
}

QString codecChooser::tagText() const { return cboFormatTag->currentText(); }

QString codecChooser::formatText() const { return cboFormat->currentText(); }

int QtFormatChooser::choose(WaveFormatEx& format, const QString& title, QString& tagText, QString& formatText) {
    codecChooser dialog(Codecs(), format, title, m_owner);
    if (!dialog.hasFormats())
        return codec::kNotPossible;
    if (dialog.exec() != QDialog::Accepted)
        return codec::kCanceled;
    format = dialog.chosenFormat();
    tagText = dialog.tagText();
    formatText = dialog.formatText();
    return codec::kOk;
}

} // namespace kelbrin
