#pragma once

#include "gui/basic_properties.h"

#include <QColor>
#include <QObject>

// A colour, painted as a swatch and edited only in the colour dialog of its show-more button.
// Resetting stores the default colour.
class ColourProperty : public QObject, public FilteredProperty<PropertyValueKind::Colour>
{
    Q_OBJECT

public:
    explicit ColourProperty(Property* parent);

    bool isResettable() const override { return true; }
    // Stores the default colour when the value differs from it.
    bool reset() override;
    QString toText() const override { return QString(); }
    // A black-framed swatch inset by 2 px; nothing for an invalid colour.
    bool paint(QPainter* painter, const QStyleOption& option) const override;
    bool hasMore() const override { return true; }
    // Opens the colour dialog. From a set colour, every change applies at once and a cancel
    // puts the starting colour back. From an unset one (a mixed selection, say) nothing applies
    // until the dialog is accepted, so a cancel leaves every selected item as it was.
    void showMoreEditor(QWidget* parent) override;

    QColor defaultColour;

public slots:
    // Applies a colour chosen in the dialog as an edit of the row.
    void onColourSelected(const QColor& colour);
};
