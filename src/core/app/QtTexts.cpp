#include "QtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace kelbrin {

QString QtLanguageCode(const QString& language) {
    if (language.compare(QLatin1String("POLSKI"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("pl");
    return {};
}

void UseQtTexts(const QString& language) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    static QPointer<QTranslator> installed;
    static QString installedCode;
    const QString code = QtLanguageCode(language);
    if (installed ? installedCode == code : code.isEmpty())
        return;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    installedCode = code;
    if (code.isEmpty())
        return;
    auto* translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator; // Qt's texts stay English
        return;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
}

} // namespace kelbrin
