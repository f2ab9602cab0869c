#include "canopen/canopen_rules.h"

#include "lang/text_table.h"

namespace swz {

namespace {

constexpr auto kText = RuleColumn::Kind::Text;
constexpr auto kBox = RuleColumn::Kind::CheckBox;

RuleColumn column(RuleColumn::Kind kind, int width, quint32 tint, int header, int hint,
                  const QString &attribute)
{
    // Files of these editors always carry every attribute; a missing one loads empty so that
    // the check at OK reports it.
    return {kind, width, tint, header, hint, attribute, QString()};
}

QString address(int byte)
{
    return QStringLiteral("Address_B%1").arg(byte);
}

RuleTableDefinition frame(const char *window, const char *pageControl, int width, int firstText,
                          const char *root, int rowCount)
{
    RuleTableDefinition d;
    d.windowName = QString::fromLatin1(window);
    d.pageControlName = QString::fromLatin1(pageControl);
    d.clientWidth = width;
    d.captionText = firstText;
    d.descriptionText = firstText + 1;
    d.firstButtonText = firstText + 2;
    d.firstButtonHintText = firstText + 8;
    d.rootElement = QString::fromLatin1(root);
    d.rowCount = rowCount;
    d.firstRowNumber = 1;
    d.newRowsEnabled = false;
    return d;
}

void page(RuleListDefinition &list, const char *grid, const char *pageName, int tabText,
          int rowNumberHeader, const char *element)
{
    list.gridName = QString::fromLatin1(grid);
    list.pageName = QString::fromLatin1(pageName);
    list.tabText = tabText;
    list.rowNumberHeaderText = rowNumberHeader;
    list.element = QString::fromLatin1(element);
    list.keyColumn = 1;
}

RuleTableDefinition makeSdoServer()
{
    RuleTableDefinition d = frame("TFSet_SDO_Server_Access", "PageControl1", 749, 3700,
                                  "SDO_Server_CANopen", 501);
    d.deleteQuestionText = 3765;
    d.rowPrefixText = 3750;
    page(d.lists[0], "sga", "TS_SDO_Read", 3714, 3716, "SDO_Read");
    page(d.lists[1], "sgb", "TS_SDO_Write", 3715, 3725, "SDO_Write");
    for (int i = 0; i < 2; ++i) {
        const int header = i == 0 ? 3717 : 3726;
        const int hint = i == 0 ? 3734 : 3742;
        QList<RuleColumn> &columns = d.lists[std::size_t(i)].columns;
        columns = {
            column(kText, 65, tint::kIdentity, header, hint, QStringLiteral("Index")),
            column(kText, 61, tint::kIdentity, header + 1, hint + 1, QStringLiteral("SubIndex")),
            column(kText, 55, tint::kIdentity, header + 2, hint + 2, QStringLiteral("NByte")),
        };
        for (int byte = 1; byte <= 4; ++byte)
            columns.append(column(kText, 80, tint::kAddress, header + 2 + byte, hint + 2 + byte,
                                  address(byte)));
        columns.append(column(kText, 170, tint::kWhite, header + 7, hint + 7,
                              QStringLiteral("Mnemonic")));
    }
    return d;
}

RuleTableDefinition makeSdoClient()
{
    RuleTableDefinition d = frame("TFSet_SDO_Client_Access", "PageControl1", 798, 3600,
                                  "SDO_Client_CANopen", 257);
    d.deleteQuestionText = 3679;
    d.rowPrefixText = 3660;
    page(d.lists[0], "sga", "TS_SDO_Read", 3614, 3616, "SDO_Read");
    page(d.lists[1], "sgb", "TS_SDO_Write", 3615, 3627, "SDO_Write");
    for (int i = 0; i < 2; ++i) {
        const bool write = i == 1;
        int header = write ? 3628 : 3617;
        int hint = write ? 3649 : 3639;
        QList<RuleColumn> &columns = d.lists[std::size_t(i)].columns;
        columns = {
            column(kText, 60, tint::kIdentity, header, hint, QStringLiteral("Device_ID")),
            column(kText, 55, tint::kIdentity, header + 1, hint + 1, QStringLiteral("Index")),
            column(kText, 60, tint::kIdentity, header + 2, hint + 2, QStringLiteral("SubIndex")),
            column(kText, 45, tint::kIdentity, header + 3, hint + 3, QStringLiteral("NByte")),
            column(kText, 60, tint::kTrigger, header + 4, hint + 4, QStringLiteral("Poll_Time")),
        };
        header += 5;
        hint += 5;
        if (write) {
            columns.append(column(kBox, 68, tint::kTrigger, header++, hint++,
                                  QStringLiteral("On_Change")));
        }
        for (int byte = 1; byte <= 4; ++byte)
            columns.append(column(kText, 70, tint::kAddress, header++, hint++, address(byte)));
        columns.append(column(kText, write ? 95 : 163, tint::kWhite, header, hint,
                              QStringLiteral("Mnemonic")));
    }
    return d;
}

RuleTableDefinition makePdo()
{
    RuleTableDefinition d = frame("TFSet_PDO_Access", "PageControl1", 798, 3500, "PDO_CANopen",
                                  31);
    d.deleteQuestionText = 3591;
    d.rowPrefixText = 3568;
    page(d.lists[0], "sga", "TS_Receive_PDO", 3514, 3516, "Receive_PDO");
    page(d.lists[1], "sgb", "TS_Transmit_PDO", 3515, 3529, "Transmit_PDO");
    for (int i = 0; i < 2; ++i) {
        const bool transmit = i == 1;
        const int header = transmit ? 3530 : 3517;
        const int hint = transmit ? 3555 : 3543;
        QList<RuleColumn> &columns = d.lists[std::size_t(i)].columns;
        columns = {
            column(kText, 65, tint::kIdentity, header, hint, QStringLiteral("COB-ID")),
            column(kText, 65, tint::kIdentity, header + 1, hint + 1, QStringLiteral("Dimension")),
        };
        for (int byte = 1; byte <= 8; ++byte)
            columns.append(column(kText, 45, tint::kAddress, header + 1 + byte, hint + 1 + byte,
                                  address(byte)));
        if (transmit) {
            columns.append(column(kText, 65, tint::kTrigger, header + 10, hint + 10,
                                  QStringLiteral("Send_Time")));
            columns.append(column(kBox, 68, tint::kTrigger, header + 11, hint + 11,
                                  QStringLiteral("On_Change")));
            columns.append(column(kText, 105, tint::kWhite, header + 12, hint + 12,
                                  QStringLiteral("Mnemonic")));
        } else {
            columns.append(column(kText, 65, tint::kTrigger, header + 10, hint + 10,
                                  QStringLiteral("TimeOut")));
            columns.append(column(kText, 173, tint::kWhite, header + 11, hint + 11,
                                  QStringLiteral("Mnemonic")));
        }
    }
    return d;
}

} // namespace

const RuleTableDefinition &sdoServerDefinition()
{
    static const RuleTableDefinition definition = makeSdoServer();
    return definition;
}

const RuleTableDefinition &sdoClientDefinition()
{
    static const RuleTableDefinition definition = makeSdoClient();
    return definition;
}

const RuleTableDefinition &pdoDefinition()
{
    static const RuleTableDefinition definition = makePdo();
    return definition;
}

namespace {

// Bytes 1 to 4 of an SDO object: byte 1 always, byte 2 for 2 or 4 bytes, bytes 3 and 4 for
// 4 bytes.
int sdoBytesUsed(qint32 nByte)
{
    return nByte == 4 ? 4 : nByte == 2 ? 2 : 1;
}

void checkAddresses(RuleChecker &checker, int row, int firstColumn, int bytes, int firstText,
                    qint32 lastAddress)
{
    const QString bound = QString::number(lastAddress);
    for (int byte = 1; byte <= bytes; ++byte)
        checker.range(row, firstColumn + byte - 1, 0, lastAddress,
                      uiText(firstText + byte - 1) + bound);
}

} // namespace

Faults checkSdoServer(const RuleTable &table, qint32 nByteIn, qint32 nByteOut)
{
    Faults faults;
    const QString prefix = uiText(sdoServerDefinition().rowPrefixText);
    for (int i = 0; i < 2; ++i) {
        const int text = i == 0 ? 3751 : 3758;
        const qint32 lastAddress = (i == 0 ? nByteIn : nByteOut) - 1;
        RuleChecker checker(table.list(i), prefix, faults);
        checker.forEachRule([&](int row) {
            checker.range(row, 1, 0x2000, 0x5FFF, uiText(text));
            checker.range(row, 2, 0, 255, uiText(text + 1));
            const qint32 nByte = checker.value(row, 3);
            if (nByte != 1 && nByte != 2 && nByte != 4)
                checker.fail(row, uiText(text + 2));
            checkAddresses(checker, row, 4, sdoBytesUsed(nByte), text + 3, lastAddress);
        });
    }
    return faults;
}

Faults checkSdoClient(const RuleTable &table, qint32 nByteIn, qint32 nByteOut)
{
    Faults faults;
    const QString prefix = uiText(sdoClientDefinition().rowPrefixText);
    for (int i = 0; i < 2; ++i) {
        const bool write = i == 1;
        const int text = write ? 3670 : 3661;
        const qint32 lastAddress = (write ? nByteOut : nByteIn) - 1;
        RuleChecker checker(table.list(i), prefix, faults);
        checker.forEachRule([&](int row) {
            checker.range(row, 1, 1, 127, uiText(text));
            checker.range(row, 2, 0x1000, 0xFFFF, uiText(text + 1));
            checker.range(row, 3, 0, 255, uiText(text + 2));
            const qint32 nByte = checker.value(row, 4);
            if (nByte != 1 && nByte != 2 && nByte != 4)
                checker.fail(row, uiText(text + 3));
            checker.range(row, 5, write ? 0 : 1, 100000000, uiText(text + 4));
            checkAddresses(checker, row, write ? 7 : 6, sdoBytesUsed(nByte), text + 5,
                           lastAddress);
        });
    }
    return faults;
}

Faults checkPdo(const RuleTable &table, qint32 nByteIn, qint32 nByteOut)
{
    Faults faults;
    const QString prefix = uiText(pdoDefinition().rowPrefixText);
    for (int i = 0; i < 2; ++i) {
        const bool transmit = i == 1;
        const int text = transmit ? 3580 : 3569;
        const qint32 lastAddress = (transmit ? nByteOut : nByteIn) - 1;
        RuleChecker checker(table.list(i), prefix, faults);
        checker.forEachRule([&](int row) {
            checker.range(row, 1, 0, 0x7FF, uiText(text));
            checker.range(row, 2, 1, 8, uiText(text + 1));
            // Bytes 1 to Dimension; a frame never has more than 8.
            checkAddresses(checker, row, 3, qBound(0, checker.value(row, 2), 8), text + 2,
                           lastAddress);
            if (transmit)
                checker.range(row, 11, 0, 100000000, uiText(text + 10));
            else
                checker.range(row, 11, 0, 65535, uiText(text + 10));
        });
    }
    return faults;
}

} // namespace swz
