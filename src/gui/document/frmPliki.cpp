#include "frmPliki.h"

#include "core/app/BusyRefusal.h"
#include "core/app/FileList.h"
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/document/EditorSession.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "gui/app/Translation.h"
#include "gui/app/Twips.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

namespace kelbrin {

QPointer<frmPliki> frmPliki::s_instance;

namespace {
constexpr double kMinWidthTwips = 3000;
constexpr double kMinHeightTwips = 2400;
} // namespace

frmPliki* frmPliki::PokazMnie(std::unique_ptr<OpenFilesOwner> owner, QWidget* parent) {
    const auto& files = owner->session().OpenFiles;
    if (!files || files->Count() == 0) {
        ShowText(3014, mb::Information);
        return nullptr;
    }
    if (!s_instance) {
        s_instance = new frmPliki(std::move(owner), parent);
        s_instance->Form_Load();
    }
    s_instance->show();
    s_instance->raise();
    s_instance->activateWindow();
    return s_instance;
}

frmPliki::frmPliki(std::unique_ptr<OpenFilesOwner> owner, QWidget* parent)
    : QDialog(parent), m_owner(std::move(owner)) {
    setObjectName(QStringLiteral("frmPliki"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setSizeGripEnabled(true);
    lstFile = new QListWidget(this);
    lstFile->setObjectName(QStringLiteral("lstFile"));
    lstFile->move(TwipsToPx(120), TwipsToPx(120));
    cmdUsun = new QPushButton(this);
    cmdUsun->setObjectName(QStringLiteral("cmdUsun"));
    cmdUsun->setProperty("Tag", QStringLiteral("1104"));
    cmdUsun->setGeometry(TwipRect{120, 0, 360, 360}.toPx());
    cmdTAG = new QPushButton(this);
    cmdTAG->setObjectName(QStringLiteral("cmdTAG"));
    cmdTAG->setProperty("Tag", QStringLiteral("1128"));
    cmdTAG->setGeometry(TwipRect{600, 0, 550, 550}.toPx());
    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setProperty("Tag", QStringLiteral("1102"));
    cmdOK->resize(TwipsToPx(550), TwipsToPx(550));
    resize(TwipsToPx(6000), TwipsToPx(4000));
    // Smaller, the OK button would slide over the tag button and the list
    // would shrink to nothing; here a few rows show and the buttons stand apart.
    setMinimumSize(TwipsToPx(kMinWidthTwips), TwipsToPx(kMinHeightTwips));
    // Enter closes the window wherever the focus is, so no button is a default one.
    for (QPushButton* b : {cmdUsun, cmdTAG, cmdOK})
        b->setAutoDefault(false);

    connect(lstFile, &QListWidget::currentRowChanged, this, [this] { lstFile_Click(); });
    connect(lstFile, &QListWidget::itemDoubleClicked, this, [this] { lstFile_DblClick(); });
    connect(cmdTAG, &QPushButton::clicked, this, [this] { lstFile_DblClick(); });
    connect(cmdUsun, &QPushButton::clicked, this, [this] { cmdUsun_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);
}

void frmPliki::Form_Load() {
    ApplyButtonIcons(this);
    setWindowTitle(GetText(3042));
    cmdUsun->setToolTip(GetText(3120));
    lstFile->clear();
    const auto& files = m_owner->session().OpenFiles;
    for (std::int32_t i = 1; files && i <= files->Count(); ++i)
        lstFile->addItem(files->Item(i)->strFileName);
    if (lstFile->count() > 0)
        lstFile->setCurrentRow(0);
    lstFile_Click();
}

void frmPliki::lstFile_Click() {
    const QListWidgetItem* item = lstFile->currentItem();
    // Only files that can be saved hold a tag the editor may rewrite.
    cmdTAG->setEnabled(item && m_owner->canOpenTagEditor() &&
                       IsFileSavable(m_owner->session().OpenFiles.get(), item->text()));
}

std::int32_t frmPliki::selectedFilePosition() const {
    const QListWidgetItem* item = lstFile->currentItem();
    const auto& files = m_owner->session().OpenFiles;
    if (!item || !item->isSelected() || !files)
        return 0;
    for (std::int32_t i = 1; i <= files->Count(); ++i)
        if (files->Item(i)->strFileName == item->text())
            return i;
    return 0;
}

void frmPliki::lstFile_DblClick() {
    lstFile_Click();
    if (!cmdTAG->isEnabled())
        return;
    const std::int32_t position = selectedFilePosition();
    if (position == 0)
        return;
    m_owner->openTagEditor(m_owner->session().OpenFiles->Item(position));
}

void frmPliki::cmdUsun_Click() {
    // A tool may be writing this file.
    if (!ReadyOrSayBusy(m_owner->canChangeFiles()))
        return;
    if (ShowText(3015, mb::YesNo | mb::Question) != mb::Yes)
        return;
    const std::int32_t position = selectedFilePosition();
    if (position == 0)
        return;
    const QString path = lstFile->currentItem()->text();
    if (const auto tracks = m_owner->tracks()) {
        for (std::int32_t i = 1; i <= tracks->Count(); ++i) {
            if (tracks->Item(i)->strFileNameSource == path) {
                ShowText(3099, mb::Information);
                return;
            }
        }
    }
    m_owner->session().OpenFiles->Remove(position);
    delete lstFile->takeItem(lstFile->currentRow());
    lstFile->setCurrentRow(-1);
    lstFile->clearSelection();
    // Older snapshots may refer to the closed file, so none survives.
    m_owner->clearUndoHistory();
    m_owner->fileClosed(path);
    lstFile_Click();
}

void frmPliki::keyPressEvent(QKeyEvent* event) {
    m_enter.pressed(event);
    QDialog::keyPressEvent(event);
}

void frmPliki::keyReleaseEvent(QKeyEvent* event) {
    // Only an Enter pressed here closes it, not one that answered a box.
    if (m_enter.released(event) && cmdOK->isEnabled()) {
        close();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

void frmPliki::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const double width = PxToTwips(frameGeometry().width());
    const double height = PxToTwips(frameGeometry().height());
    const double listWidth = width - 250;
    const double listHeight = height - PxToTwips(cmdOK->height()) - 600;
    if (listWidth <= 0 || listHeight <= 0)
        return; // too small for the formulas: keep what was accepted
    lstFile->resize(TwipsToPx(listWidth), TwipsToPx(listHeight));
    const double okTop = PxToTwips(lstFile->y()) + listHeight + 100;
    cmdOK->move(TwipsToPx(listWidth - PxToTwips(cmdOK->width()) - 100), TwipsToPx(okTop));
    cmdUsun->move(cmdUsun->x(), TwipsToPx(okTop));
    cmdTAG->move(cmdTAG->x(), TwipsToPx(okTop));
}

} // namespace kelbrin
