#include "lang/text_table.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::writeFile;

namespace {

const QString P = QString(QChar(0x00B6)); // pilcrow

QByteArray utf16(const QString &text, bool littleEndian)
{
    QByteArray out = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : text) {
        const char lo = char(c.unicode() & 0xFF);
        const char hi = char(c.unicode() >> 8);
        out.append(littleEndian ? lo : hi);
        out.append(littleEndian ? hi : lo);
    }
    return out;
}

TextTable builtin()
{
    TextTable table;
    table.loadBuiltin();
    return table;
}

} // namespace

class TestTextTable : public QObject
{
    Q_OBJECT

private slots:
    void builtinTable();
    void builtinTextsSurviveALanguageFile();
    void languageLine_data();
    void languageLine();
    void laterLineWins();
    void lineEndings();
    void encodings_data();
    void encodings();
    void oddFilesDoNoHarm();
    void loadLanguage_data();
    void loadLanguage();
};

void TestTextTable::builtinTable()
{
    const TextTable table = builtin();
    QCOMPARE(table.size(), 6300);
    // Blanks at the ends are part of the texts.
    QCOMPARE(table.text(9), QString("None Configuration Opened "));
    QCOMPARE(table.text(11), QString("Opened Configuration of the Converter : "));
    QCOMPARE(table.text(18), QString("Error! Project not Valid"));
    QCOMPARE(table.text(105), QString("Error! Name project is not valid"));
    QCOMPARE(table.text(107), QString("Error! Name Project is not valid"));
    QCOMPARE(table.text(304), QString("Selected Language : "));
    QCOMPARE(table.text(1100), QString("Row Already used. Do you want to overwrite the values?"));
    // A reserved index holds a single blank; reading outside the table gives an empty text.
    QCOMPARE(table.text(6299), QString(" "));
    QCOMPARE(table.text(6300), QString());
    QCOMPARE(table.text(-1), QString());
    QCOMPARE(TextTable().size(), 0);
}

void TestTextTable::builtinTextsSurviveALanguageFile()
{
    // Every built-in text must be expressible as a delimited language-file line, or
    // translators could not reproduce it.
    const TextTable table = builtin();
    for (int i = 0; i < table.size(); ++i) {
        const QString text = table.text(i);
        QVERIFY2(!text.contains(P) && !text.contains("/#/") && !text.contains('\n')
                     && !text.contains('\r'),
                 qPrintable(QString("entry %1").arg(i)));
    }
}

void TestTextTable::languageLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("index");       // -1: the table must stay as it is
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << "STR15 = Nuova configurazione" << 15 << "Nuova configurazione";
    QTest::newRow("char before = is not key") << "STR15= Open" << 1 << "Open";
    QTest::newRow("blanks around key") << "STR  20   = x" << 20 << "x";
    QTest::newRow("blanks around line") << " \t STR20 = x \t" << 20 << "x";
    QTest::newRow("hex key $") << "STR$14 = hex" << 20 << "hex";
    QTest::newRow("hex key 0x") << "STR0x14 = hex" << 20 << "hex";
    QTest::newRow("last index") << "STR6299 = last" << 6299 << "last";
    QTest::newRow("first index") << "STR0 = first" << 0 << "first";
    QTest::newRow("index 6300") << "STR6300 = x" << -1 << "";
    QTest::newRow("negative index") << "STR-1 = x" << -1 << "";
    QTest::newRow("key not a number") << "STRab = x" << -1 << "";
    QTest::newRow("no key") << "STR= x" << -1 << "";
    QTest::newRow("one-character key") << "STR1= x" << -1 << "";
    QTest::newRow("no equals") << "STR20 x" << -1 << "";
    QTest::newRow("lower-case str") << "str20 = x" << -1 << "";
    QTest::newRow("not at start") << "xSTR20 = x" << -1 << "";
    QTest::newRow("empty text") << "STR20 =   " << -1 << "";
    QTest::newRow("equals in text") << "STR20 = a=b" << 20 << "a=b";
    QTest::newRow("delimited keeps blanks") << "STR20 = " + P + " OK " + P << 20 << " OK ";
    QTest::newRow("delimited, rest dropped") << "STR20 = " + P + "a" + P + " rest" << 20 << "a";
    QTest::newRow("delimiter not closed") << "STR20 = " + P + "  open" << 20 << "  open";
    QTest::newRow("two pilcrows: empty") << "STR20 = " + P + P << 20 << "";
    QTest::newRow("pilcrow inside plain text") << "STR20 = a" + P + "b" << 20 << "a" + P + "b";
    QTest::newRow("comment cut") << "STR20 = Cancel /#/ a note" << 20 << "Cancel";
    QTest::newRow("only a comment") << "STR20 = /#/ a note" << -1 << "";
    QTest::newRow("comment inside delimiter") << "STR20 = " + P + " a /#/ b" + P << 20 << " a";
    QTest::newRow("inner control chars kept") << "STR20 = a\tb" << 20 << "a\tb";
    QTest::newRow("comment line") << "/#/ STR20 = x" << -1 << "";
    QTest::newRow("empty line") << "" << -1 << "";
}

void TestTextTable::languageLine()
{
    QFETCH(QString, line);
    QFETCH(int, index);
    QFETCH(QString, text);

    TextTable table = builtin();
    TextTable expected = builtin();
    if (index >= 0)
        expected.setText(index, text);
    applyLanguageText(table, line);
    QCOMPARE(table.text(index < 0 ? 20 : index), expected.text(index < 0 ? 20 : index));
    QVERIFY(table == expected);
}

void TestTextTable::laterLineWins()
{
    TextTable table = builtin();
    applyLanguageText(table, "STR20 = first\nSTR20 = second\nSTR20 = /#/ ignored");
    QCOMPARE(table.text(20), QString("second"));
}

void TestTextTable::lineEndings()
{
    TextTable table = builtin();
    applyLanguageText(table, "STR20 = a\r\nSTR21 = b\rSTR22 = c\nSTR23 = d\r\n\r\nSTR24 = e");
    QCOMPARE(table.text(20), QString("a"));
    QCOMPARE(table.text(21), QString("b"));
    QCOMPARE(table.text(22), QString("c"));
    QCOMPARE(table.text(23), QString("d"));
    QCOMPARE(table.text(24), QString("e"));
}

void TestTextTable::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const QString umlaut = QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac");
    const QString line = "STR20 = " + P + " " + umlaut + " " + P + "\r\n";
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + line.toUtf8()
                                     << " " + umlaut + " ";
    QTest::newRow("UTF-16 LE") << utf16(line, true) << " " + umlaut + " ";
    QTest::newRow("UTF-16 BE") << utf16(line, false) << " " + umlaut + " ";
    QTest::newRow("UTF-8 without mark") << line.toUtf8() << " " + umlaut + " ";
    // Not valid UTF-8: read as Latin-1, where 0xB6 is the pilcrow.
    QTest::newRow("8-bit") << QByteArray("STR20 = \xB6 Gr\xFC\xDF" "e \xB6\n")
                           << QString::fromUtf8(" Gr\xc3\xbc\xc3\x9f" "e ");
    // Unpaired surrogates become the replacement character, so the text survives a save; a
    // proper pair stays as it is.
    const QString lone = QStringLiteral("STR20 = a") + QChar(0xDFFF) + QStringLiteral("b")
                         + QChar(0xD800) + QStringLiteral("\r\n");
    const QString replaced = QStringLiteral("a") + QChar(QChar::ReplacementCharacter)
                             + QStringLiteral("b") + QChar(QChar::ReplacementCharacter);
    QTest::newRow("UTF-16 LE, lone surrogates") << utf16(lone, true) << replaced;
    QTest::newRow("UTF-16 BE, lone surrogates") << utf16(lone, false) << replaced;
    const QString pair = QString::fromUtf8("STR20 = \xf0\x9f\x98\x80\n");
    QTest::newRow("UTF-16 LE, pair") << utf16(pair, true) << QString::fromUtf8("\xf0\x9f\x98\x80");
}

void TestTextTable::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    TextTable table = builtin();
    applyLanguageText(table, decodeLanguageFile(bytes));
    QCOMPARE(table.text(20), text);
}

void TestTextTable::oddFilesDoNoHarm()
{
    QTemporaryDir dir;
    // Invalid bytes after a UTF-8 mark, a huge line, binary junk: the good lines still apply.
    QByteArray bytes("\xEF\xBB\xBFSTR20 = \xC3\x28 bad\n");
    bytes += "STR21 = " + QByteArray(2 * 1024 * 1024, 'x') + "\n";
    bytes += QByteArray("\x00\x01\x02\xFF\xFE STR22 = junk\n", 19);
    bytes += "STR23 = good\n";
    QVERIFY(writeFile(dir.filePath("odd.lng"), bytes));

    TextTable table = builtin();
    QVERIFY(readLanguageFile(table, dir.filePath("odd.lng")));
    QVERIFY(table.text(20).endsWith(" bad"));
    QCOMPARE(table.text(21).size(), 2 * 1024 * 1024);
    QCOMPARE(table.text(22), builtin().text(22));
    QCOMPARE(table.text(23), QString("good"));
    QCOMPARE(table.size(), 6300);

    TextTable untouched = builtin();
    QVERIFY(!readLanguageFile(untouched, dir.filePath("missing.lng")));
    QVERIFY(untouched == builtin());
}

void TestTextTable::loadLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("withEnglishFile");
    QTest::addColumn<QString>("expectedLanguage");
    QTest::addColumn<QString>("text15");

    const QString english = "New Configuration";
    QTest::newRow("own file") << "Italiano" << true << "Italiano" << "Nuova";
    QTest::newRow("missing, no English file") << "Klingon" << false << "English" << english;
    QTest::newRow("missing, English file") << "Klingon" << true << "English" << "New (file)";
    QTest::newRow("empty name") << "" << false << "English" << english;
    QTest::newRow("English without file") << "English" << false << "English" << english;
    QTest::newRow("folder named like a file") << "Folder" << false << "English" << english;
}

void TestTextTable::loadLanguage()
{
    QFETCH(QString, language);
    QFETCH(bool, withEnglishFile);
    QFETCH(QString, expectedLanguage);
    QFETCH(QString, text15);

    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("Italiano.lng"), "STR15 = Nuova\n"));
    QVERIFY(QDir(dir.path()).mkdir("Folder.lng"));
    if (withEnglishFile)
        QVERIFY(writeFile(dir.filePath("English.lng"), "STR15 = New (file)\n"));

    TextTable table;
    table.setText(0, "stale");
    swz::loadLanguage(table, dir.path(), language);
    QCOMPARE(language, expectedLanguage);
    QCOMPARE(table.size(), 6300);
    QCOMPARE(table.text(15), text15);
    QCOMPARE(table.text(16), QString("Open Configuration"));
}

QTEST_APPLESS_MAIN(TestTextTable)
#include "test_text_table.moc"
