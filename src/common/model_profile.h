#pragma once

#include <QString>

namespace swz {

// The fixed identity of the device model this configurator serves.
namespace profile {

inline const QString softwareCode = QStringLiteral("SWZ8K20");
inline const QString modelDescription = QStringLiteral("CANopen / LoRaWAN - Converter");
inline const QString softwareVersion = QStringLiteral("1.000");
inline const QString documentCode = QStringLiteral("MNZ8K20");
inline const QString hardwareCode = QStringLiteral("HDZ8K20");
inline const QString edsProductNumber = QStringLiteral("K20");

// The maker: its name (EDS vendor text) and its web address (host of every link and query).
inline const QString makerName = QStringLiteral("Corvane");
inline const QString makerWebAddress = QStringLiteral("www.corvane.example");

// Caption of the main window: the maker's web address, then the model.
inline QString mainWindowCaption()
{
    return makerWebAddress + QStringLiteral(" - Configurator SWZ8K20 CANopen / LoRaWAN ");
}

inline QString homePageUrl()
{
    return QStringLiteral("http://") + makerWebAddress + QStringLiteral("/HOME/default.asp?frompg=")
           + softwareCode;
}

inline QString downloadPageUrl()
{
    return QStringLiteral("http://") + makerWebAddress
           + QStringLiteral("/Home/download/download.asp#") + hardwareCode;
}

} // namespace profile
} // namespace swz
