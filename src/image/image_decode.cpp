#include "image/image_decode.h"

#include "image/image_layout.h"

#include <QHash>

#include <algorithm>

namespace swz::image {

namespace {

QString fieldValue(const quint8 *record, const ImageField &field)
{
    const quint8 *at = record + field.offset;
    if (field.order == ByteOrder::LittleEndian) {
        const quint64 value = readField(record, field);
        if (field.encoder == Encoder::DeviceAddress)
            return QStringLiteral("0x") + QString::number(value, 16).toUpper();
        return QString::number(value);
    }
    switch (field.encoder) {
    case Encoder::Octets: {
        QStringList octets;
        for (int i = 0; i < field.width; ++i)
            octets.append(QString::number(at[i]));
        return octets.join(QLatin1Char('.'));
    }
    case Encoder::ShortText:
    case Encoder::VersionText: {
        const char *text = reinterpret_cast<const char *>(at);
        const int length = int(std::find(at, at + field.width, quint8(0)) - at);
        return QLatin1Char('"') + QString::fromLatin1(text, length) + QLatin1Char('"');
    }
    default:
        return QString::fromLatin1(
            QByteArray(reinterpret_cast<const char *>(at), field.width).toHex());
    }
}

// An entry the compiler left as reset: the CANopen tables' unused pattern, or an empty item.
bool isUnused(const quint8 *record, ImageBlock block)
{
    const int size = recordSizeOf(block);
    const bool canopen = block == ImageBlock::SdoRuleEntry || block == ImageBlock::PdoRuleEntry;
    for (int i = 0; i < size; ++i) {
        const bool inWords = canopen && i >= kUnusedWordsOffset
                             && i < kUnusedWordsOffset + kUnusedWordsWidth;
        if (record[i] != (inWords ? kUnusedWordsByte : 0))
            return false;
    }
    return true;
}

QString sizeProblem(int bank, qsizetype actual, int expected)
{
    return QStringLiteral("bank%1.bin has %2 bytes instead of %3").arg(bank).arg(actual).arg(expected);
}

} // namespace

DecodedImage decodeImage(const QByteArray &bank1, const QByteArray &bank2)
{
    DecodedImage image;
    if (bank1.size() != kBank1Size)
        image.problems.append(sizeProblem(1, bank1.size(), kBank1Size));
    if (bank2.size() != kBank2Size)
        image.problems.append(sizeProblem(2, bank2.size(), kBank2Size));

    for (const BlockPlacement &placement : placements()) {
        const QByteArray &file = placement.bank == Bank::Bank1 ? bank1 : bank2;
        const int bank = placement.bank == Bank::Bank1 ? 1 : 2;
        const int size = recordSizeOf(placement.block);
        const auto *bytes = reinterpret_cast<const quint8 *>(file.constData());
        const QString blockName = QString::fromLatin1(placement.name.data(),
                                                      qsizetype(placement.name.size()));
        for (int entry = 0; entry < placement.records; ++entry) {
            const int start = placement.fileOffset + entry * size;
            const bool whole = start + size <= file.size();
            if (placement.records > 1 && (!whole || isUnused(bytes + start, placement.block)))
                continue;
            const QString prefix = placement.records > 1
                                       ? blockName + QStringLiteral("[%1].").arg(entry)
                                       : blockName + QLatin1Char('.');
            for (const ImageField &field : fieldsOf(placement.block)) {
                if (start + field.offset + field.width > file.size())
                    continue;
                image.fields.append({prefix + QString::fromLatin1(field.name.data(),
                                                                  qsizetype(field.name.size())),
                                     bank, start + field.offset, fieldValue(bytes + start, field)});
            }
            if (placement.block == ImageBlock::General && whole) {
                const quint32 stored = quint32(
                    readField(bytes + start, fieldOf(ImageBlock::General, general::Checksum)));
                const quint32 sum = generalChecksum(bytes + start);
                if (stored != sum)
                    image.problems.append(
                        QStringLiteral("bank1.bin: the checksum is %1, the sum of the bytes is %2")
                            .arg(stored)
                            .arg(sum));
            }
        }
    }
    return image;
}

QList<FieldChange> diffImages(const DecodedImage &before, const DecodedImage &after)
{
    QHash<QString, const DecodedField *> afterByName;
    for (const DecodedField &field : after.fields)
        afterByName.insert(field.name, &field);
    QHash<QString, bool> seen;

    QList<FieldChange> changes;
    for (const DecodedField &field : before.fields) {
        seen.insert(field.name, true);
        const DecodedField *other = afterByName.value(field.name);
        if (!other)
            changes.append({field.name, field.value, QString(), true, false});
        else if (other->value != field.value)
            changes.append({field.name, field.value, other->value, true, true});
    }
    for (const DecodedField &field : after.fields) {
        if (!seen.contains(field.name))
            changes.append({field.name, QString(), field.value, false, true});
    }
    return changes;
}

} // namespace swz::image
