#pragma once

#include <QString>
#include <functional>

class QModelIndex;

namespace Velmora {
class Theme;
}

// Keeping the theme library in step with theme files the editor writes, without reading them
// again.

// The library row shows the theme's name and its splash images (landscape as the normal
// picture, portrait as the disabled one).
void showThemeInLibraryRow(const QModelIndex& row, const Velmora::Theme& theme);

// A theme file that was just written: when the library lists the path already, its row
// follows the theme (a second row would offer the file twice, and the path is registered
// already or came with the application); otherwise the file joins the library and, once
// listed, is recorded through the registrar (which may be empty) by the path the library
// lists it under.
void listWrittenTheme(const QString& path, const Velmora::Theme& theme,
                      const std::function<void(const QString&)>& registrar);
