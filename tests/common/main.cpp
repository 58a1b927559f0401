#include "velmora_objects/meta_types.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs headless inside one QApplication, so that widgets, pixmaps and
// the event loop are available to the tests that need them.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QApplication app(argc, argv);
    Velmora::registerMetaTypes();
    return RUN_ALL_TESTS();
}
