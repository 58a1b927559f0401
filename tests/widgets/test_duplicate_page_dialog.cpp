#include "common/modal_answerer.h"
#include "main/velmora_document.h"
#include "widgets/duplicate_page_dialog.h"

#include <QCommandLinkButton>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(DuplicatePageDialog, EachChoiceClosesAtOnceWithItsMode)
{
    const auto clickChild = [](const char* name) {
        return [name](QWidget* window) { window->findChild<QAbstractButton*>(name)->click(); };
    };
    const struct
    {
        const char* name;
        TestUtil::ModalAnswerer::Answer answer;
        int result;
        int mode;
    } cases[] = {
        {"default", clickChild("defaultButton"), QDialog::Accepted,
         VelmoraDocument::DuplicateRenamingControls},
        {"full", clickChild("fullButton"), QDialog::Accepted,
         VelmoraDocument::DuplicateKeepingKeys},
        {"cancel",
         [](QWidget* window) {
             window->findChild<QDialogButtonBox*>("buttonBox")
                 ->button(QDialogButtonBox::Cancel)
                 ->click();
         },
         QDialog::Rejected, 0},
        {"escape",
         [](QWidget* window) {
             QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(window, &escape);
         },
         QDialog::Rejected, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DuplicatePageDialog dialog;
        EXPECT_EQ(dialog.duplicateMode(), 0);
        TestUtil::ModalAnswerer answers;
        answers.then(c.answer);
        EXPECT_EQ(dialog.exec(), c.result);
        EXPECT_EQ(answers.pending(), 0);
        EXPECT_EQ(dialog.duplicateMode(), c.mode);
    }
}

TEST(DuplicatePageDialog, CommandLinksShowTheCopyIcon)
{
    DuplicatePageDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Duplicate Page");
    dialog.show();
    for (const char* name : {"defaultButton", "fullButton"}) {
        SCOPED_TRACE(name);
        auto* button = dialog.findChild<QCommandLinkButton*>(name);
        ASSERT_NE(button, nullptr);
        // The icon's blue lines of text are drawn at the left of the link (scaled, so blended
        // with the paper around them).
        const QImage shot = button->grab().toImage();
        int blue = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < std::min(40, shot.width()); ++x) {
                const QColor c = shot.pixelColor(x, y);
                blue += c.blue() - c.red() > 50;
            }
        EXPECT_GT(blue, 10);
    }
}
