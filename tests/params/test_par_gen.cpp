#include "params/par_gen.h"
#include "test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

// The document for the values of a new project with a few values changed, as written.
const QByteArray kExpectedDocument =
    "<Par_Gen>\n"
    "  <Eth_Conn_Device_Name>gw-01</Eth_Conn_Device_Name>\n"
    "  <Eth_Conn_DHCP_Cable>1</Eth_Conn_DHCP_Cable>\n"
    "  <Eth_Conn_DHCP_WiFi>0</Eth_Conn_DHCP_WiFi>\n"
    "  <Eth_Conn_Enable_DNS>0</Eth_Conn_Enable_DNS>\n"
    "  <Eth_Conn_Primary_DNS1>8</Eth_Conn_Primary_DNS1>\n"
    "  <Eth_Conn_Primary_DNS2>8</Eth_Conn_Primary_DNS2>\n"
    "  <Eth_Conn_Primary_DNS3>8</Eth_Conn_Primary_DNS3>\n"
    "  <Eth_Conn_Primary_DNS4>8</Eth_Conn_Primary_DNS4>\n"
    "  <Eth_Conn_Secondary_DNS1>8</Eth_Conn_Secondary_DNS1>\n"
    "  <Eth_Conn_Secondary_DNS2>8</Eth_Conn_Secondary_DNS2>\n"
    "  <Eth_Conn_Secondary_DNS3>4</Eth_Conn_Secondary_DNS3>\n"
    "  <Eth_Conn_Secondary_DNS4>4</Eth_Conn_Secondary_DNS4>\n"
    "  <LoRa_RF_Band>US915-Hybrid</LoRa_RF_Band>\n"
    "  <LoRa_Network_Type>Public</LoRa_Network_Type>\n"
    "  <LoRa_Adaptive_DataRate>1</LoRa_Adaptive_DataRate>\n"
    "  <LoRa_DataRate>3  - LoRa: SF7/125kHz 5470 [bit/s]</LoRa_DataRate>\n"
    "  <LoRa_Transmission_Type>Confirmed</LoRa_Transmission_Type>\n"
    "  <LoRa_Payload_Size>242</LoRa_Payload_Size>\n"
    "  <LoRa_Activation_Method>Over-the-Air Activation [OTAA]</LoRa_Activation_Method>\n"
    "  <LoRa_Device_Address>26011BDA</LoRa_Device_Address>\n"
    "  <LoRa_JoinEUI>70B3D57ED0000001</LoRa_JoinEUI>\n"
    "  <LoRa_Network_Session_Key></LoRa_Network_Session_Key>\n"
    "  <LoRa_Application_Session_Key>A1</LoRa_Application_Session_Key>\n"
    "  <LoRa_Application_Key>00112233445566778899AABBCCDDEEFF</LoRa_Application_Key>\n"
    "  <LoRa_FPort>Variable</LoRa_FPort>\n"
    "  <LoRa_Frequency_SubBand>2</LoRa_Frequency_SubBand>\n"
    "  <Ethernet_IP1>10</Ethernet_IP1>\n"
    "  <Ethernet_IP2>0</Ethernet_IP2>\n"
    "  <Ethernet_IP3>0</Ethernet_IP3>\n"
    "  <Ethernet_IP4>7</Ethernet_IP4>\n"
    "  <Ethernet_SM1>255</Ethernet_SM1>\n"
    "  <Ethernet_SM2>255</Ethernet_SM2>\n"
    "  <Ethernet_SM3>255</Ethernet_SM3>\n"
    "  <Ethernet_SM4>0</Ethernet_SM4>\n"
    "  <Ethernet_GAT1>192</Ethernet_GAT1>\n"
    "  <Ethernet_GAT2>168</Ethernet_GAT2>\n"
    "  <Ethernet_GAT3>0</Ethernet_GAT3>\n"
    "  <Ethernet_GAT4>1</Ethernet_GAT4>\n"
    "  <Ethernet_EN_GAT>1</Ethernet_EN_GAT>\n"
    "  <CANopen_IDDev>5</CANopen_IDDev>\n"
    "  <CANopen_BAUDRATE>8</CANopen_BAUDRATE>\n"
    "  <CANopen_Set_Operational>1</CANopen_Set_Operational>\n"
    "  <CANopen_Network_Start>1</CANopen_Network_Start>\n"
    "  <CANopen_Delay>300</CANopen_Delay>\n"
    "  <CANopen_SDO_TimeOut>10000</CANopen_SDO_TimeOut>\n"
    "</Par_Gen>\n"
    "<!--SW_VERSION = 1.000-->\n";

ParGen changedValues()
{
    ParGen v = ParGen::noFileDefaults();
    v.Eth_Conn_Device_Name = QStringLiteral("gw-01");
    v.Eth_Conn_DHCP_Cable = true;
    v.LoRa_RF_Band = QStringLiteral("US915-Hybrid");
    v.LoRa_Network_Type = QStringLiteral("Public");
    v.LoRa_Adaptive_DataRate = true;
    v.LoRa_DataRate = QStringLiteral("3  - LoRa: SF7/125kHz 5470 [bit/s]");
    v.LoRa_Transmission_Type = QStringLiteral("Confirmed");
    v.Set_Max_Payload_Size();
    v.LoRa_Activation_Method = QString::fromLatin1(kActivationOtaa);
    v.LoRa_Device_Address = QStringLiteral("26011BDA");
    v.LoRa_JoinEUI = QStringLiteral("70B3D57ED0000001");
    v.LoRa_Application_Session_Key = QStringLiteral("A1");
    v.LoRa_Application_Key = QStringLiteral("00112233445566778899AABBCCDDEEFF");
    v.LoRa_FPort = QStringLiteral("Variable");
    v.LoRa_Frequency_SubBand = QStringLiteral("2");
    v.Ethernet_IP1 = QStringLiteral("10");
    v.Ethernet_IP2 = QStringLiteral("0");
    v.Ethernet_IP4 = QStringLiteral("7");
    v.Ethernet_EN_GAT = true;
    v.CANopen_IDDev = QStringLiteral("5");
    v.CANopen_BAUDRATE = 8;
    v.CANopen_Set_Operational = true;
    v.CANopen_Network_Start = true;
    v.CANopen_Delay = QStringLiteral("300");
    return v;
}

} // namespace

class TestParGen : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); m_path = m_dir.filePath(QStringLiteral("ParGen.xml")); }
    void cleanup() { QFile::remove(m_path); }

    void savesTheExactDocument();
    void roundTrip();
    void noFileDefaults();
    void missingElementsTakeTheirDefaults();
    void listMatching_data();
    void listMatching();
    void baudRatePosition_data();
    void baudRatePosition();
    void wiFiDhcpIsAlwaysOff();
    void storedPayloadIsRecomputed();
    void plainTextIsTakenUnchanged();
    void malformedFileLoadsNothing();
    void failedWriteKeepsTheOldFile();

private:
    ParGen loadFrom(const QByteArray &content)
    {
        if (!writeFile(m_path, content))
            qFatal("cannot write the fixture");
        const ParGenLoad load = loadParGen(m_path);
        if (load.status != ParGenLoad::Status::Loaded)
            qWarning() << "not loaded:" << load.error;
        return load.values;
    }

    QTemporaryDir m_dir;
    QString m_path;
};

void TestParGen::savesTheExactDocument()
{
    QVERIFY(!saveParGen(m_path, changedValues()));
    QCOMPARE(readFile(m_path), kExpectedDocument);
    QCOMPARE(parGenElementNames().size(), 45);
}

void TestParGen::roundTrip()
{
    QVERIFY(writeFile(m_path, kExpectedDocument));
    const ParGenLoad load = loadParGen(m_path);
    QCOMPARE(load.status, ParGenLoad::Status::Loaded);
    QCOMPARE(load.values, changedValues());
    QVERIFY(!saveParGen(m_path, load.values));
    QCOMPARE(readFile(m_path), kExpectedDocument);
}

void TestParGen::noFileDefaults()
{
    const ParGenLoad load = loadParGen(m_path);
    QCOMPARE(load.status, ParGenLoad::Status::Missing);
    const ParGen &v = load.values;
    QCOMPARE(v.LoRa_RF_Band, QStringLiteral("AS923"));
    QCOMPARE(v.LoRa_DataRate, QStringLiteral("6\t- LoRa: SF7/250kHz 11000 [bit/s]"));
    QCOMPARE(v.LoRa_Payload_Size, QStringLiteral("230"));
    QCOMPARE(v.LoRa_Activation_Method, QStringLiteral("Activation by Personalization [ABP]"));
    QCOMPARE(v.Ethernet_IP1 + '.' + v.Ethernet_IP2 + '.' + v.Ethernet_IP3 + '.' + v.Ethernet_IP4,
             QStringLiteral("192.168.0.10"));
    QCOMPARE(v.Eth_Conn_Secondary_DNS1 + v.Eth_Conn_Secondary_DNS2 + v.Eth_Conn_Secondary_DNS3
                 + v.Eth_Conn_Secondary_DNS4,
             QStringLiteral("8844"));
    QCOMPARE(v.CANopen_BAUDRATE, 5);
    QCOMPARE(v.CANopen_SDO_TimeOut, QStringLiteral("10000"));
}

void TestParGen::missingElementsTakeTheirDefaults()
{
    // An empty root: every value falls back to its default, the data rate to the band's first
    // entry (not the no-file entry 6).
    const ParGen v = loadFrom("<Par_Gen/>");
    ParGen expected;
    expected.LoRa_DataRate = QStringLiteral("0\t- LoRa: SF12/125kHz 250 [bit/s]");
    expected.LoRa_Payload_Size = QStringLiteral("59");
    QCOMPARE(v, expected);

    // Another root name is read all the same; one element does not disturb the others.
    const ParGen other = loadFrom("<Other><LoRa_RF_Band>KR920</LoRa_RF_Band>"
                                  "<CANopen_IDDev>9</CANopen_IDDev></Other>");
    QCOMPARE(other.LoRa_RF_Band, QStringLiteral("KR920"));
    QCOMPARE(other.LoRa_DataRate, QStringLiteral("0 - LoRa: SF12/125kHz 250 [bit/s]"));
    QCOMPARE(other.LoRa_Payload_Size, QStringLiteral("51"));
    QCOMPARE(other.CANopen_IDDev, QStringLiteral("9"));
    QCOMPARE(other.Ethernet_IP4, QStringLiteral("10"));
}

void TestParGen::listMatching_data()
{
    QTest::addColumn<QByteArray>("elements");
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("dataRate");
    QTest::addColumn<QString>("other"); // activation | port | sub-band | network type
    QTest::addColumn<QString>("payload");

    QTest::newRow("band in lower case")
        << QByteArray("<LoRa_RF_Band>us915-hybrid</LoRa_RF_Band>"
                      "<LoRa_DataRate>9  - LoRa: SF11/500kHz 1760 [bit/s]</LoRa_DataRate>")
        << "US915-Hybrid" << "9  - LoRa: SF11/500kHz 1760 [bit/s]"
        << "Activation by Personalization [ABP]|Fixed|1|Private" << "109";
    QTest::newRow("unknown band")
        << QByteArray("<LoRa_RF_Band>XX999</LoRa_RF_Band>"
                      "<LoRa_DataRate>0\t- LoRa: SF12/125kHz 250 [bit/s]</LoRa_DataRate>")
        << "" << "" << "Activation by Personalization [ABP]|Fixed|1|Private" << "0";
    QTest::newRow("EU868 data rate with spaces for the TAB")
        << QByteArray("<LoRa_RF_Band>EU868</LoRa_RF_Band>"
                      "<LoRa_DataRate>5 -    LoRa: SF7/125kHz 5470 [bit/s]</LoRa_DataRate>")
        << "EU868" << "0 -\tLoRa: SF12/125kHz 250 [bit/s]"
        << "Activation by Personalization [ABP]|Fixed|1|Private" << "51";
    QTest::newRow("data rate in other case")
        << QByteArray("<LoRa_RF_Band>AU915</LoRa_RF_Band>"
                      "<LoRa_DataRate>8  - LORA: sf12/500KHZ 980 [BIT/S]</LoRa_DataRate>")
        << "AU915" << "8  - LoRa: SF12/500kHz 980 [bit/s]"
        << "Activation by Personalization [ABP]|Fixed|1|Private" << "33";
    QTest::newRow("lists in other case")
        << QByteArray("<LoRa_Activation_Method>over-the-air activation [otaa]"
                      "</LoRa_Activation_Method><LoRa_FPort>VARIABLE</LoRa_FPort>"
                      "<LoRa_Frequency_SubBand>8</LoRa_Frequency_SubBand>"
                      "<LoRa_Network_Type>public</LoRa_Network_Type>")
        << "AS923" << "0\t- LoRa: SF12/125kHz 250 [bit/s]"
        << "Over-the-Air Activation [OTAA]|Variable|8|Public" << "59";
    QTest::newRow("unmatched lists are left empty")
        << QByteArray("<LoRa_Activation_Method>ABP</LoRa_Activation_Method>"
                      "<LoRa_FPort> Fixed</LoRa_FPort>"
                      "<LoRa_Frequency_SubBand>9</LoRa_Frequency_SubBand>"
                      "<LoRa_Network_Type></LoRa_Network_Type>")
        << "AS923" << "0\t- LoRa: SF12/125kHz 250 [bit/s]" << "|||" << "59";
}

void TestParGen::listMatching()
{
    QFETCH(QByteArray, elements);
    QFETCH(QString, band);
    QFETCH(QString, dataRate);
    QFETCH(QString, other);
    QFETCH(QString, payload);

    const ParGen v = loadFrom("<Par_Gen>" + elements + "</Par_Gen>");
    QCOMPARE(v.LoRa_RF_Band, band);
    QCOMPARE(v.LoRa_DataRate, dataRate);
    QCOMPARE(QStringList({v.LoRa_Activation_Method, v.LoRa_FPort, v.LoRa_Frequency_SubBand,
                          v.LoRa_Network_Type})
                 .join(u'|'),
             other);
    QCOMPARE(v.LoRa_Payload_Size, payload);
}

void TestParGen::baudRatePosition_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("position");
    QTest::newRow("letters") << QByteArray("abc") << 5;
    QTest::newRow("empty") << QByteArray("") << 5;
    QTest::newRow("8") << QByteArray("8") << 8;
    QTest::newRow("9, the empty entry") << QByteArray("9") << 9;
    QTest::newRow("hexadecimal") << QByteArray("$3") << 3;
    QTest::newRow("outside the list") << QByteArray("10") << -1;
    QTest::newRow("negative") << QByteArray("-2") << -1;
}

void TestParGen::baudRatePosition()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, position);
    const ParGen v = loadFrom("<Par_Gen><CANopen_BAUDRATE>" + stored + "</CANopen_BAUDRATE></Par_Gen>");
    QCOMPARE(v.CANopen_BAUDRATE, position);
    QVERIFY(parGenDocument(v).contains("<CANopen_BAUDRATE>" + QByteArray::number(position) + "<"));
}

void TestParGen::wiFiDhcpIsAlwaysOff()
{
    const ParGen v = loadFrom("<Par_Gen><Eth_Conn_DHCP_WiFi>1</Eth_Conn_DHCP_WiFi>"
                              "<Eth_Conn_DHCP_Cable>1</Eth_Conn_DHCP_Cable>"
                              "<Eth_Conn_Enable_DNS>yes</Eth_Conn_Enable_DNS></Par_Gen>");
    QVERIFY(!v.Eth_Conn_DHCP_WiFi);
    QVERIFY(v.Eth_Conn_DHCP_Cable);
    QVERIFY(!v.Eth_Conn_Enable_DNS); // only exactly "1" is on
    QVERIFY(parGenDocument(v).contains("<Eth_Conn_DHCP_WiFi>0</Eth_Conn_DHCP_WiFi>"));
}

void TestParGen::storedPayloadIsRecomputed()
{
    const ParGen v = loadFrom("<Par_Gen><LoRa_RF_Band>US915</LoRa_RF_Band>"
                              "<LoRa_DataRate>0  -\tLoRa: SF10/125kHz 980 [bit/s]</LoRa_DataRate>"
                              "<LoRa_Payload_Size>200</LoRa_Payload_Size></Par_Gen>");
    QCOMPARE(v.LoRa_Payload_Size, QStringLiteral("11"));
    QVERIFY(parGenDocument(v).contains("<LoRa_Payload_Size>11</LoRa_Payload_Size>"));
}

void TestParGen::plainTextIsTakenUnchanged()
{
    const QString huge(100000, u'7');
    const ParGen v = loadFrom("<Par_Gen><Eth_Conn_Device_Name>  Ger\xc3\xa4t &amp; &lt;1&gt; "
                              "</Eth_Conn_Device_Name><Ethernet_IP1>"
                              + huge.toLatin1() + "</Ethernet_IP1><CANopen_Delay></CANopen_Delay>"
                              "</Par_Gen>");
    QCOMPARE(v.Eth_Conn_Device_Name, QStringLiteral("  Ger\u00e4t & <1> "));
    QCOMPARE(v.Ethernet_IP1, huge);
    QCOMPARE(v.CANopen_Delay, QString());

    // Whatever the fields hold is written back so that it reads the same.
    QVERIFY(!saveParGen(m_path, v));
    QCOMPARE(loadParGen(m_path).values, v);
}

void TestParGen::malformedFileLoadsNothing()
{
    const QByteArray broken = "<Par_Gen><LoRa_RF_Band>EU868</LoRa_RF_Band><Par_Gen>";
    QVERIFY(writeFile(m_path, broken));
    const ParGenLoad load = loadParGen(m_path);
    QCOMPARE(load.status, ParGenLoad::Status::Failed);
    QVERIFY(!load.error.isEmpty());
    QCOMPARE(load.values, ParGen::noFileDefaults());
    QCOMPARE(readFile(m_path), broken);
}

void TestParGen::failedWriteKeepsTheOldFile()
{
    // A folder in the file's place cannot be replaced.
    const QString path = m_dir.filePath(QStringLiteral("Blocked/ParGen.xml"));
    QVERIFY(QDir().mkpath(path));
    const std::optional<QString> reason = saveParGen(path, changedValues());
    QVERIFY(reason);
    QVERIFY(!reason->isEmpty());
    QVERIFY(QFileInfo(path).isDir());
}

QTEST_APPLESS_MAIN(TestParGen)
#include "test_par_gen.moc"
