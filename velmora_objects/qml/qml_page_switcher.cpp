#include "velmora_objects/qml/qml_page_switcher.h"

#include "velmora_objects/qml/qml_module.h"

#include <QVariant>

namespace VelmoraQML {

QMLPageSwitcher::QMLPageSwitcher(QQuickItem* parent) : QMLThemedObject(parent)
{
    setVisible(false);
}

QMLPageSwitcher::~QMLPageSwitcher()
{
    if (QMLController* c = controller())
        c->removePageSwitcherItem(this);
}

void QMLPageSwitcher::addButton(QObject* button, const QString& targetPage)
{
    if (!button)
        return;
    if (m_buttons.insert(ButtonMap::value_type(targetPage, button)).second)
        connect(button, &QObject::destroyed, this, &QMLPageSwitcher::removeButton);
}

void QMLPageSwitcher::removeButton(QObject* button)
{
    if (m_buttons.right.erase(button) > 0)
        disconnect(button, &QObject::destroyed, this, &QMLPageSwitcher::removeButton);
}

void QMLPageSwitcher::indicatePage(const QString& targetPage)
{
    if (m_indicated)
        QMetaObject::invokeMethod(m_indicated, "indicateCurrentPage", Q_ARG(QVariant, false));
    m_indicated = nullptr;
    QObject* button = buttonForPage(targetPage);
    if (button) {
        m_indicated = button;
        QMetaObject::invokeMethod(button, "indicateCurrentPage", Q_ARG(QVariant, true));
    }
}

QObject* QMLPageSwitcher::buttonForPage(const QString& targetPage) const
{
    const auto it = m_buttons.left.find(targetPage);
    return it == m_buttons.left.end() ? nullptr : it->second;
}

} // namespace VelmoraQML
