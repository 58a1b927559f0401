#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

class Property;
class PropertyModel;

// The item delegate of views over a PropertyModel. The value column is painted and edited by
// the row's Property; at its right end it shows a reset button (the rightmost 20 px) when the
// property is resettable and a show-more button (the 20 px left of it) when it has a further
// editor. Presses on those zones reset the property or open its editor and are consumed, with
// the moves and the release that follow. A value's size hint counts its buttons, and a value cut
// short by a narrow cell shows whole as the tooltip of its text. The name column, and any model
// that is not a PropertyModel, are handled as by a plain styled delegate.
class PropertyDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Width of each button zone at the right end of the value cell.
    static constexpr int buttonWidth = 20;

    explicit PropertyDelegate(QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

public slots:
    // Commits the sending editor: editors that commit on a choice (combo boxes) call it.
    void commit();
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    // The row's property, or null when the index's model is not a PropertyModel.
    static Property* propertyOf(const QModelIndex& index);
    // Width taken by the buttons the row shows.
    static int buttonsWidth(const Property* property);
    // Whether the value's text is wider than the room its cell leaves it beside the buttons.
    bool isValueCut(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    // A press on a button was consumed; the moves and the release that follow are too.
    bool buttonPressed = false;
    QPixmap morePixmap;
    QPixmap revertPixmap;
};
