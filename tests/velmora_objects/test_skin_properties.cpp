#include "common/helpers.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_property_tables.h"

#include <QColor>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>
#include <map>

using namespace Velmora;

namespace {

// One row of the expected tables (tests/data/skin_properties/tables.tsv).
struct Expected
{
    int itemType;
    QString key, type, caption, defaultText, range;
};

std::vector<Expected> expectedRows()
{
    std::vector<Expected> rows;
    const QString text =
        QString::fromUtf8(TestUtil::readFile(TestUtil::dataPath("skin_properties/tables.tsv")));
    for (const QString& line : text.split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith('#'))
            continue;
        const QStringList cells = line.split('\t');
        EXPECT_EQ(cells.size(), 7) << line.toStdString();
        if (cells.size() != 7)
            continue;
        rows.push_back({cells[0].toInt(), cells[2], cells[3], cells[4], cells[5], cells[6]});
    }
    return rows;
}

QString unquoted(const QString& text)
{
    return text.mid(1, text.size() - 2);
}

void expectRow(const SkinProperties& table, const Expected& row)
{
    SCOPED_TRACE(QString("%1 %2").arg(row.itemType).arg(row.key).toStdString());
    const SkinProperty* p = table.getProperty(row.key);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->getKey(), row.key);
    EXPECT_EQ(p->getCaption().toStdString(), row.caption.toStdString());
    const QVariant value = p->getValue();
    if (row.type == "Colour") {
        EXPECT_EQ(p->getType(), SkinPropertyType_COLOUR);
        EXPECT_EQ(value.metaType(), QMetaType::fromType<QColor>());
        const QColor expected(unquoted(row.defaultText));
        ASSERT_TRUE(expected.isValid());
        EXPECT_EQ(value.value<QColor>(), expected);
        EXPECT_EQ(value.value<QColor>().alpha(), row.defaultText == "\"transparent\"" ? 0 : 255);
    } else if (row.type == "Double") {
        EXPECT_EQ(p->getType(), SkinPropertyType_DOUBLE);
        EXPECT_EQ(value.metaType(), QMetaType::fromType<double>());
        EXPECT_EQ(value.toDouble(), row.defaultText.toDouble());
        const auto range =
            QRegularExpression("^([-\\d.]+)\\.\\.([-\\d.]+) by ([\\d.]+)$").match(row.range);
        ASSERT_TRUE(range.hasMatch());
        auto& real = dynamic_cast<const DoubleSkinProperty&>(*p);
        EXPECT_EQ(real.getMinimum(), range.captured(1).toDouble());
        EXPECT_EQ(real.getMaximum(), range.captured(2).toDouble());
        EXPECT_EQ(real.getStep(), range.captured(3).toDouble());
        EXPECT_EQ(real.getUnit(), QString());
    } else if (row.type == "Int") {
        EXPECT_EQ(p->getType(), SkinPropertyType_INT);
        EXPECT_EQ(value.metaType(), QMetaType::fromType<int>());
        EXPECT_EQ(value.toInt(), row.defaultText.toInt());
        const auto range = QRegularExpression("^(\\d+)\\.\\.(\\d+) \"(\\w+)\"$").match(row.range);
        ASSERT_TRUE(range.hasMatch());
        auto& integer = dynamic_cast<const IntSkinProperty&>(*p);
        EXPECT_EQ(integer.getMinimum(), range.captured(1).toInt());
        EXPECT_EQ(integer.getMaximum(), range.captured(2).toInt());
        EXPECT_EQ(integer.getUnit(), range.captured(3));
        EXPECT_EQ(integer.getSpecialValueText(), QString());
    } else if (row.type == "Bool") {
        EXPECT_EQ(p->getType(), SkinPropertyType_BOOL);
        EXPECT_EQ(value, QVariant(false));
    } else if (row.type == "Image") {
        EXPECT_EQ(p->getType(), SkinPropertyType_IMAGE);
        if (row.defaultText == "no image") {
            EXPECT_FALSE(value.isValid());
        } else {
            EXPECT_EQ(value.metaType(), QMetaType::fromType<QString>());
            EXPECT_EQ(value.toString(), unquoted(row.defaultText));
        }
    } else {
        ADD_FAILURE() << "unknown type " << row.type.toStdString();
    }
}

} // namespace

TEST(SkinPropertyTables, EveryRowAsExpected)
{
    const std::vector<Expected> rows = expectedRows();
    ASSERT_EQ(rows.size(), 110u);
    std::map<int, std::size_t> counts;
    for (const Expected& row : rows) {
        ++counts[row.itemType];
        const SkinProperties* table =
            SkinProperties::getSkinProperties(ThemedItemType(row.itemType));
        ASSERT_NE(table, nullptr) << row.itemType;
        EXPECT_EQ(table->getItemType(), row.itemType);
        expectRow(*table, row);
    }
    const std::map<int, std::size_t> sizes{{1, 21}, {2, 28}, {3, 5}, {4, 29}, {6, 13}, {7, 14}};
    EXPECT_EQ(counts, sizes);
    for (auto [type, size] : sizes)
        EXPECT_EQ(SkinProperties::getSkinProperties(ThemedItemType(type))->size(), size) << type;
    // Page Switcher (5) and types beyond the six have no table.
    for (int type : {0, 5, 8, -1})
        EXPECT_EQ(SkinProperties::getSkinProperties(ThemedItemType(type)), nullptr) << type;
}

TEST(SkinPropertyTables, AddKeepsTheFirstOfAKey)
{
    const auto unusedType = ThemedItemType(100);
    {
        SkinProperties table(unusedType);
        EXPECT_EQ(SkinProperties::getSkinProperties(unusedType), &table);
        table.add(smart_ptr<SkinProperty>(new BoolSkinProperty("k", "First", false)));
        table.add(smart_ptr<SkinProperty>(new IntSkinProperty("k", "Second", 1, "", 0, 9, "")));
        table.add(smart_ptr<SkinProperty>());
        ASSERT_EQ(table.size(), 1u);
        EXPECT_EQ(table.getProperty("k")->getCaption(), "First");
        EXPECT_EQ(table.getProperty("missing"), nullptr);
    }
    EXPECT_EQ(SkinProperties::getSkinProperties(unusedType), nullptr);
}

using SkinPropertyTablesDeathTest = ::testing::Test;

TEST_F(SkinPropertyTablesDeathTest, SecondTableForATypeIsFatal)
{
    EXPECT_DEATH(ButtonSkinProperties(), "Assert: 'iElements == lookup.end\\(\\)' is FALSE");
}
