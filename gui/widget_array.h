#pragma once

#include <QObject>
#include <QWidget>
#include <cstddef>
#include <vector>

// A row (or column, by the layout type) of like widgets whose number can change. Every widget
// made is handed to initialiseWidget() and, when a signal, receiver and slot were given (as
// signature strings from Qt's SIGNAL and SLOT macros), has that signal connected to the slot.
template <class Widget, class Layout> class WidgetArray : public QWidget
{
public:
    WidgetArray(QWidget* parent, const char* signal, QObject* receiver, const char* slot)
        : QWidget(parent), layout(new Layout(this)), signal(signal), receiver(receiver), slot(slot)
    {
        layout->setContentsMargins(0, 0, 0, 0);
    }

    std::size_t count() const { return widgets.size(); }
    Widget* widget(std::size_t index) const { return widgets.at(index); }

    // Deletes the widgets from index n on, or appends new ones up to n.
    void setSize(unsigned int n)
    {
        if (widgets.size() >= n) {
            for (std::size_t i = n; i < widgets.size(); ++i)
                delete widgets[i];
            widgets.resize(n);
            return;
        }
        while (widgets.size() < n) {
            auto* widget = new Widget(this);
            initialiseWidget(widget);
            if (signal && receiver && slot)
                QObject::connect(widget, signal, receiver, slot);
            layout->addWidget(widget);
            widgets.push_back(widget);
        }
    }

protected:
    virtual void initialiseWidget(Widget*) {}

private:
    Layout* layout;
    const char* signal;
    QObject* receiver;
    const char* slot;
    std::vector<Widget*> widgets;
};
