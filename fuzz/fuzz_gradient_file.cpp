#include "core/gradient_library.h"
#include "core/xml_schema_validator.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Loads the input as a user gradient file of a library validating against the shipped schema,
// copies every gradient it gave, saves, and checks that the rewritten pack passes the schema
// again: whatever a save writes must load on the next start. A save may refuse a pack that
// would go beyond the size bounds, and then leaves the file as it was.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // libFuzzer brings no application object (the replay program does).
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_gradient_file";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
    static QTemporaryDir folder;
    static const QString builtIn =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../Resources/gradient");
    static const XmlSchemaValidator schema(builtIn + QStringLiteral("/gradient.xsd"));
    if (!schema.isValid())
        std::abort();

    const QString path = QDir(folder.path()).filePath("input.xml");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    // A library of its own for every input: a refused save leaves its pack marked.
    GradientLibrary library(builtIn, folder.path());
    library.loadFile(path, GradientLibrary::UserGradient);
    const int loaded = library.rowCount();
    for (int row = 0; row < loaded; ++row)
        library.copyGradient(library.index(row, 0));
    if (!library.save()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) ||
            file.readAll() !=
                QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)))
            std::abort();
    } else if (loaded > 0) {
        XmlSchemaValidator::Error error;
        if (!schema.validateFile(path, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error.toString()));
            std::abort();
        }
    }
    return 0;
}
