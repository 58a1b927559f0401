#include "velmora_objects/velmora_types.h"
#include "widgets/enum_property.h"

#include <QComboBox>
#include <gtest/gtest.h>
#include <memory>

using Velmora::ButtonFunction;

namespace {

std::unique_ptr<EnumProperty<ButtonFunction>> localFunction()
{
    auto property = std::make_unique<EnumProperty<ButtonFunction>>(nullptr);
    const std::pair<int, const char*> choices[] = {{0, "None"},
                                                   {1, "Next Page"},
                                                   {2, "Previous Page"},
                                                   {7, "Back"},
                                                   {3, "Go To Page"},
                                                   {4, "Increase Brightness"},
                                                   {5, "Decrease Brightness"},
                                                   {6, "Set Brightness"},
                                                   {8, "Lock"}};
    for (const auto& [value, text] : choices)
        property->setString(ButtonFunction(value), text);
    return property;
}

QStringList comboTexts(const QComboBox& combo)
{
    QStringList texts;
    for (int row = 0; row < combo.count(); ++row)
        texts.append(combo.itemText(row));
    return texts;
}

} // namespace

TEST(EnumProperty, ListsChoicesInTheOrderAdded)
{
    auto property = localFunction();
    property->setValue(QVariant::fromValue(Velmora::ButtonFunction_BACK));
    EXPECT_EQ(property->toText(), "Back");

    std::unique_ptr<QWidget> editor(property->createEditor(nullptr, nullptr, nullptr));
    auto* combo = qobject_cast<QComboBox*>(editor.get());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(comboTexts(*combo), QStringList({"None", "Next Page", "Previous Page", "Back",
                                               "Go To Page", "Increase Brightness",
                                               "Decrease Brightness", "Set Brightness", "Lock"}));
    property->setEditorData(combo);
    EXPECT_EQ(combo->currentIndex(), 3);
    combo->setCurrentIndex(4);
    const QVariant picked = property->valueFromEditor(combo);
    EXPECT_EQ(picked.metaType(), QMetaType::fromType<ButtonFunction>());
    EXPECT_EQ(qvariant_cast<ButtonFunction>(picked), Velmora::ButtonFunction_GO_TO_PAGE);
}

TEST(EnumProperty, TakesOnlyValuesOfItsType)
{
    auto property = localFunction();
    const struct
    {
        QVariant value;
        QString text;
    } cases[] = {
        {QVariant::fromValue(Velmora::ButtonFunction_LOCK), "Lock"},
        {7, ""},                                       // a plain int is no ButtonFunction
        {QVariant::fromValue(ButtonFunction(42)), ""}, // no choice for it
        {QVariant(), ""},
    };
    for (const auto& c : cases) {
        property->setValue(c.value);
        EXPECT_EQ(property->value().isValid(),
                  c.value.metaType() == QMetaType::fromType<ButtonFunction>());
        EXPECT_EQ(property->toText(), c.text) << c.value.toString().toStdString();
    }

    // Unset: the editor opens with no choice and yields nothing.
    std::unique_ptr<QWidget> editor(property->createEditor(nullptr, nullptr, nullptr));
    auto* combo = qobject_cast<QComboBox*>(editor.get());
    property->setEditorData(combo);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_FALSE(property->valueFromEditor(combo).isValid());
}

TEST(EnumProperty, BoolChoicesReadAsTheirTexts)
{
    EnumProperty<bool> position(nullptr);
    position.setString(false, "Start");
    position.setString(true, "End");
    position.setValue(true);
    EXPECT_EQ(position.toText(), "End");
    EXPECT_FALSE(position.compare(false));
    EXPECT_TRUE(position.compare(true));
    EXPECT_FALSE(position.compare(QVariant()));
    position.setValue(QColor(Qt::red));
    EXPECT_FALSE(position.value().isValid());
    EXPECT_TRUE(position.compare(QVariant()));
}

TEST(EnumProperty, ClearEmptiesTheChoicesAndKeepsTheValue)
{
    EnumProperty<QString> startup(nullptr);
    startup.setString("pressed", "pressed");
    startup.setString("", "[None]");
    startup.setString("pressed", "Pressed");
    startup.setValue(QString("pressed"));
    EXPECT_EQ(startup.toText(), "Pressed");
    EXPECT_EQ(startup.choiceModel().rowCount(), 3);

    startup.clear();
    EXPECT_EQ(startup.choiceModel().rowCount(), 0);
    EXPECT_TRUE(startup.textMap().empty());
    EXPECT_EQ(startup.value(), QVariant(QString("pressed")));
    EXPECT_EQ(startup.toText(), "");
}
