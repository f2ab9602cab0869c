#include "app/language_choice.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::writeFile;

class TestLanguageChoice : public QObject
{
    Q_OBJECT

private slots:
    void pages_data();
    void pages();
    void listFiltersAndSorts();
    void flagFallback();
};

namespace {

QStringList languageFiles(int count)
{
    QStringList files;
    for (int i = 1; i <= count; ++i)
        files.append(QStringLiteral("Lang%1.lng").arg(i, 2, 10, QChar(u'0')));
    return files;
}

} // namespace

void TestLanguageChoice::pages_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<QList<int>>("slotsPerPage");
    QTest::newRow("none") << 0 << QList<int>{};
    QTest::newRow("one") << 1 << QList<int>{1};
    QTest::newRow("six") << 6 << QList<int>{6};
    QTest::newRow("seven") << 7 << QList<int>{6, 1};
    QTest::newRow("thirteen") << 13 << QList<int>{6, 6, 1};
}

void TestLanguageChoice::pages()
{
    QFETCH(int, files);
    QFETCH(QList<int>, slotsPerPage);
    const QStringList list = languageFiles(files);
    QCOMPARE(languagePageCount(files), int(slotsPerPage.size()));

    QStringList seen;
    for (int page = 1; page <= slotsPerPage.size(); ++page) {
        const QList<LanguageSlot> shown = languageSlots(list, page, QStringLiteral("/nonexistent"));
        QCOMPARE(shown.size(), slotsPerPage[page - 1]);
        for (int slot = 1; slot <= 6; ++slot) {
            const QString name = languageOfSlot(list, page, slot);
            QCOMPARE(name.isEmpty(), slot > shown.size());
            if (!name.isEmpty()) {
                QCOMPARE(shown[slot - 1].name, name);
                QVERIFY(shown[slot - 1].picture.isEmpty());
                seen.append(name);
            }
        }
    }
    // Every language appears exactly once, in list order, without its extension.
    QStringList expected = list;
    for (QString &name : expected)
        name.chop(4);
    QCOMPARE(seen, expected);
    QVERIFY(languageOfSlot(list, int(slotsPerPage.size()) + 1, 1).isEmpty());
    QVERIFY(languageOfSlot(list, 0, 1).isEmpty());
}

void TestLanguageChoice::listFiltersAndSorts()
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    for (const char *name : {"italiano.lng", "Deutsch.lng", "English.lng", "Zulu.lng", ".Hidden.lng",
                             "ReadOnly.lng", "OwnerOnly.lng", "notes.txt", "Upper.LNG", ".lng",
                             "Deutsch.bmp", "lng"})
        QVERIFY(writeFile(folder + "/" + name, "STR0 = x\n"));
    QVERIFY(QDir(folder).mkdir("x.lng"));
    QVERIFY(QFile::link(folder + "/English.lng", folder + "/Link.lng"));
    QVERIFY(QFile::link(folder + "/gone", folder + "/Broken.lng"));
    // No write bit at all: read-only, even for root, who could still write it.
    QVERIFY(QFile::setPermissions(folder + "/ReadOnly.lng",
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    // One write bit is enough to be writable.
    QVERIFY(QFile::setPermissions(folder + "/OwnerOnly.lng",
                                  QFile::ReadOwner | QFile::WriteOwner));

    QCOMPARE(Create_Lang_List(folder),
             QStringList({".Hidden.lng", "Deutsch.lng", "English.lng", "italiano.lng",
                          "OwnerOnly.lng", "Zulu.lng"}));
    QVERIFY(Create_Lang_List(folder + "/missing").isEmpty());
}

void TestLanguageChoice::flagFallback()
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    QVERIFY(writeFile(folder + "/Deutsch.bmp", "BM"));
    QCOMPARE(flagPicture(folder, "Deutsch"), QDir(folder).filePath("Deutsch.bmp"));
    QCOMPARE(flagPicture(folder, "Italiano"), QString());
    QVERIFY(writeFile(folder + "/DefaultFlag.bmp", "BM"));
    QCOMPARE(flagPicture(folder, "Italiano"), QDir(folder).filePath("DefaultFlag.bmp"));
    QCOMPARE(flagPicture(folder, "Deutsch"), QDir(folder).filePath("Deutsch.bmp"));
    // A folder of that name is no picture.
    QVERIFY(QDir(folder).mkdir("Zulu.bmp"));
    QCOMPARE(flagPicture(folder, "Zulu"), QDir(folder).filePath("DefaultFlag.bmp"));
}

QTEST_APPLESS_MAIN(TestLanguageChoice)
#include "test_language_choice.moc"
