#pragma once

#include <QObject>

class QTreeView;

// Keeps the two columns of a property tree (name, value) fitted to the view. The name column
// is as wide as the names of the rows shown need, but never so wide that the value column,
// which takes the width that is left, keeps less than minimumValueWidth(): the tree never needs
// a horizontal scroll bar. A name cut short is elided in its middle, so that names that differ
// only at their end ("Border colour", "Border colour (pressed)") stay apart; the model's tooltip
// shows it whole. The fit follows rows shown and hidden, expanded and collapsed, and the
// view's width.
class PropertyColumnFit : public QObject
{
public:
    // Owned by the view, which must have its model already.
    explicit PropertyColumnFit(QTreeView* view);

    // The width the value column keeps at least: three tenths of the view, and never less
    // than room for the row's buttons and a few characters.
    static int minimumValueWidth(const QTreeView* view);
    // The name column's width for the rows shown now.
    static int nameWidth(const QTreeView* view);

    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeView* view;
};
