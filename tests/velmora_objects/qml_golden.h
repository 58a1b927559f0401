#pragma once

#include "common/helpers.h"

#include <QString>
#include <gtest/gtest.h>

// Expected QML documents live in tests/data/qml/. Running a test program with
// VELMORA_REGENERATE_GOLDEN=1 rewrites the files from what the code writes; the rewritten files
// must be reviewed before they are committed.
namespace QmlGolden {

// Compares the document with tests/data/qml/<name> byte for byte (as UTF-8); a difference is
// shown line by line.
inline void expectDocument(const QString& name, const QString& actual)
{
    const QString path = TestUtil::dataPath(QStringLiteral("qml/") + name);
    if (qEnvironmentVariableIntValue("VELMORA_REGENERATE_GOLDEN") != 0) {
        ASSERT_TRUE(TestUtil::writeFile(path, actual.toUtf8())) << path.toStdString();
        return;
    }
    EXPECT_EQ(actual.toUtf8().toStdString(), TestUtil::readFile(path).toStdString())
        << name.toStdString();
}

} // namespace QmlGolden
