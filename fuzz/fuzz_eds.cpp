// The EDS generator on a project whose PDO and SDO server files come from the input (split at
// a form feed). Whatever it accepts gives a data sheet a strict reader takes without a fault,
// the same text on every call, and a written file holding exactly that text.

#include "fuzz_support.h"

#include "canopen/eds_file.h"
#include "canopen/eds_reader.h"

using namespace swz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString folder = [] {
        const QString f = fuzzing::scratch() + QStringLiteral("/PROJECTS/Eds");
        QDir().mkpath(f);
        return f;
    }();
    const ProjectFiles files = ProjectFiles::of(folder);
    const QList<QByteArray> parts = fuzzing::splitParts(fuzzing::bytesOf(data, size), 2);
    const QString paths[] = {files.pdo, files.sdoServer};
    for (int i = 0; i < 2; ++i) {
        if (parts[i].isEmpty())
            QFile::remove(paths[i]);
        else
            fuzzing::writeFile(paths[i], parts[i]);
    }

    const EdsClock clock = [] { return QDateTime(QDate(2026, 12, 11), QTime(16, 30)); };
    const QString target = folder + QStringLiteral("/Fuzz.eds");
    EdsGenerator generator(files, clock);
    QByteArray text;
    if (const std::optional<QString> failure = generator.buildText(target, text)) {
        FUZZ_CHECK(!failure->isEmpty());
        return 0;
    }
    FUZZ_CHECK(generator.rpdoCount() >= 0 && generator.rpdoCount() <= EdsGenerator::kMaxPdos);
    FUZZ_CHECK(generator.tpdoCount() >= 0 && generator.tpdoCount() <= EdsGenerator::kMaxPdos);
    const QStringList faults = eds_reader::structuralFaults(text);
    if (!faults.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(faults.join(QLatin1Char('\n'))));
        FUZZ_CHECK(faults.isEmpty());
    }

    EdsGenerator second(files, clock);
    FUZZ_CHECK(!second.Write_EDS_File(target));
    FUZZ_CHECK(fuzzing::readFile(target) == text);
    return 0;
}
