#pragma once

#include "core/gradient.h"
#include "gui/property.h"

#include <QModelIndex>
#include <QObject>
#include <memory>

class QLinearGradient;

// A gradient of the gradient library, painted as a swatch, picked in place from a list of the
// library's gradients or chosen in the gradient dialog of its show-more button. Resetting
// stores a null gradient.
class GradientProperty : public QObject, public Property
{
    Q_OBJECT

public:
    explicit GradientProperty(Property* parent);
    ~GradientProperty() override;

    // Takes only Gradient values; anything else unsets.
    void setValue(const QVariant& value) override;
    bool compare(const QVariant& value) const override;
    bool isResettable() const override { return true; }
    bool reset() override;
    // The gradient's name.
    QString toText() const override;
    // A black-framed swatch of the stops inset by 2 px; a null gradient leaves the text.
    bool paint(QPainter* painter, const QStyleOption& option) const override;
    bool isEditable() const override { return true; }
    QWidget* createEditor(QWidget* parent, const QObject* receiver,
                          const char* member) const override;
    void setEditorData(QWidget* editor) const override;
    QVariant valueFromEditor(QWidget* editor) const override;
    bool hasMore() const override { return true; }
    void showMoreEditor(QWidget* parent) override;

    bool alphaEnabled = true;
    // Spans the painted rectangle from left to right (object-bounding coordinates).
    std::unique_ptr<QLinearGradient> linearGradient;

public slots:
    // Applies the gradient of a library row chosen in the dialog as an edit of the row.
    void onGradientSelected(const QModelIndex& index);

private:
    Gradient gradient() const { return qvariant_cast<Gradient>(value()); }
};
