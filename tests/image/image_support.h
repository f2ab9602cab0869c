#pragma once

#include "app/project.h"
#include "test_support.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

// Expected images are built by hand from literal offsets, never from the compiler's layout
// tables, so that a wrong offset in those tables fails the tests.
namespace image_support {

inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
}

struct ExpectedImage
{
    explicit ExpectedImage(int size) : bytes(size, '\0') {}

    ExpectedImage &put(int offset, const QByteArray &value)
    {
        bytes.replace(offset, value.size(), value);
        return *this;
    }
    ExpectedImage &put(int offset, const char *hexText) { return put(offset, hex(hexText)); }
    ExpectedImage &put32(int offset, quint32 value)
    {
        QByteArray le(4, '\0');
        for (int i = 0; i < 4; ++i)
            le[i] = char(value >> (8 * i));
        return put(offset, le);
    }

    QByteArray bytes;
};

// A CANopen rule table of `entries` entries starting at `offset`, all unused.
inline void putUnusedEntries(ExpectedImage &image, int offset, int entries)
{
    const QByteArray unused = hex("000000000000000000000000"
                                  "ffffffffffffffffffffffffffffffff"
                                  "00000000");
    for (int i = 0; i < entries; ++i)
        image.put(offset + 32 * i, unused);
}

inline QByteArray bank2AllUnused()
{
    ExpectedImage bank2(65536);
    putUnusedEntries(bank2, 0, 1792);
    // LoRaWAN header of the reset block with the two list addresses.
    bank2.put(57344, "00000006").put(57344 + 66, "01").put32(57344 + 68, 1);
    bank2.put32(57344 + 72, 0x8E400).put32(57344 + 76, 0x8F000);
    return bank2.bytes;
}

inline quint32 sumOfBytes(const QByteArray &bytes, int count)
{
    quint32 total = 0;
    for (int i = 0; i < count; ++i)
        total += quint8(bytes[i]);
    return total;
}

inline QString dataPath(const QString &relative)
{
    return qEnvironmentVariable("SWZ_TEST_DATA") + QLatin1Char('/') + relative;
}

// Copies a fixture project (or nothing) into a fresh project folder with its bin folder.
inline QString makeProject(const QTemporaryDir &dir, const QString &name,
                           const QString &fixture = QString())
{
    const QString folder = dir.filePath(name);
    QDir().mkpath(folder + QStringLiteral("/bin"));
    if (!fixture.isEmpty()) {
        const QDir source(dataPath(fixture));
        for (const QString &file : source.entryList(QDir::Files))
            QFile::copy(source.filePath(file), folder + QLatin1Char('/') + file);
    }
    return folder;
}

} // namespace image_support
