#include "app/payload_gate.h"

#include "common/text_values.h"
#include "common/xml_file.h"

namespace swz {

namespace {

QString readFailure(const QString &path, const XmlLoad &xml)
{
    return path + QStringLiteral(": ") + xml.error;
}

} // namespace

PayloadGateResult Check_Config_LoraWAN(const ProjectFiles &files)
{
    PayloadGateResult result;

    qint64 maxPayload = 0;
    const XmlLoad parGen = loadXmlFile(files.parGen);
    if (parGen.failed()) {
        result.readError = readFailure(files.parGen, parGen);
        return result;
    }
    if (parGen.loaded()) {
        const QDomElement size = childElement(parGen.root(), QStringLiteral("LoRa_Payload_Size"));
        if (!size.isNull())
            maxPayload = readIntegerOr(size.text(), 0);
    }

    const XmlLoad access = loadXmlFile(files.loRaWanAccess);
    if (access.failed()) {
        result.readError = readFailure(files.loRaWanAccess, access);
        return result;
    }
    result.passed = true;
    if (!access.loaded())
        return result;

    const QDomElement uplink = childElement(access.root(), QStringLiteral("LoRaWAN_Uplink"));
    for (QDomElement rule = uplink.firstChildElement(); !rule.isNull();
         rule = rule.nextSiblingElement()) {
        if (rule.attribute(QStringLiteral("Enable")) != QStringLiteral("Y"))
            continue;
        const qint64 numByte = readIntegerOr(rule.attribute(QStringLiteral("NumByte")), -1);
        // 64-bit arithmetic: a huge stored payload size must not wrap the bound.
        if (numByte < 0 || numByte > maxPayload - 2) {
            result.passed = false;
            return result;
        }
    }
    return result;
}

} // namespace swz
