#include "common/process_state.h"
#include "velmora_objects/meta_types.h"
#include "velmora_objects/qml/qml_engine.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test program runs headless inside one QApplication, so that widgets, pixmaps, QML
// and the event loop are available to the tests that need them.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The temporary files of the program, and of the death-test children it starts (which end
    // without removing theirs), go into one folder that goes when the program ends.
    const QTemporaryDir session(QDir::tempPath() + '/' + QFileInfo(argv[0]).fileName() + "-XXXXXX");
    if (session.isValid())
        qputenv("TMPDIR", QFile::encodeName(session.path()));
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // QtQuick scenes render in software, as the editor's do; other tests never create one.
    VelmoraQML::useSoftwareSceneGraph();
    QApplication app(argc, argv);
    Velmora::registerMetaTypes();
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestUtil::ProcessStateGuard);
    return RUN_ALL_TESTS();
}
