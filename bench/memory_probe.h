#pragma once

#include "ratio_reporter.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Memory figures taken in processes of their own: the benchmark program starts itself again
// with a probe argument, the probe does its work from a fresh start (a new engine, a new heap)
// and prints its peak resident set, and the benchmark keeps that figure for every repetition.
namespace MemoryProbe {

// The peak resident set of this process, in MiB.
inline double peakMiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// Every figure by the name it was kept under, one a repetition.
inline std::map<std::string, std::vector<double>>& figures()
{
    static std::map<std::string, std::vector<double>> kept;
    return kept;
}

// Runs the program with the argument and keeps the peak it prints under the name; a negative
// value when the probe failed.
inline double run(const char* program, const QString& argument, const std::string& name)
{
    QProcess child;
    child.start(QString::fromLocal8Bit(program), {argument});
    if (!child.waitForFinished(600000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0)
        return -1;
    const double peak = child.readAllStandardOutput().trimmed().toDouble();
    figures()[name].push_back(peak);
    return peak;
}

// Both figures by their minimum and median, and the ratio of the measured to the baseline.
inline void printRatio(const std::string& what, const std::string& measured,
                       const std::string& baseline, double target)
{
    const auto& kept = figures();
    const auto m = kept.find(measured);
    const auto b = kept.find(baseline);
    if (m == kept.end() || b == kept.end())
        return;
    for (const auto* entry : {&*b, &*m})
        std::printf("peak of %-36s %6.1f MiB (min)  %6.1f MiB (median)\n", entry->first.c_str(),
                    BenchRatio::minimumOf(entry->second), BenchRatio::medianOf(entry->second));
    BenchRatio::RatioReporter::printRatios(
        what, BenchRatio::minimumOf(m->second) / BenchRatio::minimumOf(b->second),
        BenchRatio::medianOf(m->second) / BenchRatio::medianOf(b->second), target);
}

} // namespace MemoryProbe
