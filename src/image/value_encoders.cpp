#include "image/value_encoders.h"

#include "common/text_values.h"

#include <QList>

#include <array>

namespace swz::image {

qint64 numberOr(QStringView text, qint64 fallback)
{
    const std::optional<qint32> value = readInteger(text);
    return value ? *value : fallback;
}

std::optional<qint64> strictNumber(QStringView text)
{
    const std::optional<qint32> value = readInteger(text);
    if (!value)
        return std::nullopt;
    return *value;
}

std::optional<qint64> strictNumber64(QStringView text)
{
    return readInteger64(text);
}

bool switchIsOn(QStringView text)
{
    return text == u"1";
}

quint8 LoRa_Band_Code(QStringView text)
{
    struct Band
    {
        QStringView name;
        quint8 code;
    };
    static constexpr std::array<Band, 7> kBands{{{u"AS923", 0},
                                                 {u"AU915", 1},
                                                 {u"EU868", 5},
                                                 {u"KR920", 6},
                                                 {u"IN865", 7},
                                                 {u"US915", 8},
                                                 {u"US915-HYBRID", 9}}};
    const QString band = trimBlanks(text.toString().toUpper());
    for (const Band &b : kBands) {
        if (band == b.name)
            return b.code;
    }
    return 0;
}

quint8 LoRa_Network_Code(QStringView text)
{
    return trimBlanks(text).toUpper() == u"PUBLIC" ? 1 : 0;
}

quint8 LoRa_Activation_Code(QStringView text)
{
    return trimBlanks(text).toUpper() == u"OVER-THE-AIR ACTIVATION [OTAA]" ? 1 : 0;
}

quint8 LoRa_Transmission_Code(QStringView text)
{
    return text == u"Confirmed" ? 1 : 0;
}

qint64 dataRateIndex(QStringView text)
{
    const qsizetype hyphen = text.indexOf(u'-');
    if (hyphen < 0)
        return 0;
    return numberOr(trimBlanks(text.left(hyphen)), 0);
}

quint8 fPortMode(QStringView text)
{
    return trimBlanks(text).toUpper() == u"VARIABLE" ? 1 : 0;
}

QString Pad_Left_Zeros(const QString &text, int width)
{
    if (text.size() >= width)
        return text;
    return QString(width - text.size(), u'0') + text;
}

QByteArray Hex_Pairs_To_Bytes(const QString &text, int byteCount)
{
    const int digits = 2 * byteCount;
    // Surplus digits have no room in the field: the first ones are kept.
    const QString padded = Pad_Left_Zeros(text, digits).left(digits);
    QByteArray bytes(byteCount, '\0');
    for (int i = 0; i < byteCount; ++i) {
        const QString pair = QStringLiteral("0x") + padded.mid(2 * i, 2);
        bytes[i] = char(quint8(numberOr(pair, 0)));
    }
    return bytes;
}

QByteArray shortText(const QString &text, int maxChars)
{
    QByteArray bytes;
    bytes.reserve(maxChars);
    for (const char32_t c : text.toUcs4()) {
        if (bytes.size() >= maxChars)
            break;
        bytes.append(char(quint8(c)));
    }
    return bytes;
}

QByteArray Set_Image_Version()
{
    return QByteArray("1.000\0\0\0", 8);
}

quint32 canBitRate(qint64 position)
{
    static constexpr std::array<quint32, 9> kRates{10000,  20000,  50000,  100000, 125000,
                                                   250000, 500000, 800000, 1000000};
    const quint64 index = quint64(position);
    return index < kRates.size() ? kRates[index] : 1000000;
}

} // namespace swz::image
