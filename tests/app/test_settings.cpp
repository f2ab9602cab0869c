#include "app/app_state.h"
#include "app/shell.h"
#include "common/xml_file.h"
#include "lang/text_table.h"
#include "test_support.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

QByteArray settingsXml(const QByteArray &body)
{
    return "<Conf_Settings>" + body + "</Conf_Settings>";
}

const QByteArray kFullBody =
    "<lastproj><projectname>Plant</projectname></lastproj>"
    "<lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd>"
    "<lastlang><language>Italiano</language></lastlang>"
    "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
    "<enable_jump_field_tables>1</enable_jump_field_tables>"
    "<Double_Click_Auto_Size>1</Double_Click_Auto_Size></lastinternet>";

// Makes a folder unwritable for the test's lifetime: by its permissions, or, for root, whom
// permissions do not stop, by the immutable attribute where the machine allows it.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &folder)
        : m_folder(folder)
    {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        if (!writable()) {
            m_effective = true;
            return;
        }
        m_immutable = QProcess::execute("chattr", {"+i", folder}) == 0;
        m_effective = m_immutable && !writable();
    }
    ~ReadOnlyFolder()
    {
        if (m_immutable)
            QProcess::execute("chattr", {"-i", m_folder});
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool effective() const { return m_effective; }

private:
    bool writable() const
    {
        QFile probe(m_folder + "/probe");
        const bool ok = probe.open(QIODevice::WriteOnly);
        if (ok)
            probe.remove();
        return ok;
    }

    QString m_folder;
    bool m_immutable = false;
    bool m_effective = false;
};

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void writtenDocumentIsExact();
    void writeReadRoundTrip();
    void failedSaveReportsFileAndReason();
    void failedSaveKeepsOldFile();
    void firstStartCreatesFoldersAndDefaults();
    void startupReopensLastProject();
    void startupWithVanishedProjectKeepsName();
    void startupWithUnsafeRememberedName();
    void startupWithMissingLanguage();
    void startupWithMalformedSettings();
};

void TestSettings::reading_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("switches");

    const QString def = kDefaultDeviceAddress;
    QTest::newRow("no file") << QByteArray() << "" << def << "English" << false;
    QTest::newRow("all values") << settingsXml(kFullBody) << "Plant" << "10.0.0.7" << "Italiano"
                                << true;
    QTest::newRow("any root name, declaration")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Other>" + kFullBody + "</Other>"
        << "Plant" << "10.0.0.7" << "Italiano" << true;
    QTest::newRow("empty root") << settingsXml("") << "" << def << "English" << false;
    QTest::newRow("malformed") << QByteArray("<Conf_Settings><lastproj>") << "" << def
                               << "English" << false;
    QTest::newRow("switch word true")
        << settingsXml("<lastinternet><enable_internet>true</enable_internet>"
                       "<enable_update>true</enable_update>"
                       "<enable_jump_field_tables>true</enable_jump_field_tables>"
                       "<Double_Click_Auto_Size>true</Double_Click_Auto_Size></lastinternet>")
        << "" << def << "English" << false;
    QTest::newRow("switch blank then 1")
        << settingsXml("<lastinternet><enable_internet> 1</enable_internet>"
                       "<enable_update>1 </enable_update>"
                       "<enable_jump_field_tables>01</enable_jump_field_tables>"
                       "<Double_Click_Auto_Size></Double_Click_Auto_Size></lastinternet>")
        << "" << def << "English" << false;
    QTest::newRow("empty address and language")
        << settingsXml("<lastipadd><ipaddress></ipaddress></lastipadd>"
                       "<lastlang><language/></lastlang>")
        << "" << "" << "" << false;
    QTest::newRow("value outside its container")
        << settingsXml("<projectname>Plant</projectname><ipaddress>1.2.3.4</ipaddress>")
        << "" << def << "English" << false;
    QTest::newRow("address kept untrimmed")
        << settingsXml("<lastipadd><ipaddress> 10.0.0.1 </ipaddress></lastipadd>") << ""
        << " 10.0.0.1 " << "English" << false;
    QByteArray noInternet = kFullBody;
    noInternet.truncate(noInternet.indexOf("<lastinternet>"));
    QTest::newRow("lastinternet missing") << settingsXml(noInternet) << "Plant" << "10.0.0.7"
                                          << "Italiano" << false;
}

void TestSettings::reading()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, project);
    QFETCH(QString, address);
    QFETCH(QString, language);
    QFETCH(bool, switches);

    QTemporaryDir dir;
    const QString path = dir.filePath("Corvane.xml");
    if (!content.isEmpty())
        QVERIFY(writeFile(path, content));
    const AppState state = readSettings(path);
    QCOMPARE(state.projectName, project);
    QVERIFY(state.projectFolder.isEmpty());
    QCOMPARE(state.deviceAddress, address);
    QCOMPARE(state.language, language);
    QCOMPARE(state.enable_internet, switches);
    QCOMPARE(state.enable_update, switches);
    QCOMPARE(state.enable_jump_field_tables, switches);
    QCOMPARE(state.Double_Click_Auto_Size, switches);
}

void TestSettings::writtenDocumentIsExact()
{
    AppState state;
    state.projectName = "Plant";
    state.enable_update = true;
    state.Double_Click_Auto_Size = true;
    const QByteArray expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<Conf_Settings>\n"
                                "    <lastproj>\n"
                                "        <projectname>Plant</projectname>\n"
                                "    </lastproj>\n"
                                "    <lastipadd>\n"
                                "        <ipaddress>192.168.2.205</ipaddress>\n"
                                "    </lastipadd>\n"
                                "    <lastlang>\n"
                                "        <language>English</language>\n"
                                "    </lastlang>\n"
                                "    <lastinternet>\n"
                                "        <enable_internet>0</enable_internet>\n"
                                "        <enable_update>1</enable_update>\n"
                                "        <enable_jump_field_tables>0</enable_jump_field_tables>\n"
                                "        <Double_Click_Auto_Size>1</Double_Click_Auto_Size>\n"
                                "    </lastinternet>\n"
                                "</Conf_Settings>\n";
    QCOMPARE(settingsDocument(state), expected);
}

void TestSettings::writeReadRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Corvane.xml");
    QVERIFY(writeFile(path, settingsXml(kFullBody + "<extra>dropped</extra>")));
    AppState state;
    state.projectName = QString::fromUtf8("Anlage <1> & \xc3\xbc");
    state.projectFolder = "ignored";
    state.deviceAddress = "10.1.2.3";
    state.language = "Deutsch";
    state.enable_internet = true;
    state.enable_jump_field_tables = true;
    QCOMPARE(saveSettings(path, state), std::nullopt);
    QVERIFY(!readFile(path).contains("extra"));

    AppState expected = state;
    expected.projectFolder.clear();
    QCOMPARE(readSettings(path), expected);
}

void TestSettings::failedSaveReportsFileAndReason()
{
    QTemporaryDir dir;
    Shell shell;
    runStartup(shell, dir.path());
    // A folder in the way of the settings file: the message names the file and the reason.
    QVERIFY(QDir().mkdir(shell.workspace.settingsFile()));
    const std::optional<QString> failure = Save_Setting(shell);
    QVERIFY(failure.has_value());
    const QString head = uiText(kTextCannotWriteFile) + shell.workspace.settingsFile() + "\n";
    QVERIFY2(failure->startsWith(head), qPrintable(*failure));
    QVERIFY(failure->size() > head.size());
    QVERIFY(QFileInfo(shell.workspace.settingsFile()).isDir());
}

void TestSettings::failedSaveKeepsOldFile()
{
    QTemporaryDir dir;
    Shell shell;
    runStartup(shell, dir.path());
    const QString path = shell.workspace.settingsFile();
    QVERIFY(writeFile(path, "old settings"));
    ReadOnlyFolder readOnly(dir.path());
    if (!readOnly.effective())
        QSKIP("this machine offers no way to make a folder unwritable");
    const std::optional<QString> failure = Save_Setting(shell);
    QVERIFY(failure.has_value());
    QVERIFY2(failure->contains(path), qPrintable(*failure));
    QCOMPARE(readFile(path), QByteArray("old settings"));
}

void TestSettings::firstStartCreatesFoldersAndDefaults()
{
    QTemporaryDir dir;
    Shell shell;
    runStartup(shell, dir.path());
    for (const char *folder : {"MASTER", "PROJECTS", "LANGUAGE"})
        QVERIFY2(QFileInfo(dir.filePath(folder)).isDir(), folder);
    QCOMPARE(shell.workspace.projectsFolder, QDir::toNativeSeparators(dir.filePath("PROJECTS")));
    QVERIFY(!QFile::exists(shell.workspace.settingsFile()));
    QCOMPARE(shell.state, AppState());
    QCOMPARE(uiTexts().size(), 6300);
    QCOMPARE(uiText(0), QString("Begin"));

    QCOMPARE(Save_Setting(shell), std::nullopt);
    const AppState written = readSettings(shell.workspace.settingsFile());
    QCOMPARE(written, AppState());
    const QByteArray bytes = readFile(shell.workspace.settingsFile());
    QVERIFY(bytes.contains("<projectname></projectname>"));
    QVERIFY(bytes.contains("<enable_internet>0</enable_internet>"));
}

void TestSettings::startupReopensLastProject()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("PROJECTS/Plant/bin"));
    QVERIFY(writeFile(dir.filePath("Corvane.xml"), settingsXml(kFullBody)));
    QVERIFY(writeFile(dir.filePath("LANGUAGE/Italiano.lng"), "STR0 = Inizio\n"));
    Shell shell;
    shell.rowBuffer = {"stale"};
    runStartup(shell, dir.path());
    QVERIFY(shell.state.projectActive());
    QCOMPARE(shell.state.projectFolder, QDir::toNativeSeparators(dir.filePath("PROJECTS/Plant")));
    QCOMPARE(shell.files.parGen, QDir::toNativeSeparators(dir.filePath("PROJECTS/Plant/ParGen.xml")));
    QCOMPARE(shell.files.pdo, QDir::toNativeSeparators(dir.filePath("PROJECTS/Plant/PDO_CANopen.xml")));
    QCOMPARE(shell.state.language, QString("Italiano"));
    QCOMPARE(uiText(0), QString("Inizio"));
    QVERIFY(shell.rowBuffer.isEmpty());
}

void TestSettings::startupWithVanishedProjectKeepsName()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("Corvane.xml"), settingsXml(kFullBody)));
    Shell shell;
    runStartup(shell, dir.path());
    QVERIFY(!shell.state.projectActive());
    QCOMPARE(shell.state.projectName, QString("Plant"));
    QCOMPARE(shell.files.parGen, QDir::separator() + QString("ParGen.xml"));
    QCOMPARE(Save_Setting(shell), std::nullopt);
    QCOMPARE(readSettings(shell.workspace.settingsFile()).projectName, QString("Plant"));
}

void TestSettings::startupWithUnsafeRememberedName()
{
    // A hand-edited name pointing outside PROJECTS is not opened.
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("Corvane.xml"),
                      settingsXml("<lastproj><projectname>..</projectname></lastproj>")));
    Shell shell;
    runStartup(shell, dir.path());
    QVERIFY(!shell.state.projectActive());
    QVERIFY(writeFile(dir.filePath("Corvane.xml"),
                      settingsXml("<lastproj><projectname>../MASTER</projectname></lastproj>")));
    runStartup(shell, dir.path());
    QVERIFY(!shell.state.projectActive());
}

void TestSettings::startupWithMissingLanguage()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("Corvane.xml"), settingsXml(kFullBody)));
    Shell shell;
    runStartup(shell, dir.path());
    QCOMPARE(shell.state.language, QString("English"));
    QCOMPARE(uiText(0), QString("Begin"));
    QCOMPARE(Save_Setting(shell), std::nullopt);
    QCOMPARE(readSettings(shell.workspace.settingsFile()).language, QString("English"));
}

void TestSettings::startupWithMalformedSettings()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("Corvane.xml"), "<Conf_Settings><lastproj>"));
    Shell shell;
    runStartup(shell, dir.path());
    QCOMPARE(shell.state, AppState());
    QVERIFY(QFileInfo(dir.filePath("PROJECTS")).isDir());
}

QTEST_APPLESS_MAIN(TestSettings)
#include "test_settings.moc"
