#pragma once

#include "velmora_objects/velmora_types.h"

#include <QColor>
#include <QString>
#include <vector>

namespace ThemeMaker {

// The colours of one skin: the control's own face (a two-stop gradient with border and text),
// its pressed face, and the colour of a text that stands on the page rather than on the face.
struct Look
{
    QColor top, bottom, border, text;
    QColor pressedTop, pressedBottom, pressedBorder, pressedText;
    QColor onPage;
    double opacity = 1.0; // faces and tracks of the skin
    bool bold = false;
    bool pulse = false; // a button's face fades in and out
    bool filled = true; // a label shows its face
};

// The skins every control type gets, in this order; the first is the default skin.
enum SkinIndex
{
    NormalSkin,
    HighlightedSkin,
    DimmedSkin,
    AlertSkin,
    SkinCount
};

// The colours that do not change with the skin: texts on the page, slider tracks, the keypad's
// panel and display.
struct Surface
{
    QColor text;
    bool textShadow = false;
    QColor textShadowColour;
    QColor trackTop, trackBottom, trackBorder;
    QColor handleTop, handleBottom, handleBorder; // the slider's handle in the normal skin
    QColor panel;
    double panelOpacity = 0.5;
    QColor displayTop, displayBottom, displayBorder, displayText, displayTextStyle;
};

// A built-in theme: its name, the folder of its pictures (drawn by
// resources/theme/draw_theme_images.py) and its colours.
struct ThemeDescription
{
    QString name;
    QString folder;
    Surface surface;
    Look looks[SkinCount];
    QColor switcherTop, switcherBottom, switcherText, switcherHighlight;
    double switcherOpacity = 0.9;
    double switcherHighlightOpacity = 0.5;
    Velmora::TextStyle keypadDisplayTextStyle = Velmora::TextStyle_NORMAL;
    Velmora::TextStyle keypadButtonTextStyle = Velmora::TextStyle_NORMAL;
};

// The names of the skins, by SkinIndex.
QString skinName(int index);

// The themes that ship with the editor: one light, one dark.
std::vector<ThemeDescription> builtInThemes();

} // namespace ThemeMaker
