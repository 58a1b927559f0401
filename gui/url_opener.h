#pragma once

#include <QUrl>
#include <functional>

// Opens an address outside the program: a web page in the web browser, a local file in the
// desktop's program for it. One replaceable function for the whole program, so that tests see
// what would be opened, and whether an opening that fails is reported, without a desktop.
namespace UrlOpener {

using Function = std::function<bool(const QUrl&)>;

// False when nothing could be started for the address (no program registered, say).
bool open(const QUrl& url);
// Replaces the desktop's opener; an empty function puts it back.
void replace(const Function& function);

} // namespace UrlOpener
