#include "resources/theme_maker/theme_description.h"

namespace ThemeMaker {

namespace {

QColor hex(const char* name)
{
    return QColor(QLatin1String(name));
}

// Highlighted and alert skins speak up: bold texts, and labels show their face. Normal and
// dimmed labels are plain text on the page; dimmed faces are half seen; an alert button pulses.
void setEmphasis(Look (&looks)[SkinCount])
{
    looks[NormalSkin].filled = false;
    looks[HighlightedSkin].bold = true;
    looks[DimmedSkin].filled = false;
    looks[DimmedSkin].opacity = 0.7;
    looks[AlertSkin].bold = true;
    looks[AlertSkin].pulse = true;
}

// A built-in theme as written down: names, colours (#rrggbb) and numbers. A look's nine
// colours are face top, bottom, border and text, the same four pressed, and the colour of the
// skin's texts on the page.
struct Palette
{
    const char* name;
    const char* folder;
    const char* text;
    bool textShadow;
    const char* textShadowColour;
    const char* track[3];  // top, bottom, border
    const char* handle[3]; // top, bottom, border
    const char* panel;
    double panelOpacity;
    const char* display[5]; // top, bottom, border, text, text style
    const char* looks[SkinCount][9];
    const char* switcher[4]; // top, bottom, text, highlight
    double switcherOpacity;
    double switcherHighlightOpacity;
    Velmora::TextStyle keypadDisplayTextStyle;
    Velmora::TextStyle keypadButtonTextStyle;
};

const Palette Palettes[] = {
    {"Daylight",
     "daylight",
     "#27313d",
     false,
     "#ffffff",
     {"#d5dbe3", "#c2cad5", "#aab4c0"},
     {"#5292e2", "#2a62b8", "#1f4f94"},
     "#ffffff",
     0.6,
     {"#fdfefe", "#e6ecf2", "#9aa5b3", "#1e2833", "#ffffff"},
     {{"#5292e2", "#2a62b8", "#1f4f94", "#ffffff", "#24569f", "#3a78cc", "#173c73", "#e8f0fb",
       "#27313d"},
      {"#f6b25a", "#dc7f12", "#b8680c", "#ffffff", "#c8700e", "#f0a040", "#8f500a", "#fff4e6",
       "#b5650a"},
      {"#e3e7ec", "#ccd3db", "#b3bcc7", "#6b7584", "#c3cad3", "#dde2e8", "#9aa5b3", "#4f5864",
       "#7a8594"},
      {"#ec6a62", "#c8372f", "#a12a23", "#ffffff", "#a92e27", "#d9544c", "#7d1f1a", "#ffe9e7",
       "#c8372f"}},
     {"#ffffff", "#e4e9ef", "#27313d", "#2a62b8"},
     0.92,
     0.35,
     Velmora::TextStyle_NORMAL,
     Velmora::TextStyle_SUNKEN},
    {"Midnight",
     "midnight",
     "#dfe6f0",
     true,
     "#05080d",
     {"#0b0f17", "#283247", "#4a5876"},
     {"#d6deea", "#96a3b8", "#5e6b86"},
     "#0c111a",
     0.55,
     {"#0f1520", "#1c2433", "#3a4560", "#5fe0d8", "#06090f"},
     {{"#475677", "#303b56", "#6b7a9a", "#e8edf5", "#1a8f8f", "#22b3b3", "#4fd0d0", "#ffffff",
       "#dfe6f0"},
      {"#2cc4c4", "#168a8a", "#5fe0d8", "#ffffff", "#116e6e", "#22a8a8", "#8ff0ea", "#e8fffd",
       "#4fd6d0"},
      {"#2a303c", "#222731", "#394152", "#7d8696", "#1e232c", "#2a303c", "#4a5366", "#9aa3b2",
       "#6f7888"},
      {"#e0564e", "#a8302a", "#f08a84", "#ffffff", "#8c2722", "#c8403a", "#ffb0ab", "#ffe9e7",
       "#ff7a72"}},
     {"#2a3246", "#161b27", "#dfe6f0", "#22b3b3"},
     0.9,
     0.45,
     Velmora::TextStyle_RAISED,
     Velmora::TextStyle_RAISED},
};

ThemeDescription describe(const Palette& palette)
{
    ThemeDescription theme;
    theme.name = QLatin1String(palette.name);
    theme.folder = QLatin1String(palette.folder);
    Surface& surface = theme.surface;
    surface.text = hex(palette.text);
    surface.textShadow = palette.textShadow;
    surface.textShadowColour = hex(palette.textShadowColour);
    surface.trackTop = hex(palette.track[0]);
    surface.trackBottom = hex(palette.track[1]);
    surface.trackBorder = hex(palette.track[2]);
    surface.handleTop = hex(palette.handle[0]);
    surface.handleBottom = hex(palette.handle[1]);
    surface.handleBorder = hex(palette.handle[2]);
    surface.panel = hex(palette.panel);
    surface.panelOpacity = palette.panelOpacity;
    surface.displayTop = hex(palette.display[0]);
    surface.displayBottom = hex(palette.display[1]);
    surface.displayBorder = hex(palette.display[2]);
    surface.displayText = hex(palette.display[3]);
    surface.displayTextStyle = hex(palette.display[4]);
    for (int skin = 0; skin < SkinCount; ++skin) {
        const char* const* colours = palette.looks[skin];
        Look& look = theme.looks[skin];
        for (QColor* colour :
             {&look.top, &look.bottom, &look.border, &look.text, &look.pressedTop,
              &look.pressedBottom, &look.pressedBorder, &look.pressedText, &look.onPage})
            *colour = hex(*colours++);
    }
    setEmphasis(theme.looks);
    theme.switcherTop = hex(palette.switcher[0]);
    theme.switcherBottom = hex(palette.switcher[1]);
    theme.switcherText = hex(palette.switcher[2]);
    theme.switcherHighlight = hex(palette.switcher[3]);
    theme.switcherOpacity = palette.switcherOpacity;
    theme.switcherHighlightOpacity = palette.switcherHighlightOpacity;
    theme.keypadDisplayTextStyle = palette.keypadDisplayTextStyle;
    theme.keypadButtonTextStyle = palette.keypadButtonTextStyle;
    return theme;
}

} // namespace

QString skinName(int index)
{
    static const char* const names[SkinCount] = {"Normal", "Highlighted", "Dimmed", "Alert"};
    return QLatin1String(names[index]);
}

std::vector<ThemeDescription> builtInThemes()
{
    std::vector<ThemeDescription> themes;
    for (const Palette& palette : Palettes)
        themes.push_back(describe(palette));
    return themes;
}

} // namespace ThemeMaker
