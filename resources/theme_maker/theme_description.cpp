#include "resources/theme_maker/theme_description.h"

namespace ThemeMaker {

namespace {

QColor hex(const char* name)
{
    return QColor(QLatin1String(name));
}

// A look from its colours: face top, bottom, border and text, the same four pressed, and the
// colour of the skin's texts on the page.
Look look(const char* top, const char* bottom, const char* border, const char* text,
          const char* pressedTop, const char* pressedBottom, const char* pressedBorder,
          const char* pressedText, const char* onPage)
{
    Look result;
    result.top = hex(top);
    result.bottom = hex(bottom);
    result.border = hex(border);
    result.text = hex(text);
    result.pressedTop = hex(pressedTop);
    result.pressedBottom = hex(pressedBottom);
    result.pressedBorder = hex(pressedBorder);
    result.pressedText = hex(pressedText);
    result.onPage = hex(onPage);
    return result;
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

ThemeDescription daylight()
{
    ThemeDescription theme;
    theme.name = QStringLiteral("Daylight");
    theme.folder = QStringLiteral("daylight");
    Surface& surface = theme.surface;
    surface.text = hex("#27313d");
    surface.textShadowColour = hex("#ffffff");
    surface.trackTop = hex("#d5dbe3");
    surface.trackBottom = hex("#c2cad5");
    surface.trackBorder = hex("#aab4c0");
    surface.handleTop = hex("#5292e2");
    surface.handleBottom = hex("#2a62b8");
    surface.handleBorder = hex("#1f4f94");
    surface.panel = hex("#ffffff");
    surface.panelOpacity = 0.6;
    surface.displayTop = hex("#fdfefe");
    surface.displayBottom = hex("#e6ecf2");
    surface.displayBorder = hex("#9aa5b3");
    surface.displayText = hex("#1e2833");
    surface.displayTextStyle = hex("#ffffff");
    theme.looks[NormalSkin] = look("#5292e2", "#2a62b8", "#1f4f94", "#ffffff", "#24569f", "#3a78cc",
                                   "#173c73", "#e8f0fb", "#27313d");
    theme.looks[HighlightedSkin] = look("#f6b25a", "#dc7f12", "#b8680c", "#ffffff", "#c8700e",
                                        "#f0a040", "#8f500a", "#fff4e6", "#b5650a");
    theme.looks[DimmedSkin] = look("#e3e7ec", "#ccd3db", "#b3bcc7", "#6b7584", "#c3cad3", "#dde2e8",
                                   "#9aa5b3", "#4f5864", "#7a8594");
    theme.looks[AlertSkin] = look("#ec6a62", "#c8372f", "#a12a23", "#ffffff", "#a92e27", "#d9544c",
                                  "#7d1f1a", "#ffe9e7", "#c8372f");
    setEmphasis(theme.looks);
    theme.switcherTop = hex("#ffffff");
    theme.switcherBottom = hex("#e4e9ef");
    theme.switcherText = hex("#27313d");
    theme.switcherHighlight = hex("#2a62b8");
    theme.switcherOpacity = 0.92;
    theme.switcherHighlightOpacity = 0.35;
    theme.keypadDisplayTextStyle = Velmora::TextStyle_NORMAL;
    theme.keypadButtonTextStyle = Velmora::TextStyle_SUNKEN;
    return theme;
}

ThemeDescription midnight()
{
    ThemeDescription theme;
    theme.name = QStringLiteral("Midnight");
    theme.folder = QStringLiteral("midnight");
    Surface& surface = theme.surface;
    surface.text = hex("#dfe6f0");
    surface.textShadow = true;
    surface.textShadowColour = hex("#05080d");
    surface.trackTop = hex("#0b0f17");
    surface.trackBottom = hex("#283247");
    surface.trackBorder = hex("#4a5876");
    surface.handleTop = hex("#d6deea");
    surface.handleBottom = hex("#96a3b8");
    surface.handleBorder = hex("#5e6b86");
    surface.panel = hex("#0c111a");
    surface.panelOpacity = 0.55;
    surface.displayTop = hex("#0f1520");
    surface.displayBottom = hex("#1c2433");
    surface.displayBorder = hex("#3a4560");
    surface.displayText = hex("#5fe0d8");
    surface.displayTextStyle = hex("#06090f");
    theme.looks[NormalSkin] = look("#475677", "#303b56", "#6b7a9a", "#e8edf5", "#1a8f8f", "#22b3b3",
                                   "#4fd0d0", "#ffffff", "#dfe6f0");
    theme.looks[HighlightedSkin] = look("#2cc4c4", "#168a8a", "#5fe0d8", "#ffffff", "#116e6e",
                                        "#22a8a8", "#8ff0ea", "#e8fffd", "#4fd6d0");
    theme.looks[DimmedSkin] = look("#2a303c", "#222731", "#394152", "#7d8696", "#1e232c", "#2a303c",
                                   "#4a5366", "#9aa3b2", "#6f7888");
    theme.looks[AlertSkin] = look("#e0564e", "#a8302a", "#f08a84", "#ffffff", "#8c2722", "#c8403a",
                                  "#ffb0ab", "#ffe9e7", "#ff7a72");
    setEmphasis(theme.looks);
    theme.switcherTop = hex("#2a3246");
    theme.switcherBottom = hex("#161b27");
    theme.switcherText = hex("#dfe6f0");
    theme.switcherHighlight = hex("#22b3b3");
    theme.switcherOpacity = 0.9;
    theme.switcherHighlightOpacity = 0.45;
    theme.keypadDisplayTextStyle = Velmora::TextStyle_RAISED;
    theme.keypadButtonTextStyle = Velmora::TextStyle_RAISED;
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
    return {daylight(), midnight()};
}

} // namespace ThemeMaker
