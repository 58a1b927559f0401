#include "core/command_line_arguments.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

// Holds an argument vector in the form main() receives it.
class Argv
{
public:
    explicit Argv(const QStringList& arguments)
    {
        for (const QString& argument : arguments)
            storage.push_back(argument.toLocal8Bit());
        for (QByteArray& bytes : storage)
            pointers.push_back(bytes.data());
        pointers.push_back(nullptr);
    }
    int argc() const { return int(storage.size()); }
    char** argv() { return pointers.data(); }

private:
    std::vector<QByteArray> storage;
    std::vector<char*> pointers;
};

CommandLineArguments parse(const QStringList& arguments)
{
    Argv argv(arguments);
    return CommandLineArguments(argv.argc(), argv.argv());
}

// Parses the arguments after the program's own path.
CommandLineArguments parseAfterProgram(const QStringList& arguments)
{
    return parse(QStringList(QCoreApplication::applicationFilePath()) + arguments);
}

QStringList positional(const CommandLineArguments& parsed)
{
    QStringList result;
    for (int i = 0; i < parsed.count(); ++i)
        result << parsed.argument(i);
    return result;
}

// An expected option value: nullptr for an option that holds no value.
using Options = std::map<QString, const char*>;

struct Case
{
    QStringList arguments;
    Options options;
    QStringList positional;
    QStringList absent;
};

} // namespace

TEST(CommandLineArguments, ArgumentsGiveExactlyTheirOptionsAndPositionalArguments)
{
    const Case cases[] = {
        {{"-v", "file"}, {{"v", "file"}}, {}, {"f"}},
        {{"-ab", "x", "y"}, {{"a", nullptr}, {"b", "x"}}, {"y"}, {}},
        {{"--mode=fast", "a"}, {{"mode", "fast"}}, {"a"}, {}},
        {{"--mode", "a"}, {{"mode", "a"}}, {}, {}},
        {{"--mode", "--", "a"}, {{"mode", ""}}, {"a"}, {}},
        {{}, {}, {}, {"v", "mode"}},
        {{"-", "--path=My File"}, {}, {"-", "--path=My File"}, {"path", "-"}},
        {{"---x"}, {{"-x", ""}}, {}, {"x"}},
        {{"--mode=a", "--mode=b", "c"}, {{"mode", "b"}}, {"c"}, {}},
        {{"-v", "one", "-v"}, {{"v", nullptr}}, {}, {}},
        {{"-5", "file"}, {}, {"file"}, {"5"}},
        {{"-a1b", "v"}, {{"a", nullptr}, {"b", "v"}}, {}, {"1"}},
        {{"--", "-v", "--name.qvp", "--", "x"}, {}, {"-v", "--name.qvp", "--", "x"}, {"v"}},
        {{"-v", "--", "x", "y"}, {{"v", nullptr}}, {"x", "y"}, {}},
        {{"--mode=", "x"}, {{"mode", "x"}}, {}, {}},
        {{"-v", "-w", "x"}, {{"v", nullptr}, {"w", "x"}}, {}, {}},
        {{"--level=3", "x"}, {{"level", "3"}}, {"x"}, {}},
        {{"-v=3", "--=x", "-a-b"}, {}, {"-v=3", "--=x", "-a-b"}, {"v", "a"}},
        {{"Ünïcödé Ωmega.qvp"}, {}, {"Ünïcödé Ωmega.qvp"}, {}},
        {{"--Mode=x"}, {{"Mode", "x"}}, {}, {"mode"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CommandLineArguments parsed = parseAfterProgram(c.arguments);
        EXPECT_EQ(positional(parsed), c.positional);
        for (const auto& [name, value] : c.options) {
            SCOPED_TRACE(name.toStdString());
            EXPECT_TRUE(parsed.hasOption(name));
            const QVariant option = parsed.option(name);
            if (!value) {
                EXPECT_FALSE(option.isValid());
            } else {
                EXPECT_EQ(option.metaType(), QMetaType::fromType<QString>());
                EXPECT_EQ(option.toString(), QString::fromUtf8(value));
            }
        }
        for (const QString& name : c.absent)
            EXPECT_FALSE(parsed.hasOption(name)) << name.toStdString();
    }
}

TEST(CommandLineArguments, OutOfRangeAndMissingGiveNullValues)
{
    const CommandLineArguments parsed = parseAfterProgram({"--given", "a"});
    EXPECT_EQ(parsed.count(), 0);
    EXPECT_TRUE(parsed.argument(0).isNull());
    EXPECT_TRUE(parsed.argument(-1).isNull());

    const QVariant missing = parsed.option("missing");
    EXPECT_EQ(missing.metaType(), QMetaType::fromType<QString>());
    EXPECT_TRUE(missing.toString().isNull());

    const CommandLineArguments bare = parseAfterProgram({"--given"});
    EXPECT_FALSE(bare.option("given").toString().isNull());
    EXPECT_TRUE(bare.option("given").toString().isEmpty());
}

TEST(CommandLineArguments, FirstArgumentIsSkippedOnlyWhenItNamesThisProgram)
{
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QString roundabout = program.absolutePath() + "/../" +
                               QFileInfo(program.absolutePath()).fileName() + "/" +
                               program.fileName();
    EXPECT_EQ(positional(parse({roundabout, "a.qvp"})), QStringList({"a.qvp"}));

    EXPECT_EQ(positional(parse({"velmora", "a.qvp"})), QStringList({"velmora", "a.qvp"}));
    // Only the first argument can be the program.
    EXPECT_EQ(positional(parse({"x", program.filePath()})), QStringList({"x", program.filePath()}));
    EXPECT_EQ(parse({}).count(), 0);
}
