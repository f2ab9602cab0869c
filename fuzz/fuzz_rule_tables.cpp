// The four rule-table section files. The first byte picks the file (LoRaWAN access, SDO
// server, SDO client, PDO) and, for LoRaWAN, the FPort mode and payload size; the rest is the
// file. Each is read into the prepared grids, checked as on OK, and written and read again.

#include "fuzz_support.h"

#include "canopen/canopen_rules.h"
#include "lorawan/lora_access.h"

using namespace swz;

namespace {

struct Kind
{
    const RuleTableDefinition &definition;
    const char *fileName;
};

// The rules a save keeps: rows 1 down to the first empty key cell.
QList<QStringList> cellsOf(const RuleTable &table)
{
    QList<QStringList> cells;
    for (int l = 0; l < 2; ++l) {
        const RuleList &list = table.list(l);
        for (int row = 1; row <= list.ruleCount(); ++row)
            cells.append(list.rowTexts(row));
    }
    return cells;
}

void prepare(RuleTable &table, int kind, const LoRaAccessLimits &limits)
{
    if (kind == 0)
        applyLoRaLimits(table, limits);
    else
        table.prepare();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const Kind kinds[] = {
        {loRaAccessDefinition(), "LoRaWAN_SetAccess.xml"},
        {sdoServerDefinition(), "SDO_Server_CANopen.xml"},
        {sdoClientDefinition(), "SDO_Client_CANopen.xml"},
        {pdoDefinition(), "PDO_CANopen.xml"},
    };
    const int kind = data[0] & 3;
    LoRaAccessLimits limits;
    limits.FPortFixed = (data[0] & 4) == 0;
    limits.MaxPayloadSize = (data[0] >> 3) * 8; // 0 to 248
    const QString path = fuzzing::scratch() + QLatin1Char('/') + QLatin1String(kinds[kind].fileName);
    fuzzing::writeFile(path, fuzzing::bytesOf(data + 1, size - 1));

    QStringList buffer;
    RuleTable table(kinds[kind].definition, buffer);
    prepare(table, kind, limits);
    const int rows0 = table.list(0).gridRowCount();
    const int rows1 = table.list(1).gridRowCount();
    if (table.load(path))
        return 0; // not well-formed: the grids stay as prepared
    // Loading never changes the size of the grids.
    FUZZ_CHECK(table.list(0).gridRowCount() == rows0);
    FUZZ_CHECK(table.list(1).gridRowCount() == rows1);

    switch (kind) {
    case 0: (void)checkLoRaAccess(table, limits); break;
    case 1: (void)checkSdoServer(table, kCanopenArrayBytes, kCanopenArrayBytes); break;
    case 2: (void)checkSdoClient(table, kCanopenArrayBytes, kCanopenArrayBytes); break;
    default: (void)checkPdo(table, kCanopenArrayBytes, kCanopenArrayBytes); break;
    }

    // What was read, saved and read into fresh grids, gives the same rules; the file written
    // from those is the same file again.
    FUZZ_CHECK(!table.save(path));
    const QByteArray written = fuzzing::readFile(path);
    FUZZ_CHECK(written == table.document());
    RuleTable again(kinds[kind].definition, buffer);
    prepare(again, kind, limits);
    FUZZ_CHECK(!again.load(path));
    for (int l = 0; l < 2; ++l)
        FUZZ_CHECK(again.list(l).ruleCount() == table.list(l).ruleCount());
    FUZZ_CHECK(cellsOf(again) == cellsOf(table));
    FUZZ_CHECK(again.document() == written);
    return 0;
}
