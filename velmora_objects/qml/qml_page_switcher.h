#pragma once

#include "velmora_objects/qml/qml_themed_object.h"

#include <QPointer>
#include <QString>
#include <boost/bimap.hpp>

namespace VelmoraQML {

// A page-switcher item (a navigation bar). It starts invisible; the controller shows and
// hides it through its signals.
class QMLPageSwitcher : public QMLThemedObject
{
    Q_OBJECT

public:
    explicit QMLPageSwitcher(QQuickItem* parent = nullptr);
    ~QMLPageSwitcher() override;

    // Page buttons by the name of their target page, unique on both sides: a pair whose name
    // or button is already present is not added. A button leaves the map when destroyed.
    Q_INVOKABLE void addButton(QObject* button, const QString& targetPage);
    Q_INVOKABLE void removeButton(QObject* button);
    // Takes the highlight from the button last indicated and gives it to the button of that
    // target page, when there is one.
    void indicatePage(const QString& targetPage);

    QObject* buttonForPage(const QString& targetPage) const;
    int buttonCount() const { return int(m_buttons.size()); }

signals:
    void showPageSwitcher(int transition, int msecs);
    void hidePageSwitcher(int transition, int msecs);

private:
    using ButtonMap = boost::bimap<QString, QObject*>;

    ButtonMap m_buttons;
    QPointer<QObject> m_indicated;
};

} // namespace VelmoraQML
