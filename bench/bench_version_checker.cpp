#include "main/version_checker.h"

#include "ratio_reporter.h"

#include <QCoreApplication>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>

// The update check keeps the GUI thread free while it reads the largest release list it takes
// (just under the bound of 1 MB), served over the loopback interface: the GUI thread only
// gathers the pieces of the body, the shape check and the parse run on a thread of their own.
// Measured: the longest stretch of the GUI thread's own processor time between two turns of its
// event loop during a check. Baseline: the same list's shape check and parse on the calling
// thread, the stretch the check would take without its thread. Both in thread processor time,
// to which other work on the machine does not add. Target: the longest stretch at most a tenth
// of the parse.

namespace {

double threadMs()
{
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return double(time.tv_sec) * 1e3 + time.tv_nsec * 1e-6;
}

QByteArray largestList()
{
    QByteArray releases = "<release version=\"1.2\"><platform os=\"linux\"><downloadpage>"
                          "https://a.test/</downloadpage></platform></release>";
    const QByteArray other = "<release version=\"0.9\"><platform os=\"win32\"><downloadpage>"
                             "https://a.test/</downloadpage></platform><notes>notes notes notes"
                             "</notes></release>";
    while (releases.size() < VersionChecker::MaximumListBytes - 2000)
        releases += other;
    return "<?xml version=\"1.0\"?><releases>" + releases + "</releases>";
}

void parse(benchmark::State& state)
{
    const QByteArray list = largestList();
    for (auto _ : state) {
        const double start = threadMs();
        if (VersionChecker::parseReleaseList(list).size() != 2)
            state.SkipWithError("the list did not read");
        state.SetIterationTime((threadMs() - start) / 1e3);
    }
}

void longestTurn(benchmark::State& state)
{
    const QByteArray list = largestList();
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost))
        std::abort();
    QObject::connect(&server, &QTcpServer::newConnection, [&server, &list] {
        QTcpSocket* socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, [socket, &list] {
            if (!socket->readAll().endsWith("\r\n\r\n"))
                return;
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(list.size()) +
                          "\r\nConnection: close\r\n\r\n" + list);
            socket->disconnectFromHost();
        });
    });
    const QUrl url(QString("http://127.0.0.1:%1/releases.xml").arg(server.serverPort()));
    for (auto _ : state) {
        double last = threadMs(), longest = 0;
        QTimer turns;
        QObject::connect(&turns, &QTimer::timeout, [&] {
            const double now = threadMs();
            longest = std::max(longest, now - last);
            last = now;
        });
        turns.start(0);
        // The check always reports, by its deadline at the latest.
        VersionChecker checker(url, nullptr, 60000);
        bool reported = false;
        QObject::connect(&checker, &VersionChecker::releaseDataAvailable,
                         [&reported] { reported = true; });
        while (!reported)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (checker.releaseList().size() != 2)
            state.SkipWithError("the check did not read the list");
        state.SetIterationTime(longest / 1e3);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication application(argc, argv);
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    for (const auto& [name, function] : {std::pair{"parse", parse}, {"longestTurn", longestTurn}})
        benchmark::RegisterBenchmark(name, function)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    BenchRatio::RatioReporter reporter;
    BenchRatio::run(argc, argv, reporter, {"--benchmark_repetitions=10"});
    std::printf("\nRatio over 10 repetitions (%d bytes):\n", int(largestList().size()));
    reporter.printRatio("longest GUI turn of a check / parse", "longestTurn", "parse", 0.1);
    return 0;
}
