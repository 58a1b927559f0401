#pragma once

#include <QStringList>
#include <QtGlobal>
#include <string>

namespace TestUtil {

// Collects every message Qt's message handler receives while the watch lives (debug, info,
// warning and critical alike), so that a test can check that a normal run prints nothing to
// the console. What the headless platform says of the features it lacks ("This plugin does not
// support raise()") is left out: on a display those are not printed. Watches do not nest; the
// previous handler comes back when the watch goes.
//
//     TestUtil::ConsoleWatch console;
//     wizard.next();
//     EXPECT_EQ(console.printed(), "");
class ConsoleWatch
{
public:
    ConsoleWatch();
    ~ConsoleWatch();
    ConsoleWatch(const ConsoleWatch&) = delete;
    ConsoleWatch& operator=(const ConsoleWatch&) = delete;

    const QStringList& messages() const { return received; }
    // The messages, one a line, for a test's comparison with "".
    std::string printed() const { return received.join(QLatin1Char('\n')).toStdString(); }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text);

    QStringList received;
    QtMessageHandler previous = nullptr;
};

} // namespace TestUtil
