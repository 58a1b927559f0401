#include "gui/url_opener.h"

#include <QDesktopServices>

namespace {

UrlOpener::Function& replacement()
{
    static UrlOpener::Function function;
    return function;
}

} // namespace

bool UrlOpener::open(const QUrl& url)
{
    if (replacement())
        return replacement()(url);
    return QDesktopServices::openUrl(url);
}

void UrlOpener::replace(const Function& function)
{
    replacement() = function;
}
