#include "canopen/eds_file.h"

#include "app/model_profile.h"
#include "common/text_values.h"
#include "common/xml_file.h"
#include "lang/text_table.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace swz {

namespace {

QString hex(quint32 value, int digits)
{
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

QString objectName(int index)
{
    return QLatin1Char('[') + hex(quint32(index), 4) + QLatin1Char(']');
}

QString subName(int index, int sub)
{
    return QLatin1Char('[') + hex(quint32(index), 4) + QStringLiteral("sub")
           + QString::number(sub, 16).toUpper() + QLatin1Char(']');
}

// The text of the file, line by line; every section is followed by one empty line.
class EdsLines
{
public:
    void section(const QString &name, const QStringList &keys)
    {
        line(name);
        for (const QString &key : keys)
            line(key);
        line(QString());
    }
    void line(const QString &text)
    {
        m_text += text;
        m_text += QStringLiteral("\r\n");
    }
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

// The keys of a plain variable of the communication and PDO objects; an empty default leaves
// the DefaultValue line out.
QStringList variable(const QString &name, const char *dataType, const char *access,
                     const QString &defaultValue, const char *pdoMapping = "0")
{
    QStringList keys = {QStringLiteral("ParameterName=") + name, QStringLiteral("ObjectType=0x07"),
                        QStringLiteral("DataType=") + QLatin1String(dataType),
                        QStringLiteral("AccessType=") + QLatin1String(access)};
    if (!defaultValue.isEmpty())
        keys << QStringLiteral("DefaultValue=") + defaultValue;
    keys << QStringLiteral("PDOMapping=") + QLatin1String(pdoMapping);
    return keys;
}

QStringList record(int subNumber, const QString &name, const char *objectType)
{
    return {QStringLiteral("SubNumber=%1").arg(subNumber), QStringLiteral("ParameterName=") + name,
            QStringLiteral("ObjectType=") + QLatin1String(objectType)};
}

void writeFixedObjects(EdsLines &out)
{
    out.section(QStringLiteral("[1000]"),
                variable(QStringLiteral("Device Type"), "0x0007", "const", "0x000101A4"));
    out.section(QStringLiteral("[1001]"),
                variable(QStringLiteral("Error Register"), "0x0005", "ro", "0x00"));
    out.section(QStringLiteral("[1005]"),
                variable(QStringLiteral("COB-ID SYNC"), "0x0007", "rw", "0x80000080"));
    out.section(QStringLiteral("[1006]"), variable(QStringLiteral("Communication Cycle Period"),
                                                   "0x0007", "rw", "0x00000000"));
    out.section(QStringLiteral("[1008]"),
                variable(QStringLiteral("Manufacturer Device Name"), "0x0009", "const", "s1"));
    out.section(QStringLiteral("[1014]"),
                variable(QStringLiteral("COB-ID EMCY"), "0x0007", "ro", "$NODEID+0x80"));
    out.section(QStringLiteral("[1016]"),
                record(3, QStringLiteral("Heartbeat Consumer Entries"), "0x08"));
    out.section(QStringLiteral("[1016sub0]"),
                variable(QStringLiteral("Number of Entries"), "0x0005", "ro", "0x02"));
    out.section(QStringLiteral("[1016sub1]"), variable(QStringLiteral("Consumer Heartbeat Time 1"),
                                                       "0x0007", "rw", "0x00000000"));
    out.section(QStringLiteral("[1016sub2]"), variable(QStringLiteral("Consumer Heartbeat Time 2"),
                                                       "0x0007", "rw", "0x00000000"));
    out.section(QStringLiteral("[1017]"), variable(QStringLiteral("Producer Heartbeat Time"),
                                                   "0x0006", "rw", "0x000003E8"));
    out.section(QStringLiteral("[1018]"), record(5, QStringLiteral("Identity Object"), "0x09"));
    // Lower-case name and a one-digit default: kept as master tools have always seen them.
    out.section(QStringLiteral("[1018sub0]"),
                variable(QStringLiteral("number of entries"), "0x0005", "ro", "0x4"));
    out.section(QStringLiteral("[1018sub1]"),
                variable(QStringLiteral("Vendor Id"), "0x0007", "ro", QString()));
    out.section(QStringLiteral("[1018sub2]"),
                variable(QStringLiteral("Product Code"), "0x0007", "ro", QString()));
    out.section(QStringLiteral("[1018sub3]"),
                variable(QStringLiteral("Revision number"), "0x0007", "ro", QString()));
    out.section(QStringLiteral("[1018sub4]"),
                variable(QStringLiteral("Serial number"), "0x0007", "ro", QString()));
    out.section(QStringLiteral("[1029]"), record(2, QStringLiteral("Error Behaviour"), "0x08"));
    out.section(QStringLiteral("[1029sub0]"),
                variable(QStringLiteral("Number of Entries"), "0x0005", "ro", "1"));
    out.section(QStringLiteral("[1029sub1]"),
                variable(QStringLiteral("Communication Error"), "0x0005", "rw", "0x0"));
    out.section(QStringLiteral("[1280]"),
                record(4, QStringLiteral("Client SDO Parameter 1"), "0x09"));
    out.section(QStringLiteral("[1280sub0]"),
                variable(QStringLiteral("Number of Entries"), "0x0005", "ro", "0x03"));
    out.section(QStringLiteral("[1280sub1]"),
                variable(QStringLiteral("COB-ID Client -> Server"), "0x0007", "rw", QString()));
    out.section(QStringLiteral("[1280sub2]"),
                variable(QStringLiteral("COB-ID Server -> Client"), "0x0007", "rw", QString()));
    out.section(QStringLiteral("[1280sub3]"),
                variable(QStringLiteral("Node ID of the SDO Server"), "0x0005", "rw", QString()));
}

void writeCommunicationObject(EdsLines &out, int index, bool receive, int n, const PdoEntry &pdo)
{
    const QString name = receive ? QStringLiteral("Receive PDO Communication Parameter ")
                                 : QStringLiteral("Transmit PDO Communication Parameter ");
    out.section(objectName(index), record(4, name + QString::number(n), "0x09"));
    out.section(subName(index, 0),
                variable(QStringLiteral("Number of Entries"), "0x0005", "ro", "0x03"));
    out.section(subName(index, 1), variable(QStringLiteral("COB-ID"), "0x0007", "rw",
                                            QStringLiteral("0x") + hex(quint32(pdo.cobId), 8)));
    out.section(subName(index, 2),
                variable(QStringLiteral("Transmission Type"), "0x0005", "rw", "0xFE"));
    out.section(subName(index, 3), variable(QStringLiteral("Inhibit Time"), "0x0006", "rw", "0x0"));
}

void writeMappingObject(EdsLines &out, int index, int mapped, bool receive, int n,
                        const PdoEntry &pdo)
{
    const int d = pdo.dimension;
    // The receive name carries no number, unlike the three other PDO object names; master
    // tools have been reading it so.
    const QString name = receive ? QStringLiteral("Receive PDO Mapping Parameter")
                                 : QStringLiteral("Transmit PDO Mapping Parameter %1").arg(n);
    out.section(objectName(index), record(d + 1, name, "0x09"));
    out.section(subName(index, 0), variable(QStringLiteral("Number of Entries"), "0x0005", "ro",
                                            QStringLiteral("0x") + hex(quint32(d), 2)));
    for (int k = 1; k <= d; ++k) {
        // Sub-index k of the data object, 8 bits long.
        const QString entry = QStringLiteral("0x") + hex(quint32(mapped), 4) + hex(quint32(k), 2)
                              + QStringLiteral("08");
        out.section(subName(index, k),
                    variable(QStringLiteral("Mapping Entry %1").arg(k), "0x0007", "ro", entry));
    }
}

void writeDataObject(EdsLines &out, int index, bool receive, int n, const PdoEntry &pdo)
{
    const int d = pdo.dimension;
    out.section(objectName(index),
                record(d + 1, (receive ? QStringLiteral("RPDO") : QStringLiteral("TPDO"))
                                  + QString::number(n),
                       "0x08"));
    out.section(subName(index, 0),
                variable(QStringLiteral("Number of Entries"), "0x0005", receive ? "ro" : "rw",
                         QStringLiteral("0x") + hex(quint32(d), 2)));
    const QString prefix = edsDataPrefix(receive, n);
    for (int k = 1; k <= d; ++k) {
        out.section(subName(index, k), variable(prefix + QString::number(k), "0x0005",
                                                receive ? "rww" : "rwr", "0x00", "1"));
    }
}

void writeManufacturerObject(EdsLines &out, const SDO_Index &object)
{
    // One section per sub-index: rules that name the same sub-index twice (in both lists, or
    // twice in one) become one entry, writable when any of them is a write rule, with the size
    // of the last of them. Two sections of one name would make strict readers refuse the file.
    struct Entry
    {
        int sub;
        qint32 quantity;
        bool readonly;
    };
    QList<Entry> entries;
    for (const SDO_Sub_Type &rule : object.Sub_Indexs) {
        if (!entries.isEmpty() && entries.last().sub == rule.Sub) {
            entries.last().quantity = rule.Quantity;
            entries.last().readonly = entries.last().readonly && rule.Readonly;
        } else {
            entries.append({rule.Sub, rule.Quantity, rule.Readonly});
        }
    }
    if (entries.isEmpty())
        return;
    const int first = entries.first().sub;
    const int last = entries.last().sub;
    const int count = int(entries.size());

    out.section(objectName(object.Index),
                {QStringLiteral("SubNumber=%1").arg(first == 0 ? count : count + 1),
                 QStringLiteral("ParameterName=App Vars"), QStringLiteral("ObjectType=0x9")});
    if (first != 0) {
        out.section(subName(object.Index, 0),
                    {QStringLiteral("ParameterName=Largest Sub-Index supported"),
                     QStringLiteral("ObjectType=0x7"), QStringLiteral("DataType=0x0005"),
                     QStringLiteral("AccessType=ro"),
                     QStringLiteral("DefaultValue=0x") + hex(quint32(last), 2),
                     QStringLiteral("PDOMapping=0")});
    }
    for (const Entry &entry : entries) {
        QStringList keys = {QStringLiteral("ParameterName=Application Variable"),
                            QStringLiteral("ObjectType=0x7")};
        if (entry.quantity == 1) {
            keys << QStringLiteral("DataType=0x0005") << QStringLiteral("LowLimit=0x00")
                 << QStringLiteral("HighLimit=0xFF") << QStringLiteral("DefaultValue=0x00");
        } else if (entry.quantity == 2) {
            keys << QStringLiteral("DataType=0x0006") << QStringLiteral("LowLimit=0x0000")
                 << QStringLiteral("HighLimit=0xFFFF") << QStringLiteral("DefaultValue=0x0000");
        } else {
            keys << QStringLiteral("DataType=0x0007") << QStringLiteral("LowLimit=0x00000000")
                 << QStringLiteral("HighLimit=0xFFFFFFFF")
                 << QStringLiteral("DefaultValue=0x00000000");
        }
        keys << (entry.readonly ? QStringLiteral("AccessType=ro") : QStringLiteral("AccessType=rw"))
             << QStringLiteral("PDOMapping=0");
        out.section(subName(object.Index, entry.sub), keys);
    }
}

QString readFailure(const QString &path, const QString &reason)
{
    return uiText(kTextCannotReadFile) + path + QStringLiteral(": ") + reason;
}

QString rowFailure(const QString &path, const QString &list, int row, const QString &attribute,
                   const QString &problem)
{
    return readFailure(path, QStringLiteral("row %1 of %2, attribute %3: %4")
                                 .arg(row)
                                 .arg(list, attribute, problem));
}

// Reads a whole-integer attribute of an SDO rule within [low, high]; the message when it is
// missing, no integer or out of range.
std::optional<QString> readRuleValue(const QDomElement &rule, const QString &attribute,
                                     qint64 low, qint64 high, const QString &range,
                                     const QString &path, const QString &list, int row,
                                     qint32 &value)
{
    if (!rule.hasAttribute(attribute))
        return rowFailure(path, list, row, attribute, QStringLiteral("missing"));
    const QString text = rule.attribute(attribute);
    const std::optional<qint32> read = readInteger(text);
    if (!read)
        return rowFailure(path, list, row, attribute,
                          QStringLiteral("\"%1\" is not an integer").arg(text));
    if (*read < low || *read > high)
        return rowFailure(path, list, row, attribute,
                          QStringLiteral("\"%1\" is not between %2").arg(text, range));
    value = *read;
    return std::nullopt;
}

} // namespace

EdsClock systemEdsClock()
{
    return [] { return QDateTime::currentDateTime(); };
}

QString edsDate(const QDate &date)
{
    return QStringLiteral("%1-%2-%3")
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString edsTime(const QTime &time)
{
    const int hour = time.hour();
    // 0 is midnight (12 AM) and 12 is noon (12 PM); neither is written as 00.
    const int shown = hour % 12 == 0 ? 12 : hour % 12;
    return QStringLiteral("%1:%2%3")
        .arg(shown, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

QString edsDataPrefix(bool receive, int n)
{
    // Receive 8, 9, 10 are j, k, i; the two-letter series skip the second letters j and k.
    static const char *const kReceive[] = {"b",  "c",  "d",  "e",  "f",  "g",  "h",  "j",
                                           "k",  "i",  "aa", "ab", "ac", "ad", "ae", "af",
                                           "ag", "ah", "ai", "al", "am", "an", "ao", "ap",
                                           "aq", "ar", "as", "at", "au", "av"};
    static const char *const kTransmit[] = {"l",  "m",  "n",  "o",  "p",  "q",  "r",  "s",
                                            "t",  "u",  "ca", "cb", "cc", "cd", "ce", "cf",
                                            "cg", "ch", "ci", "cl", "cm", "cn", "co", "cp",
                                            "cq", "cr", "cs", "ct", "cu", "cv"};
    if (n < 1 || n > EdsGenerator::kMaxPdos)
        return QString();
    return QLatin1String(receive ? kReceive[n - 1] : kTransmit[n - 1]);
}

EdsGenerator::EdsGenerator(ProjectFiles files, EdsClock clock)
    : m_files(std::move(files))
    , m_clock(clock ? std::move(clock) : systemEdsClock())
{
}

std::optional<QString> EdsGenerator::Read_PDO_Table()
{
    m_rpdoCount = 0;
    m_tpdoCount = 0;
    const XmlLoad xml = loadXmlFile(m_files.pdo);
    if (xml.failed())
        return readFailure(m_files.pdo, xml.error);
    if (!xml.loaded())
        return std::nullopt;

    auto readList = [this](const QDomElement &list, const QString &listName,
                           std::array<PdoEntry, kMaxPdos> &table,
                           int &count) -> std::optional<QString> {
        int row = 0;
        for (QDomElement rule = list.firstChildElement(); !rule.isNull() && count < kMaxPdos;
             rule = rule.nextSiblingElement()) {
            ++row;
            PdoEntry entry;
            entry.cobId = readIntegerOr(rule.attribute(QStringLiteral("COB-ID")), 0);
            const QString dimension = rule.attribute(QStringLiteral("Dimension"));
            entry.dimension = readIntegerOr(dimension, 8);
            // A frame carries 1 to 8 bytes; any other length would describe mapping entries
            // and data bytes that do not exist.
            if (entry.dimension < 1 || entry.dimension > 8) {
                return rowFailure(m_files.pdo, listName, row, QStringLiteral("Dimension"),
                                  QStringLiteral("\"%1\" is not between 1 and 8").arg(dimension));
            }
            table[count++] = entry;
        }
        return std::nullopt;
    };
    const QString receive = QStringLiteral("Receive_PDO");
    const QString transmit = QStringLiteral("Transmit_PDO");
    if (auto failure = readList(childElement(xml.root(), receive), receive, m_rpdo, m_rpdoCount))
        return failure;
    return readList(childElement(xml.root(), transmit), transmit, m_tpdo, m_tpdoCount);
}

int EdsGenerator::Find_SDO_Index(int index) const
{
    return m_positionOfIndex.value(index, -1);
}

std::optional<QString> EdsGenerator::Read_SDO_Objects()
{
    m_sdoObjects.clear();
    m_positionOfIndex.clear();
    const QString &path = m_files.sdoServer;
    const XmlLoad xml = loadXmlFile(path);
    if (xml.failed())
        return readFailure(path, xml.error);
    if (!xml.loaded())
        return std::nullopt;

    for (const bool readonly : {true, false}) {
        const QString listName = readonly ? QStringLiteral("SDO_Read") : QStringLiteral("SDO_Write");
        const QDomElement list = childElement(xml.root(), listName);
        int row = 0;
        for (QDomElement rule = list.firstChildElement(); !rule.isNull();
             rule = rule.nextSiblingElement()) {
            ++row;
            // The same ranges as the SDO server window: anything outside would collide with
            // the communication and PDO objects or not fit an object dictionary at all.
            qint32 index = 0;
            qint32 sub = 0;
            qint32 size = 0;
            if (auto failure = readRuleValue(rule, QStringLiteral("Index"), 0x2000, 0x5FFF,
                                             QStringLiteral("0x2000 and 0x5FFF"), path, listName,
                                             row, index))
                return failure;
            if (auto failure = readRuleValue(rule, QStringLiteral("SubIndex"), 0, 255,
                                             QStringLiteral("0x00 and 0xFF"), path, listName, row,
                                             sub))
                return failure;
            if (auto failure = readRuleValue(rule, QStringLiteral("NByte"),
                                             std::numeric_limits<qint32>::min(),
                                             std::numeric_limits<qint32>::max(), QString(), path,
                                             listName, row, size))
                return failure;

            SDO_Sub_Type entry;
            entry.Sub = quint8(sub);
            entry.Quantity = size;
            entry.Readonly = readonly;
            const int position = Find_SDO_Index(index);
            if (position < 0) {
                m_positionOfIndex.insert(index, int(m_sdoObjects.size()));
                m_sdoObjects.append({quint16(index), {entry}});
            } else {
                m_sdoObjects[position].Sub_Indexs.append(entry);
            }
        }
    }
    return std::nullopt;
}

void EdsGenerator::Sort_Sub_Indexs()
{
    for (SDO_Index &object : m_sdoObjects) {
        std::stable_sort(object.Sub_Indexs.begin(), object.Sub_Indexs.end(),
                         [](const SDO_Sub_Type &a, const SDO_Sub_Type &b) { return a.Sub < b.Sub; });
    }
}

std::optional<QString> EdsGenerator::readAll()
{
    m_sdoObjects.clear();
    m_positionOfIndex.clear();
    if (auto failure = Read_PDO_Table())
        return failure;
    if (auto failure = Read_SDO_Objects())
        return failure;
    Sort_Sub_Indexs();
    return std::nullopt;
}

std::optional<QString> EdsGenerator::buildText(const QString &path, QByteArray &text)
{
    if (auto failure = readAll())
        return failure;
    // Everything generated is ASCII; only the file name may need the system's code page.
    text = composeText(QFileInfo(path).fileName(), m_clock()).toLocal8Bit();
    return std::nullopt;
}

std::optional<QString> EdsGenerator::Write_EDS_File(const QString &path)
{
    QByteArray text;
    if (auto failure = buildText(path, text))
        return failure;
    if (auto reason = saveFileAtomically(path, text))
        return uiText(kTextCannotWriteFile) + path + QStringLiteral("\n") + *reason;
    return std::nullopt;
}

QString EdsGenerator::composeText(const QString &fileName, const QDateTime &moment) const
{
    const QString date = edsDate(moment.date());
    const QString time = edsTime(moment.time());
    const QString &vendor = profile::makerName;
    const int r = m_rpdoCount;
    const int t = m_tpdoCount;

    EdsLines out;
    out.section(QStringLiteral("[FileInfo]"),
                {QStringLiteral("FileName=") + fileName, QStringLiteral("FileVersion=1"),
                 QStringLiteral("FileRevision=0"), QStringLiteral("EDSVersion=4.0"),
                 QStringLiteral("Description=") + profile::modelDescription,
                 QStringLiteral("CreationTime=") + time, QStringLiteral("CreationDate=") + date,
                 QStringLiteral("CreatedBy=") + vendor, QStringLiteral("ModificationTime=") + time,
                 QStringLiteral("ModificationDate=") + date,
                 QStringLiteral("ModifiedBy=") + vendor});
    out.section(QStringLiteral("[DeviceInfo]"),
                {QStringLiteral("VendorName=") + vendor, QStringLiteral("VendorNumber=0x00"),
                 QStringLiteral("ProductName=") + profile::modelDescription,
                 QStringLiteral("ProductNumber=") + profile::edsProductNumber,
                 QStringLiteral("RevisionNumber=0x0"),
                 QStringLiteral("OrderCode=") + profile::hardwareCode,
                 QStringLiteral("BaudRate_10=1"), QStringLiteral("BaudRate_20=1"),
                 QStringLiteral("BaudRate_50=1"), QStringLiteral("BaudRate_125=1"),
                 QStringLiteral("BaudRate_250=1"), QStringLiteral("BaudRate_500=1"),
                 QStringLiteral("BaudRate_800=0"), QStringLiteral("BaudRate_1000=1"),
                 QStringLiteral("DynamicChannelsSupported=0"), QStringLiteral("GroupMessaging=0"),
                 QStringLiteral("LSS_Supported=0"), QStringLiteral("Granularity=0"),
                 QStringLiteral("SimpleBootUpSlave=1"), QStringLiteral("SimpleBootUpMaster=0"),
                 QStringLiteral("NrOfRXPDO=%1").arg(r), QStringLiteral("NrOfTXPDO=%1").arg(t)});
    out.section(QStringLiteral("[Comments]"), {QStringLiteral("Lines=0")});
    QStringList dummies;
    for (int i = 1; i <= 7; ++i)
        dummies << QStringLiteral("Dummy000%1=0").arg(i);
    out.section(QStringLiteral("[DummyUsage]"), dummies);
    out.section(QStringLiteral("[MandatoryObjects]"),
                {QStringLiteral("SupportedObjects=3"), QStringLiteral("1=0x1000"),
                 QStringLiteral("2=0x1001"), QStringLiteral("3=0x1018")});

    QStringList optional = {QStringLiteral("SupportedObjects=%1").arg(8 + 3 * r + 3 * t),
                            QStringLiteral("1=0x1005"), QStringLiteral("2=0x1006"),
                            QStringLiteral("3=0x1008"), QStringLiteral("4=0x1014"),
                            QStringLiteral("5=0x1016"), QStringLiteral("6=0x1017"),
                            QStringLiteral("7=0x1029"), QStringLiteral("8=0x1280")};
    int k = 9;
    auto listRange = [&optional, &k](int base, int count) {
        for (int i = 0; i < count; ++i)
            optional << QStringLiteral("%1=0x").arg(k++) + hex(quint32(base + i), 4);
    };
    listRange(0x1400, r);
    listRange(0x1600, r);
    listRange(0x1800, t);
    listRange(0x1A00, t);
    listRange(0x7000, r);
    listRange(0x7050, t);
    out.section(QStringLiteral("[OptionalObjects]"), optional);

    QStringList manufacturer = {
        QStringLiteral("SupportedObjects=%1").arg(m_sdoObjects.size())};
    for (int i = 0; i < m_sdoObjects.size(); ++i)
        manufacturer << QStringLiteral("%1=0x").arg(i + 1) + hex(m_sdoObjects[i].Index, 4);
    out.section(QStringLiteral("[ManufacturerObjects]"), manufacturer);

    writeFixedObjects(out);
    for (int i = 0; i < r; ++i)
        writeCommunicationObject(out, 0x1400 + i, true, i + 1, m_rpdo[i]);
    for (int i = 0; i < r; ++i)
        writeMappingObject(out, 0x1600 + i, 0x7000 + i, true, i + 1, m_rpdo[i]);
    for (int i = 0; i < t; ++i)
        writeCommunicationObject(out, 0x1800 + i, false, i + 1, m_tpdo[i]);
    for (int i = 0; i < t; ++i)
        writeMappingObject(out, 0x1A00 + i, 0x7050 + i, false, i + 1, m_tpdo[i]);
    for (int i = 0; i < r; ++i)
        writeDataObject(out, 0x7000 + i, true, i + 1, m_rpdo[i]);
    for (int i = 0; i < t; ++i)
        writeDataObject(out, 0x7050 + i, false, i + 1, m_tpdo[i]);
    for (const SDO_Index &object : m_sdoObjects)
        writeManufacturerObject(out, object);
    out.line(QString());
    return out.text();
}

} // namespace swz
