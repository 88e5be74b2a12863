// Every text number the code asks for must exist in every language of the
// shipped Kelbrin.ini, so no window ever shows an empty caption or message.
#include "core/app/TextCatalog.h"
#include "platform/text/ProfileReader.h"
#include "support/TestEnvironment.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

// Text numbers named in the sources: catalogue calls, and the "Tag" strings
// that carry a caption number and a hint number.
QSet<int> NumbersUsedInSources() {
    static const QRegularExpression call(
        QStringLiteral(R"(\b(?:GetText|CatalogText|ShowText|ShowCatalogMessage|TextNr)\s*\(\s*(\d+))"));
    static const QRegularExpression tag(QStringLiteral(R"("Tag"\s*,\s*(?:QStringLiteral\()?"(\d+)(?:;(\d*))?")"));
    QSet<int> numbers;
    QDirIterator it(test::SourceDir() + "/src", {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(f.readAll());
        for (const auto& re : {call, tag}) {
            auto matches = re.globalMatch(text);
            while (matches.hasNext()) {
                const auto m = matches.next();
                for (int g = 1; g <= m.lastCapturedIndex(); ++g)
                    if (const int n = m.captured(g).toInt(); n > 0)
                        numbers.insert(n);
            }
        }
    }
    return numbers;
}

} // namespace

TEST(CatalogueCoverage, EveryUsedNumberIsInEveryLanguage) {
    ProfileReader file;
    ASSERT_TRUE(file.load(test::SourceDir() + "/resources/Kelbrin.ini"));
    const QStringList sections = file.sectionNames();
    ASSERT_EQ(sections, (QStringList{"ENGLISH", "POLSKI"}));

    const QSet<int> used = NumbersUsedInSources();
    EXPECT_FALSE(used.isEmpty());
    for (const int n : used) {
        if (TextCatalog::isBuiltIn(n))
            continue;
        for (const QString& section : sections)
            EXPECT_FALSE(file.value(section, QString::number(n)).trimmed().isEmpty())
                << "text " << n << " is missing in [" << section.toStdString() << "]";
    }
}

TEST(CatalogueCoverage, BothLanguagesHoldTheSameNumbersAndPolishHasItsLetters) {
    QFile raw(test::SourceDir() + "/resources/Kelbrin.ini");
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(raw.readAll());
    QMap<QString, QSet<QString>> keys;
    QString section;
    for (const QString& line : text.split('\n')) {
        const QString t = line.trimmed();
        if (t.startsWith('['))
            section = t.mid(1, t.indexOf(']') - 1);
        else if (t.contains('=') && !t.startsWith(';'))
            keys[section].insert(t.left(t.indexOf('=')).trimmed());
    }
    EXPECT_EQ(keys.value("ENGLISH"), keys.value("POLSKI"));
    const QString polish = text.mid(text.indexOf("[POLSKI]"));
    EXPECT_TRUE(polish.contains(QRegularExpression(QString::fromUtf8("[ąćęłńóśźżĄĆĘŁŃÓŚŹŻ]"))));
}

// The named message numbers are not catalogue calls with a number in them, so
// the scan above misses them: each must be in every language, and named once.
TEST(CatalogueCoverage, EveryNamedNumberIsInEveryLanguageOnce) {
    ProfileReader file;
    ASSERT_TRUE(file.load(test::SourceDir() + "/resources/Kelbrin.ini"));
    QString headers;
    for (const char* name : {"TextNumbers.h", "WriteFaultTexts.h"}) {
        QFile header(test::SourceDir() + "/src/core/app/" + name);
        ASSERT_TRUE(header.open(QIODevice::ReadOnly)) << name;
        headers += QString::fromUtf8(header.readAll());
    }
    static const QRegularExpression named(QStringLiteral(R"(constexpr int (k\w+) = (\d+);)"));
    QMap<int, QString> names;
    auto matches = named.globalMatch(headers);
    while (matches.hasNext()) {
        const auto m = matches.next();
        const int n = m.captured(2).toInt();
        EXPECT_FALSE(names.contains(n)) << n << " is named " << names.value(n).toStdString() << " and "
                                        << m.captured(1).toStdString();
        names.insert(n, m.captured(1));
        for (const QString& section : file.sectionNames())
            EXPECT_FALSE(file.value(section, QString::number(n)).trimmed().isEmpty())
                << m.captured(1).toStdString() << " (" << n << ") is missing in [" << section.toStdString() << "]";
    }
    EXPECT_GT(names.size(), 50);
}
