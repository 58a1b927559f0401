#pragma once

#include <QProxyStyle>

// The program's widget style: Fusion, with clicks in a slider's groove moving the handle
// straight to the click, and tool tips on a background running from the palette's light to its
// mid shade. Constructing it changes the tool-tip palette of the whole application.
class OrvaneStyle : public QProxyStyle
{
    Q_OBJECT

public:
    OrvaneStyle();

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
