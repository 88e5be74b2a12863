#pragma once
// The language dialog: lists the sections of the language file and makes the
// selected one the language of the program at once. It has no buttons; the user
// closes it with the close box.

#include <QDialog>

class QComboBox;
class QLabel;

namespace kelbrin {

struct LoadedSettings;

class frmLang : public QDialog {
    Q_OBJECT
public:
    // The language sections offered are the settings' LanguageSections.
    explicit frmLang(const LoadedSettings& settings, QWidget* parent = nullptr);

private:
    void cboLang_Click(int index);

    QLabel* Label1;
    QComboBox* cboLang;
};

} // namespace kelbrin
