#pragma once

#include "containers/smart_ptr.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/velmora_types.h"

#include <QCoreApplication>
#include <QSize>
#include <QString>
#include <map>

class QQmlEngine;

namespace Velmora {
class Theme;
class Themed;
} // namespace Velmora

namespace VelmoraQML {
class QMLThemedObject;
} // namespace VelmoraQML

// The sample items the theme editor's live preview draws, one per item type, and the small
// portrait project that holds the page the page switcher refers to and, while a preview is
// built, a copy of the edited theme.
class ThemePreviewSamples
{
    Q_DECLARE_TR_FUNCTIONS(ThemeEditor)

public:
    ThemePreviewSamples();
    // The sample items go before their project.
    ~ThemePreviewSamples();

    // The sample of the item type; null outside 1..7.
    Velmora::Themed* item(Velmora::ThemedItemType type) const;
    const Velmora::Configuration& project() const { return configuration; }
    // The size the preview pane needs to show every sample whole: the largest control, and
    // the project's width for the page switcher.
    QSize largestSample() const;
    // The preview's image provider id, tied to the project's serial.
    QString imageProviderId() const;

    // Gives the project a fresh copy of the theme and, with an engine, builds the object that
    // draws the item type's sample with it; null without an engine or when the text does not
    // compile.
    VelmoraQML::QMLThemedObject* build(Velmora::ThemedItemType type, const Velmora::Theme& theme,
                                       QQmlEngine* engine);
    // Lets go of the theme copy.
    void dropTheme();

private:
    Velmora::Configuration configuration;
    std::map<Velmora::ThemedItemType, smart_ptr<Velmora::Themed>> items;
};
