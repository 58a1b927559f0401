#include "core/command_line_arguments.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QRegularExpression& shortOptionPattern()
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("-([A-Za-z0-9]+)")));
    return pattern;
}

const QRegularExpression& longOptionPattern()
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("--([^ =]+)(?:=([^ ]*))?")));
    return pattern;
}

bool namesThisProgram(const QString& argument)
{
    return QFileInfo(argument) == QFileInfo(QCoreApplication::applicationFilePath());
}

} // namespace

CommandLineArguments::CommandLineArguments(int argc, char** argv)
{
    QString pending;
    bool optionsEnded = false;
    for (int i = 0; i < argc; ++i) {
        // Arguments are in the locale's encoding (UTF-8 here), so that file names outside
        // ASCII reach the program intact.
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (i == 0 && namesThisProgram(argument))
            continue;

        // After "--" every argument is positional, even one that looks like an option, so that
        // a file whose name begins with a minus sign can be named.
        if (optionsEnded) {
            arguments.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            pending.clear();
            continue;
        }

        const QRegularExpressionMatch shortOption = shortOptionPattern().match(argument);
        if (shortOption.hasMatch()) {
            for (const QChar c : shortOption.capturedView(1)) {
                if (!c.isLetter())
                    continue;
                pending = QString(c);
                options.insert(pending, QVariant());
            }
            continue;
        }

        const QRegularExpressionMatch longOption = longOptionPattern().match(argument);
        if (longOption.hasMatch()) {
            const QString name = longOption.captured(1);
            // Given without "=", the value is empty but not null, unlike an option not given.
            const QString value =
                longOption.captured(2).isNull() ? QStringLiteral("") : longOption.captured(2);
            options.insert(name, value);
            if (value.isEmpty())
                pending = name;
            else
                pending.clear();
            continue;
        }

        if (pending.isEmpty())
            arguments.append(argument);
        else
            options.insert(pending, argument);
        pending.clear();
    }
}

int CommandLineArguments::count() const
{
    return int(arguments.size());
}

QString CommandLineArguments::argument(int index) const
{
    return index >= 0 && index < arguments.size() ? arguments.at(index) : QString();
}

bool CommandLineArguments::hasOption(const QString& name) const
{
    return options.contains(name);
}

QVariant CommandLineArguments::option(const QString& name) const
{
    return options.value(name, QVariant(QString()));
}
