#pragma once

#include "common/helpers.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

// Expected QML documents live in tests/data/qml/. Running a test program with
// VELMORA_REGENERATE_GOLDEN=1 rewrites the files from what the code writes; the rewritten files
// must be reviewed before they are committed.
namespace QmlGolden {

inline bool regenerating()
{
    return qEnvironmentVariableIntValue("VELMORA_REGENERATE_GOLDEN") != 0;
}

// Compares the document with tests/data/qml/<name> byte for byte (as UTF-8) and names the first
// line that differs.
inline void expectDocument(const QString& name, const QString& actual)
{
    const QString path = TestUtil::dataPath(QStringLiteral("qml/") + name);
    if (regenerating()) {
        ASSERT_TRUE(TestUtil::writeFile(path, actual.toUtf8())) << path.toStdString();
        return;
    }
    const QByteArray expectedBytes = TestUtil::readFile(path);
    ASSERT_FALSE(expectedBytes.isEmpty()) << "missing expected document " << path.toStdString();
    const QString expected = QString::fromUtf8(expectedBytes);
    if (expected == actual)
        return;
    const QStringList expectedLines = expected.split(QLatin1Char('\n'));
    const QStringList actualLines = actual.split(QLatin1Char('\n'));
    qsizetype line = 0;
    while (line < expectedLines.size() && line < actualLines.size() &&
           expectedLines[line] == actualLines[line])
        ++line;
    ADD_FAILURE() << name.toStdString() << " differs at line " << line + 1 << "\n  expected: "
                  << expectedLines.value(line, QStringLiteral("<end>")).toStdString()
                  << "\n  actual:   "
                  << actualLines.value(line, QStringLiteral("<end>")).toStdString();
}

} // namespace QmlGolden
