#include "core/targz_archive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Lists, extracts and reads into memory an arbitrary file as a tar.gz archive (zlib reads a
// file that is not compressed as it is, so plain tar streams reach the tar reader too). Besides
// crashes and hangs it catches any entry written beside the destination folder or any
// extracted entry that is not a plain file. The read into memory has limits small enough for
// the fuzzer to cross them.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir work;
    const QString input = work.filePath("input.tgz");
    const QString destination = work.filePath("out");
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    TargzArchive archive;
    QStringList names;
    archive.list(input, names);
    archive.extract(input, "*", destination);
    archive.extractAll(input, destination);
    TargzArchive::MemoryRead read;
    archive.readIntoMemory(
        input, {64, 64 * 1024, 256 * 1024}, [](const QString&) { return true; }, read);

    const QStringList beside =
        QDir(work.path())
            .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& entry : beside) {
        if (entry != "input.tgz" && entry != "out") {
            std::fprintf(stderr, "written outside the destination: %s\n", qPrintable(entry));
            std::abort();
        }
    }
    const QFileInfoList extracted =
        QDir(destination)
            .entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : extracted) {
        if (entry.isSymLink() || !entry.isFile()) {
            std::fprintf(stderr, "extracted a non-file: %s\n", qPrintable(entry.fileName()));
            std::abort();
        }
    }
    QDir(destination).removeRecursively();
    return 0;
}
