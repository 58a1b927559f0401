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
        setValue(name);
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
        if (fill.isValid())
            painter->fillRect(option.rect, fill);
        return fill.isValid();
    }
    void showMoreEditor(QWidget* parent) override
    {
        moreParent = parent;
        QDialog(parent).exec();
    }
    bool resettable, more;
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

class PropertyDelegateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const bool buttons[][2] = {
            {false, false}, {true, false}, {true, true}, {true, true}, {true, true}};
        for (int row = Plain; row <= Painted; ++row)
            rows[row] = new ProbeProperty(model.root(), QString("value %1").arg(row),
                                          buttons[row][0], buttons[row][1]);
        rows[ReadOnly]->setFlag(Property::ReadOnly, true);
        rows[Painted]->fill = Qt::red;
        QPalette palette = view.palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::AlternateBase, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0, 160, 0));
        view.setPalette(palette);
        QFont font = view.font();
        font.setPixelSize(8); // the styled row height alone would stay below 20
        view.setFont(font);
        view.setModel(&model);
        view.setItemDelegate(&delegate);
        view.resize(400, 200);
        view.header()->resizeSection(0, 150);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QRect cell(int row) const { return view.visualRect(model.index(row, 1)); }
    QPoint at(int row, int fromRight) const
    {
        return QPoint(cell(row).right() - fromRight, cell(row).center().y());
    }
    QString tipAt(int row, int fromRight)
    {
        QHelpEvent event(QEvent::ToolTip, at(row, fromRight),
                         view.viewport()->mapToGlobal(at(row, fromRight)));
        QApplication::sendEvent(view.viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    PropertyModel model;
    PropertyDelegate delegate;
    QTreeView view;
    ProbeProperty* rows[5] = {};
};

bool anyPixel(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixelColor(x, y)))
                return true;
    return false;
}

bool ink(QColor c)
{
    return qGray(c.rgb()) < 160;
}

} // namespace

TEST_F(PropertyDelegateTest, DrawsButtonsAndTheValueInWhatIsLeft)
{
    const QImage shot = view.viewport()->grab().toImage();
    // Button 0 (reset) and 1 (show more): 16 px icons 18 px left of their zone's right edge.
    const auto icon = [&](int row, int button) {
        return QRect(cell(row).right() - 18 - 20 * button, cell(row).top() + 2, 16, 16);
    };
    const bool drawn[][2] = {
        {false, false}, {true, false}, {true, true}, {true, true}, {true, true}};
    for (int row = Plain; row <= Painted; ++row) {
        EXPECT_EQ(anyPixel(shot, icon(row, 0), ink), drawn[row][0]) << row;
        EXPECT_EQ(anyPixel(shot, icon(row, 1), ink), drawn[row][1]) << row;
        EXPECT_EQ(cell(row).height(), 20);
    }
    // The painted row fills exactly what the buttons leave, and gets no text.
    const QRect painted = cell(Painted);
    EXPECT_EQ(shot.pixelColor(painted.left() + 10, painted.center().y()), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(painted.right() - 40, painted.center().y()), QColor(Qt::red));
    EXPECT_NE(shot.pixelColor(painted.right() - 39, painted.center().y()), QColor(Qt::red));
    // The read-only value is drawn disabled (green text); an editable one is not.
    const auto green = [](QColor c) { return c.green() > 100 && c.red() < 60 && c.blue() < 60; };
    EXPECT_TRUE(anyPixel(shot, cell(ReadOnly).adjusted(0, 0, -40, 0), green));
    EXPECT_FALSE(anyPixel(shot, cell(Both).adjusted(0, 0, -40, 0), green));
    EXPECT_TRUE(anyPixel(shot, cell(Both).adjusted(0, 0, -40, 0), ink));
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
        bool consumed, reset, more;
    } presses[] = {
        {Resettable, 5, true, true, false},
        {Resettable, 5, true, false, false}, // unset now: nothing to announce
        {Plain, 5, true, false, false},      // no button, yet the press is swallowed
        {Both, 30, true, false, true},
        {ReadOnly, 30, true, false, true}, // read-only stops in-place editing only
        {Resettable, 30, false, false, false},
        {Plain, 100, false, false, false},
    };
    for (const auto& p : presses) {
        view.selectionModel()->clear();
        const QVariant before = rows[p.row]->value();
        const int changes = changed.count();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at(p.row, p.fromRight));
        EXPECT_EQ(view.selectionModel()->hasSelection(), !p.consumed) << p.row << p.fromRight;
        EXPECT_EQ(rows[p.row]->value(), p.reset ? QVariant() : before) << p.row;
        EXPECT_EQ(changed.count() - changes, p.reset ? 1 : 0) << p.row;
        EXPECT_EQ(rows[p.row]->moreParent, p.more ? &view : nullptr) << p.row;
    }
    EXPECT_EQ(answers.pending(), 0);
}

TEST_F(PropertyDelegateTest, ButtonsHaveTipsAndRoomBesideTheEditor)
{
    EXPECT_EQ(tipAt(Both, 5), "Reset");
    EXPECT_EQ(tipAt(Both, 30), "Show More");
    tipAt(Both, 60); // left of the buttons the tip goes away
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));

    for (const auto& [row, narrowing] : {std::pair{Plain, 0}, {Resettable, 20}, {Both, 40}}) {
        view.openPersistentEditor(model.index(row, 1));
        const QWidget* editor = view.indexWidget(model.index(row, 1));
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->geometry(), cell(row).adjusted(0, 0, -narrowing, 0)) << row;
    }
}

// A value cut short by its cell shows whole as its tip over the value; one that fits has none.
TEST_F(PropertyDelegateTest, ACutValueShowsWholeAsItsTip)
{
    EXPECT_EQ(tipAt(Both, 100), "");
    const QString longValue = QString("a long value ").repeated(12);
    rows[Both]->setValue(longValue);
    EXPECT_EQ(tipAt(Both, 100), longValue);
    EXPECT_EQ(tipAt(Both, 5), "Reset");
}
