#include "gui/url_opener.h"
#include "main/application_launched_event.h"
#include "main/software_update_dialog.h"
#include "main/vendor_variants.h"
#include "main/version_checker.h"

#include <QCoreApplication>
#include <QLabel>
#include <QNetworkProxy>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextEdit>
#include <QThreadPool>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>
#include <utility>
#include <zlib.h>

namespace {

SoftwareVersion v(const char* text)
{
    return SoftwareVersion::fromString(text);
}

QByteArray release(const char* version, const char* os, const char* page = "https://a.test/",
                   const char* notes = "")
{
    return QByteArray("<release version=\"") + version + "\"><platform os=\"" + os +
           "\"><downloadpage>" + page + "</downloadpage></platform><notes>" + notes +
           "</notes></release>";
}

QByteArray releaseList(const QByteArray& releases)
{
    return "<?xml version=\"1.0\"?><releases>" + releases + "</releases>";
}

// A gzip stream of the megabytes of spaces: a few hundred kilobytes.
QByteArray gzipOfSpaces(int megabytes)
{
    const QByteArray spaces(1 << 20, ' ');
    QByteArray out(1 << 20, '\0');
    QByteArray gzip;
    z_stream stream = {};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    for (int block = 0; block <= megabytes; ++block) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(spaces.constData()));
        stream.avail_in = block < megabytes ? uInt(spaces.size()) : 0;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = uInt(out.size());
            deflate(&stream, block < megabytes ? Z_NO_FLUSH : Z_FINISH);
            gzip += out.left(out.size() - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return gzip;
}

// A release-list server on the loopback interface that gives every request the same answer
// (none at all when silent) and records the paths asked for.
class VersionCheckerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    void SetUp() override
    {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] {
                request += socket->readAll();
                if (!request.endsWith("\r\n\r\n") || silent)
                    return;
                requested << QString(request.split(' ').value(1));
                lastRequest = std::exchange(request, {});
                if (!endless.isEmpty()) {
                    // The same piece again and again, for ever, every stepMs.
                    socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
                    auto* pieces = new QTimer(socket);
                    QObject::connect(pieces, &QTimer::timeout, socket,
                                     [this, socket] { socket->write(endless); });
                    QObject::connect(socket, &QTcpSocket::disconnected, pieces, &QTimer::stop);
                    pieces->start(stepMs);
                    return;
                }
                socket->write("HTTP/1.1 " + status + "\r\n" + headers +
                              "Content-Length: " + QByteArray::number(body.size()) +
                              "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        });
    }

    // Runs one check; the checker must report, and once only. A check that ends on its own has
    // a deadline that no run of the test reaches.
    std::unique_ptr<VersionChecker> check(const QByteArray& list = QByteArray(),
                                          int deadlineMs = 20000)
    {
        if (!list.isNull())
            body = list;
        const QUrl url(QString("http://127.0.0.1:%1/releases.xml").arg(server.serverPort()));
        auto checker = std::make_unique<VersionChecker>(url, nullptr, deadlineMs);
        QSignalSpy reported(checker.get(), &VersionChecker::releaseDataAvailable);
        EXPECT_TRUE(reported.wait(2 * deadlineMs + 3000));
        // A parse still running ends and its answer is delivered: it reports nothing more.
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(reported.count(), 1);
        return checker;
    }

    QTcpServer server;
    QByteArray request, lastRequest, status = "200 OK", headers, body, endless;
    int stepMs = 0;
    bool silent = false;
    QStringList requested;
};

} // namespace

TEST(SoftwareVersion, ParsesPrintsAndOrdersVersionTexts)
{
    const struct
    {
        const char* text;
        int major, minor, patch, stage;
        const char* printed;
    } cases[] = {
        {"1.2", 1, 2, 0, 0, "1.2"},
        {"1.2.3 RC4", 1, 2, 3, 68, "1.2.3 RC4"},
        {"1.2 BETA1", 1, 2, 0, 129, "1.2 BETA1"},
        {"2.0.1 BETA12", 2, 0, 1, 140, "2.0.1 BETA12"},
        {"3.0 DEBUG63", 3, 0, 0, 255, "3.0 DEBUG63"},
        {"258.513.7", 2, 1, 7, 0, "2.1.7"},
        {"1.2.3RC4", 0, 0, 0, 0, "0.0"},
        {"v1.2", 0, 0, 0, 0, "0.0"},
        {"", 0, 0, 0, 0, "0.0"},
        {"1.2.3.4", 0, 0, 0, 0, "0.0"},
        {"1.2 rc1", 0, 0, 0, 0, "0.0"},
        {"1.2 RC64", 0, 0, 0, 0, "0.0"},
    };
    for (const auto& c : cases) {
        const SoftwareVersion version = v(c.text);
        EXPECT_EQ(std::vector<int>({version.major, version.minor, version.patch, version.stage}),
                  std::vector<int>({c.major, c.minor, c.patch, c.stage}))
            << c.text;
        EXPECT_EQ(version.toString(), c.printed);
    }
    EXPECT_EQ(currentSoftwareVersion().toString(), "1.1.1");

    const char* ascending[] = {"0.0",     "1.1.1",      "1.2 BETA1",   "1.2",     "1.9",
                               "1.10",    "2.0 DEBUG1", "2.0 BETA9",   "2.0 RC1", "2.0 RC2",
                               "2.0 RC5", "2.0",        "2.0.1 DEBUG1"};
    for (size_t i = 0; i + 1 < std::size(ascending); ++i) {
        EXPECT_TRUE(v(ascending[i]) < v(ascending[i + 1])) << ascending[i];
        EXPECT_FALSE(v(ascending[i + 1]) < v(ascending[i])) << ascending[i];
    }
    EXPECT_EQ(v("1.2.0"), v("1.2"));
}

TEST_F(VersionCheckerTest, ANewerReleaseCountsOnlyForThisPlatformAndItsStage)
{
    const struct
    {
        const char* name;
        QByteArray list;
        bool upToDateFinal, upToDateAll;
        const char *latestFinal, *latestAll;
    } cases[] = {
        {"newer final", releaseList(release("1.0", "linux") + release("1.2", "linux")), false,
         false, "1.2", "1.2"},
        {"only a newer beta", releaseList(release("1.2 BETA1", "linux")), true, false, "0.0",
         "1.2 BETA1"},
        {"other platforms",
         releaseList(release("1.3", "win32") + release("1.4", "macosx") + release("1.5", "")), true,
         true, "0.0", "0.0"},
        {"newest listed elsewhere",
         releaseList(release("1.4", "macosx") + release("1.3 BETA2", "linux") +
                     release("1.2", "linux")),
         false, false, "1.2", "1.3 BETA2"},
        {"unreadable version", releaseList(release("1.5RC1", "linux")), true, true, "0.0", "0.0"},
        {"two lists", "<r><releases>" + release("1.2", "linux") + "</releases><releases/></r>",
         true, true, "0.0", "0.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto checker = check(c.list);
        EXPECT_EQ(checker->isUpToDate(currentSoftwareVersion(), true), c.upToDateFinal);
        EXPECT_EQ(checker->isUpToDate(currentSoftwareVersion(), false), c.upToDateAll);
        EXPECT_EQ(checker->latestVersion(true).toString(), c.latestFinal);
        EXPECT_EQ(checker->latestVersion(false).toString(), c.latestAll);
    }
}

TEST_F(VersionCheckerTest, RepeatedEntriesKeepTheLaterAndPartsMustBeUnique)
{
    const auto checker = check(releaseList(
        release("1.2", "linux", "https://old.test/", "old") +
        release("1.2", "win32", "https://new.test/", "new") +
        "<release version=\"1.3\"><platform os=\"linux\"><downloadpage>https://first.test/"
        "</downloadpage></platform><platform os=\"linux\"><downloadpage> https://second.test/ "
        "</downloadpage></platform><notes><![CDATA[\n trimmed <b>notes</b>\n]]></notes></release>"
        "<release version=\"1.4\"><platform os=\"linux\"><downloadpage>https://a.test/"
        "</downloadpage><downloadpage>https://b.test/</downloadpage><notes>inner</notes>"
        "</platform><notes>outer</notes></release>"));

    ASSERT_EQ(checker->releaseList().size(), 3u);
    const VersionChecker::ReleaseData& replaced = checker->releaseList().at(v("1.2"));
    EXPECT_FALSE(VersionChecker::hasPlatform(replaced, VersionChecker::Linux));
    EXPECT_EQ(replaced.notes, "new");
    EXPECT_EQ(checker->downloadPage(v("1.3")), QUrl("https://second.test/"));
    EXPECT_EQ(checker->releaseNotes(v("1.3")), "trimmed <b>notes</b>");
    EXPECT_TRUE(checker->downloadPage(v("1.4")).isEmpty()); // two pages: none
    EXPECT_TRUE(checker->releaseNotes(v("1.4")).isEmpty()); // notes in the platform count too
    EXPECT_EQ(checker->latestVersion(true), v("1.4"));
}

// Failures and hostile servers: an error status, a redirection (not followed), a list cut
// short, a silent server, a body beyond the bound (all at once or without end), a list nested
// too deep or with too many attributes in one element, a server that trickles for ever. Each
// check ends in no update, the silent and the trickling one by their deadline; the largest list
// taken is read all the same.
TEST_F(VersionCheckerTest, FailuresAndHostileServersEndInNoUpdate)
{
    const QByteArray ok = "200 OK", list = releaseList(release("9.0", "linux"));
    QByteArray attributes = "<releases";
    for (int i = 0; i < 60000; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"\"";
    QByteArray largest = release("1.2", "linux");
    while (largest.size() < VersionChecker::MaximumListBytes - 2000)
        largest += release("0.9", "win32", "https://a.test/", "notes notes notes notes");
    const struct
    {
        QByteArray status, headers, body, endless;
        int stepMs;
        bool silent;
        std::size_t releases;
    } cases[] = {
        {"404 Not Found", {}, list, {}, 0, false, 0},
        {"301 Moved", "Location: /moved.xml\r\n", list, {}, 0, false, 0},
        {ok, {}, "<releases><release version=\"9.0\">", {}, 0, false, 0},
        {ok, {}, list, {}, 0, true, 0},
        {ok, {}, releaseList(release("9.0", "linux").repeated(12000)), {}, 0, false, 0},
        {ok, {}, {}, QByteArray(64 * 1024, ' '), 0, false, 0},
        {ok, {}, {}, "<", 20, false, 0},
        {ok, {}, QByteArray("<r>").repeated(300000), {}, 0, false, 0},
        {ok, {}, attributes + "/>", {}, 0, false, 0},
        {ok, {}, releaseList(largest), {}, 0, false, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        std::tie(status, headers, endless, stepMs, silent) =
            std::tie(c.status, c.headers, c.endless, c.stepMs, c.silent);
        request.clear();
        requested.clear();
        const auto checker = check(c.body, c.silent || c.stepMs ? 300 : 20000);
        EXPECT_EQ(checker->releaseList().size(), c.releases);
        EXPECT_EQ(checker->timedOut(), c.silent || c.stepMs);
        EXPECT_LE(requested.size(), 1); // the redirection is not followed
    }
}

// A list compressed with gzip, although asked for as it is, that inflates to 300 MB: the check
// gives up at the answer's headers, having taken in none of it, long before its deadline.
TEST_F(VersionCheckerTest, ACompressedAnswerIsGivenUpUnread)
{
    headers = "Content-Encoding: gzip\r\n";
    const QByteArray bomb = gzipOfSpaces(300);
    ASSERT_LT(bomb.size(), 1 << 20);
    const auto checker = check(bomb);
    EXPECT_TRUE(lastRequest.contains("\r\nAccept-Encoding: identity\r\n"))
        << lastRequest.toStdString();
    EXPECT_EQ(checker->receivedBytes(), 0);
    EXPECT_FALSE(checker->timedOut());
    EXPECT_TRUE(checker->releaseList().empty());
}

TEST_F(VersionCheckerTest, UpdateDialogOffersTheNewestReleaseAndOpensOnlyWebAddresses)
{
    QList<QUrl> opened;
    UrlOpener::replace([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    for (const char* page : {"https://orvane.test/get", "HTTP://orvane.test/get",
                             "file:///etc/passwd", "javascript:alert(1)", "http:///x", ""}) {
        SCOPED_TRACE(page);
        opened.clear();
        const auto checker =
            check(releaseList(release("1.3 RC1", "linux") +
                              release("1.2", "linux", page, "Faster &lt;i&gt;previews&lt;/i&gt;")));
        SoftwareUpdateDialog dialog(*checker, true);
        EXPECT_EQ(dialog.findChild<QLabel*>("newVersionLabel")->text(),
                  "Version 1.2 is ready for download");
        EXPECT_EQ(dialog.findChild<QLabel*>("oldVersionLabel")->text(),
                  "You are currently running 1.1.1");
        EXPECT_EQ(dialog.findChild<QTextEdit*>("releaseNotesView")->toPlainText(),
                  "Faster previews");
        dialog.findChild<QPushButton*>("downloadButton")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        const bool web = QUrl(page).host() == "orvane.test";
        EXPECT_EQ(opened, web ? QList<QUrl>{QUrl(page)} : QList<QUrl>{});
    }
    UrlOpener::replace({});
}

TEST(VendorVariants, ResourcesPathAndLaunchEvent)
{
    EXPECT_EQ(resourcesPath(), QCoreApplication::applicationDirPath() + "/../Resources");
    setResourcesPathOverride("/tmp/bundle");
    EXPECT_EQ(resourcesPath(), "/tmp/bundle");
    setResourcesPathOverride(QString());
    const ApplicationLaunchedEvent launched("/projects/a.qvp");
    EXPECT_EQ(int(launched.type()), 1000);
    EXPECT_EQ(launched.path, "/projects/a.qvp");
}
