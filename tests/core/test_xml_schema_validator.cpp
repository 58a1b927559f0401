#include "core/xml_schema_validator.h"

#include "common/helpers.h"
#include "common/memory_growth_limit.h"

#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <libxml/globals.h>
#include <libxml/xmlerror.h>
#include <new>
#include <thread>
#include <unistd.h>
#include <vector>

using TestUtil::dataPath;

namespace {

XmlSchemaValidator& librarySchema()
{
    static XmlSchemaValidator validator(dataPath("xml_schema/library.xsd"));
    return validator;
}

// Validation errors stand where the element's start tag ends ("/" or ">"), parse errors where
// the parser noticed them; columns count from 1.
struct DocumentCase
{
    const char* name;
    const char* document;
    bool valid;
    int line;
    int column;
    const char* messagePart;
};

const DocumentCase documentCases[] = {
    {"valid", "<library>\n  <book pages=\"3\"/>\n</library>\n", true, 0, 0, ""},
    {"empty library", "<library/>", true, 0, 0, ""},
    {"bad value", "<library>\n  <book pages=\"3\"/>\n  <book pages=\"-1\"/>\n</library>\n", false,
     3, 19, "pages"},
    {"missing attribute", "<library>\n\n  <book/>\n</library>", false, 3, 8, "pages"},
    {"unexpected element", "<library>\n  <book pages=\"1\"/><shelf/>\n</library>", false, 2, 26,
     "shelf"},
    {"wrong root", "<shelf/>", false, 1, 7, "shelf"},
    {"first error wins", "<library>\n  <book/>\n  <shelf/>\n</library>", false, 2, 8, "pages"},
    {"not well formed", "<library>\n  <book pages=\"1\">\n</library>", false, 3, 1, "book"},
    {"empty document", "", false, 1, 1, "empty"},
    {"not xml", "hello", false, 1, 1, "Start tag"},
};

} // namespace

TEST(XmlSchemaValidator, ValidatesDocumentsAndReportsTheFirstError)
{
    const XmlSchemaValidator& validator = librarySchema();
    ASSERT_TRUE(validator.isValid()) << validator.schemaError().toString().toStdString();
    for (const DocumentCase& c : documentCases) {
        SCOPED_TRACE(c.name);
        XmlSchemaValidator::Error error;
        EXPECT_EQ(validator.validate(c.document, &error), c.valid);
        EXPECT_EQ(error.isNull(), c.valid);
        if (c.valid)
            continue;
        EXPECT_EQ(error.line, c.line);
        EXPECT_EQ(error.column, c.column);
        EXPECT_TRUE(error.message.contains(c.messagePart)) << error.message.toStdString();
        EXPECT_FALSE(error.message.endsWith('\n'));
    }
}

// A document that libxml2 has not the memory to take (in a child process whose data may grow
// by less than its copy of the document) is not judged: the caller hears of a failed allocation,
// as of its own, rather than of an invalid document.
TEST(XmlSchemaValidator, ADocumentThereIsNotTheMemoryForIsNotJudged)
{
    // The sanitizers' allocator, too, gives the failure back rather than ending the process.
    const QByteArray options = qgetenv("ASAN_OPTIONS");
    qputenv("ASAN_OPTIONS", options + ":allocator_may_return_null=1");
    const auto validate = [] {
        const XmlSchemaValidator& validator = librarySchema();
        const QByteArray document = "<library>" + QByteArray(16 << 20, ' ') + "</library>";
        const bool limited = TestUtil::limitDataGrowth(8 << 20);
        try {
            std::fprintf(stderr, "judged %d\n", validator.validate(document));
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "not enough memory\n");
        }
        ::_exit(!limited);
    };
    EXPECT_EXIT(validate(), ::testing::ExitedWithCode(0), "not enough memory\n");
    options.isNull() ? qunsetenv("ASAN_OPTIONS") : qputenv("ASAN_OPTIONS", options);
}

TEST(XmlSchemaValidator, ValidatesFiles)
{
    const XmlSchemaValidator& validator = librarySchema();
    EXPECT_TRUE(validator.validateFile(dataPath("xml_schema/library.xml")));
    XmlSchemaValidator::Error error;
    EXPECT_FALSE(validator.validateFile(dataPath("xml_schema/missing.xml"), &error));
    EXPECT_EQ(error.message, "No such file");
    EXPECT_EQ(error.toString(), "No such file");
    EXPECT_FALSE(validator.validateFile(dataPath("xml_schema/book.xsd"), &error));
    EXPECT_EQ(error.line, 2);
}

TEST(XmlSchemaValidator, UnusableSchemasRefuseEveryDocument)
{
    const struct
    {
        const char* path;
        const char* messagePart;
        bool hasLine;
    } cases[] = {{"xml_schema/none.xsd", "No such file", false},
                 {"bad/xml_schema/not_a_schema.xsd", "NoSuchType", true},
                 {"bad/xml_schema/malformed.xsd", "schema", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const XmlSchemaValidator validator(dataPath(c.path));
        EXPECT_FALSE(validator.isValid());
        EXPECT_EQ(validator.schemaPath(), dataPath(c.path));
        EXPECT_TRUE(validator.schemaError().message.contains(c.messagePart))
            << validator.schemaError().toString().toStdString();
        EXPECT_EQ(validator.schemaError().line > 0, c.hasLine);
        XmlSchemaValidator::Error error;
        EXPECT_FALSE(validator.validate("<library/>", &error));
        EXPECT_FALSE(error.isNull());
    }
}

TEST(XmlSchemaValidator, ExternalEntitiesAreNotRead)
{
    QTemporaryDir folder;
    ASSERT_TRUE(TestUtil::writeFile(folder.filePath("secret.txt"), "<book pages=\"1\"/>"));
    const QByteArray document = "<?xml version=\"1.0\"?>\n<!DOCTYPE library [<!ENTITY books "
                                "SYSTEM \"file://" +
                                folder.filePath("secret.txt").toUtf8() +
                                "\">]>\n<library>&books;</library>";
    XmlSchemaValidator::Error error;
    EXPECT_FALSE(librarySchema().validate(document, &error));
    EXPECT_TRUE(error.message.contains("books")) << error.message.toStdString();
}

namespace {
int foreignErrors = 0;
void foreignHandler(void*, xmlErrorPtr)
{
    ++foreignErrors;
}
} // namespace

TEST(XmlSchemaValidator, LeavesTheThreadsOwnErrorHandlerInPlace)
{
    int context = 0;
    xmlSetStructuredErrorFunc(&context, foreignHandler);
    EXPECT_FALSE(librarySchema().validate("<library><book/>"));
    EXPECT_EQ(xmlStructuredError, &foreignHandler);
    EXPECT_EQ(xmlStructuredErrorContext, &context);
    EXPECT_EQ(foreignErrors, 0);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
}

TEST(XmlSchemaValidator, ValidatesOnSeveralThreadsAtOnce)
{
    const XmlSchemaValidator& validator = librarySchema();
    // Every job validates its own document; odd jobs are invalid on a line that depends on the
    // job, so that an error reported to the wrong thread shows.
    const int jobs = 400, threads = 6;
    std::vector<int> lines(jobs, -1);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int job = t; job < jobs; job += threads) {
                QByteArray document = "<library>\n";
                for (int i = 0; i < job % 7; ++i)
                    document += "<book pages=\"2\"/>\n";
                document += job % 2 ? "<book pages=\"0\"/>\n</library>" : "</library>";
                XmlSchemaValidator::Error error;
                lines[job] = validator.validate(document, &error) ? 0 : error.line;
            }
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    for (int job = 0; job < jobs; ++job)
        ASSERT_EQ(lines[job], job % 2 ? job % 7 + 2 : 0) << job;
}
