#include "gui/list_message_box.h"

#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

// However many lines the message holds, its window stays on the screen; a few lines show whole,
// more scroll.
TEST(ListMessageBoxTest, EveryLineIsListedInAWindowThatStaysOnTheScreen)
{
    for (const int count : {3, 40, 1000}) {
        SCOPED_TRACE(count);
        QStringList lines;
        for (int i = 0; i < count; ++i)
            lines << QString("theme-%1.qvt: The theme file is not a gzip-compressed tar archive.")
                         .arg(i);
        ListMessageBox box(QMessageBox::Critical, "Load Theme", "Failed:", lines);
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        const auto* list = box.findChild<QPlainTextEdit*>();
        EXPECT_EQ(list->toPlainText().split('\n'), lines);
        EXPECT_TRUE(box.screen()->availableGeometry().contains(box.frameGeometry()));
        EXPECT_EQ(list->verticalScrollBar()->maximum() > 0, count > 3);
    }
}
