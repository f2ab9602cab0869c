// Replays the inputs of one fuzz target through the target itself: its seed corpus and every
// input that once broke it (fuzz/regressions/<target>). An input that breaks an invariant
// again stops the test.

#include <QDir>
#include <QFile>
#include <QTest>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

class FuzzReplay : public QObject
{
    Q_OBJECT

private slots:
    void replay_data()
    {
        QTest::addColumn<QString>("path");
        int inputs = 0;
        for (const char *kind : {"corpus", "regressions"}) {
            const QDir dir(QStringLiteral(SWZ_FUZZ_ROOT "/%1/" SWZ_FUZZ_NAME).arg(QLatin1String(kind)));
            for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
                QTest::newRow(qPrintable(QLatin1String(kind) + QLatin1Char('/') + name))
                    << dir.filePath(name);
                ++inputs;
            }
        }
        QVERIFY2(inputs > 0, "no inputs for " SWZ_FUZZ_NAME);
    }

    void replay()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                        size_t(bytes.size())),
                 0);
    }
};

QTEST_GUILESS_MAIN(FuzzReplay)
#include "fuzz_replay.moc"
