#include "app/about_window.h"
#include "app/main_window.h"
#include "app/soft_options_window.h"
#include "common/desktop.h"
#include "common/messages.h"
#include "fake_http_client.h"
#include "lang/text_table.h"
#include "test_support.h"
#include "ui_support.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace swz;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

const QString kDownloadPage = QStringLiteral("http://www.corvane.example/Home/download/download.asp#HDZ8K20");
const QString kHomePage = QStringLiteral("http://www.corvane.example/HOME/default.asp?frompg=SWZ8K20");

template <typename T>
T *child(QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("missing control %s", name);
    return widget;
}

QString text(QWidget *window, const char *name)
{
    return child<QLabel>(window, name)->text();
}

void writeFlag(const QString &path, Qt::GlobalColor colour)
{
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "BMP"));
}

// Clicks the middle of a link label, where its one link lies.
void clickLink(QLabel *label)
{
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(label->width() / 2, label->height() / 2));
}

} // namespace

class TestOptionsWindows : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void optionsLayout();
    void languagePages_data();
    void languagePages();
    void flagsFallBack();
    void chooseLanguageAskAndCancel();
    void chooseLanguageAndConfirm();
    void checkBoxesDependAndOkStores();
    void checkNowShowsResult();
    void timerIntervalsAndLink();
    void aboutWindow();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_languages;
};

void TestOptionsWindows::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_languages = m_dir->filePath("LANGUAGE");
    QVERIFY(QDir().mkpath(m_languages));
    uiTexts().loadBuiltin();
}

void TestOptionsWindows::cleanup()
{
    uiTexts().loadBuiltin();
}

void TestOptionsWindows::optionsLayout()
{
    Shell shell;
    TFCorvaneFirmWare main(shell, m_dir->path());
    TFSoftOptions *options = main.optionsWindow();
    QCOMPARE(options->size(), QSize(509, 373));
    QCOMPARE(options->windowTitle(), QString("Software Options"));
    QCOMPARE(text(options, "L_SW_Code"), QString("SWZ8K20"));
    QCOMPARE(text(options, "L_SW_Desc"), QString("Software Options"));
    auto *pages = child<QTabWidget>(options, "PC_Options");
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->tabText(0), QString("Language"));
    QCOMPARE(pages->tabText(1), QString("Connection Options"));
    QCOMPARE(pages->tabText(2), QString("Software Settings"));
    // A freshly created window shows the connection page and one page of languages.
    QCOMPARE(pages->currentWidget()->objectName(), QString("TS_Con_Options"));
    QCOMPARE(text(options, "L_Page_Lang"), QString("Page 1 / 1"));

    struct Place { const char *name; QPoint pos; QString caption; };
    const Place places[] = {
        {"L_Sel_Lang", {12, 11}, {}},
        {"L_Page_Lang", {220, 212}, {}},
        {"Btn_Prev", {12, 204}, "Previous"},
        {"Btn_Next", {379, 205}, "Next"},
        {"CB_En_Con", {12, 16}, "Enable Internet Connection"},
        {"CB_Update", {36, 47}, "Check Software Update at Start of Program"},
        {"Btn_Check_Update", {36, 78}, "Check Available Update"},
        {"LL_Check_Update", {40, 120}, {}},
        {"CB_Soft_Set_Jump_Table", {12, 16}, "Jump into next field in the tables by pressing the Enter Key"},
        {"CB_DoubleClick_Auto_Size", {12, 39}, "Enable Auto Size of Table Columns by Double Click"},
        {"Btn_OK", {16, 6}, "OK"},
        {"Btn_Cancel", {134, 6}, "Cancel"},
        {"Image_Lang1", {24, 40}, {}}, {"Image_Lang2", {26, 94}, {}}, {"Image_Lang3", {24, 148}, {}},
        {"Image_Lang4", {254, 40}, {}}, {"Image_Lang5", {254, 94}, {}}, {"Image_Lang6", {254, 148}, {}},
        {"L_Lang1", {80, 56}, {}}, {"L_Lang2", {80, 110}, {}}, {"L_Lang3", {80, 164}, {}},
        {"L_Lang4", {310, 56}, {}}, {"L_Lang5", {310, 110}, {}}, {"L_Lang6", {310, 164}, {}},
    };
    for (const Place &place : places) {
        QWidget *widget = child<QWidget>(options, place.name);
        QCOMPARE(widget->pos(), place.pos);
        if (auto *button = qobject_cast<QAbstractButton *>(widget); button && !place.caption.isEmpty())
            QCOMPARE(button->text(), place.caption);
    }
    QCOMPARE(child<QWidget>(options, "Btn_Prev")->size(), QSize(110, 28));
    QCOMPARE(child<QWidget>(options, "Btn_Check_Update")->size(), QSize(204, 28));
    QCOMPARE(child<QWidget>(options, "P_Bottom")->geometry(), QRect(0, 333, 509, 40));
    QCOMPARE(child<QWidget>(options, "Image_Lang1")->size(), QSize(48, 48));
    // Every control of every page fits inside the window, with its text.
    options->show();
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        for (QWidget *widget : pages->widget(page)->findChildren<QWidget *>()) {
            if (!widget->isVisibleTo(options))
                continue;
            const QRect inWindow(widget->mapTo(options, QPoint(0, 0)), widget->size());
            QVERIFY2(pages->geometry().contains(inWindow), qPrintable(widget->objectName()));
        }
    }
    options->reject();
}

void TestOptionsWindows::languagePages_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<QList<int>>("slotsPerPage");
    QTest::newRow("none") << 0 << QList<int>{0};
    QTest::newRow("one") << 1 << QList<int>{1};
    QTest::newRow("six") << 6 << QList<int>{6};
    QTest::newRow("seven") << 7 << QList<int>{6, 1};
    QTest::newRow("thirteen") << 13 << QList<int>{6, 6, 1};
}

void TestOptionsWindows::languagePages()
{
    QFETCH(int, files);
    QFETCH(QList<int>, slotsPerPage);
    for (int i = 0; i < files; ++i)
        QVERIFY(writeFile(m_languages + QString("/L%1.lng").arg(char('a' + i)), "STR0 = x\n"));
    writeFlag(m_languages + "/DefaultFlag.bmp", Qt::blue);

    Shell shell;
    TFCorvaneFirmWare main(shell, m_dir->path());
    TFSoftOptions *options = main.optionsWindow();
    options->show();
    QCOMPARE(child<QTabWidget>(options, "PC_Options")->currentWidget()->objectName(),
             QString("TS_Language"));
    QCOMPARE(text(options, "L_Sel_Lang"), QString("Selected Language : English"));
    const int pageCount = int(slotsPerPage.size());
    auto *prev = child<QPushButton>(options, "Btn_Prev");
    auto *next = child<QPushButton>(options, "Btn_Next");
    char letter = 'a';
    for (int page = 1; page <= pageCount; ++page) {
        QCOMPARE(text(options, "L_Page_Lang"), QString("Page %1 / %2").arg(page).arg(pageCount));
        QCOMPARE(prev->isVisible(), page != 1);
        QCOMPARE(next->isVisible(), page != pageCount);
        for (int slot = 1; slot <= 6; ++slot) {
            auto *name = child<QLabel>(options, qPrintable(QString("L_Lang%1").arg(slot)));
            auto *picture = child<QLabel>(options, qPrintable(QString("Image_Lang%1").arg(slot)));
            const bool used = slot <= slotsPerPage[page - 1];
            QCOMPARE(name->isVisible(), used);
            QCOMPARE(picture->isVisible(), used);
            if (used)
                QCOMPARE(name->text(), QString("L%1").arg(letter++));
        }
        if (page < pageCount)
            QTest::mouseClick(next, Qt::LeftButton);
    }
    // Past the last page and back to the first.
    if (next->isVisible())
        QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(options->Show_Page, pageCount);
    for (int page = pageCount; page > 1; --page)
        QTest::mouseClick(prev, Qt::LeftButton);
    QCOMPARE(options->Show_Page, 1);
    QCOMPARE(text(options, "L_Page_Lang"), QString("Page 1 / %1").arg(pageCount));
    options->reject();
}

void TestOptionsWindows::flagsFallBack()
{
    for (const char *name : {"Deutsch.lng", "Italiano.lng"})
        QVERIFY(writeFile(m_languages + "/" + name, "STR0 = x\n"));
    writeFlag(m_languages + "/Deutsch.bmp", Qt::red);
    Shell shell;
    TFCorvaneFirmWare main(shell, m_dir->path());
    TFSoftOptions *options = main.optionsWindow();
    options->show();
    QCOMPARE(text(options, "L_Lang1"), QString("Deutsch"));
    QCOMPARE(text(options, "L_Lang2"), QString("Italiano"));
    auto *flag1 = child<QLabel>(options, "Image_Lang1");
    auto *flag2 = child<QLabel>(options, "Image_Lang2");
    QVERIFY(flag1->isVisible());
    QCOMPARE(flag1->pixmap().toImage().pixelColor(10, 10), QColor(Qt::red));
    // Neither Italiano.bmp nor DefaultFlag.bmp: the name alone.
    QVERIFY(!flag2->isVisible());
    QVERIFY(child<QLabel>(options, "L_Lang2")->isVisible());
    options->reject();

    writeFlag(m_languages + "/DefaultFlag.bmp", Qt::green);
    options->show();
    QVERIFY(flag2->isVisible());
    QCOMPARE(flag2->pixmap().toImage().pixelColor(10, 10), QColor(Qt::green));
    QCOMPARE(flag1->pixmap().toImage().pixelColor(10, 10), QColor(Qt::red));
    options->reject();
}

void TestOptionsWindows::chooseLanguageAskAndCancel()
{
    QVERIFY(writeFile(m_languages + "/Italiano.lng",
                      "STR0 = Inizio\nSTR304 = \xc2\xb6Lingua scelta : \xc2\xb6\nSTR313 = Annulla\n"
                      "STR316 = \xc2\xb6" "Cambiare la lingua da \xc2\xb6\n"));
    MessageRecorder recorder;
    Shell shell;
    TFCorvaneFirmWare main(shell, m_dir->path());
    main.show();
    TFSoftOptions *options = main.optionsWindow();
    options->show();

    // Answered No: nothing changes.
    recorder.queueAnswer(false);
    QTest::mouseClick(child<QLabel>(options, "L_Lang1"), Qt::LeftButton);
    QCOMPARE(recorder.recorded().size(), 1);
    QCOMPARE(recorder.recorded().first().kind, MessageService::Kind::Question);
    QCOMPARE(recorder.lastText(), QString("Do you want to change the Language from English to Italiano?"));
    QCOMPARE(options->Language_In_Use, QString("English"));
    QCOMPARE(text(&main, "L_Begin"), QString("Begin"));

    // Yes: the texts of every window change at once, the setting does not.
    recorder.queueAnswer(true);
    QTest::mouseClick(child<QLabel>(options, "L_Lang1"), Qt::LeftButton);
    QCOMPARE(options->Language_In_Use, QString("Italiano"));
    QCOMPARE(text(options, "L_Sel_Lang"), QString("Lingua scelta : Italiano"));
    QCOMPARE(child<QPushButton>(options, "Btn_Cancel")->text(), QString("Annulla"));
    QCOMPARE(text(&main, "L_Begin"), QString("Inizio"));
    QCOMPARE(shell.state.language, QString("English"));

    // Cancel: the setting stays old and nothing is written, the texts stay for the run.
    QTest::mouseClick(child<QPushButton>(options, "Btn_Cancel"), Qt::LeftButton);
    QVERIFY(!options->isVisible());
    QCOMPARE(options->result(), int(QDialog::Rejected));
    QCOMPARE(shell.state.language, QString("English"));
    QVERIFY(!QFile::exists(shell.workspace.settingsFile()));
    QCOMPARE(text(&main, "L_Begin"), QString("Inizio"));

    // The next showing starts again from the setting.
    options->show();
    QCOMPARE(options->Language_In_Use, QString("English"));
    recorder.queueAnswer(false);
    QTest::mouseClick(child<QLabel>(options, "L_Lang1"), Qt::LeftButton);
    QCOMPARE(recorder.lastText(), QString("Cambiare la lingua da English to Italiano?"));
    options->reject();
}

void TestOptionsWindows::chooseLanguageAndConfirm()
{
    QVERIFY(writeFile(m_languages + "/Deutsch.lng", "STR0 = Anfang\n"));
    writeFlag(m_languages + "/Deutsch.bmp", Qt::red);
    MessageRecorder recorder;
    Shell shell;
    TFCorvaneFirmWare main(shell, m_dir->path());
    main.show();
    whenModalShown([&recorder](QWidget *dialog) {
        recorder.queueAnswer(true);
        QTest::mouseClick(child<QLabel>(dialog, "Image_Lang1"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "Btn_OK"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QToolButton>(&main, "Btn_Opz"), Qt::LeftButton);
    QCOMPARE(shell.state.language, QString("Deutsch"));
    QVERIFY(readFile(shell.workspace.settingsFile()).contains("<language>Deutsch</language>"));
    QCOMPARE(text(&main, "L_Begin"), QString("Anfang"));
    QCOMPARE(recorder.recorded().size(), 1);

    // The file goes away before it is chosen: English texts, and the window says English.
    QVERIFY(QFile::remove(m_languages + "/Deutsch.lng"));
    TFSoftOptions *options = main.optionsWindow();
    options->show();
    options->SL_Languages = {"Gone.lng"};
    recorder.queueAnswer(true);
    options->LangClick(1);
    QCOMPARE(text(&main, "L_Begin"), QString("Begin"));
    QCOMPARE(options->Language_In_Use, QString("English"));
    options->reject();
}

void TestOptionsWindows::checkBoxesDependAndOkStores()
{
    MessageRecorder recorder;
    Shell shell;
    TFCorvaneFirmWare main(shell, m_dir->path());
    main.show();
    TFSoftOptions *options = main.optionsWindow();
    options->show();
    auto *internet = child<QCheckBox>(options, "CB_En_Con");
    auto *update = child<QCheckBox>(options, "CB_Update");
    auto *checkNow = child<QPushButton>(options, "Btn_Check_Update");
    auto *jump = child<QCheckBox>(options, "CB_Soft_Set_Jump_Table");
    auto *autoSize = child<QCheckBox>(options, "CB_DoubleClick_Auto_Size");
    // All switches off at first start.
    QVERIFY(!internet->isChecked() && !update->isChecked() && !jump->isChecked());
    QVERIFY(!update->isEnabled());
    QVERIFY(!checkNow->isEnabled());
    QVERIFY(child<QLabel>(options, "LL_Check_Update")->isHidden());

    child<QTabWidget>(options, "PC_Options")->setCurrentIndex(1);
    QTest::mouseClick(internet, Qt::LeftButton);
    QVERIFY(update->isEnabled());
    QVERIFY(!checkNow->isEnabled());
    QTest::mouseClick(update, Qt::LeftButton);
    QVERIFY(checkNow->isEnabled());
    // Unticking the internet disables both and keeps the tick of the update switch.
    QTest::mouseClick(internet, Qt::LeftButton);
    QVERIFY(!update->isEnabled());
    QVERIFY(update->isChecked());
    QVERIFY(!checkNow->isEnabled());
    child<QTabWidget>(options, "PC_Options")->setCurrentIndex(2);
    QTest::mouseClick(autoSize, Qt::LeftButton);

    QTest::mouseClick(child<QPushButton>(options, "Btn_OK"), Qt::LeftButton);
    QCOMPARE(options->result(), int(QDialog::Accepted));
    QVERIFY(!shell.state.enable_internet);
    QVERIFY(shell.state.enable_update);
    QVERIFY(!shell.state.enable_jump_field_tables);
    QVERIFY(shell.state.Double_Click_Auto_Size);
    QCOMPARE(shell.state.language, QString("English"));

    // Through the main window: OK writes Corvane.xml and sets the timer; Cancel does neither.
    whenModalShown([](QWidget *dialog) {
        QTest::mouseClick(child<QCheckBox>(dialog, "CB_En_Con"), Qt::LeftButton);
        QTest::mouseClick(child<QCheckBox>(dialog, "CB_Soft_Set_Jump_Table"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "Btn_OK"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QToolButton>(&main, "Btn_Opz"), Qt::LeftButton);
    AppState stored = readSettings(shell.workspace.settingsFile());
    QVERIFY(stored.enable_internet && stored.enable_update && stored.enable_jump_field_tables
            && stored.Double_Click_Auto_Size);
    QVERIFY(main.Timer_Update()->isActive());

    whenModalShown([](QWidget *dialog) {
        auto *box = child<QCheckBox>(dialog, "CB_En_Con");
        QVERIFY(box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "Btn_Cancel"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QToolButton>(&main, "Btn_Opz"), Qt::LeftButton);
    QVERIFY(shell.state.enable_internet);
    QVERIFY(readSettings(shell.workspace.settingsFile()).enable_internet);
    QVERIFY(main.Timer_Update()->isActive());
    QVERIFY(recorder.recorded().isEmpty());
}

void TestOptionsWindows::checkNowShowsResult()
{
    RecordingUrlOpener opener;
    Shell shell;
    TFCorvaneFirmWare main(shell, m_dir->path());
    auto client = std::make_unique<FakeHttpClient>(QByteArray("VER. 1.001"));
    FakeHttpClient *fake = client.get();
    main.setHttpClient(std::move(client));
    shell.state.enable_internet = true;
    shell.state.enable_update = true;
    TFSoftOptions *options = main.optionsWindow();
    options->show();
    child<QTabWidget>(options, "PC_Options")->setCurrentIndex(1);
    auto *checkNow = child<QPushButton>(options, "Btn_Check_Update");
    auto *link = child<QLabel>(options, "LL_Check_Update");
    QVERIFY(checkNow->isEnabled());

    QTest::mouseClick(checkNow, Qt::LeftButton);
    QCOMPARE(fake->requests.size(), 1);
    QCOMPARE(fake->requests.first().host, QString("www.corvane.example"));
    QVERIFY(link->isVisible());
    QCOMPARE(link->textFormat(), Qt::RichText);
    QVERIFY(link->text().contains(">New Version Available. Click Here for more Details</a>"));
    QVERIFY(link->text().contains(kDownloadPage));
    clickLink(link);
    QCOMPARE(opener.urls, QStringList({kDownloadPage}));

    fake->reply = QByteArray("VER. 1.000");
    QTest::mouseClick(checkNow, Qt::LeftButton);
    QCOMPARE(link->textFormat(), Qt::PlainText);
    QCOMPARE(link->text(), QString("No Update Available"));
    fake->reply.reset(); // unreachable site
    link->clear();
    QTest::mouseClick(checkNow, Qt::LeftButton);
    QCOMPARE(link->text(), QString("No Update Available"));
    clickLink(link);
    QCOMPARE(opener.urls.size(), 1);

    // The next showing hides the result again.
    options->reject();
    options->show();
    QVERIFY(link->isHidden());
    options->reject();
}

void TestOptionsWindows::timerIntervalsAndLink()
{
    RecordingUrlOpener opener;
    Shell shell;
    TFCorvaneFirmWare main(shell, m_dir->path());
    main.show();
    auto client = std::make_unique<FakeHttpClient>(QByteArray("VER. 1.001"));
    FakeHttpClient *fake = client.get();
    main.setHttpClient(std::move(client));
    QTimer *timer = main.Timer_Update();
    auto *link = child<QLabel>(&main, "LL_Update");
    QVERIFY(!timer->isActive());
    QCOMPARE(timer->interval(), 60000);

    // Switched on in the options: the first check one minute later.
    whenModalShown([](QWidget *dialog) {
        QTest::mouseClick(child<QCheckBox>(dialog, "CB_En_Con"), Qt::LeftButton);
        QTest::mouseClick(child<QCheckBox>(dialog, "CB_Update"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "Btn_OK"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QToolButton>(&main, "Btn_Opz"), Qt::LeftButton);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 60000);
    QVERIFY(timer->isSingleShot() == false);
    QVERIFY(fake->requests.isEmpty());

    // A tick: a newer version shows the link, the next check in two hours.
    main.Timer_UpdateTimer();
    QCOMPARE(fake->requests.size(), 1);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 7200000);
    QVERIFY(link->isVisible());
    QVERIFY(link->text().contains(">New Version Available. Click Here for more Details</a>"));
    QVERIFY(link->geometry().topLeft() == QPoint(208, 19));
    clickLink(link);
    QCOMPARE(opener.urls, QStringList({kDownloadPage}));

    fake->reply.reset();
    main.Timer_UpdateTimer();
    QVERIFY(link->isHidden());
    QCOMPARE(timer->interval(), 7200000);
    QVERIFY(timer->isActive());

    // Switched off: no more checks; on again, the two-hour interval stays.
    whenModalShown([](QWidget *dialog) {
        QTest::mouseClick(child<QCheckBox>(dialog, "CB_En_Con"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "Btn_OK"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QToolButton>(&main, "Btn_Opz"), Qt::LeftButton);
    QVERIFY(!timer->isActive());
    QVERIFY(shell.state.enable_update);
}

void TestOptionsWindows::aboutWindow()
{
    RecordingUrlOpener opener;
    TFAbout about;
    about.show();
    QCOMPARE(about.size(), QSize(425, 148));
    struct Place { const char *name; QPoint pos; QString text; };
    const Place places[] = {
        {"Label1", {128, 24}, "Software Corvane "},
        {"Label2", {128, 39}, "CANopen / LoRaWAN - Converter"},
        {"Label6", {128, 62}, "Software Code : "},
        {"Label9", {240, 62}, "SWZ8K20"},
        {"Label3", {128, 77}, "Version :"},
        {"Label10", {240, 77}, "1.000"},
        {"Label8", {128, 93}, "Document Code :"},
        {"Label12", {240, 93}, "MNZ8K20"},
    };
    for (const Place &place : places) {
        QCOMPARE(child<QLabel>(&about, place.name)->pos(), place.pos);
        QCOMPARE(text(&about, place.name), place.text);
    }
    auto *web = child<QLabel>(&about, "Label4");
    QCOMPARE(web->text(), QString("www.corvane.example"));
    QCOMPARE(web->y(), 131);
    QVERIFY(web->geometry().right() < 425);
    QCOMPARE(web->cursor().shape(), Qt::PointingHandCursor);
    auto *picture = child<QLabel>(&about, "Image2");
    QCOMPARE(picture->geometry(), QRect(32, 24, 81, 81));
    QVERIFY(!picture->pixmap().isNull());
    QCOMPARE(child<QPushButton>(&about, "LbButton1")->geometry(), QRect(32, 115, 81, 22));

    QTest::mouseClick(web, Qt::LeftButton);
    QTest::mouseClick(picture, Qt::LeftButton);
    QCOMPARE(opener.urls, QStringList({kHomePage, kHomePage}));

    // Its texts do not follow the language.
    uiTexts().setText(312, "Va bene");
    about.hide();
    about.show();
    QCOMPARE(child<QPushButton>(&about, "LbButton1")->text(), QString("OK"));
    QTest::mouseClick(child<QPushButton>(&about, "LbButton1"), Qt::LeftButton);
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestOptionsWindows)
#include "test_options_windows.moc"
