#include "core/gradient.h"
#include "gui/basic_properties.h"
#include "gui/property_delegate.h"
#include "gui/property_model.h"
#include "velmora_objects/velmora_types.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>

namespace {

template <typename P> std::unique_ptr<P> make()
{
    return std::make_unique<P>(nullptr);
}

} // namespace

TEST(BasicProperties, AcceptOnlyTheirListedValueTypes)
{
    const QVariant colour = QColor(Qt::red);
    const QVariant gradient = QVariant::fromValue(Gradient());
    const QVariant function = QVariant::fromValue(Velmora::ButtonFunction_BACK);
    const struct
    {
        PropertyValueKind kind;
        QVariant value;
        bool accepted;
    } cases[] = {
        {PropertyValueKind::String, "text", true},
        {PropertyValueKind::String, 12u, true},
        {PropertyValueKind::String, colour, false},
        {PropertyValueKind::String, gradient, false},
        {PropertyValueKind::Int, 7u, true},
        {PropertyValueKind::Int, "7", true},
        {PropertyValueKind::Int, function, false},
        {PropertyValueKind::Int, colour, false},
        {PropertyValueKind::Double, 0.25, true},
        {PropertyValueKind::Double, QPointF(1, 2), false},
        {PropertyValueKind::Bool, true, true},
        {PropertyValueKind::Bool, 0, true},
        {PropertyValueKind::Bool, colour, false},
        {PropertyValueKind::Colour, colour, true},
        {PropertyValueKind::Colour, "#ff0000", true},
        {PropertyValueKind::Colour, 0xff0000, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isAcceptedValue(c.kind, c.value), c.accepted)
            << int(c.kind) << " " << c.value.metaType().name();

    // A refused value unsets; an accepted one is stored with its own type.
    auto text = make<StringProperty>();
    text->setValue(12u);
    EXPECT_EQ(text->value().metaType(), QMetaType::fromType<uint>());
    EXPECT_EQ(text->toText(), "12");
    text->setValue(colour);
    EXPECT_FALSE(text->value().isValid());
    EXPECT_EQ(text->toText(), "");
}

TEST(BasicProperties, ShowTheirValuesAsText)
{
    auto number = make<IntProperty>();
    number->specialValueText = "Off";
    number->suffix = "px";
    auto decimal = make<DoubleProperty>();
    decimal->minimum = 0.05;
    decimal->specialValueText = "Least";
    auto yesNo = make<BoolProperty>();
    const struct
    {
        Property* property;
        QVariant value;
        QString text;
    } cases[] = {
        {number.get(), QVariant(), ""}, {number.get(), 0, "Off"},
        {number.get(), 5, "5px"},       {decimal.get(), 0.5, "0.5"},
        {decimal.get(), 0.05, "Least"}, {decimal.get(), QVariant(), ""},
        {yesNo.get(), true, "Yes"},     {yesNo.get(), 0, "No"},
        {yesNo.get(), QVariant(), ""},
    };
    for (const auto& c : cases) {
        c.property->setValue(c.value);
        EXPECT_EQ(c.property->toText(), c.text) << c.value.toString().toStdString();
    }
}

TEST(BasicProperties, EditorsCarryTheSettings)
{
    QWidget parent;
    auto rotation = make<IntProperty>();
    rotation->maximum = 359;
    rotation->wrapping = true;
    rotation->setValue(359);
    std::unique_ptr<QWidget> widget(rotation->createEditor(&parent, nullptr, nullptr));
    auto* spin = qobject_cast<QSpinBox*>(widget.get());
    ASSERT_NE(spin, nullptr);
    rotation->setEditorData(spin);
    spin->stepBy(1);
    EXPECT_EQ(rotation->valueFromEditor(spin), QVariant(0));

    auto plain = make<IntProperty>();
    plain->setValue(0);
    widget.reset(plain->createEditor(&parent, nullptr, nullptr));
    spin = qobject_cast<QSpinBox*>(widget.get());
    plain->setEditorData(spin);
    spin->stepBy(-1);
    EXPECT_EQ(spin->value(), 0);
    EXPECT_TRUE(spin->specialValueText().isEmpty());

    auto opacity = make<DoubleProperty>();
    opacity->maximum = 1.0;
    opacity->suffix = " x";
    opacity->setValue(0.0);
    widget.reset(opacity->createEditor(&parent, nullptr, nullptr));
    auto* decimal = qobject_cast<QDoubleSpinBox*>(widget.get());
    ASSERT_NE(decimal, nullptr);
    opacity->setEditorData(decimal);
    decimal->stepBy(1);
    EXPECT_EQ(decimal->text(), "1.00 x");
    EXPECT_EQ(opacity->valueFromEditor(decimal), QVariant(1.0));

    auto name = make<StringProperty>();
    name->setValue("Home");
    widget.reset(name->createEditor(&parent, nullptr, nullptr));
    auto* line = qobject_cast<QLineEdit*>(widget.get());
    ASSERT_NE(line, nullptr);
    name->setEditorData(line);
    EXPECT_EQ(line->text(), "Home");
    line->setText("Away");
    EXPECT_EQ(name->valueFromEditor(line), QVariant("Away"));
}

TEST(BasicProperties, PickingInTheYesNoListCommitsAtOnce)
{
    PropertyModel model;
    PropertyDelegate delegate;
    auto* flag = new BoolProperty(model.root());
    flag->setValue(true);
    QTreeView view;
    view.setModel(&model);
    view.setItemDelegate(&delegate);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QSignalSpy changed(&model, &PropertyModel::propertyChanged);

    const QModelIndex cell = flag->index(1);
    view.edit(cell);
    auto* combo = qobject_cast<QComboBox*>(view.indexWidget(cell));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->itemText(1), "No");
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(flag->value(), QVariant(false));
}
