// Compile and save of a maximal project, and the EDS of the same project, next to only
// parsing its section files with the same XML reader. Run: build/bin/bench_image_compile
#include "canopen/eds_file.h"
#include "common/xml_file.h"
#include "image/device_image.h"
#include "lang/text_table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace swz;

namespace {

void write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray rows(int count, const QByteArray &row)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += "    " + row + '\n';
    return out;
}

// Every table and list filled to capacity, every element of ParGen.xml present.
class MaximalProject
{
public:
    MaximalProject()
    {
        folder = dir.filePath("Max");
        QDir().mkpath(folder + "/bin");
        files = ProjectFiles::of(folder);
        QByteArray parGen = "<Par_Gen>\n";
        auto element = [&parGen](const char *name, const QByteArray &value) {
            parGen += QByteArray("  <") + name + '>' + value + "</" + name + ">\n";
        };
        element("Eth_Conn_Device_Name", "Gateway-Hall-3-Line-7-Position-");
        element("Eth_Conn_DHCP_Cable", "1");
        element("Eth_Conn_DHCP_WiFi", "0");
        element("Eth_Conn_Enable_DNS", "1");
        for (int i = 1; i <= 4; ++i) {
            element(("Eth_Conn_Primary_DNS" + QByteArray::number(i)).constData(), "8");
            element(("Eth_Conn_Secondary_DNS" + QByteArray::number(i)).constData(), "4");
        }
        element("LoRa_RF_Band", "EU868");
        element("LoRa_Network_Type", "Public");
        element("LoRa_Adaptive_DataRate", "1");
        element("LoRa_DataRate", "5\t- LoRa: SF7/125kHz 5470 [bit/s]");
        element("LoRa_Transmission_Type", "Confirmed");
        element("LoRa_Payload_Size", "222");
        element("LoRa_Activation_Method", "Activation by Personalization [ABP]");
        element("LoRa_Device_Address", "260B1A2C");
        element("LoRa_JoinEUI", "70B3D57ED0001234");
        element("LoRa_Network_Session_Key", "000102030405060708090A0B0C0D0E0F");
        element("LoRa_Application_Session_Key", "F0E0D0C0B0A090807060504030201000");
        element("LoRa_Application_Key", "11111111111111111111111111111111");
        element("LoRa_FPort", "Variable");
        element("LoRa_Frequency_SubBand", "2");
        element("LoRa_Transmit_Interval", "60");
        for (int i = 1; i <= 4; ++i) {
            element(("Ethernet_IP" + QByteArray::number(i)).constData(), "10");
            element(("Ethernet_SM" + QByteArray::number(i)).constData(), "255");
            element(("Ethernet_GAT" + QByteArray::number(i)).constData(), "1");
        }
        element("Ethernet_EN_GAT", "1");
        element("CANopen_IDDev", "5");
        element("CANopen_BAUDRATE", "6");
        element("CANopen_Set_Operational", "1");
        element("CANopen_Network_Start", "1");
        element("CANopen_Delay", "3");
        element("CANopen_SDO_TimeOut", "20000");
        parGen += "</Par_Gen>\n<!--SW_VERSION = 1.000-->\n";
        write(files.parGen, parGen);

        const QByteArray uplink = "<row Enable=\"Y\" StartByte=\"100\" NumByte=\"20\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"Y\" Time=\"60\" FPort=\"10\" Mnemonic=\"Uplink rule\"/>";
        const QByteArray downlink = "<row Enable=\"Y\" StartByte=\"200\" NumByte=\"4\" FPort=\"7\" Mnemonic=\"Downlink rule\"/>";
        write(files.loRaWanAccess, "<LoRaWAN_Set_Access>\n  <LoRaWAN_Uplink>\n" + rows(256, uplink)
                                       + "  </LoRaWAN_Uplink>\n  <LoRaWAN_Downlink>\n" + rows(256, downlink)
                                       + "  </LoRaWAN_Downlink>\n</LoRaWAN_Set_Access>\n<!--SW_VERSION = 1.000-->\n");
        const QByteArray server = "<row Index=\"0x2000\" SubIndex=\"1\" NByte=\"4\" Address_B1=\"10\" Address_B2=\"11\" Address_B3=\"12\" Address_B4=\"13\" Mnemonic=\"Server rule\"/>";
        write(files.sdoServer, "<SDO_Server_CANopen>\n  <SDO_Read>\n" + rows(512, server) + "  </SDO_Read>\n  <SDO_Write>\n"
                                   + rows(512, server) + "  </SDO_Write>\n</SDO_Server_CANopen>\n<!--SW_VERSION = 1.000-->\n");
        const QByteArray clientRead = "<row Device_ID=\"3\" Index=\"0x6000\" SubIndex=\"1\" NByte=\"4\" Poll_Time=\"500\" Address_B1=\"30\" Address_B2=\"31\" Address_B3=\"32\" Address_B4=\"33\" Mnemonic=\"Client read\"/>";
        const QByteArray clientWrite = "<row Device_ID=\"4\" Index=\"0x6200\" SubIndex=\"2\" NByte=\"4\" Poll_Time=\"1000\" On_Change=\"Y\" Address_B1=\"40\" Address_B2=\"41\" Address_B3=\"42\" Address_B4=\"43\" Mnemonic=\"Client write\"/>";
        write(files.sdoClient, "<SDO_Client_CANopen>\n  <SDO_Read>\n" + rows(256, clientRead) + "  </SDO_Read>\n  <SDO_Write>\n"
                                   + rows(256, clientWrite) + "  </SDO_Write>\n</SDO_Client_CANopen>\n<!--SW_VERSION = 1.000-->\n");
        const QByteArray receive = "<row COB-ID=\"0x181\" Dimension=\"8\" Address_B1=\"0\" Address_B2=\"1\" Address_B3=\"2\" Address_B4=\"3\" Address_B5=\"4\" Address_B6=\"5\" Address_B7=\"6\" Address_B8=\"7\" TimeOut=\"100\" Mnemonic=\"Receive\"/>";
        const QByteArray transmit = "<row COB-ID=\"0x201\" Dimension=\"8\" Address_B1=\"50\" Address_B2=\"51\" Address_B3=\"52\" Address_B4=\"53\" Address_B5=\"54\" Address_B6=\"55\" Address_B7=\"56\" Address_B8=\"57\" Send_Time=\"250\" On_Change=\"N\" Mnemonic=\"Transmit\"/>";
        write(files.pdo, "<PDO_CANopen>\n  <Receive_PDO>\n" + rows(128, receive) + "  </Receive_PDO>\n  <Transmit_PDO>\n"
                             + rows(128, transmit) + "  </Transmit_PDO>\n</PDO_CANopen>\n<!--SW_VERSION = 1.000-->\n");
    }

    QTemporaryDir dir;
    QString folder;
    ProjectFiles files;
};

MaximalProject &project()
{
    static MaximalProject p;
    return p;
}

void BM_ParseOnly(benchmark::State &state)
{
    const ProjectFiles &f = project().files;
    for (auto _ : state) {
        for (const QString *path : {&f.parGen, &f.sdoServer, &f.sdoClient, &f.pdo, &f.loRaWanAccess}) {
            XmlLoad xml = loadXmlFile(*path);
            benchmark::DoNotOptimize(xml.status);
        }
    }
}
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond);

void BM_Compile(benchmark::State &state)
{
    image::DeviceImageCompiler compiler;
    for (auto _ : state) {
        const image::CompileResult result = compiler.Compile_Device_Image(project().files);
        if (!result.ok)
            state.SkipWithError(qPrintable(result.error));
    }
}
BENCHMARK(BM_Compile)->Unit(benchmark::kMillisecond);

void BM_CompileAndSave(benchmark::State &state)
{
    image::DeviceImageCompiler compiler;
    for (auto _ : state) {
        if (!compiler.Compile_Device_Image(project().files).ok)
            state.SkipWithError("compile failed");
        if (compiler.Save_Device_Image(project().files.binFolder))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_CompileAndSave)->Unit(benchmark::kMillisecond);

// The data sheet of the maximal project (512 + 512 SDO server rules, 30 + 30 PDOs), built in
// memory and written to a file.
void BM_EdsText(benchmark::State &state)
{
    const EdsClock clock = [] { return QDateTime(QDate(2026, 1, 2), QTime(9, 30)); };
    const QString path = project().folder + "/Max.eds";
    for (auto _ : state) {
        EdsGenerator generator(project().files, clock);
        QByteArray text;
        if (generator.buildText(path, text))
            state.SkipWithError("EDS failed");
        benchmark::DoNotOptimize(text.size());
    }
}
BENCHMARK(BM_EdsText)->Unit(benchmark::kMillisecond);

void BM_EdsWrite(benchmark::State &state)
{
    const EdsClock clock = [] { return QDateTime(QDate(2026, 1, 2), QTime(9, 30)); };
    const QString path = project().folder + "/Max.eds";
    for (auto _ : state) {
        EdsGenerator generator(project().files, clock);
        if (generator.Write_EDS_File(path))
            state.SkipWithError("EDS failed");
    }
}
BENCHMARK(BM_EdsWrite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    uiTexts().loadBuiltin();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
