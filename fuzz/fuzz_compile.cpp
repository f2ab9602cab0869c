// The device image compiler on a project folder whose five section files (ParGen.xml,
// LoRaWAN_SetAccess.xml, SDO server, SDO client, PDO) come from the input, split at form
// feeds. A compile that succeeds always gives a 2048-byte bank 1 with a valid checksum and a
// 65536-byte bank 2, and the saved bank files are exactly those bytes.

#include "fuzz_support.h"

#include "image/device_image.h"
#include "image/image_layout.h"

using namespace swz;
using namespace swz::image;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString folder = [] {
        const QString f = fuzzing::scratch() + QStringLiteral("/PROJECTS/Fuzz");
        QDir().mkpath(f + QStringLiteral("/bin"));
        return f;
    }();
    const ProjectFiles files = ProjectFiles::of(folder);
    const QList<QByteArray> parts = fuzzing::splitParts(fuzzing::bytesOf(data, size), 5);
    const QString paths[] = {files.parGen, files.loRaWanAccess, files.sdoServer, files.sdoClient,
                             files.pdo};
    for (int i = 0; i < 5; ++i) {
        // An empty part stands for a file the project does not have.
        if (parts[i].isEmpty())
            QFile::remove(paths[i]);
        else
            fuzzing::writeFile(paths[i], parts[i]);
    }

    DeviceImageCompiler compiler;
    const CompileResult result = compiler.Compile_Device_Image(files);
    if (!result.ok) {
        FUZZ_CHECK(!result.error.isEmpty());
        return 0;
    }
    const QByteArray bank1 = compiler.bank1().used();
    const QByteArray bank2 = compiler.bank2().used();
    FUZZ_CHECK(bank1.size() == general::kSize);
    FUZZ_CHECK(bank2.size() == 65536);

    const ImageField &checksum = fieldOf(ImageBlock::General, general::Checksum);
    quint32 sum = 0;
    for (int i = 0; i < checksum.offset; ++i)
        sum += quint8(bank1[i]);
    FUZZ_CHECK(readField(reinterpret_cast<const quint8 *>(bank1.constData()), checksum) == sum);
    // Nothing is ever written past the used part of either buffer.
    for (quint32 i = compiler.bank1().length; i < ImageBuffer::kCapacity; ++i)
        FUZZ_CHECK(compiler.bank1().data[i] == 0);
    for (quint32 i = compiler.bank2().length; i < ImageBuffer::kCapacity; ++i)
        FUZZ_CHECK(compiler.bank2().data[i] == 0);

    FUZZ_CHECK(!compiler.Save_Device_Image(files.binFolder));
    FUZZ_CHECK(fuzzing::readFile(files.binFolder + QStringLiteral("/bank1.bin")) == bank1);
    FUZZ_CHECK(fuzzing::readFile(files.binFolder + QStringLiteral("/bank2.bin")) == bank2);

    // The same files compile to the same images.
    DeviceImageCompiler second;
    FUZZ_CHECK(second.Compile_Device_Image(files).ok);
    FUZZ_CHECK(second.bank1().used() == bank1 && second.bank2().used() == bank2);
    return 0;
}
