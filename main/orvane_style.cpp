#include "main/orvane_style.h"

#include <QLinearGradient>
#include <QStyleFactory>
#include <QToolTip>

OrvaneStyle::OrvaneStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
    QPalette palette = QToolTip::palette();
    QLinearGradient gradient(0, 0, 0, 250);
    gradient.setColorAt(0.0, palette.color(QPalette::Active, QPalette::Light));
    gradient.setColorAt(1.0, palette.color(QPalette::Active, QPalette::Mid));
    palette.setBrush(QPalette::All, QPalette::ToolTipBase, QBrush(gradient));
    QToolTip::setPalette(palette);
}

int OrvaneStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                           QStyleHintReturn* returnData) const
{
    if (hint == SH_Slider_AbsoluteSetButtons)
        return Qt::LeftButton;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
