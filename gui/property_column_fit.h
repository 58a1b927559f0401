#pragma once

#include <QObject>

class QTreeView;

// Keeps the two columns of a property tree (name, value) fitted to the view, without a
// horizontal scroll bar. Where the names and the values of the rows shown (a value with its
// buttons, and at least minimumValueWidth()) fit side by side, the name column is as wide as the
// names need and the value column takes the rest. Where they do not, the values show whole as
// far as the names keep half the view, and the names get the rest. A name cut short is elided
// in its middle, so that names that differ only at their end ("Border colour", "Border colour
// (pressed)") stay apart; the model's tooltip shows it whole, as the delegate's shows a value cut
// short. The fit follows rows shown and hidden, expanded and collapsed, values changed and the
// view's width.
class PropertyColumnFit : public QObject
{
public:
    // Owned by the view, which must have its model already.
    explicit PropertyColumnFit(QTreeView* view);

    // The width the value column keeps at least: room for the row's buttons and a few
    // characters.
    static int minimumValueWidth(const QTreeView* view);
    // The name column's width for the rows shown now.
    static int nameWidth(const QTreeView* view);

    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeView* view;
};
