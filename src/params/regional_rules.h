#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace swz {

// The LoRaWAN regional bands the gateway supports, with the data rates of each and the largest
// uplink payload at every data rate. The texts are stored whole in ParGen.xml, so they are kept
// here character for character (TAB separators and padding included): a stored text selects an
// entry only when it is identical.
struct LoRaDataRate
{
    QString text;       // the full list text, e.g. "0\t- LoRa: SF12/125kHz 250 [bit/s]"
    quint8 maxPayload;  // bytes one uplink may carry at this data rate
};

struct LoRaBand
{
    QString name;                  // as stored in LoRa_RF_Band
    QList<LoRaDataRate> dataRates; // in list order
    bool hasSubBands;              // the frequency sub-band row applies (US915 variants)
};

// The bands in list order: AS923, AU915, EU868, KR920, IN865, US915, US915-Hybrid.
const QList<LoRaBand> &loRaBands();

// The band texts in list order.
QStringList loRaBandNames();

// The band with exactly this text (case-sensitive), or null.
const LoRaBand *findLoRaBand(const QString &bandText);

// The data-rate texts of a band, in list order; empty for an unknown band.
QStringList loRaDataRateTexts(const QString &bandText);

// The largest uplink payload for the band and data-rate texts, both compared exactly;
// 0 when the pair is not known.
quint8 maxLoRaPayload(const QString &bandText, const QString &dataRateText);

// The LoRaWAN data-rate index a stored data-rate text starts with: the text before the first
// hyphen without surrounding blanks and TABs. Empty when there is no such number.
std::optional<int> loRaDataRateIndex(const QString &dataRateText);

// The frequency sub-band list, "1" to "8".
QStringList loRaSubBands();

} // namespace swz
