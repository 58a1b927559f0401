#include "core/gradient.h"
#include "gui/basic_properties.h"
#include "gui/property_delegate.h"
#include "gui/property_model.h"
#include "velmora_objects/velmora_types.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>

TEST(BasicProperties, AcceptOnlyTheirListedValueTypes)
{
    using K = PropertyValueKind;
    const QVariant colour = QColor(Qt::red);
    const struct
    {
        K kind;
        QVariant value;
        bool accepted;
    } cases[] = {
        {K::String, "text", true},
        {K::String, 12u, true},
        {K::String, colour, false},
        {K::String, QVariant::fromValue(Gradient()), false},
        {K::Int, 7u, true},
        {K::Int, QVariant::fromValue(Velmora::ButtonFunction_BACK), false},
        {K::Int, colour, false},
        {K::Double, QPointF(1, 2), false},
        {K::Bool, 0, true},
        {K::Bool, colour, false},
        {K::Colour, colour, true},
        {K::Colour, "#ff0000", true},
        {K::Colour, 0xff0000, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isAcceptedValue(c.kind, c.value), c.accepted)
            << int(c.kind) << " " << c.value.metaType().name();

    // A refused value unsets; an accepted one keeps its own type.
    StringProperty text(nullptr);
    text.setValue(12u);
    EXPECT_EQ(text.value().metaType(), QMetaType::fromType<uint>());
    text.setValue(colour);
    EXPECT_FALSE(text.value().isValid());
}

TEST(BasicProperties, ShowTheirValuesAsText)
{
    IntProperty number(nullptr);
    number.specialValueText = "Off";
    number.suffix = "px";
    DoubleProperty decimal(nullptr);
    decimal.minimum = 0.05;
    decimal.specialValueText = "Least";
    BoolProperty yesNo(nullptr);
    const struct
    {
        Property* property;
        QVariant value;
        QString text;
    } cases[] = {
        {&number, QVariant(), ""}, {&number, 0, "Off"},       {&number, 5, "5px"},
        {&decimal, 0.5, "0.5"},    {&decimal, 0.05, "Least"}, {&yesNo, true, "Yes"},
        {&yesNo, 0, "No"},         {&yesNo, QVariant(), ""},
    };
    for (const auto& c : cases) {
        c.property->setValue(c.value);
        EXPECT_EQ(c.property->toText(), c.text) << c.value.toString().toStdString();
    }
}

TEST(BasicProperties, SpinBoxesCarryTheSettings)
{
    IntProperty rotation(nullptr);
    rotation.maximum = 359;
    rotation.wrapping = true;
    rotation.setValue(359);
    IntProperty plain(nullptr);
    plain.setValue(0);
    DoubleProperty opacity(nullptr);
    opacity.maximum = 1.0;
    opacity.setValue(0.0);
    // Rotation wraps to 0; the plain number stays at its minimum; one opacity step reaches 1.
    const struct
    {
        Property* property;
        int steps;
        QVariant result;
    } cases[] = {{&rotation, 1, 0}, {&plain, -1, 0}, {&opacity, 1, 1.0}};
    for (const auto& c : cases) {
        std::unique_ptr<QWidget> editor(c.property->createEditor(nullptr, nullptr, nullptr));
        c.property->setEditorData(editor.get());
        static_cast<QAbstractSpinBox*>(editor.get())->stepBy(c.steps);
        EXPECT_EQ(c.property->valueFromEditor(editor.get()), c.result);
    }
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
    view.edit(flag->index(1));
    auto* combo = qobject_cast<QComboBox*>(view.indexWidget(flag->index(1)));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentIndex(), 0);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(flag->value(), QVariant(false));
}
