#include "common/modal_answerer.h"
#include "gui/property.h"
#include "gui/property_delegate.h"
#include "gui/property_model.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

class ProbeProperty : public Property
{
public:
    ProbeProperty(Property* parent, const QString& name, bool resettable, bool more)
        : Property(parent), resettable(resettable), more(more)
    {
        this->name = name;
        setValue(name + " value");
    }
    QString toText() const override { return value().toString(); }
    bool isEditable() const override { return true; }
    bool isResettable() const override { return resettable; }
    bool hasMore() const override { return more; }
    QWidget* createEditor(QWidget* parent, const QObject*, const char*) const override
    {
        return new QLineEdit(parent);
    }
    bool paint(QPainter* painter, const QStyleOption& option) const override
    {
        if (!fill.isValid())
            return false;
        painter->fillRect(option.rect, fill);
        return true;
    }
    void showMoreEditor(QWidget* parent) override
    {
        moreParent = parent;
        QDialog dialog(parent);
        dialog.exec();
    }

    bool resettable;
    bool more;
    QColor fill;
    QWidget* moreParent = nullptr;
};

enum Row
{
    Plain,
    Resettable,
    Both,
    ReadOnly,
    Painted
};

const QColor disabledText(0, 160, 0);

class PropertyDelegateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        rows[Plain] = new ProbeProperty(model.root(), "plain", false, false);
        rows[Resettable] = new ProbeProperty(model.root(), "reset", true, false);
        rows[Both] = new ProbeProperty(model.root(), "both", true, true);
        rows[ReadOnly] = new ProbeProperty(model.root(), "fixed", true, true);
        rows[ReadOnly]->setFlag(Property::ReadOnly, true);
        rows[Painted] = new ProbeProperty(model.root(), "painted", true, true);
        rows[Painted]->fill = Qt::red;

        QPalette palette = view.palette();
        for (const auto role : {QPalette::Base, QPalette::AlternateBase})
            palette.setColor(role, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        palette.setColor(QPalette::Disabled, QPalette::Text, disabledText);
        view.setPalette(palette);
        // A small font, so that the styled row height would stay below the minimum.
        QFont font = view.font();
        font.setPixelSize(8);
        view.setFont(font);
        view.setModel(&model);
        view.setItemDelegate(&delegate);
        view.setRootIsDecorated(false);
        view.resize(400, 200);
        view.header()->resizeSection(0, 150);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QRect cell(Row row) const { return view.visualRect(model.index(row, 1)); }
    QPoint at(Row row, int fromRight) const
    {
        const QRect r = cell(row);
        return QPoint(r.right() - fromRight, r.center().y());
    }
    void press(Row row, int fromRight)
    {
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at(row, fromRight));
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at(row, fromRight));
    }
    QString tipAt(Row row, int fromRight)
    {
        const QPoint pos = at(row, fromRight);
        QHelpEvent event(QEvent::ToolTip, pos, view.viewport()->mapToGlobal(pos));
        QApplication::sendEvent(view.viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    PropertyModel model;
    PropertyDelegate delegate;
    QTreeView view;
    ProbeProperty* rows[5] = {};
};

// Whether any pixel of the area is dark (icon or text ink on the white base).
bool hasInk(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                return true;
    return false;
}

bool hasColour(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixelColor(x, y)))
                return true;
    return false;
}

} // namespace

TEST_F(PropertyDelegateTest, DrawsButtonsAndNarrowsTheValue)
{
    const QImage shot = view.viewport()->grab().toImage();
    const auto zone = [&](Row row, int index) {
        const QRect r = cell(row);
        // Button `index` (0 reset, 1 more) is 16 px wide, 18 px left of its zone's right edge.
        return QRect(r.right() - 18 - 20 * index, r.top() + 2, 16, 16);
    };
    EXPECT_FALSE(hasInk(shot, zone(Plain, 0)));
    EXPECT_FALSE(hasInk(shot, zone(Plain, 1)));
    EXPECT_TRUE(hasInk(shot, zone(Resettable, 0)));
    EXPECT_FALSE(hasInk(shot, zone(Resettable, 1)));
    for (Row row : {Both, ReadOnly, Painted}) {
        EXPECT_TRUE(hasInk(shot, zone(row, 0))) << row;
        EXPECT_TRUE(hasInk(shot, zone(row, 1))) << row;
    }
    // The painted row fills exactly what the buttons leave, and the delegate draws no text.
    const QRect painted = cell(Painted);
    const int y = painted.center().y();
    EXPECT_EQ(shot.pixelColor(painted.right() - 40, y), QColor(Qt::red));
    EXPECT_NE(shot.pixelColor(painted.right() - 39, y), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(painted.left() + 10, y), QColor(Qt::red));
    // The read-only value is drawn disabled; an editable one is not.
    const auto green = [](QColor c) { return c.green() > 100 && c.red() < 60 && c.blue() < 60; };
    EXPECT_TRUE(hasColour(shot, cell(ReadOnly).adjusted(0, 0, -40, 0), green));
    EXPECT_FALSE(hasColour(shot, cell(Both).adjusted(0, 0, -40, 0), green));
    EXPECT_TRUE(hasInk(shot, cell(Both).adjusted(0, 0, -40, 0)));
}

TEST_F(PropertyDelegateTest, RowsAreAtLeastTwentyHigh)
{
    for (Row row : {Plain, Both})
        EXPECT_EQ(view.visualRect(model.index(row, 0)).height(), 20) << row;
}

TEST_F(PropertyDelegateTest, PressesOnButtonsAreConsumedAndAct)
{
    QSignalSpy changed(&model, &PropertyModel::propertyChanged);
    TestUtil::ModalAnswerer answers;
    answers.dialog(QDialog::Rejected).dialog(QDialog::Rejected);

    const struct
    {
        Row row;
        int fromRight;
        bool consumed;
        bool reset;
        bool more;
    } presses[] = {
        {Resettable, 5, true, true, false},
        {Plain, 5, true, false, false}, // nothing to reset, yet the press is swallowed
        {Both, 30, true, false, true},
        {ReadOnly, 30, true, false, true}, // read-only stops in-place editing only
        {Resettable, 30, false, false, false},
        {Plain, 100, false, false, false},
    };
    for (const auto& p : presses) {
        view.selectionModel()->clear();
        const QVariant before = rows[p.row]->value();
        const int changes = changed.count();
        press(p.row, p.fromRight);
        EXPECT_EQ(view.selectionModel()->hasSelection(), !p.consumed) << p.row << p.fromRight;
        EXPECT_EQ(rows[p.row]->value(), p.reset ? QVariant() : before) << p.row;
        EXPECT_EQ(changed.count() - changes, p.reset ? 1 : 0) << p.row;
        EXPECT_EQ(rows[p.row]->moreParent, p.more ? &view : nullptr) << p.row;
    }
    EXPECT_EQ(answers.pending(), 0);
    // Resetting an unset value changes nothing and announces nothing.
    press(Resettable, 5);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(PropertyDelegateTest, ToolTipsNameTheButtons)
{
    EXPECT_EQ(tipAt(Both, 5), "Reset");
    EXPECT_EQ(tipAt(Both, 30), "Show More");
    // Left of the buttons the visible tip goes away.
    tipAt(Both, 60);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(tipAt(Resettable, 5), "Reset");
}

TEST_F(PropertyDelegateTest, EditorsLeaveRoomForTheButtons)
{
    const struct
    {
        Row row;
        int narrowing;
    } cases[] = {{Plain, 0}, {Resettable, 20}, {Both, 40}};
    for (const auto& c : cases) {
        view.openPersistentEditor(model.index(c.row, 1));
        QWidget* editor = view.indexWidget(model.index(c.row, 1));
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->geometry(), cell(c.row).adjusted(0, 0, -c.narrowing, 0)) << c.row;
    }
}
