#include "cli/commands.h"
#include "lang/text_table.h"

#include <QBuffer>
#include <QProcess>
#include <QTest>

using namespace swz;

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void textsRoundTripThroughTheReader();
    void textsListsOnlyUsedIndexesInOrder();
    void unknownCommandShowsUsage();
    void runsWithoutDisplay();
};

namespace {

QByteArray runTexts(int *code)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    *code = runCli({"texts"}, out, err);
    return out.data();
}

} // namespace

void TestCli::textsRoundTripThroughTheReader()
{
    int code = -1;
    const QByteArray file = runTexts(&code);
    QCOMPARE(code, 0);

    TextTable builtin;
    builtin.loadBuiltin();

    // Read onto a table whose every entry differs from the English one, so that each English
    // text has to come from the file.
    TextTable read;
    read.loadBuiltin();
    for (int i = 0; i < read.size(); ++i)
        read.setText(i, QStringLiteral(" "));
    applyLanguageText(read, decodeLanguageFile(file));
    for (int i = 0; i < builtin.size(); ++i) {
        const QString english = builtin.text(i);
        const QString expected = english.isEmpty() || english == " " ? QStringLiteral(" ") : english;
        QVERIFY2(read.text(i) == expected, qPrintable(QString("entry %1").arg(i)));
    }

    // And onto the English table itself, as the configurator loads a language.
    TextTable overlay;
    overlay.loadBuiltin();
    applyLanguageText(overlay, decodeLanguageFile(file));
    QVERIFY(overlay == builtin);
}

void TestCli::textsListsOnlyUsedIndexesInOrder()
{
    int code = -1;
    const QString file = decodeLanguageFile(runTexts(&code));
    const QStringList lines = file.split('\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() > 400);
    QCOMPARE(lines.first(), QString("STR0 = ") + QChar(0xB6) + "Begin" + QChar(0xB6));
    QVERIFY(lines.contains(QString("STR9 = ") + QChar(0xB6) + "None Configuration Opened "
                           + QChar(0xB6)));
    int previous = -1;
    for (const QString &line : lines) {
        QVERIFY(line.startsWith("STR"));
        const int index = line.mid(3, line.indexOf(' ') - 3).toInt();
        QVERIFY2(index > previous, qPrintable(line));
        previous = index;
    }
}

void TestCli::unknownCommandShowsUsage()
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    QCOMPARE(runCli({"nonsense"}, out, err), 2);
    QVERIFY(out.data().isEmpty());
    QVERIFY(err.data().contains("usage"));
    QCOMPARE(runCli({}, out, err), 2);
}

void TestCli::runsWithoutDisplay()
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(SWZ_CLI_PATH), {"texts"});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    int code = -1;
    QCOMPARE(process.readAllStandardOutput(), runTexts(&code));
}

QTEST_APPLESS_MAIN(TestCli)
#include "test_cli.moc"
