#include "gui/enum_property.h"

#include <QComboBox>

void ChoiceProperty::appendChoice(const QVariant& value, const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setData(value, Qt::UserRole);
    choices.appendRow(item);
}

QWidget* ChoiceProperty::createEditor(QWidget* parent, const QObject* receiver,
                                      const char* member) const
{
    auto* combo = new QComboBox(parent);
    combo->setModel(&choices);
    if (receiver && member)
        QObject::connect(combo, SIGNAL(activated(int)), receiver, member);
    return combo;
}

void ChoiceProperty::setEditorData(QWidget* editor) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo)
        return;
    const QVariant stored = value();
    int current = -1;
    for (int row = 0; stored.isValid() && row < choices.rowCount() && current < 0; ++row)
        if (sameChoice(choices.item(row)->data(Qt::UserRole), stored))
            current = row;
    combo->setCurrentIndex(current);
}

QVariant ChoiceProperty::valueFromEditor(QWidget* editor) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo || combo->currentIndex() < 0)
        return QVariant();
    return combo->itemData(combo->currentIndex(), Qt::UserRole);
}
