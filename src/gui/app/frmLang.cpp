#include "frmLang.h"

#include "ProgramName.h"
#include "Translation.h"
#include "core/app/LoadedSettings.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

namespace kelbrin {

namespace {
using texts::kChooseLanguage;
// The settings key is spelled this way in every existing settings file.
const QString kLanguageKey = settingkeys::kLangauge;
} // namespace

frmLang::frmLang(const LoadedSettings& settings, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmLang"));
    setModal(true);
    setWindowTitle(ProgramName());

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setProperty("Tag", QString::number(kChooseLanguage));
    Label1->setText(DisplayText(GetText(kChooseLanguage)));

    cboLang = new QComboBox(this);
    cboLang->setObjectName(QStringLiteral("cboLang"));
    for (const QString& section : settings.LanguageSections)
        if (!section.isEmpty())
            cboLang->addItem(section);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(cboLang);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Opening counts as a choice: the saved language, when the file still has
    // it, else the first section, becomes the language in force and is saved.
    if (cboLang->count() > 0) {
        const int saved = cboLang->findText(GetSetting(kLanguageKey), Qt::MatchFixedString);
        const int index = saved >= 0 ? saved : 0;
        cboLang->setCurrentIndex(index);
        cboLang_Click(index);
    }
    connect(cboLang, &QComboBox::currentIndexChanged, this, &frmLang::cboLang_Click);
}

void frmLang::cboLang_Click(int index) {
    if (index < 0)
        return;
    const QString language = cboLang->itemText(index).toUpper();
    Catalog().setLanguage(language);
    SaveSetting(kLanguageKey, language);
}

} // namespace kelbrin
