#include "app/app_state.h"

#include "common/xml_file.h"

#include <QDir>
#include <QXmlStreamWriter>

namespace swz {

Workspace Workspace::beside(const QString &executableFolder)
{
    Workspace w;
    w.executableFolder = QDir::cleanPath(executableFolder);
    const QDir base(w.executableFolder);
    w.masterFolder = QDir::toNativeSeparators(base.filePath(QStringLiteral("MASTER")));
    w.projectsFolder = QDir::toNativeSeparators(base.filePath(QStringLiteral("PROJECTS")));
    w.languageFolder = QDir::toNativeSeparators(base.filePath(QStringLiteral("LANGUAGE")));
    w.executableFolder = QDir::toNativeSeparators(w.executableFolder);
    return w;
}

QString Workspace::settingsFile() const
{
    return QDir::toNativeSeparators(QDir(executableFolder).filePath(QStringLiteral("Corvane.xml")));
}

void Workspace::createFolders() const
{
    for (const QString &folder : {masterFolder, projectsFolder, languageFolder}) {
        QDir dir(folder);
        if (!dir.exists())
            QDir().mkdir(folder);
    }
}

namespace {

// The text of container/value below the root, or nothing when either is missing.
std::optional<QString> settingValue(const QDomElement &root, const QString &container,
                                    const QString &value)
{
    const QDomElement element = childElement(childElement(root, container), value);
    if (element.isNull())
        return std::nullopt;
    return element.text();
}

bool settingSwitch(const QDomElement &root, const QString &name)
{
    return settingValue(root, QStringLiteral("lastinternet"), name) == QStringLiteral("1");
}

} // namespace

AppState readSettings(const QString &path)
{
    AppState state;
    const XmlLoad xml = loadXmlFile(path);
    if (!xml.loaded())
        return state;
    const QDomElement root = xml.root();

    state.projectName = settingValue(root, QStringLiteral("lastproj"), QStringLiteral("projectname"))
                            .value_or(QString());
    state.deviceAddress = settingValue(root, QStringLiteral("lastipadd"), QStringLiteral("ipaddress"))
                              .value_or(kDefaultDeviceAddress);
    state.language = settingValue(root, QStringLiteral("lastlang"), QStringLiteral("language"))
                         .value_or(QStringLiteral("English"));
    state.enable_internet = settingSwitch(root, QStringLiteral("enable_internet"));
    state.enable_update = settingSwitch(root, QStringLiteral("enable_update"));
    state.enable_jump_field_tables = settingSwitch(root, QStringLiteral("enable_jump_field_tables"));
    state.Double_Click_Auto_Size = settingSwitch(root, QStringLiteral("Double_Click_Auto_Size"));
    return state;
}

QByteArray settingsDocument(const AppState &state)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("Conf_Settings"));

    auto container = [&xml](const QString &name, const QString &valueName, const QString &value) {
        xml.writeStartElement(name);
        xml.writeTextElement(valueName, value);
        xml.writeEndElement();
    };
    auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };

    container(QStringLiteral("lastproj"), QStringLiteral("projectname"), state.projectName);
    container(QStringLiteral("lastipadd"), QStringLiteral("ipaddress"), state.deviceAddress);
    container(QStringLiteral("lastlang"), QStringLiteral("language"), state.language);

    xml.writeStartElement(QStringLiteral("lastinternet"));
    xml.writeTextElement(QStringLiteral("enable_internet"), flag(state.enable_internet));
    xml.writeTextElement(QStringLiteral("enable_update"), flag(state.enable_update));
    xml.writeTextElement(QStringLiteral("enable_jump_field_tables"),
                         flag(state.enable_jump_field_tables));
    xml.writeTextElement(QStringLiteral("Double_Click_Auto_Size"),
                         flag(state.Double_Click_Auto_Size));
    xml.writeEndElement();

    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

std::optional<QString> saveSettings(const QString &path, const AppState &state)
{
    return saveFileAtomically(path, settingsDocument(state));
}

} // namespace swz
