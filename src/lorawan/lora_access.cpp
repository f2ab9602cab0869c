#include "lorawan/lora_access.h"

#include "common/text_values.h"
#include "common/xml_file.h"
#include "lang/text_table.h"

namespace swz {

namespace {

RuleColumn column(RuleColumn::Kind kind, int width, quint32 tint, int header, int hint,
                  const char *attribute, const QString &missing = {})
{
    return {kind, width, tint, header, hint, QString::fromLatin1(attribute), missing};
}

constexpr auto kText = RuleColumn::Kind::Text;
constexpr auto kBox = RuleColumn::Kind::CheckBox;

RuleTableDefinition makeDefinition()
{
    RuleTableDefinition d;
    d.windowName = QStringLiteral("TFLoRa_Set_Access");
    d.pageControlName = QStringLiteral("PC_LoRa");
    d.clientWidth = 900;
    d.captionText = 1200;
    d.descriptionText = 1201;
    d.firstButtonText = 1202;
    d.firstButtonHintText = 1208;
    d.deleteQuestionText = 1249;
    d.rowPrefixText = 1243;
    d.rootElement = QStringLiteral("LoRaWAN_Set_Access");
    d.rowCount = lora::kRowsFixedFPort;
    d.firstRowNumber = 0;
    d.newRowsEnabled = true;

    d.lists[0].gridName = QStringLiteral("ACG_LoRa_Uplink");
    d.lists[0].pageName = QStringLiteral("TS_LoRa_Uplink");
    d.lists[0].tabText = 1214;
    d.lists[0].rowNumberHeaderText = 1216;
    d.lists[0].element = QStringLiteral("LoRaWAN_Uplink");
    d.lists[0].keyColumn = lora::kStartByte;
    d.lists[0].columns = {
        column(kBox, 50, tint::kEnable, 1217, 1225, "Enable", kFlagYes),
        column(kText, 80, tint::kIdentity, 1218, 1226, "StartByte"),
        column(kText, 80, tint::kIdentity, 1219, 1227, "NumByte"),
        column(kBox, 70, tint::kTrigger, 1220, 1228, "OnChange", kFlagNo),
        column(kBox, 55, tint::kTrigger, 1221, 1229, "OnCMD", kFlagNo),
        column(kBox, 65, tint::kTrigger, 1222, 1230, "OnTimer", kFlagNo),
        column(kText, 80, tint::kTrigger, 1223, 1231, "Time"),
        column(kText, 60, tint::kAddress, 1250, 1251, "FPort"),
        column(kText, 280, tint::kWhite, 1224, 1232, "Mnemonic"),
    };

    d.lists[1].gridName = QStringLiteral("ACG_LoRa_Downlink");
    d.lists[1].pageName = QStringLiteral("TS_LoRa_Downlink");
    d.lists[1].tabText = 1215;
    d.lists[1].rowNumberHeaderText = 1233;
    d.lists[1].element = QStringLiteral("LoRaWAN_Downlink");
    d.lists[1].keyColumn = lora::kStartByte;
    d.lists[1].columns = {
        column(kBox, 50, tint::kEnable, 1234, 1238, "Enable", kFlagYes),
        column(kText, 80, tint::kIdentity, 1235, 1239, "StartByte"),
        column(kText, 80, tint::kIdentity, 1236, 1240, "NumByte"),
        column(kText, 60, tint::kAddress, 1252, 1253, "FPort"),
        column(kText, 550, tint::kWhite, 1237, 1241, "Mnemonic"),
    };
    return d;
}

} // namespace

const RuleTableDefinition &loRaAccessDefinition()
{
    static const RuleTableDefinition definition = makeDefinition();
    return definition;
}

LoRaParGenRead readLoRaLimits(const QString &parGenPath)
{
    // Only the two values this window needs; the parameter file has its own reader.
    LoRaParGenRead result;
    const XmlLoad xml = loadXmlFile(parGenPath);
    if (xml.failed()) {
        result.error = parGenPath + QStringLiteral(": ") + xml.error;
        return result;
    }
    if (!xml.loaded())
        return result;
    const QDomElement size = childElement(xml.root(), QStringLiteral("LoRa_Payload_Size"));
    if (!size.isNull())
        result.limits.MaxPayloadSize = readIntegerOr(size.text(), 0);
    const QDomElement fPort = childElement(xml.root(), QStringLiteral("LoRa_FPort"));
    if (!fPort.isNull() && trimBlanks(fPort.text()).toUpper() == QStringLiteral("VARIABLE"))
        result.limits.FPortFixed = false;
    return result;
}

void applyLoRaLimits(RuleTable &table, const LoRaAccessLimits &limits)
{
    table.list(lora::kUplink).setColumnHidden(lora::kUpFPort, limits.FPortFixed);
    table.list(lora::kDownlink).setColumnHidden(lora::kDownFPort, limits.FPortFixed);
    table.prepare(loRaGridRows(limits.FPortFixed));
}

Faults checkLoRaAccess(const RuleTable &table, const LoRaAccessLimits &limits)
{
    Faults faults;
    const QString prefix = uiText(loRaAccessDefinition().rowPrefixText);
    // 64-bit bound: a huge or negative payload size must not wrap.
    const qint64 maxNumByte = qint64(limits.MaxPayloadSize) - 2;
    const QString bound = QString::number(maxNumByte);

    RuleChecker up(table.list(lora::kUplink), prefix, faults);
    const RuleList &uplink = table.list(lora::kUplink);
    up.forEachRule([&](int row) {
        if (!flagSet(uplink.cell(row, lora::kEnable)))
            return;
        up.range(row, lora::kStartByte, 0, 1536, uiText(1244));
        up.range(row, lora::kNumByte, 0, maxNumByte, uiText(1245) + bound);
        if (flagSet(uplink.cell(row, lora::kUpOnTimer)))
            up.range(row, lora::kUpTime, 30, 86400, uiText(1246));
        if (!limits.FPortFixed)
            up.range(row, lora::kUpFPort, 1, 223, uiText(1254));
    });

    RuleChecker down(table.list(lora::kDownlink), prefix, faults);
    const RuleList &downlink = table.list(lora::kDownlink);
    down.forEachRule([&](int row) {
        if (!flagSet(downlink.cell(row, lora::kEnable)))
            return;
        down.range(row, lora::kStartByte, 0, 1536, uiText(1247));
        down.range(row, lora::kNumByte, 0, maxNumByte, uiText(1248) + bound);
        if (!limits.FPortFixed)
            down.range(row, lora::kDownFPort, 1, 223, uiText(1255));
    });
    return faults;
}

} // namespace swz
