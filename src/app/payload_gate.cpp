#include "app/payload_gate.h"

#include "common/text_values.h"
#include "common/xml_file.h"
#include "lang/text_table.h"

namespace swz {

namespace {

constexpr int kTextPayloadTooLarge = 30;

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

    const QString list = QStringLiteral("LoRaWAN_Uplink");
    const QDomElement uplink = childElement(access.root(), list);
    int row = 0;
    for (QDomElement rule = uplink.firstChildElement(); !rule.isNull();
         rule = rule.nextSiblingElement()) {
        ++row;
        if (rule.attribute(QStringLiteral("Enable")) != QStringLiteral("Y"))
            continue;
        const qint64 numByte = readIntegerOr(rule.attribute(QStringLiteral("NumByte")), -1);
        // 64-bit arithmetic: a huge stored payload size must not wrap the bound.
        if (numByte < 0 || numByte > maxPayload - 2)
            result.faults.append({list, row, uiText(kTextPayloadTooLarge)});
    }
    result.passed = result.faults.isEmpty();
    return result;
}

} // namespace swz
