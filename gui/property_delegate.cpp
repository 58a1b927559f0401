#include "gui/property_delegate.h"

#include "gui/property.h"
#include "gui/property_model.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

// The icons are embedded in this static library; nothing references their initialiser, so it is
// called by name before the first load.
static void initialisePropertyEditorResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(property_editor);
        return true;
    }();
    (void)done;
}

PropertyDelegate::PropertyDelegate(QObject* parent) : QStyledItemDelegate(parent)
{
    initialisePropertyEditorResources();
    morePixmap.load(":/property_editor/more.png");
    revertPixmap.load(":/property_editor/revert.png");
}

Property* PropertyDelegate::propertyOf(const QModelIndex& index)
{
    auto* model = qobject_cast<PropertyModel*>(const_cast<QAbstractItemModel*>(index.model()));
    return model ? model->property(index) : nullptr;
}

int PropertyDelegate::buttonsWidth(const Property* property)
{
    if (!property)
        return 0;
    return (property->isResettable() ? buttonWidth : 0) + (property->hasMore() ? buttonWidth : 0);
}

QWidget* PropertyDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const
{
    const Property* property = propertyOf(index);
    return property ? property->createEditor(parent, this, SLOT(commit())) : nullptr;
}

void PropertyDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (const Property* property = propertyOf(index))
        property->setEditorData(editor);
}

void PropertyDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const
{
    auto* propertyModel = qobject_cast<PropertyModel*>(model);
    const Property* property = propertyOf(index);
    if (propertyModel && property)
        propertyModel->setData(index, property->valueFromEditor(editor), Qt::EditRole);
}

void PropertyDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const
{
    QRect rect = option.rect;
    rect.setRight(rect.right() - buttonsWidth(propertyOf(index)));
    editor->setGeometry(rect);
}

QSize PropertyDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index).expandedTo(QSize(0, 20));
    // A value takes its buttons' room beside its text.
    if (index.column() == 1)
        size.rwidth() += buttonsWidth(propertyOf(index));
    return size;
}

bool PropertyDelegate::isValueCut(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    if (cell.text.isEmpty())
        return false;
    cell.rect.setRight(cell.rect.right() - buttonsWidth(propertyOf(index)));
    // The text as the style lays it out: in its text rectangle, within the focus frame's margin.
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget);
    return cell.fontMetrics.horizontalAdvance(cell.text) > text.width() - 2 * margin;
}

void PropertyDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const Property* property = index.column() == 1 ? propertyOf(index) : nullptr;
    if (!property) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);

    // The buttons sit at the right end of the cell; the value gets what is left of it.
    painter->save();
    painter->setClipping(false);
    if (property->isResettable()) {
        painter->drawPixmap(cell.rect.right() - 18, cell.rect.top() + 2, revertPixmap);
        cell.rect.setRight(cell.rect.right() - buttonWidth);
    }
    if (property->hasMore()) {
        painter->drawPixmap(cell.rect.right() - 18, cell.rect.top() + 2, morePixmap);
        cell.rect.setRight(cell.rect.right() - buttonWidth);
    }
    painter->restore();

    if (property->hasFlag(Property::ReadOnly))
        cell.state &= ~QStyle::State_Enabled;
    if (!property->paint(painter, cell))
        QStyledItemDelegate::paint(painter, cell, index);
}

void PropertyDelegate::commit()
{
    if (auto* editor = qobject_cast<QWidget*>(sender()))
        emit commitData(editor);
}

bool PropertyDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (index.column() != 1)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    switch (event->type()) {
    case QEvent::MouseMove:
        if (buttonPressed)
            return true;
        break;
    case QEvent::MouseButtonRelease:
        if (buttonPressed) {
            buttonPressed = false;
            return true;
        }
        break;
    case QEvent::MouseButtonPress: {
        auto* propertyModel = qobject_cast<PropertyModel*>(model);
        if (!propertyModel)
            break;
        Property* property = propertyModel->property(index);
        const int x = static_cast<QMouseEvent*>(event)->position().toPoint().x();
        const int right = option.rect.right();
        if (x > right - buttonWidth) {
            // The reset zone swallows the press even on rows that cannot be reset, so that a
            // click there never starts editing.
            if (property->isResettable())
                propertyModel->resetProperty(index);
            buttonPressed = true;
            return true;
        }
        if (x > right - 2 * buttonWidth && property->hasMore()) {
            property->showMoreEditor(const_cast<QWidget*>(option.widget));
            buttonPressed = true;
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

bool PropertyDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!event || event->type() != QEvent::ToolTip || index.column() == 0)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const int x = event->pos().x();
    const QRect cell = option.rect;
    const int right = cell.right();
    const Property* property = propertyOf(index);
    if (x <= right - buttonsWidth(property)) {
        // Over the value: the whole text when the cell cuts it, else no tip.
        if (isValueCut(option, index))
            QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(),
                               view ? view->viewport() : nullptr, option.rect);
        else
            QToolTip::hideText();
        return true;
    }
    // The tip's area is given in the coordinates of the viewport, where the cell lies.
    QWidget* area = view ? view->viewport() : nullptr;
    if (x <= right - buttonWidth) {
        if (property && property->hasMore()) {
            QToolTip::showText(event->globalPos(), tr("Show More"), area,
                               QRect(QPoint(right - 2 * buttonWidth, cell.top()),
                                     QPoint(right - buttonWidth - 1, cell.bottom())));
            return true;
        }
    } else if (property && property->isResettable()) {
        QToolTip::showText(
            event->globalPos(), tr("Reset"), area,
            QRect(QPoint(right - buttonWidth, cell.top()), QPoint(right - 1, cell.bottom())));
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
