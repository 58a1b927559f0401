#include "gui/validating_line_edit.h"

#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

enum Tip
{
    Unchecked,
    Shown,
    Hidden
};

} // namespace

TEST(ValidatingLineEdit, ReportsEachChangeOfVerdictAndShowsTheMessage)
{
    ValidatingLineEdit edit(QRegularExpression("\\d{3,6}"));
    edit.setInvalidMessage("Three to six digits");
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    auto* validator = qobject_cast<const VerboseRegExpValidator*>(edit.validator());
    ASSERT_NE(validator, nullptr);
    QSignalSpy states(validator, &VerboseRegExpValidator::stateChanged);

    using S = QValidator::State;
    const struct
    {
        Qt::Key key;
        QList<S> reported;
        QString text;
        Tip tip;
    } steps[] = {
        {Qt::Key_1, {S::Intermediate}, "1", Shown}, // the first verdict is always reported
        {Qt::Key_2, {}, "12", Unchecked},
        {Qt::Key_3, {S::Acceptable}, "123", Hidden},
        {Qt::Key_Backspace, {S::Intermediate}, "12", Shown},
        {Qt::Key_3, {S::Acceptable}, "123", Hidden},
        {Qt::Key_X, {S::Invalid}, "123", Shown}, // refused, yet reported
        {Qt::Key_4, {S::Acceptable}, "1234", Hidden},
        {Qt::Key_5, {}, "12345", Unchecked},
        {Qt::Key_6, {}, "123456", Unchecked},
        {Qt::Key_7, {S::Invalid}, "123456", Shown},
    };
    for (const auto& step : steps) {
        states.clear();
        QTest::keyClick(&edit, step.key);
        QList<S> reported;
        for (const QList<QVariant>& signal : states)
            reported.append(signal[0].value<S>());
        EXPECT_EQ(reported, step.reported) << step.text.toStdString();
        EXPECT_EQ(edit.text(), step.text);
        if (step.tip == Shown) {
            EXPECT_TRUE(QToolTip::isVisible()) << step.text.toStdString();
            EXPECT_EQ(QToolTip::text(), "Three to six digits");
        } else if (step.tip == Hidden) {
            EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000))
                << step.text.toStdString();
        }
    }

    // An explicit state is reported even when it is the same.
    states.clear();
    edit.findChild<VerboseRegExpValidator*>()->setState(S::Invalid);
    EXPECT_EQ(states.count(), 1);
    EXPECT_EQ(edit.regExp().pattern(), "\\d{3,6}");
}
