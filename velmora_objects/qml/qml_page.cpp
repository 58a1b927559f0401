#include "velmora_objects/qml/qml_page.h"

#include "velmora_objects/qml/qml_module.h"

namespace VelmoraQML {

QMLPage::QMLPage(QQuickItem* parent) : QMLThemedObject(parent)
{
    setVisible(false);
}

QMLPage::~QMLPage()
{
    if (QMLController* c = controller())
        c->removePageItem(this);
}

} // namespace VelmoraQML
