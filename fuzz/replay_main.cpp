#include "velmora_objects/qml/qml_engine.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <cstdint>
#include <cstdio>
#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Optional in a target. libFuzzer calls LLVMFuzzerInitialize before the first input, and so does
// the replay; a target that brings up an application of its own there takes it down again in
// VelmoraFuzzerFinalize, which the replay calls after the last input.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" __attribute__((weak)) void VelmoraFuzzerFinalize();

// Runs a fuzz target over every file of its corpus folder (or over the files named), so that
// the seed corpus and every crash once found stay regression tests without libFuzzer.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Targets may drive the editor's document, whose preview is a widget drawn in software.
    VelmoraQML::useSoftwareSceneGraph();
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    std::optional<QApplication> app;
    if (!QCoreApplication::instance())
        app.emplace(argc, argv);
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        QStringList files;
        QFileInfo info(QString::fromLocal8Bit(argv[i]));
        if (info.isDir()) {
            QDirIterator it(info.filePath(), QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
        } else {
            files << info.filePath();
        }
        files.sort();
        for (const QString& path : files) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   size_t(bytes.size()));
            ++count;
        }
    }
    if (VelmoraFuzzerFinalize)
        VelmoraFuzzerFinalize();
    std::printf("%d inputs ran\n", count);
    return count > 0 ? 0 : 1;
}
