#include "main/application_launched_event.h"
#include "main/software_update_dialog.h"
#include "main/vendor_variants.h"
#include "main/version_checker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QNetworkProxy>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <memory>

namespace {

// One canned HTTP answer of the local release-list server.
struct Answer
{
    QByteArray status = "200 OK";
    QByteArray body;
    QByteArray extraHeaders;
    bool silent = false; // accept the connection and never answer
};

// A release-list server on the loopback interface, answering every request alike and
// recording the paths asked for.
class ListServer : public QObject
{
public:
    ListServer()
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, this,
                                 [this, socket] { onReadyRead(socket); });
        });
    }

    QUrl url(const QString& path = "/releases.xml") const
    {
        return QUrl(QString("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path));
    }

    Answer answer;
    QStringList requested;

private:
    void onReadyRead(QTcpSocket* socket)
    {
        QByteArray& request = pending[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        requested.append(QString::fromLatin1(request.split(' ').value(1)));
        if (answer.silent)
            return;
        socket->write("HTTP/1.1 " + answer.status + "\r\nContent-Type: text/xml\r\n" +
                      answer.extraHeaders +
                      "Content-Length: " + QByteArray::number(answer.body.size()) +
                      "\r\nConnection: close\r\n\r\n" + answer.body);
        socket->disconnectFromHost();
    }

    QTcpServer server;
    std::map<QTcpSocket*, QByteArray> pending;
};

QByteArray release(const char* version, const char* os, const char* page = "https://a.test/",
                   const char* notes = nullptr)
{
    QByteArray xml = QByteArray("<release version=\"") + version + "\">";
    if (os)
        xml += QByteArray("<platform os=\"") + os + "\"><downloadpage>" + page +
               "</downloadpage><downloadfile>https://a.test/f</downloadfile></platform>";
    if (notes)
        xml += QByteArray("<notes>") + notes + "</notes>";
    return xml + "</release>";
}

QByteArray releaseList(const QByteArray& releases)
{
    return "<?xml version=\"1.0\"?><releases>" + releases + "</releases>";
}

SoftwareVersion v(const char* text)
{
    return SoftwareVersion::fromString(text);
}

class VersionCheckerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    // Runs one check against the local server; the checker must report once, in time.
    std::unique_ptr<VersionChecker> check(const QByteArray& body, int timeoutMs = 3000)
    {
        server.answer.body = body;
        return check(timeoutMs);
    }
    std::unique_ptr<VersionChecker> check(int timeoutMs = 3000)
    {
        auto checker = std::make_unique<VersionChecker>(server.url(), nullptr, timeoutMs);
        QSignalSpy reported(checker.get(), &VersionChecker::releaseDataAvailable);
        EXPECT_TRUE(reported.wait(timeoutMs + 3000));
        QTest::qWait(20);
        EXPECT_EQ(reported.count(), 1);
        return checker;
    }

    ListServer server;
};

} // namespace

TEST(SoftwareVersion, ParsesAndPrintsOnlyWholeVersionTexts)
{
    const struct
    {
        const char* text;
        int major, minor, patch, stage;
        const char* printed;
    } cases[] = {
        {"1.2", 1, 2, 0, 0, "1.2"},
        {"1.1.1", 1, 1, 1, 0, "1.1.1"},
        {"1.2.3 RC4", 1, 2, 3, 68, "1.2.3 RC4"},
        {"1.2 BETA1", 1, 2, 0, 129, "1.2 BETA1"},
        {"2.0 RC3", 2, 0, 0, 67, "2.0 RC3"},
        {"2.0.1 BETA12", 2, 0, 1, 140, "2.0.1 BETA12"},
        {"3.0 DEBUG63", 3, 0, 0, 255, "3.0 DEBUG63"},
        {"1.10.0", 1, 10, 0, 0, "1.10"},
        {"258.513.7", 2, 1, 7, 0, "2.1.7"}, // parts keep their low eight bits
        {"1.2.3RC4", 0, 0, 0, 0, "0.0"},
        {"v1.2", 0, 0, 0, 0, "0.0"},
        {"", 0, 0, 0, 0, "0.0"},
        {"1", 0, 0, 0, 0, "0.0"},
        {"1.2.3.4", 0, 0, 0, 0, "0.0"},
        {"1.2 rc1", 0, 0, 0, 0, "0.0"},
        {" 1.2", 0, 0, 0, 0, "0.0"},
        {"1.2 RC", 0, 0, 0, 0, "0.0"},
        {"1.2 RC64", 0, 0, 0, 0, "0.0"}, // would not fit beside the kind
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const SoftwareVersion version = v(c.text);
        EXPECT_EQ(version.major, c.major);
        EXPECT_EQ(version.minor, c.minor);
        EXPECT_EQ(version.patch, c.patch);
        EXPECT_EQ(version.stage, c.stage);
        EXPECT_EQ(version.toString(), c.printed);
    }
    EXPECT_EQ(currentSoftwareVersion().toString(), "1.1.1");
    EXPECT_TRUE(currentSoftwareVersion().isFinal());
}

TEST(SoftwareVersion, OrdersReleaseStagesBeforeTheFinalRelease)
{
    const char* ascending[] = {"0.0",     "1.1.1",      "1.2 BETA1",   "1.2",     "1.9",
                               "1.10",    "2.0 DEBUG1", "2.0 BETA9",   "2.0 RC1", "2.0 RC2",
                               "2.0 RC5", "2.0",        "2.0.1 DEBUG1"};
    for (size_t i = 0; i + 1 < std::size(ascending); ++i) {
        SCOPED_TRACE(ascending[i]);
        EXPECT_TRUE(v(ascending[i]) < v(ascending[i + 1]));
        EXPECT_FALSE(v(ascending[i + 1]) < v(ascending[i]));
        EXPECT_FALSE(v(ascending[i]) < v(ascending[i]));
        EXPECT_NE(v(ascending[i]), v(ascending[i + 1]));
    }
    EXPECT_EQ(v("1.2.0"), v("1.2"));
}

TEST_F(VersionCheckerTest, ANewerReleaseCountsOnlyForThisPlatformAndItsStage)
{
    const struct
    {
        const char* name;
        QByteArray body;
        bool upToDateFinal, upToDateAll;
        const char* latestFinal;
        const char* latestAll;
    } cases[] = {
        {"newer final release", releaseList(release("1.0", "linux") + release("1.2", "linux")),
         false, false, "1.2", "1.2"},
        {"only a newer beta", releaseList(release("1.2 BETA1", "linux")), true, false, "0.0",
         "1.2 BETA1"},
        {"other platforms only",
         releaseList(release("1.3", "win32") + release("1.4", "macosx") + release("1.5", "beos") +
                     release("1.6", nullptr)),
         true, true, "0.0", "0.0"},
        {"newest entry elsewhere",
         releaseList(release("1.4", "macosx") + release("1.3 BETA2", "linux") +
                     release("1.2", "linux")),
         false, false, "1.2", "1.3 BETA2"},
        {"nothing newer", releaseList(release("1.0", "linux") + release("1.1.1", "linux")), true,
         true, "1.1.1", "1.1.1"},
        {"unreadable version", releaseList(release("1.5RC1", "linux")), true, true, "0.0", "0.0"},
        {"empty addresses still count",
         releaseList("<release version=\"1.2\"><platform os=\"linux\"/></release>"), false, false,
         "1.2", "1.2"},
        {"list below another root",
         "<feed><meta/><releases>" + release("1.2", "linux") + "</releases></feed>", false, false,
         "1.2", "1.2"},
        {"two lists",
         "<root><releases>" + release("1.2", "linux") + "</releases><releases/></root>", true, true,
         "0.0", "0.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto checker = check(c.body);
        EXPECT_EQ(checker->isUpToDate(currentSoftwareVersion(), true), c.upToDateFinal);
        EXPECT_EQ(checker->isUpToDate(currentSoftwareVersion(), false), c.upToDateAll);
        EXPECT_EQ(checker->latestVersion(true).toString(), c.latestFinal);
        EXPECT_EQ(checker->latestVersion(false).toString(), c.latestAll);
    }
}

TEST_F(VersionCheckerTest, RepeatedEntriesKeepTheLaterAndPartsMustBeUnique)
{
    const auto checker = check(releaseList(
        // The later release of the same version replaces the earlier one entirely.
        release("1.2", "linux", "https://old.test/", "old notes") +
        release("1.2", "win32", "https://new.test/", "new notes") +
        // The later platform entry of one release replaces the earlier one.
        "<release version=\"1.3\"><platform os=\"linux\"><downloadpage>https://first.test/"
        "</downloadpage></platform><platform os=\"linux\"><downloadpage> https://second.test/ "
        "</downloadpage><downloadfile>x</downloadfile><downloadfile>y</downloadfile></platform>"
        "<notes><![CDATA[\n  trimmed <b>notes</b>\n]]></notes></release>"
        // Two pages, or notes both in the release and in a platform, are no page and no notes.
        "<release version=\"1.4\"><platform os=\"linux\"><downloadpage>https://a.test/"
        "</downloadpage><downloadpage>https://b.test/</downloadpage><notes>inner</notes>"
        "</platform><notes>outer</notes></release>"));

    const auto& releases = checker->releaseList();
    ASSERT_EQ(releases.size(), 3u);
    const VersionChecker::ReleaseData& replaced = releases.at(v("1.2"));
    EXPECT_FALSE(VersionChecker::hasPlatform(replaced, VersionChecker::Linux));
    EXPECT_TRUE(VersionChecker::hasPlatform(replaced, VersionChecker::Win32));
    EXPECT_EQ(replaced.notes, "new notes");

    EXPECT_EQ(checker->downloadPage(v("1.3")), QUrl("https://second.test/"));
    EXPECT_TRUE(releases.at(v("1.3")).resources.at(VersionChecker::Linux).downloadFile.isEmpty());
    EXPECT_EQ(checker->releaseNotes(v("1.3")), "trimmed <b>notes</b>");

    EXPECT_TRUE(checker->downloadPage(v("1.4")).isEmpty());
    EXPECT_TRUE(checker->releaseNotes(v("1.4")).isEmpty());
    EXPECT_TRUE(checker->downloadPage(v("1.2")).isEmpty());
    EXPECT_TRUE(checker->releaseNotes(v("9.9")).isEmpty());
    EXPECT_EQ(checker->latestVersion(true), v("1.4"));
}

// Whatever goes wrong, the check reports once, in time, and offers nothing.
TEST_F(VersionCheckerTest, FailuresEndInNoUpdateWithoutHanging)
{
    const QByteArray newer = releaseList(release("9.0", "linux"));
    const struct
    {
        const char* name;
        Answer answer;
    } cases[] = {
        {"not found", {"404 Not Found", newer, {}, false}},
        {"server error", {"500 Internal Server Error", newer, {}, false}},
        {"redirection", {"301 Moved Permanently", newer, "Location: /moved.xml\r\n", false}},
        {"broken document", {"200 OK", "<releases><release version=\"9.0\">", {}, false}},
        {"not a document", {"200 OK", "9.0 is out", {}, false}},
        {"empty answer", {"200 OK", "", {}, false}},
        {"no answer", {"200 OK", newer, {}, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.answer = c.answer;
        server.requested.clear();
        QElapsedTimer clock;
        clock.start();
        const auto checker = check(300);
        EXPECT_LT(clock.elapsed(), 3000);
        EXPECT_TRUE(checker->releaseList().empty());
        EXPECT_TRUE(checker->isUpToDate(currentSoftwareVersion(), false));
        EXPECT_EQ(server.requested, QStringList{"/releases.xml"}); // the redirection not followed
    }
}

TEST_F(VersionCheckerTest, UpdateDialogOffersTheNewestReleaseAndOpensOnlyWebAddresses)
{
    const struct
    {
        const char* page;
        bool opened;
    } cases[] = {
        {"https://www.orvane.test/download", true},
        {"HTTP://www.orvane.test/download", true},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"smb://server/share/setup", false},
        {"http:///no-host", false},
        {"", false},
    };
    QList<QUrl> opened;
    SoftwareUpdateDialog::setUrlOpener([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        opened.clear();
        const auto checker = check(releaseList(
            release("1.3 RC1", "linux") +
            release("1.2", "linux", c.page, "Faster <i>previews</i>") + release("1.0", "linux")));
        SoftwareUpdateDialog dialog(*checker, true);
        EXPECT_EQ(dialog.windowTitle(), "Software Update");
        EXPECT_EQ(dialog.findChild<QLabel*>("newVersionLabel")->text(),
                  "Version 1.2 is ready for download");
        EXPECT_EQ(dialog.findChild<QLabel*>("oldVersionLabel")->text(),
                  "You are currently running 1.1.1");
        EXPECT_EQ(dialog.findChild<QTextEdit*>("releaseNotesView")->toPlainText(),
                  "Faster previews");
        dialog.findChild<QPushButton*>("downloadButton")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(opened, c.opened ? QList<QUrl>{QUrl(c.page)} : QList<QUrl>{});
    }
    SoftwareUpdateDialog::setUrlOpener({});
}

TEST(VendorVariants, RecordPathsAndLaunchEvent)
{
    const VendorVariants& vendor = VendorVariants::instance();
    EXPECT_EQ(vendor.fullName, "Orvane Dravelin");
    EXPECT_EQ(vendor.splashAlignment, 0x84);
    EXPECT_EQ(vendor.updateUrl.scheme(), "https");

    // Appended as it is, not normalised.
    EXPECT_EQ(resourcesPath(), QCoreApplication::applicationDirPath() + "/../Resources");
    setResourcesPathOverride("/tmp/bundle");
    EXPECT_EQ(resourcesPath(), "/tmp/bundle");
    setResourcesPathOverride(QString());
    EXPECT_TRUE(resourcesPath().endsWith("/../Resources"));

    const ApplicationLaunchedEvent launched("/projects/a.qvp");
    EXPECT_EQ(int(launched.type()), 1000);
    EXPECT_EQ(launched.path, "/projects/a.qvp");
    EXPECT_TRUE(ApplicationLaunchedEvent(QString()).path.isNull());
}
