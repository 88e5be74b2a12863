#pragma once
// The codec format chooser: a codec (format tag) and one of its formats, opened
// on the current record. It stands in for the system's format chooser.

#include "core/recording/CodecFormatChoice.h"
#include "platform/codecs/CodecLibrary.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace kelbrin {

class codecChooser : public QDialog {
    Q_OBJECT
public:
    codecChooser(CodecLibrary& codecs, const WaveFormatEx& initial, const QString& title,
                 QWidget* parent = nullptr);

    bool hasFormats() const;
    WaveFormatEx chosenFormat() const;
    QString tagText() const;
    QString formatText() const;

    QLabel* lblFormatTag;
    QComboBox* cboFormatTag;
    QLabel* lblFormat;
    QComboBox* cboFormat;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

private:
    void cboFormatTag_Click(int index);
    void selectClosest(const WaveFormatEx& wanted);

    CodecLibrary& m_codecs;
    QList<CodecFormatTag> m_tags;
    QList<CodecFormat> m_formats; // of the selected tag
};

// The chooser as the format button uses it: a modal codecChooser over `owner`.
class QtFormatChooser final : public FormatChooser {
public:
    explicit QtFormatChooser(QWidget* owner) : m_owner(owner) {}
    int choose(WaveFormatEx& format, const QString& title, QString& tagText, QString& formatText) override;

private:
    QWidget* m_owner;
};

} // namespace kelbrin
