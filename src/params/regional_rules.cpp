#include "params/regional_rules.h"

#include "common/text_values.h"

#include <optional>

namespace swz {

namespace {

// The five separator forms between the index and the description.
enum class Separator {
    TabHyphenSpace,     // "0\t- "
    PaddedHyphenSpace,  // "0  - ", "10 - "
    SpaceHyphenTab,     // "0 -\t"
    SpaceHyphenSpace,   // "0 - "
    PaddedHyphenTab,    // "0  -\t"
};

QString dataRateText(int index, Separator separator, const char *description)
{
    const QString number = QString::number(index);
    QString separatorText;
    switch (separator) {
    case Separator::TabHyphenSpace:
        separatorText = QStringLiteral("\t- ");
        break;
    case Separator::PaddedHyphenSpace:
        separatorText = QString(3 - number.size(), u' ') + QStringLiteral("- ");
        break;
    case Separator::SpaceHyphenTab:
        separatorText = QStringLiteral(" -\t");
        break;
    case Separator::SpaceHyphenSpace:
        separatorText = QStringLiteral(" - ");
        break;
    case Separator::PaddedHyphenTab:
        separatorText = QString(3 - number.size(), u' ') + QStringLiteral("-\t");
        break;
    }
    return number + separatorText + QString::fromLatin1(description);
}

constexpr const char *D1 = "LoRa: SF12/125kHz 250 [bit/s]";
constexpr const char *D2 = "LoRa: SF11/125kHz 440 [bit/s]";
constexpr const char *D3 = "LoRa: SF10/125kHz 980 [bit/s]";
constexpr const char *D4 = "LoRa: SF9/125kHz 1760 [bit/s]";
constexpr const char *D5 = "LoRa: SF8/125kHz 3125 [bit/s]";
constexpr const char *D6 = "LoRa: SF7/125kHz 5470 [bit/s]";
constexpr const char *D7 = "LoRa: SF7/250kHz 11000 [bit/s]";
constexpr const char *D8 = "FSK: 50kbps 50000 [bit/s]";
constexpr const char *D9 = "LoRa: SF8/500kHz 12500 [bit/s]";
constexpr const char *D10 = "LoRa: SF12/500kHz 980 [bit/s]";
constexpr const char *D11 = "LoRa: SF11/500kHz 1760 [bit/s]";
constexpr const char *D12 = "LoRa: SF10/500kHz 3900 [bit/s]";
constexpr const char *D13 = "LoRa: SF9/500kHz 7000 [bit/s]";
constexpr const char *D14 = "LoRa: SF7/500kHz 21900 [bit/s]";

struct Row
{
    int index;
    Separator separator;
    const char *description;
    quint8 maxPayload;
};

QList<LoRaDataRate> dataRates(std::initializer_list<Row> rows)
{
    QList<LoRaDataRate> list;
    for (const Row &row : rows)
        list.append({dataRateText(row.index, row.separator, row.description), row.maxPayload});
    return list;
}

// The two US915 variants share indexes, descriptions and maxima; only the separators differ.
QList<LoRaDataRate> us915DataRates(Separator low, Separator high)
{
    return dataRates({{0, low, D3, 11},    {1, low, D4, 53},     {2, low, D5, 125},
                      {3, low, D6, 242},   {4, low, D9, 242},    {8, low, D10, 33},
                      {9, low, D11, 109},  {10, high, D12, 222}, {11, high, D13, 222},
                      {12, high, D9, 222}, {13, high, D14, 222}});
}

QList<LoRaBand> buildBands()
{
    using S = Separator;
    QList<LoRaBand> bands;
    bands.append({QStringLiteral("AS923"),
                  dataRates({{0, S::TabHyphenSpace, D1, 59},
                             {1, S::TabHyphenSpace, D2, 59},
                             {2, S::TabHyphenSpace, D3, 59},
                             {3, S::TabHyphenSpace, D4, 123},
                             {4, S::TabHyphenSpace, D5, 230},
                             {5, S::TabHyphenSpace, D6, 230},
                             {6, S::TabHyphenSpace, D7, 230},
                             {7, S::TabHyphenSpace, D8, 230}}),
                  false});
    bands.append({QStringLiteral("AU915"),
                  dataRates({{0, S::PaddedHyphenSpace, D1, 51},
                             {1, S::PaddedHyphenSpace, D2, 51},
                             {2, S::PaddedHyphenSpace, D3, 51},
                             {3, S::PaddedHyphenSpace, D4, 115},
                             {4, S::PaddedHyphenSpace, D5, 222},
                             {5, S::PaddedHyphenSpace, D6, 222},
                             {6, S::PaddedHyphenSpace, D9, 222},
                             {8, S::PaddedHyphenSpace, D10, 33},
                             {9, S::PaddedHyphenSpace, D11, 109},
                             {10, S::PaddedHyphenSpace, D12, 222},
                             {11, S::PaddedHyphenSpace, D13, 222},
                             {12, S::PaddedHyphenSpace, D9, 222},
                             {13, S::PaddedHyphenSpace, D14, 222}}),
                  false});
    bands.append({QStringLiteral("EU868"),
                  dataRates({{0, S::SpaceHyphenTab, D1, 51},
                             {1, S::SpaceHyphenTab, D2, 51},
                             {2, S::SpaceHyphenTab, D3, 51},
                             {3, S::SpaceHyphenTab, D4, 115},
                             {4, S::SpaceHyphenTab, D5, 222},
                             {5, S::SpaceHyphenTab, D6, 222},
                             {6, S::SpaceHyphenSpace, D7, 222},
                             {7, S::SpaceHyphenSpace, D8, 222}}),
                  false});
    bands.append({QStringLiteral("KR920"),
                  dataRates({{0, S::SpaceHyphenSpace, D1, 51},
                             {1, S::SpaceHyphenTab, D2, 51},
                             {2, S::SpaceHyphenTab, D3, 51},
                             {3, S::SpaceHyphenTab, D4, 115},
                             {4, S::SpaceHyphenTab, D5, 222},
                             {5, S::SpaceHyphenTab, D6, 222}}),
                  false});
    bands.append({QStringLiteral("IN865"),
                  dataRates({{0, S::SpaceHyphenSpace, D1, 51},
                             {1, S::SpaceHyphenTab, D2, 51},
                             {2, S::SpaceHyphenTab, D3, 51},
                             {3, S::SpaceHyphenTab, D4, 115},
                             {4, S::SpaceHyphenTab, D5, 222},
                             {5, S::SpaceHyphenTab, D6, 222},
                             {7, S::SpaceHyphenTab, D8, 222}}),
                  false});
    bands.append({QStringLiteral("US915"),
                  us915DataRates(S::PaddedHyphenTab, S::PaddedHyphenSpace), true});
    bands.append({QStringLiteral("US915-Hybrid"),
                  us915DataRates(S::PaddedHyphenSpace, S::PaddedHyphenSpace), true});
    return bands;
}

} // namespace

const QList<LoRaBand> &loRaBands()
{
    static const QList<LoRaBand> bands = buildBands();
    return bands;
}

QStringList loRaBandNames()
{
    QStringList names;
    for (const LoRaBand &band : loRaBands())
        names.append(band.name);
    return names;
}

const LoRaBand *findLoRaBand(const QString &bandText)
{
    for (const LoRaBand &band : loRaBands()) {
        if (band.name == bandText)
            return &band;
    }
    return nullptr;
}

QStringList loRaDataRateTexts(const QString &bandText)
{
    QStringList texts;
    if (const LoRaBand *band = findLoRaBand(bandText)) {
        for (const LoRaDataRate &rate : band->dataRates)
            texts.append(rate.text);
    }
    return texts;
}

quint8 maxLoRaPayload(const QString &bandText, const QString &dataRateText)
{
    if (const LoRaBand *band = findLoRaBand(bandText)) {
        for (const LoRaDataRate &rate : band->dataRates) {
            if (rate.text == dataRateText)
                return rate.maxPayload;
        }
    }
    return 0;
}

std::optional<int> loRaDataRateIndex(const QString &dataRateText)
{
    const qsizetype hyphen = dataRateText.indexOf(u'-');
    const QString head = trimBlanks(hyphen < 0 ? QStringView(dataRateText)
                                               : QStringView(dataRateText).left(hyphen));
    bool ok = false;
    const int index = head.toInt(&ok, 10);
    if (!ok || head.isEmpty() || !head.front().isDigit())
        return std::nullopt;
    return index;
}

QStringList loRaSubBands()
{
    QStringList list;
    for (int i = 1; i <= 8; ++i)
        list.append(QString::number(i));
    return list;
}

} // namespace swz
