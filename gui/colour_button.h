#pragma once

#include <QColor>
#include <QPushButton>

// A push button that remembers the mouse buttons and keyboard modifiers of its last press, so
// that a click handler can tell a plain click from a modified one.
class ModifierButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

    Qt::MouseButtons buttons() const { return pressButtons; }
    Qt::KeyboardModifiers modifiers() const { return pressModifiers; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    Qt::MouseButtons pressButtons;
    Qt::KeyboardModifiers pressModifiers;
};

// A push button showing a colour inside its face (nothing for an invalid colour).
class ColourButton : public ModifierButton
{
    Q_OBJECT

public:
    explicit ColourButton(QWidget* parent = nullptr);

    const QColor& colour() const { return buttonColour; }
    void setColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor buttonColour{0, 0, 0, 255};
};
