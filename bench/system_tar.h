#pragma once

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>

// The system's tar as the baseline of the archive benchmarks: same members, same gzip level.
namespace SystemTar {

inline bool run(const QStringList& arguments)
{
    QProcess process;
    process.start("tar", arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// "tar czf target -C folder members..." once per iteration.
inline void create(benchmark::State& state, const QString& target, const QString& folder,
                   const QStringList& members)
{
    for (auto _ : state) {
        if (!run(QStringList{"czf", target, "-C", folder} + members))
            state.SkipWithError("tar czf failed");
    }
    state.counters["bytes"] = double(QFileInfo(target).size());
}

// "tar xzf source -C target" once per iteration, into an emptied folder.
inline void extract(benchmark::State& state, const QString& source, const QString& target)
{
    for (auto _ : state) {
        state.PauseTiming();
        QDir(target).removeRecursively();
        QDir().mkpath(target);
        state.ResumeTiming();
        if (!run({"xzf", source, "-C", target}))
            state.SkipWithError("tar xzf failed");
    }
}

} // namespace SystemTar
