#include "common/console_watch.h"

#include <cassert>

namespace TestUtil {

namespace {
ConsoleWatch* activeWatch = nullptr;
}

ConsoleWatch::ConsoleWatch()
{
    assert(!activeWatch);
    activeWatch = this;
    previous = qInstallMessageHandler(&ConsoleWatch::handle);
}

ConsoleWatch::~ConsoleWatch()
{
    qInstallMessageHandler(previous);
    activeWatch = nullptr;
}

void ConsoleWatch::handle(QtMsgType, const QMessageLogContext&, const QString& text)
{
    if (activeWatch && !text.startsWith(QLatin1String("This plugin does not support ")))
        activeWatch->received << text;
}

} // namespace TestUtil
