#include "common/xml_file.h"
#include "test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;

using testing_support::readFile;

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QVERIFY(testing_support::writeFile(path, content));
}

} // namespace

class TestXmlFile : public QObject
{
    Q_OBJECT

private slots:
    void missingFileIsNoError();
    void rootIsTheDocumentElementWhateverItsName();
    void malformedFileGivesParserMessage();
    void folderInPlaceOfFileIsUnreadable();
    void atomicSaveReplacesWholeFile();
    void failedWriteKeepsOldFile();
    void saveIntoMissingFolderReportsReason();

private:
    QTemporaryDir m_dir;
};

void TestXmlFile::missingFileIsNoError()
{
    const XmlLoad xml = loadXmlFile(m_dir.filePath("none.xml"));
    QCOMPARE(xml.status, XmlLoad::Status::Missing);
    QVERIFY(!xml.failed());
    QVERIFY(xml.root().isNull());
}

void TestXmlFile::rootIsTheDocumentElementWhateverItsName()
{
    const QString path = m_dir.filePath("any.xml");
    writeFile(path, "<?xml version=\"1.0\"?>\n<!-- note -->\n<Whatever><A>1</A><B x=\"2\"/></Whatever>");
    const XmlLoad xml = loadXmlFile(path);
    QVERIFY(xml.loaded());
    QCOMPARE(xml.root().tagName(), QString("Whatever"));
    QCOMPARE(childElement(xml.root(), "A").text(), QString("1"));
    QCOMPARE(childElement(xml.root(), "B").attribute("x"), QString("2"));
    QVERIFY(childElement(xml.root(), "C").isNull());
    QVERIFY(childElement(QDomElement(), "A").isNull());
}

void TestXmlFile::malformedFileGivesParserMessage()
{
    const QString path = m_dir.filePath("bad.xml");
    writeFile(path, "<Root>\n  <A>1</B>\n</Root>");
    const XmlLoad xml = loadXmlFile(path);
    QCOMPARE(xml.status, XmlLoad::Status::Malformed);
    QVERIFY(xml.failed());
    QVERIFY2(xml.error.contains("line 2"), qPrintable(xml.error));
    QVERIFY(xml.root().isNull());
}

void TestXmlFile::folderInPlaceOfFileIsUnreadable()
{
    QVERIFY(QDir(m_dir.path()).mkdir("folder.xml"));
    const XmlLoad xml = loadXmlFile(m_dir.filePath("folder.xml"));
    QCOMPARE(xml.status, XmlLoad::Status::Unreadable);
    QVERIFY(!xml.error.isEmpty());
}

void TestXmlFile::atomicSaveReplacesWholeFile()
{
    const QString path = m_dir.filePath("out.txt");
    writeFile(path, "a much longer old content");
    QCOMPARE(saveFileAtomically(path, QByteArray("new")), std::nullopt);
    QCOMPARE(readFile(path), QByteArray("new"));
}

void TestXmlFile::failedWriteKeepsOldFile()
{
    const QString path = m_dir.filePath("keep.txt");
    writeFile(path, "old");
    // A writer that breaks off half-way, like a full disk.
    const std::optional<QString> failure = saveFileAtomically(path, [](QIODevice &device) {
        device.write("half of the new");
        return false;
    });
    QVERIFY(failure.has_value());
    QVERIFY(!failure->isEmpty());
    QCOMPARE(readFile(path), QByteArray("old"));
    QCOMPARE(QDir(m_dir.path()).entryList({"keep.txt*"}, QDir::Files | QDir::Hidden).size(), 1);
}

void TestXmlFile::saveIntoMissingFolderReportsReason()
{
    const std::optional<QString> failure =
        saveFileAtomically(m_dir.filePath("no/such/folder/f.txt"), QByteArray("x"));
    QVERIFY(failure.has_value());
    QVERIFY(!failure->isEmpty());
}

QTEST_APPLESS_MAIN(TestXmlFile)
#include "test_xml_file.moc"
