#include "app/project.h"
#include "app/shell.h"
#include "test_support.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::writeFile;

namespace {

// True when the file system of folder treats names that differ in case as one.
bool ignoresCase(const QString &folder)
{
    QFile probe(folder + "/CaseProbe");
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.close();
    const bool same = QFile::exists(folder + "/caseprobe");
    QFile::remove(folder + "/CaseProbe");
    return same;
}

QStringList allEntries(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.append(QDir(folder).relativeFilePath(it.next()));
    entries.sort();
    return entries;
}

} // namespace

class TestProjects : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void createProject_data();
    void createProject();
    void nameDifferingOnlyInCase();
    void createdProjectIsActive();
    void listingAndSearch();
    void openingChoosesOrClears();
    void fileSet();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    Workspace m_workspace;
};

void TestProjects::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_workspace = Workspace::beside(m_dir->path());
    m_workspace.createFolders();
    QVERIFY(QDir(m_workspace.projectsFolder).mkdir("Existing"));
}

void TestProjects::createProject_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("message"); // -1: created

    QTest::newRow("plain") << "Plant" << -1;
    QTest::newRow("blanks inside and in front") << "  My plant 2" << -1;
    QTest::newRow("empty") << "" << 107;
    QTest::newRow("existing folder") << "Existing" << 106;
    QTest::newRow("colon") << "a:b" << 105;
    QTest::newRow("slash") << "a/b" << 105;
    QTest::newRow("backslash") << "a\\b" << 105;
    QTest::newRow("parent") << ".." << 105;
    QTest::newRow("dot") << "." << 105;
    QTest::newRow("escapes PROJECTS") << "../escaped" << 105;
    QTest::newRow("absolute") << "/tmp/escaped" << 105;
    QTest::newRow("wildcard") << "a*" << 105;
    QTest::newRow("control character") << "a\tb" << 105;
    QTest::newRow("trailing blank") << "Plant " << 105;
    QTest::newRow("trailing dot") << "Plant." << 105;
    QTest::newRow("only blanks") << "   " << 105;
    QTest::newRow("device name") << "nul" << 105;
    QTest::newRow("device name with extension") << "COM1.cfg" << 105;
    QTest::newRow("device name inside a word") << "CONSOLE" << -1;
}

void TestProjects::createProject()
{
    QFETCH(QString, name);
    QFETCH(int, message);

    const QStringList before = allEntries(m_dir->path());
    AppState state;
    state.projectName = "Previous";
    state.projectFolder = m_workspace.projectsFolder + QDir::separator() + "Previous";
    const AppState unchanged = state;

    const NewProjectResult result = swz::createProject(m_workspace, name, state);
    QCOMPARE(messageIndexFor(result), message);
    if (message >= 0) {
        QCOMPARE(state, unchanged);
        QCOMPARE(allEntries(m_dir->path()), before);
        QVERIFY(!QFileInfo::exists(QDir(m_dir->path()).filePath("escaped")));
    } else {
        QCOMPARE(state.projectName, name);
        QCOMPARE(state.projectFolder, m_workspace.projectsFolder + QDir::separator() + name);
        QVERIFY(QFileInfo(state.projectFolder + "/bin").isDir());
        QCOMPARE(allEntries(m_dir->path()).size(), before.size() + 2);
    }
}

void TestProjects::nameDifferingOnlyInCase()
{
    AppState state;
    const NewProjectResult result = swz::createProject(m_workspace, "EXISTING", state);
    if (ignoresCase(m_workspace.projectsFolder)) {
        QCOMPARE(result, NewProjectResult::AlreadyExists);
    } else {
        // Where case matters both folders can live side by side.
        QCOMPARE(result, NewProjectResult::Created);
        QVERIFY(QFileInfo(m_workspace.projectsFolder + "/Existing").isDir());
    }
}

void TestProjects::createdProjectIsActive()
{
    Shell shell;
    runStartup(shell, m_dir->path());
    QVERIFY(!shell.state.projectActive());
    QCOMPARE(swz::createProject(shell.workspace, "Plant", shell.state), NewProjectResult::Created);
    shell.Set_Files();
    QVERIFY(shell.state.projectActive());
    QCOMPARE(shell.files.loRaWanAccess,
             QDir::toNativeSeparators(m_dir->filePath("PROJECTS/Plant/LoRaWAN_SetAccess.xml")));
    QCOMPARE(Save_Setting(shell), std::nullopt);

    Shell next;
    runStartup(next, m_dir->path());
    QVERIFY(next.state.projectActive());
    QCOMPARE(next.state.projectName, QString("Plant"));
}

void TestProjects::listingAndSearch()
{
    QDir projects(m_workspace.projectsFolder);
    QVERIFY(projects.mkdir("Plant"));
    QVERIFY(projects.mkdir("Other"));
    QVERIFY(projects.mkdir(".hidden"));
    QVERIFY(writeFile(projects.filePath("a file.xml"), "x"));

    QStringList listed = listProjects(m_workspace);
    QStringList sorted = listed;
    sorted.sort();
    QCOMPARE(sorted, QStringList({"Existing", "Other", "Plant"}));

    QCOMPARE(Search_Open_Conf(listed, "plant"), int(listed.indexOf("Plant")));
    QCOMPARE(Search_Open_Conf(listed, "PLANT"), int(listed.indexOf("Plant")));
    QCOMPARE(Search_Open_Conf(listed, "Plan"), -1);
    QCOMPARE(Search_Open_Conf(listed, ""), -1);
    QCOMPARE(Search_Open_Conf({}, "Plant"), -1);
    QCOMPARE(Search_Open_Conf({"b", "B"}, "b"), 0);

    AppState state;
    QCOMPARE(activeProjectFolderName(m_workspace, state), QString());
    openProject(m_workspace, "plant", state);
    QCOMPARE(activeProjectFolderName(m_workspace, state), QString("plant"));
}

void TestProjects::openingChoosesOrClears()
{
    AppState state;
    openProject(m_workspace, "Existing", state);
    QCOMPARE(state.projectName, QString("Existing"));
    QCOMPARE(state.projectFolder, m_workspace.projectsFolder + QDir::separator() + "Existing");
    openProject(m_workspace, QString(), state);
    QVERIFY(state.projectName.isEmpty());
    QVERIFY(!state.projectActive());
}

void TestProjects::fileSet()
{
    const ProjectFiles files = ProjectFiles::of("P");
    const QString s = QDir::separator();
    QCOMPARE(files.parGen, "P" + s + "ParGen.xml");
    QCOMPARE(files.loRaWanAccess, "P" + s + "LoRaWAN_SetAccess.xml");
    QCOMPARE(files.sdoServer, "P" + s + "SDO_Server_CANopen.xml");
    QCOMPARE(files.sdoClient, "P" + s + "SDO_Client_CANopen.xml");
    QCOMPARE(files.pdo, "P" + s + "PDO_CANopen.xml");
    QCOMPARE(files.binFolder, "P" + s + "bin");
}

QTEST_APPLESS_MAIN(TestProjects)
#include "test_projects.moc"
