#include "update/update_job.h"

#include "app/model_profile.h"
#include "common/xml_file.h"
#include "lang/text_table.h"

#include <QDir>
#include <QXmlStreamWriter>

namespace swz {

namespace {

// One transfer of the updater; the fields that differ between firmware and the two banks.
struct Operation
{
    QString fileName;
    const char *startAddress;
    const char *bankType;
    const char *writeCss;
    const char *writeInternalData;
    bool goToAppAfter;
};

void writeOperation(QXmlStreamWriter &xml, const Operation &op, bool readBack)
{
    auto text = [&xml](const char *name, const QString &value) {
        xml.writeTextElement(QString::fromLatin1(name), value);
    };
    auto latin = [&text](const char *name, const char *value) {
        text(name, QString::fromLatin1(value));
    };
    xml.writeStartElement(QStringLiteral("Operation"));
    latin("Ope_Protection_Enabled", "");
    latin("Ope_GoToBoot_Before", "0");
    latin("Ope_GoToApp_Before", "0");
    latin("Ope_IP_Address", "");
    latin("Ope_Port", "2008");
    latin("Ope_Port_Sec", "2007");
    latin("Ope_Erase_Memory", "0");
    text("Ope_FileName", op.fileName);
    latin("Ope_Start_Address", op.startAddress);
    latin("Ope_Memory_Type", "0");
    latin("Ope_Bank_Type", op.bankType);
    latin("Ope_Read_Back", readBack ? "1" : "0");
    latin("Ope_Write_CSS", op.writeCss);
    latin("Ope_Address_CSS", "0x07A00");
    latin("Ope_Command_CSS", "0x02");
    latin("Ope_Write_Internal_Data", op.writeInternalData);
    latin("Ope_WID_Address", "0x07810");
    latin("Ope_WID_Command", "0x02");
    latin("Ope_WID_Data", "0x00, 0x00, 0x00, 0x01");
    latin("Ope_GoToApp_After", op.goToAppAfter ? "1" : "0");
    xml.writeEndElement();
}

QString inFolder(const QString &folder, std::initializer_list<const char *> names)
{
    QString path = folder;
    for (const char *name : names)
        path += QDir::separator() + QString::fromLatin1(name);
    return path;
}

} // namespace

QString UpdateRequest::address() const
{
    return addressFields[0] + u'.' + addressFields[1] + u'.' + addressFields[2] + u'.'
           + addressFields[3];
}

QByteArray Compile_XML_Parameter_New_Boot(const UpdateRequest &request, const QString &masterFolder,
                                          const QString &projectFolder)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("Ethernet_Update"));
    xml.writeTextElement(QStringLiteral("Version"), QStringLiteral("1000"));
    xml.writeTextElement(QStringLiteral("Title"), profile::makerWebAddress + QStringLiteral(" - ")
                                                      + profile::softwareCode
                                                      + QStringLiteral(" Ethernet Update"));
    xml.writeTextElement(QStringLiteral("IP_Address_Dev"), request.address());
    xml.writeTextElement(QStringLiteral("Application_Port"), QStringLiteral("10000"));
    xml.writeTextElement(QStringLiteral("Boot_Port"), QStringLiteral("2008"));
    xml.writeTextElement(QStringLiteral("Boot_Port_Sec"), QStringLiteral("2007"));
    xml.writeTextElement(QStringLiteral("Address_Protection"), QStringLiteral("0x07800"));
    xml.writeStartElement(QStringLiteral("Protections"));
    xml.writeTextElement(QStringLiteral("Protection"), QStringLiteral("0x5E3"));
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("Operations"));
    const UpdateOption option = request.option;
    if (option != UpdateOption::Configuration) {
        // Firmware alone must itself start the application afterwards.
        writeOperation(xml,
                       {inFolder(masterFolder, {"SimZ8K20.sim"}), "0x8000", "1", "1", "0",
                        option == UpdateOption::Firmware},
                       request.readBack);
    }
    if (option != UpdateOption::Firmware) {
        writeOperation(xml,
                       {inFolder(projectFolder, {"bin", "bank1.bin"}), "0x07000", "2", "0", "1",
                        false},
                       request.readBack);
        writeOperation(xml,
                       {inFolder(projectFolder, {"bin", "bank2.bin"}), "0x80000", "2", "0", "0",
                        true},
                       request.readBack);
    }
    xml.writeEndElement(); // Operations

    xml.writeEndElement(); // Ethernet_Update
    xml.writeEndDocument();
    return out;
}

QString updateJobPath(const QString &executableFolder)
{
    return inFolder(executableFolder, {"Ethernet_Update.xml"});
}

QString updaterPath(const QString &executableFolder)
{
#ifdef Q_OS_WIN
    return inFolder(executableFolder, {"Ethernet_Update.exe"});
#else
    return inFolder(executableFolder, {"Ethernet_Update"});
#endif
}

std::optional<QString> saveUpdateJob(const QString &path, const QByteArray &document)
{
    if (const std::optional<QString> reason = saveFileAtomically(path, document))
        return uiText(kTextCannotWriteFile) + path + QStringLiteral("\n") + *reason;
    return std::nullopt;
}

} // namespace swz
