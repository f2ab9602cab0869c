#include "cli/decode_command.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace swz {

namespace {

constexpr const char *kHelp =
    "usage: swz8k20-cli decode BANK1 BANK2 [--json]\n"
    "Prints every field of a device image (bank1.bin and bank2.bin) by name, one per line:\n"
    "  bankN 0xOFFSET NAME = VALUE\n"
    "the general parameter block with its checksum verified, the LoRaWAN header and lists and\n"
    "the six CANopen tables; unused table entries and empty list items are left out. A wrong\n"
    "file size or checksum is reported on standard error and the rest is still decoded.\n"
    "  --json  print {\"fields\": [{name, bank, offset, value}], \"problems\": [...]}\n"
    "Exit status: 0, 1 when the image has a wrong size or checksum, 2 when a file cannot be\n"
    "read or the arguments are wrong.\n";

std::optional<QByteArray> readWhole(const QString &path, QIODevice &err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err.write("swz8k20-cli: cannot read " + QDir::toNativeSeparators(path).toUtf8() + ": "
                  + file.errorString().toUtf8() + '\n');
        return std::nullopt;
    }
    return file.readAll();
}

} // namespace

std::optional<image::DecodedImage> readImageFiles(const QString &bank1, const QString &bank2,
                                                  const QString &label, QIODevice &err)
{
    const std::optional<QByteArray> first = readWhole(bank1, err);
    const std::optional<QByteArray> second = readWhole(bank2, err);
    if (!first || !second)
        return std::nullopt;
    image::DecodedImage decoded = image::decodeImage(*first, *second);
    for (const QString &problem : decoded.problems)
        err.write("swz8k20-cli: " + (label.isEmpty() ? QString() : label + QStringLiteral(": ")).toUtf8()
                  + problem.toUtf8() + '\n');
    return decoded;
}

int runDecodeCommand(const QStringList &arguments, QIODevice &out, QIODevice &err)
{
    if (arguments.contains(QStringLiteral("--help"))) {
        out.write(kHelp);
        return 0;
    }
    QStringList files = arguments;
    const bool json = files.removeAll(QStringLiteral("--json")) > 0;
    if (files.size() != 2) {
        err.write(kHelp);
        return 2;
    }
    const std::optional<image::DecodedImage> decoded =
        readImageFiles(files.at(0), files.at(1), QString(), err);
    if (!decoded)
        return 2;

    if (json) {
        QJsonArray fields;
        for (const image::DecodedField &field : decoded->fields)
            fields.append(QJsonObject{{QStringLiteral("name"), field.name},
                                      {QStringLiteral("bank"), field.bank},
                                      {QStringLiteral("offset"), field.offset},
                                      {QStringLiteral("value"), field.value}});
        const QJsonObject document{{QStringLiteral("fields"), fields},
                                   {QStringLiteral("problems"),
                                    QJsonArray::fromStringList(decoded->problems)}};
        out.write(QJsonDocument(document).toJson(QJsonDocument::Indented));
    } else {
        for (const image::DecodedField &field : decoded->fields)
            out.write(QStringLiteral("bank%1 0x%2 %3 = %4\n")
                          .arg(field.bank)
                          .arg(field.offset, 5, 16, QLatin1Char('0'))
                          .arg(field.name, field.value)
                          .toUtf8());
    }
    return decoded->problems.isEmpty() ? 0 : 1;
}

} // namespace swz
