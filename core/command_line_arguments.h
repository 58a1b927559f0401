#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

// The process's arguments split once into options and positional arguments.
//
// "-abc" sets the one-letter options a, b and c (digits in the run are skipped) and
// "--name" or "--name=value" sets a long option. An option given without a value takes the
// next plain argument as its value. "--" ends the options: every argument after it is
// positional, whatever it looks like. Every other argument is positional. The first argument
// is skipped when it names the running program.
class CommandLineArguments
{
public:
    CommandLineArguments(int argc, char** argv);

    // The number of positional arguments.
    int count() const;
    // The positional argument at the index, or a null string when there is none.
    QString argument(int index) const;

    bool hasOption(const QString& name) const;
    // The option's value: invalid for a letter that received no value, a string otherwise; a
    // null string for an option that was not given.
    QVariant option(const QString& name) const;

private:
    QMap<QString, QVariant> options;
    QList<QString> arguments;
};
