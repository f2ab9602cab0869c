#pragma once

// Value encoders of the device image compiler: pure functions from section-file texts to the
// numbers and bytes of the image.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace swz::image {

// Number with default: the integer reading of the rule checks, d for anything else.
qint64 numberOr(QStringView text, qint64 fallback);
// Strict number, 32-bit or 64-bit; nothing when the text is no integer.
std::optional<qint64> strictNumber(QStringView text);
std::optional<qint64> strictNumber64(QStringView text);
// Switch: set exactly for "1".
bool switchIsOn(QStringView text);

quint8 LoRa_Band_Code(QStringView text);
quint8 LoRa_Network_Code(QStringView text);
quint8 LoRa_Activation_Code(QStringView text);
quint8 LoRa_Transmission_Code(QStringView text);
// The leading number of a data-rate text ("10 - LoRa: ..."); 0 without a hyphen.
qint64 dataRateIndex(QStringView text);
// 1 for a variable port field, 0 for a fixed one.
quint8 fPortMode(QStringView text);

QString Pad_Left_Zeros(const QString &text, int width);
// Digit pairs into byteCount bytes, first written pair first. Texts longer than the field
// keep their first digits.
QByteArray Hex_Pairs_To_Bytes(const QString &text, int byteCount);
// At most maxChars characters, one byte each (low 8 bits of the character code).
QByteArray shortText(const QString &text, int maxChars);
// "1.000" and three zero bytes.
QByteArray Set_Image_Version();
// Bit rate in bit/s for a list position; the position is compared unsigned.
quint32 canBitRate(qint64 position);

} // namespace swz::image
