#include "image/device_image.h"
#include "image_support.h"
#include "lang/text_table.h"

#include <QTest>
#include <QtEndian>

using namespace swz;
using namespace swz::image;
using namespace image_support;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

struct Compiled
{
    CompileResult result;
    QByteArray bank1;
    QByteArray bank2;
};

Compiled compile(const QString &folder)
{
    DeviceImageCompiler compiler;
    Compiled c;
    c.result = compiler.Compile_Device_Image(ProjectFiles::of(folder));
    c.bank1 = compiler.bank1().used();
    c.bank2 = compiler.bank2().used();
    return c;
}

// Bank 1 of a project without any section file: the reset block plus the table addresses.
ExpectedImage emptyBank1()
{
    ExpectedImage b(2048);
    b.put32(0, 250000).put32(4, 250000).put32(12, 9600);
    b.put(40, "c0a802cd").put(44, "ffffff00").put(48, "ffffffff");
    b.put(52, "1027").put(54, "1127").put(56, "1127");
    b.put(224, "00000800").put(228, "00400800").put(232, "00800800").put(236, "00a00800");
    b.put(240, "00c00800").put(244, "00d00800").put(1628, "00e00800");
    b.put(436, "0808080808080808");
    return b;
}

// A project with one section file written inline.
QString projectWith(const QTemporaryDir &dir, const char *file, const QByteArray &content)
{
    static int n = 0;
    const QString folder = makeProject(dir, QStringLiteral("p%1").arg(++n));
    writeFile(folder + QLatin1Char('/') + QLatin1String(file), content);
    return folder;
}

QByteArray parGen(const QByteArray &elements)
{
    return "<Par_Gen>" + elements + "</Par_Gen><!--SW_VERSION = 1.000-->";
}

} // namespace

class TestDeviceImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { uiTexts().loadBuiltin(); }
    void emptyProjectGivesResetImage();
    void parGenWithOnlyItsRoot();
    void fullProjectMatchesEveryField();
    void generalFields_data();
    void generalFields();
    void loRaWanHeaderFields_data();
    void loRaWanHeaderFields();
    void loRaWanRules_data();
    void loRaWanRules();
    void canopenEntries_data();
    void canopenEntries();
    void rowsBeyondCapacityAreLeftOut();
    void missingListsAreEmpty();
    void compileStopsOnBadInput_data();
    void compileStopsOnBadInput();
    void twoCompilesAreIdenticalAndNothingSurvives();
    void deletingThePdoFile();
    void putOperationsAppendAtPosition();

private:
    QTemporaryDir m_dir;
};

void TestDeviceImage::emptyProjectGivesResetImage()
{
    const Compiled c = compile(makeProject(m_dir, "empty"));
    QVERIFY(c.result.ok);
    ExpectedImage bank1 = emptyBank1();
    bank1.put(2044, "8a110000"); // 4490
    QCOMPARE(c.bank1.toHex(' '), bank1.bytes.toHex(' '));
    QCOMPARE(c.bank2.size(), 65536);
    QCOMPARE(c.bank2, bank2AllUnused());
}

void TestDeviceImage::parGenWithOnlyItsRoot()
{
    const Compiled c = compile(projectWith(m_dir, "ParGen.xml", "<Par_Gen/>"));
    QVERIFY(c.result.ok);
    ExpectedImage bank1 = emptyBank1();
    bank1.put32(0, 1000000).put(40, "c0a8000a").put32(156, 1).put32(164, 10000).put32(168, 10000);
    bank1.put32(420, 19200).put(429, "00").put(435, "01").put(441, "08");
    bank1.put(1644, "312e303030000000");
    bank1.put(2044, "9d110000"); // 4509
    QCOMPARE(c.bank1.toHex(' '), bank1.bytes.toHex(' '));

    // The header takes the values for missing elements, not the reset ones.
    ExpectedImage bank2(65536);
    bank2.put(0, c.bank2.left(57344)); // CANopen tables: checked elsewhere
    bank2.put(57344, "00000000").put(57344 + 66, "01").put32(57344 + 68, 1);
    bank2.put32(57344 + 72, 0x8E400).put32(57344 + 76, 0x8F000).put(57344 + 84, "01");
    QCOMPARE(c.bank2.mid(57344).toHex(' '), bank2.bytes.mid(57344).toHex(' '));
}

void TestDeviceImage::fullProjectMatchesEveryField()
{
    const Compiled c = compile(makeProject(m_dir, "full", "image/full"));
    QVERIFY2(c.result.ok, qPrintable(c.result.error));
    QVERIFY(c.result.warnings.isEmpty());

    ExpectedImage b1(2048);
    b1.put(0, "20a10700").put32(4, 250000).put32(12, 9600);        // 500 kbit/s
    b1.put(40, "c0a80a14").put(44, "ffff0000").put(48, "c0a80a01");
    b1.put(52, "1027").put(54, "1127").put(56, "1127");
    b1.put(156, "05000000").put(160, "03000000").put(164, "b80b0000").put(168, "204e0000");
    for (int count = 172; count <= 192; count += 4)
        b1.put(count, "01000000");
    b1.put(224, "00000800").put(228, "00400800").put(232, "00800800").put(236, "00a00800");
    b1.put(240, "00c00800").put(244, "00d00800");
    b1.put(420, "004b0000").put(429, "00").put(435, "01").put(436, "0808080808080808");
    b1.put(1256, "0100");
    b1.put(1300, "47572d48616c6c33");                                 // GW-Hall3
    b1.put(1340, "0a000036").put(1420, "0a000035");
    b1.put(1628, "00e00800").put(1644, "312e303030000000");
    b1.put32(2044, sumOfBytes(b1.bytes, 2044));
    QCOMPARE(c.bank1.toHex(' '), b1.bytes.toHex(' '));
    // The stored checksum is the byte sum of what was written.
    QCOMPARE(quint32(qFromLittleEndian<quint32>(c.bank1.constData() + 2044)), sumOfBytes(c.bank1, 2044));

    ExpectedImage b2(65536);
    putUnusedEntries(b2, 0, 1792);
    b2.put(0, "00000000 0020 01 00 00000000 0000000000000000 0a00 0b00 0000 0000 02 00 0000");
    b2.put(16384, "00000000 0120 00 00 00000000 0000000000000000 1400 1500 1600 1700 04 01 0000");
    b2.put(32768, "00000000 0060 01 03 f4010000 0000000000000000 1e00 0000 0000 0000 01 00 0000");
    b2.put(40960, "00000000 0062 02 04 e8030000 0000000000000000 2800 2900 0000 0000 02 03 0000");
    b2.put(49152, "81010000 00000000 64000000 0000 0100 0200 0000 0000 0000 0000 0000 03 00 0000");
    b2.put(53248, "01020000 00000000 fa000000 3200 3300 3400 3500 3600 3700 3800 3900 08 01 0000");
    b2.put(57344, "05 01 00 05 260b1a2c 70b3d57ed0001234"
                  "000102030405060708090a0b0c0d0e0f f0e0d0c0b0a090807060504030201000"
                  "00000000000000000000000000000000" // AppKey: ABP
                  "01 01 de 01 01000000 00e40800 00f00800 0200 0100 02 000000");
    b2.put(58368, "0000 0a00 05 0a 0000 3c000000"   // uplink 1: flags 1+4, FPort 10, 60 s
                  "6400 1400 02 02 0000 1e000000"); // uplink 3: empty FPort 2, no Time 30 s
    b2.put(61440, "c800 0400 00 07 0000 00000000"); // downlink: no flags, no period
    QCOMPARE(c.bank2.size(), 65536);
    for (int offset = 0; offset < 65536; offset += 1024)
        QVERIFY2(c.bank2.mid(offset, 1024) == b2.bytes.mid(offset, 1024),
                 qPrintable(QString("bank 2 from %1:\n%2\nexpected\n%3")
                                .arg(offset)
                                .arg(QString(c.bank2.mid(offset, 96).toHex(' ')))
                                .arg(QString(b2.bytes.mid(offset, 96).toHex(' ')))));
}

void TestDeviceImage::generalFields_data()
{
    QTest::addColumn<QByteArray>("elements");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("expected"); // hex

    QTest::newRow("gateway unused") << QByteArray("<Ethernet_EN_GAT>0</Ethernet_EN_GAT>"
        "<Ethernet_GAT1>10</Ethernet_GAT1><Ethernet_GAT2>0</Ethernet_GAT2>"
        "<Ethernet_GAT3>0</Ethernet_GAT3><Ethernet_GAT4>1</Ethernet_GAT4>") << 48 << QByteArray("ffffffff");
    QTest::newRow("gateway used") << QByteArray("<Ethernet_EN_GAT>1</Ethernet_EN_GAT>"
        "<Ethernet_GAT1>10</Ethernet_GAT1><Ethernet_GAT2>0</Ethernet_GAT2>"
        "<Ethernet_GAT3>0</Ethernet_GAT3><Ethernet_GAT4>1</Ethernet_GAT4>") << 48 << QByteArray("0a000001");
    QTest::newRow("gateway used, octets missing") << QByteArray("<Ethernet_EN_GAT>1</Ethernet_EN_GAT>")
        << 48 << QByteArray("c0a80001");
    QTest::newRow("DNS off keeps primary zero") << QByteArray("<Eth_Conn_Enable_DNS>0</Eth_Conn_Enable_DNS>"
        "<Eth_Conn_Primary_DNS1>1</Eth_Conn_Primary_DNS1>") << 1420 << QByteArray("00000000");
    QTest::newRow("DNS off keeps secondary zero") << QByteArray("<Eth_Conn_Enable_DNS>0</Eth_Conn_Enable_DNS>"
        "<Eth_Conn_Secondary_DNS1>1</Eth_Conn_Secondary_DNS1>") << 1340 << QByteArray("00000000");
    QTest::newRow("DNS on, defaults") << QByteArray("<Eth_Conn_Enable_DNS>1</Eth_Conn_Enable_DNS>")
        << 1340 << QByteArray("08080404");
    QTest::newRow("DNS on, primary defaults") << QByteArray("<Eth_Conn_Enable_DNS>1</Eth_Conn_Enable_DNS>")
        << 1420 << QByteArray("08080808");
    QTest::newRow("host name of 40 characters") << QByteArray("<Eth_Conn_Device_Name>"
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd</Eth_Conn_Device_Name>")
        << 1300 << QByteArray("4142434445464748494a4b4c4d4e4f505152535455565758595a303132333400");
    QTest::newRow("host name beyond 8 bits") << QByteArray("<Eth_Conn_Device_Name>\xc3\xa9\xe2\x82\xac</Eth_Conn_Device_Name>")
        << 1300 << QByteArray("e9ac00");
    QTest::newRow("delay 5 s") << QByteArray("<CANopen_Delay>5</CANopen_Delay>") << 164 << QByteArray("88130000");
    QTest::newRow("delay no number") << QByteArray("<CANopen_Delay>five</CANopen_Delay>") << 164 << QByteArray("10270000");
    QTest::newRow("octet 300") << QByteArray("<Ethernet_IP1>300</Ethernet_IP1>") << 40 << QByteArray("2ca8000a");
    QTest::newRow("negative octet") << QByteArray("<Ethernet_IP4>-1</Ethernet_IP4>") << 40 << QByteArray("c0a800ff");
    QTest::newRow("octet too big for 32 bits") << QByteArray("<Ethernet_IP4>99999999999</Ethernet_IP4>") << 40 << QByteArray("c0a8000a");
    QTest::newRow("hex node ID") << QByteArray("<CANopen_IDDev>0x7F</CANopen_IDDev>") << 156 << QByteArray("7f000000");
    QTest::newRow("negative node ID") << QByteArray("<CANopen_IDDev>-2</CANopen_IDDev>") << 156 << QByteArray("feffffff");
    QTest::newRow("bit rate 10K") << QByteArray("<CANopen_BAUDRATE>0</CANopen_BAUDRATE>") << 0 << QByteArray("10270000");
    QTest::newRow("bit rate 125K") << QByteArray("<CANopen_BAUDRATE>4</CANopen_BAUDRATE>") << 0 << QByteArray("48e80100");
    QTest::newRow("bit rate empty entry") << QByteArray("<CANopen_BAUDRATE>9</CANopen_BAUDRATE>") << 0 << QByteArray("40420f00");
    QTest::newRow("bit rate negative") << QByteArray("<CANopen_BAUDRATE>-1</CANopen_BAUDRATE>") << 0 << QByteArray("40420f00");
    QTest::newRow("start-up flags, network start only") << QByteArray("<CANopen_Network_Start>1</CANopen_Network_Start>"
        "<CANopen_Set_Operational>yes</CANopen_Set_Operational>") << 160 << QByteArray("02000000");
    QTest::newRow("DHCP flags, Wi-Fi") << QByteArray("<Eth_Conn_DHCP_WiFi>1</Eth_Conn_DHCP_WiFi>") << 1256 << QByteArray("0200");
    QTest::newRow("time-out unchanged") << QByteArray("<CANopen_SDO_TimeOut>100000</CANopen_SDO_TimeOut>") << 168 << QByteArray("a0860100");
    QTest::newRow("root of another name") << QByteArray() << 1644 << QByteArray("312e303030000000");
}

void TestDeviceImage::generalFields()
{
    QFETCH(QByteArray, elements);
    QFETCH(int, offset);
    QFETCH(QByteArray, expected);
    const QByteArray file = QTest::currentDataTag() == QByteArray("root of another name")
                                ? QByteArray("<Anything/>")
                                : parGen(elements);
    const Compiled c = compile(projectWith(m_dir, "ParGen.xml", file));
    QVERIFY(c.result.ok);
    const QByteArray bytes = hex(expected.constData());
    QCOMPARE(c.bank1.mid(offset, bytes.size()).toHex(), bytes.toHex());
    QCOMPARE(quint32(qFromLittleEndian<quint32>(c.bank1.constData() + 2044)), sumOfBytes(c.bank1, 2044));
}

void TestDeviceImage::loRaWanHeaderFields_data()
{
    QTest::addColumn<QByteArray>("elements");
    QTest::addColumn<int>("offset"); // in the LoRaWAN block
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("band lower-case hybrid") << QByteArray("<LoRa_RF_Band>us915-hybrid</LoRa_RF_Band>") << 0 << QByteArray("09");
    QTest::newRow("band with blanks") << QByteArray("<LoRa_RF_Band> EU868 </LoRa_RF_Band>") << 0 << QByteArray("05");
    QTest::newRow("band blank inside") << QByteArray("<LoRa_RF_Band>EU 868</LoRa_RF_Band>") << 0 << QByteArray("00");
    QTest::newRow("band KR920") << QByteArray("<LoRa_RF_Band>KR920</LoRa_RF_Band>") << 0 << QByteArray("06");
    QTest::newRow("network public") << QByteArray("<LoRa_Network_Type>Public</LoRa_Network_Type>") << 1 << QByteArray("01");
    QTest::newRow("OTAA") << QByteArray("<LoRa_Activation_Method> over-the-air activation [otaa]</LoRa_Activation_Method>") << 2 << QByteArray("01");
    QTest::newRow("data rate 10") << QByteArray("<LoRa_DataRate>10 - LoRa: SF10/500kHz 3900 [bit/s]</LoRa_DataRate>") << 3 << QByteArray("0a");
    QTest::newRow("data rate with TAB") << QByteArray("<LoRa_DataRate>0\t- LoRa: SF12/125kHz 250 [bit/s]</LoRa_DataRate>") << 3 << QByteArray("00");
    QTest::newRow("data rate without hyphen") << QByteArray("<LoRa_DataRate>3</LoRa_DataRate>") << 3 << QByteArray("00");
    QTest::newRow("data rate missing") << QByteArray() << 3 << QByteArray("00");
    QTest::newRow("device address of three digits") << QByteArray("<LoRa_Device_Address>ABC</LoRa_Device_Address>") << 4 << QByteArray("00000abc");
    QTest::newRow("device address too long") << QByteArray("<LoRa_Device_Address>1234567899</LoRa_Device_Address>") << 4 << QByteArray("12345678" "0000000000000000");
    QTest::newRow("empty key") << QByteArray("<LoRa_Network_Session_Key></LoRa_Network_Session_Key>") << 16 << QByteArray("00000000000000000000000000000000");
    QTest::newRow("key with bad second digit") << QByteArray("<LoRa_Network_Session_Key>1G2233445566778899AABBCCDDEEFF00</LoRa_Network_Session_Key>")
        << 16 << QByteArray("002233445566778899aabbccddeeff00");
    QTest::newRow("key too long stays in its field") << QByteArray("<LoRa_Network_Session_Key>000102030405060708090A0B0C0D0E0FFFFF</LoRa_Network_Session_Key>")
        << 16 << QByteArray("000102030405060708090a0b0c0d0e0f" "00000000000000000000000000000000");
    QTest::newRow("OTAA zeros the ABP keys") << QByteArray("<LoRa_Activation_Method>Over-the-Air Activation [OTAA]</LoRa_Activation_Method>"
        "<LoRa_Device_Address>11223344</LoRa_Device_Address><LoRa_JoinEUI>0102030405060708</LoRa_JoinEUI>"
        "<LoRa_Network_Session_Key>FF</LoRa_Network_Session_Key><LoRa_Application_Session_Key>EE</LoRa_Application_Session_Key>"
        "<LoRa_Application_Key>000102030405060708090a0b0c0d0e0f</LoRa_Application_Key>")
        << 2 << QByteArray("01 00 00000000 0102030405060708 00000000000000000000000000000000 00000000000000000000000000000000 000102030405060708090a0b0c0d0e0f");
    QTest::newRow("ABP ignores the application key") << QByteArray("<LoRa_Application_Key>FF</LoRa_Application_Key>")
        << 48 << QByteArray("00000000000000000000000000000000");
    QTest::newRow("confirmed with blank") << QByteArray("<LoRa_Transmission_Type>Confirmed </LoRa_Transmission_Type>") << 65 << QByteArray("00");
    QTest::newRow("confirmed lower case") << QByteArray("<LoRa_Transmission_Type>confirmed</LoRa_Transmission_Type>") << 65 << QByteArray("00");
    QTest::newRow("confirmed") << QByteArray("<LoRa_Transmission_Type>Confirmed</LoRa_Transmission_Type>") << 65 << QByteArray("01");
    QTest::newRow("payload 300 keeps low bits") << QByteArray("<LoRa_Payload_Size>300</LoRa_Payload_Size>") << 66 << QByteArray("2c");
    QTest::newRow("FPort variable") << QByteArray("<LoRa_FPort> variable </LoRa_FPort>") << 67 << QByteArray("01");
    QTest::newRow("transmit interval") << QByteArray("<LoRa_Transmit_Interval>$10000</LoRa_Transmit_Interval>") << 68 << QByteArray("00000100");
    QTest::newRow("sub-band") << QByteArray("<LoRa_Frequency_SubBand>8</LoRa_Frequency_SubBand>") << 84 << QByteArray("08000000");
}

void TestDeviceImage::loRaWanHeaderFields()
{
    QFETCH(QByteArray, elements);
    QFETCH(int, offset);
    QFETCH(QByteArray, expected);
    const Compiled c = compile(projectWith(m_dir, "ParGen.xml", parGen(elements)));
    QVERIFY(c.result.ok);
    const QByteArray bytes = hex(expected.constData());
    QCOMPARE(c.bank2.mid(57344 + offset, bytes.size()).toHex(), bytes.toHex());
}

void TestDeviceImage::loRaWanRules_data()
{
    QTest::addColumn<QByteArray>("fport");  // LoRa_FPort of ParGen.xml; empty: no ParGen.xml
    QTest::addColumn<QByteArray>("uplink");
    QTest::addColumn<QByteArray>("downlink");
    QTest::addColumn<QByteArray>("expectedUplink");   // hex of the first items
    QTest::addColumn<QByteArray>("expectedDownlink");
    QTest::addColumn<QByteArray>("counts");           // hex at header offset 80

    QTest::newRow("Y, N, y") << QByteArray("Fixed")
        << QByteArray("<row Enable=\"Y\" StartByte=\"1\" NumByte=\"2\"/><row Enable=\"N\" StartByte=\"3\"/>"
                      "<row Enable=\"y\" StartByte=\"5\" NumByte=\"6\"/>")
        << QByteArray()
        << QByteArray("0100 0200 00 02 0000 1e000000  0500 0600 00 02 0000 1e000000  000000000000000000000000")
        << QByteArray("000000000000000000000000") << QByteArray("0200 0000");
    QTest::newRow("trigger flags 5") << QByteArray("Fixed")
        << QByteArray("<row Enable=\"Y\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"y\" Time=\"45\"/>")
        << QByteArray() << QByteArray("0000 0000 05 02 0000 2d000000") << QByteArray() << QByteArray("0100 0000");
    QTest::newRow("flags are not trimmed") << QByteArray("Fixed")
        << QByteArray("<row Enable=\"Y\" OnChange=\" Y\" OnCMD=\"y\" OnTimer=\"Y \"/>")
        << QByteArray() << QByteArray("0000 0000 02 02 0000 1e000000") << QByteArray() << QByteArray("0100 0000");
    QTest::newRow("fixed FPort is 2") << QByteArray("Fixed")
        << QByteArray("<row Enable=\"Y\" FPort=\"10\"/>") << QByteArray("<row Enable=\"Y\" FPort=\"9\" StartByte=\"1536\" NumByte=\"4\"/>")
        << QByteArray("0000 0000 00 02 0000 1e000000") << QByteArray("0006 0400 00 02 0000 00000000") << QByteArray("0100 0100");
    QTest::newRow("variable FPort") << QByteArray("Variable")
        << QByteArray("<row Enable=\"Y\" FPort=\"10\"/><row Enable=\"Y\" FPort=\"\"/>")
        << QByteArray("<row Enable=\"Y\" FPort=\"223\" Time=\"99\" OnChange=\"Y\"/>")
        << QByteArray("0000 0000 00 0a 0000 1e000000  0000 0000 00 02 0000 1e000000")
        << QByteArray("0000 0000 00 df 0000 00000000") << QByteArray("0200 0100");
    QTest::newRow("no ParGen means fixed") << QByteArray()
        << QByteArray("<row Enable=\"Y\" FPort=\"10\"/>") << QByteArray()
        << QByteArray("0000 0000 00 02 0000 1e000000") << QByteArray() << QByteArray("0100 0000");
    QTest::newRow("Enable with blanks, without Enable") << QByteArray("Fixed")
        << QByteArray("<row Enable=\" Y \" StartByte=\"7\"/><row StartByte=\"8\"/>") << QByteArray("<row/>")
        << QByteArray("0700 0000 00 02 0000 1e000000  000000000000000000000000") << QByteArray("000000000000000000000000")
        << QByteArray("0100 0000");
    QTest::newRow("bad numbers take defaults") << QByteArray("Variable")
        << QByteArray("<row Enable=\"Y\" StartByte=\"x\" NumByte=\"-1\" Time=\"1e3\" FPort=\"abc\"/>") << QByteArray()
        << QByteArray("0000 ffff 00 02 0000 1e000000") << QByteArray() << QByteArray("0100 0000");
    QTest::newRow("start byte keeps low 16 bits") << QByteArray("Fixed")
        << QByteArray("<row Enable=\"Y\" StartByte=\"70000\" NumByte=\"0x10\" Time=\"86400\"/>") << QByteArray()
        << QByteArray("7011 1000 00 02 0000 80510100") << QByteArray() << QByteArray("0100 0000");
}

void TestDeviceImage::loRaWanRules()
{
    QFETCH(QByteArray, fport);
    QFETCH(QByteArray, uplink);
    QFETCH(QByteArray, downlink);
    QFETCH(QByteArray, expectedUplink);
    QFETCH(QByteArray, expectedDownlink);
    QFETCH(QByteArray, counts);

    const QString folder = projectWith(m_dir, "LoRaWAN_SetAccess.xml",
        "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" + uplink + "</LoRaWAN_Uplink><LoRaWAN_Downlink>"
            + downlink + "</LoRaWAN_Downlink></LoRaWAN_Set_Access>");
    if (!fport.isEmpty())
        QVERIFY(writeFile(folder + "/ParGen.xml", parGen("<LoRa_FPort>" + fport + "</LoRa_FPort>")));
    const Compiled c = compile(folder);
    QVERIFY(c.result.ok);
    const QByteArray up = hex(expectedUplink.constData());
    const QByteArray down = hex(expectedDownlink.constData());
    QCOMPARE(c.bank2.mid(58368, up.size()).toHex(' '), up.toHex(' '));
    QCOMPARE(c.bank2.mid(61440, down.size()).toHex(' '), down.toHex(' '));
    QCOMPARE(c.bank2.mid(57344 + 80, 4).toHex(' '), hex(counts.constData()).toHex(' '));
    QCOMPARE(c.bank2.mid(57344 + 72, 8).toHex(), QByteArray("00e4080000f00800"));
    // Items after the compiled ones, and the tail of the block, stay zero.
    const int upCount = quint8(c.bank2[57344 + 80]);
    const int downCount = quint8(c.bank2[57344 + 82]);
    QCOMPARE(c.bank2.mid(58368 + 12 * upCount, 3072 - 12 * upCount), QByteArray(3072 - 12 * upCount, '\0'));
    QCOMPARE(c.bank2.mid(61440 + 12 * downCount), QByteArray(4096 - 12 * downCount, '\0'));
}

void TestDeviceImage::canopenEntries_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("offset"); // in bank 2
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("countOffset"); // in bank 1
    QTest::addColumn<int>("count");

    const QByteArray serverRow = "<row Index=\"8192\" SubIndex=\"1\" NByte=\"2\" Address_B1=\"10\" Address_B2=\"11\" Address_B3=\"\" Address_B4=\"\"/>";
    const QByteArray serverEntry = "00000000 0020 01 00 00000000 0000000000000000 0a00 0b00 0000 0000 02 00 0000";
    QTest::newRow("server read") << QByteArray("SDO_Server_CANopen.xml")
        << "<SDO_Server_CANopen><SDO_Read>" + serverRow + "</SDO_Read><SDO_Write/></SDO_Server_CANopen>"
        << 0 << serverEntry << 172 << 1;
    QTest::newRow("server write differs in byte 29") << QByteArray("SDO_Server_CANopen.xml")
        << "<SDO_Server_CANopen><SDO_Read/><SDO_Write>" + serverRow + serverRow + "</SDO_Write></SDO_Server_CANopen>"
        << 16384 << QByteArray("00000000 0020 01 00 00000000 0000000000000000 0a00 0b00 0000 0000 02 01 0000"
                               "00000000 0020 01 00 00000000 0000000000000000 0a00 0b00 0000 0000 02 01 0000") << 176 << 2;
    QTest::newRow("server 1 byte ignores empty B2") << QByteArray("SDO_Server_CANopen.xml")
        << QByteArray("<SDO_Server_CANopen><SDO_Read><row Index=\"1\" SubIndex=\"300\" NByte=\"1\" Address_B1=\"1499\" Address_B2=\"abc\"/>"
                      "</SDO_Read></SDO_Server_CANopen>")
        << 0 << QByteArray("00000000 0100 2c 00 00000000 0000000000000000 db05 0000 0000 0000 01 00 0000") << 172 << 1;
    QTest::newRow("client write on change") << QByteArray("SDO_Client_CANopen.xml")
        << QByteArray("<SDO_Client_CANopen><SDO_Read/><SDO_Write>"
                      "<row Device_ID=\"127\" Index=\"0x1017\" SubIndex=\"0\" NByte=\"4\" Poll_Time=\"4294967295\" On_Change=\"Y\" Address_B1=\"1\" Address_B2=\"2\" Address_B3=\"3\" Address_B4=\"4\"/>"
                      "<row Device_ID=\"1\" Index=\"1\" SubIndex=\"0\" NByte=\"1\" Poll_Time=\"0\" On_Change=\"N\" Address_B1=\"1\"/>"
                      "<row Device_ID=\"1\" Index=\"1\" SubIndex=\"0\" NByte=\"1\" Poll_Time=\"0\" On_Change=\"\" Address_B1=\"1\"/>"
                      "<row Device_ID=\"1\" Index=\"1\" SubIndex=\"0\" NByte=\"1\" Poll_Time=\"0\" On_Change=\"y\" Address_B1=\"1\"/>"
                      "<row Device_ID=\"1\" Index=\"1\" SubIndex=\"0\" NByte=\"1\" Poll_Time=\"0\" Address_B1=\"1\"/>"
                      "</SDO_Write></SDO_Client_CANopen>")
        << 40960 << QByteArray("00000000 1710 00 7f ffffffff 0000000000000000 0100 0200 0300 0400 04 03 0000"
                               "00000000 0100 00 01 00000000 0000000000000000 0100 0000 0000 0000 01 01 0000"
                               "00000000 0100 00 01 00000000 0000000000000000 0100 0000 0000 0000 01 01 0000"
                               "00000000 0100 00 01 00000000 0000000000000000 0100 0000 0000 0000 01 01 0000"
                               "00000000 0100 00 01 00000000 0000000000000000 0100 0000 0000 0000 01 01 0000") << 184 << 5;
    QTest::newRow("client read") << QByteArray("SDO_Client_CANopen.xml")
        << QByteArray("<SDO_Client_CANopen><SDO_Read><row Device_ID=\"2\" Index=\"24576\" SubIndex=\"1\" NByte=\"2\" Poll_Time=\"-1\" On_Change=\"Y\" Address_B1=\"7\" Address_B2=\"8\"/></SDO_Read></SDO_Client_CANopen>")
        << 32768 << QByteArray("00000000 0060 01 02 ffffffff 0000000000000000 0700 0800 0000 0000 02 00 0000") << 180 << 1;
    QTest::newRow("receive PDO") << QByteArray("PDO_CANopen.xml")
        << QByteArray("<PDO_CANopen><Receive_PDO><row COB-ID=\"0x181\" Dimension=\"3\" Address_B1=\"0\" Address_B2=\"1\" Address_B3=\"2\" Address_B4=\"\" TimeOut=\"1000\"/></Receive_PDO><Transmit_PDO/></PDO_CANopen>")
        << 49152 << QByteArray("81010000 00000000 e8030000 0000 0100 0200 0000 0000 0000 0000 0000 03 00 0000") << 188 << 1;
    QTest::newRow("PDO length 0 keeps B1") << QByteArray("PDO_CANopen.xml")
        << QByteArray("<PDO_CANopen><Receive_PDO/><Transmit_PDO><row COB-ID=\"385\" Dimension=\"0\" Address_B1=\"9\" Address_B2=\"\" Send_Time=\"5\" On_Change=\"Y\"/></Transmit_PDO></PDO_CANopen>")
        << 53248 << QByteArray("81010000 00000000 05000000 0900 0000 0000 0000 0000 0000 0000 0000 00 03 0000") << 192 << 1;
    QTest::newRow("COB-ID decimal equals hex") << QByteArray("PDO_CANopen.xml")
        << QByteArray("<PDO_CANopen><Receive_PDO><row COB-ID=\"385\" Dimension=\"3\" Address_B1=\"0\" Address_B2=\"1\" Address_B3=\"2\" TimeOut=\"1000\"/></Receive_PDO></PDO_CANopen>")
        << 49152 << QByteArray("81010000 00000000 e8030000 0000 0100 0200 0000 0000 0000 0000 0000 03 00 0000") << 188 << 1;
    QTest::newRow("transmit PDO of 8 bytes, 64-bit time") << QByteArray("PDO_CANopen.xml")
        << QByteArray("<PDO_CANopen><Transmit_PDO><row COB-ID=\"0x1FFFFFFFF\" Dimension=\"8\" Address_B1=\"1\" Address_B2=\"2\" Address_B3=\"3\" Address_B4=\"4\" Address_B5=\"5\" Address_B6=\"6\" Address_B7=\"7\" Address_B8=\"65537\" Send_Time=\"4294967297\" On_Change=\"N\"/></Transmit_PDO></PDO_CANopen>")
        << 53248 << QByteArray("ffffffff 00000000 01000000 0100 0200 0300 0400 0500 0600 0700 0100 08 01 0000") << 192 << 1;
}

void TestDeviceImage::canopenEntries()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, content);
    QFETCH(int, offset);
    QFETCH(QByteArray, expected);
    QFETCH(int, countOffset);
    QFETCH(int, count);

    const Compiled c = compile(projectWith(m_dir, file.constData(), content));
    QVERIFY2(c.result.ok, qPrintable(c.result.error));
    const QByteArray bytes = hex(expected.constData());
    QCOMPARE(c.bank2.mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
    // The next entry is unused.
    QCOMPARE(c.bank2.mid(offset + bytes.size(), 32).toHex(),
             QByteArray("000000000000000000000000ffffffffffffffffffffffffffffffff00000000"));
    QCOMPARE(qFromLittleEndian<quint32>(c.bank1.constData() + countOffset), quint32(count));
}

void TestDeviceImage::rowsBeyondCapacityAreLeftOut()
{
    QByteArray rows;
    for (int i = 0; i < 130; ++i)
        rows += "<row COB-ID=\"" + QByteArray::number(0x200 + i) + "\" Dimension=\"1\" Address_B1=\"1\" TimeOut=\"0\"/>";
    QByteArray uplink;
    for (int i = 0; i < 258; ++i)
        uplink += "<row Enable=\"Y\" StartByte=\"" + QByteArray::number(i) + "\" NumByte=\"1\"/>";
    const QString folder = projectWith(m_dir, "PDO_CANopen.xml",
        "<PDO_CANopen><Receive_PDO>" + rows + "</Receive_PDO><Transmit_PDO/></PDO_CANopen>");
    QVERIFY(writeFile(folder + "/LoRaWAN_SetAccess.xml",
                      "<A><LoRaWAN_Uplink>" + uplink + "<row Enable=\"N\"/></LoRaWAN_Uplink></A>"));
    const Compiled c = compile(folder);
    QVERIFY(c.result.ok);
    QCOMPARE(c.result.warnings.size(), 2);
    QVERIFY(c.result.warnings[0].contains("128") && c.result.warnings[0].contains("Receive_PDO")
            && c.result.warnings[0].contains("2 more"));
    QVERIFY(c.result.warnings[1].contains("LoRaWAN_Uplink") && c.result.warnings[1].contains("2 more"));
    QCOMPARE(qFromLittleEndian<quint32>(c.bank1.constData() + 188), 128u);
    QCOMPARE(c.bank2.mid(49152 + 127 * 32, 4).toHex(), QByteArray("7f020000"));
    // The transmit table right behind it is untouched.
    QCOMPARE(c.bank2.mid(53248, 4096), bank2AllUnused().mid(53248, 4096));
    QCOMPARE(c.bank2.mid(57344 + 80, 2).toHex(), QByteArray("0001"));
    QCOMPARE(c.bank2.mid(58368 + 255 * 12, 2).toHex(), QByteArray("ff00"));
    QCOMPARE(c.bank2.mid(61440, 4096), QByteArray(4096, '\0'));
}

void TestDeviceImage::missingListsAreEmpty()
{
    const QString folder = projectWith(m_dir, "SDO_Server_CANopen.xml",
        "<SDO_Server_CANopen><SDO_Write><row Index=\"1\" SubIndex=\"2\" NByte=\"1\" Address_B1=\"3\"/></SDO_Write></SDO_Server_CANopen>");
    QVERIFY(writeFile(folder + "/LoRaWAN_SetAccess.xml", "<LoRaWAN_Set_Access><LoRaWAN_Downlink><row Enable=\"Y\"/></LoRaWAN_Downlink></LoRaWAN_Set_Access>"));
    const Compiled c = compile(folder);
    QVERIFY(c.result.ok);
    QCOMPARE(qFromLittleEndian<quint32>(c.bank1.constData() + 172), 0u);
    QCOMPARE(qFromLittleEndian<quint32>(c.bank1.constData() + 176), 1u);
    QCOMPARE(c.bank2.mid(0, 16384), bank2AllUnused().mid(0, 16384));
    QCOMPARE(c.bank2.mid(57344 + 80, 4).toHex(), QByteArray("00000100"));
}

void TestDeviceImage::compileStopsOnBadInput_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("mentions");

    QTest::newRow("malformed ParGen") << QByteArray("ParGen.xml") << QByteArray("<Par_Gen><a></Par_Gen>")
        << QStringList{"Error! Cannot read the file ", "ParGen.xml", "line 1"};
    QTest::newRow("malformed access") << QByteArray("LoRaWAN_SetAccess.xml") << QByteArray("<A><LoRaWAN_Uplink>")
        << QStringList{"Error! Cannot read the file ", "LoRaWAN_SetAccess.xml"};
    QTest::newRow("malformed PDO") << QByteArray("PDO_CANopen.xml") << QByteArray("not xml at all")
        << QStringList{"Error! Cannot read the file ", "PDO_CANopen.xml"};
    QTest::newRow("index no number") << QByteArray("SDO_Server_CANopen.xml")
        << QByteArray("<S><SDO_Read><row Index=\"1\" SubIndex=\"1\" NByte=\"1\" Address_B1=\"1\"/>"
                      "<row Index=\"0x2G00\" SubIndex=\"1\" NByte=\"1\" Address_B1=\"1\"/></SDO_Read></S>")
        << QStringList{"Error! The value is not a number", "SDO_Server_CANopen.xml", "list SDO_Read", "row 2", "attribute Index", "\"0x2G00\""};
    QTest::newRow("address within length missing") << QByteArray("SDO_Client_CANopen.xml")
        << QByteArray("<S><SDO_Read/><SDO_Write><row Device_ID=\"1\" Index=\"1\" SubIndex=\"1\" NByte=\"2\" Poll_Time=\"1\" Address_B1=\"1\"/></SDO_Write></S>")
        << QStringList{"Error! The value is missing", "SDO_Client_CANopen.xml", "list SDO_Write", "row 1", "attribute Address_B2"};
    QTest::newRow("overflowing number") << QByteArray("PDO_CANopen.xml")
        << QByteArray("<P><Receive_PDO><row COB-ID=\"1\" Dimension=\"99999999999\" Address_B1=\"1\" TimeOut=\"1\"/></Receive_PDO></P>")
        << QStringList{"not a number", "list Receive_PDO", "row 1", "attribute Dimension"};
    QTest::newRow("64-bit time overflowing") << QByteArray("PDO_CANopen.xml")
        << QByteArray("<P><Transmit_PDO><row COB-ID=\"1\" Dimension=\"1\" Address_B1=\"1\" Send_Time=\"99999999999999999999\"/></Transmit_PDO></P>")
        << QStringList{"not a number", "list Transmit_PDO", "attribute Send_Time"};
    QTest::newRow("non-ASCII digits") << QByteArray("PDO_CANopen.xml")
        << QByteArray("<P><Transmit_PDO><row COB-ID=\"\xd9\xa1\" Dimension=\"1\"/></Transmit_PDO></P>")
        << QStringList{"not a number", "attribute COB-ID"};
}

void TestDeviceImage::compileStopsOnBadInput()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, mentions);
    const Compiled c = compile(projectWith(m_dir, file.constData(), content));
    QVERIFY(!c.result.ok);
    for (const QString &part : mentions)
        QVERIFY2(c.result.error.contains(part), qPrintable(c.result.error + " lacks " + part));
}

void TestDeviceImage::twoCompilesAreIdenticalAndNothingSurvives()
{
    const QString full = makeProject(m_dir, "again", "image/full");
    DeviceImageCompiler compiler;
    QVERIFY(compiler.Compile_Device_Image(ProjectFiles::of(full)).ok);
    const QByteArray first1 = compiler.bank1().used();
    const QByteArray first2 = compiler.bank2().used();
    QVERIFY(compiler.Compile_Device_Image(ProjectFiles::of(full)).ok);
    QCOMPARE(compiler.bank1().used(), first1);
    QCOMPARE(compiler.bank2().used(), first2);

    // The same compiler on an empty project gives the empty image: no field of the full one
    // survives the reset.
    QVERIFY(compiler.Compile_Device_Image(ProjectFiles::of(makeProject(m_dir, "after"))).ok);
    QCOMPARE(compiler.bank1().used(), compile(makeProject(m_dir, "fresh")).bank1);
    QCOMPARE(compiler.bank2().used(), bank2AllUnused());
}

void TestDeviceImage::deletingThePdoFile()
{
    const QString folder = makeProject(m_dir, "nopdo", "image/full");
    const Compiled before = compile(folder);
    QVERIFY(QFile::remove(folder + "/PDO_CANopen.xml"));
    const Compiled after = compile(folder);
    QVERIFY(after.result.ok);
    QCOMPARE(after.bank2.mid(49152, 8192), bank2AllUnused().mid(49152, 8192));
    QCOMPARE(after.bank2.left(49152), before.bank2.left(49152));
    QCOMPARE(after.bank2.mid(57344), before.bank2.mid(57344));
    QCOMPARE(qFromLittleEndian<quint32>(after.bank1.constData() + 188), 0u);
    QCOMPARE(qFromLittleEndian<quint32>(after.bank1.constData() + 192), 0u);
    // Only the two counts and the checksum differ in bank 1.
    for (int i = 0; i < 2048; ++i) {
        if ((i >= 188 && i < 196) || i >= 2044)
            continue;
        QVERIFY2(after.bank1[i] == before.bank1[i], qPrintable(QString("offset %1").arg(i)));
    }
    QCOMPARE(qFromLittleEndian<quint32>(before.bank1.constData() + 2044)
                 - qFromLittleEndian<quint32>(after.bank1.constData() + 2044),
             2u);
}

void TestDeviceImage::putOperationsAppendAtPosition()
{
    DeviceImageCompiler compiler;
    compiler.Reset_General_Block();
    compiler.Reset_LoRaWAN_Block();
    compiler.Reset_CANopen_Tables();
    ImageBuffer buffer;
    std::fill(buffer.data.begin(), buffer.data.end(), quint8(0xAA));
    QCOMPARE(compiler.Put_General_Block(100, buffer), 2148u);
    QCOMPARE(compiler.Put_CANopen_Tables(0, buffer), 57344u);
    QCOMPARE(compiler.Put_LoRaWAN_Block(57344, buffer), 65536u);
    // Bytes beyond the appended blocks are left alone.
    QCOMPARE(buffer.data[65536], quint8(0xAA));
    QCOMPARE(buffer.data[ImageBuffer::kCapacity - 1], quint8(0xAA));
    // A block that would not fit is not written at all.
    QCOMPARE(compiler.Put_CANopen_Tables(ImageBuffer::kCapacity - 100, buffer), ImageBuffer::kCapacity - 100);
    QCOMPARE(buffer.data[ImageBuffer::kCapacity - 1], quint8(0xAA));
}

QTEST_APPLESS_MAIN(TestDeviceImage)
#include "test_device_image.moc"
