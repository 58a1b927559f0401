#include "core/xml_schema_validator.h"

#include "core/regular_file.h"

#include <QFile>
#include <QFileInfo>
#include <climits>
#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>
#include <new>
#include <utility>

namespace {

// Keeps the errors libxml2 reports, in order; warnings are ignored. Running out of memory,
// libxml2's or ours while keeping an error, is noted apart: it says nothing of the document.
struct Errors
{
    std::vector<XmlSchemaValidator::Error> list;
    bool outOfMemory = false;
};

// Called from libxml2's frames, through which nothing may be thrown.
void collectError(void* context, xmlErrorPtr reported) noexcept
{
    auto* errors = static_cast<Errors*>(context);
    if (!reported || reported->level < XML_ERR_ERROR)
        return;
    if (reported->code == XML_ERR_NO_MEMORY) {
        errors->outOfMemory = true;
        return;
    }
    try {
        XmlSchemaValidator::Error error;
        error.message = QString::fromUtf8(reported->message ? reported->message : "").trimmed();
        if (error.message.isEmpty())
            error.message = QStringLiteral("Unknown XML error");
        error.line = qMax(0, reported->line);
        error.column = qMax(0, reported->int2);
        errors->list.push_back(error);
    } catch (...) {
        errors->outOfMemory = true;
    }
}

// While alive, sends the errors that libxml2 raises on this thread without a handler of their
// own (those of the XML parser) to a collector, and keeps them off the standard error stream.
// libxml2 keeps this handler per thread, so validations on other threads are not disturbed.
class ThreadErrorRoute
{
public:
    explicit ThreadErrorRoute(Errors* errors)
        : previous(xmlStructuredError), previousContext(xmlStructuredErrorContext)
    {
        xmlSetStructuredErrorFunc(errors, collectError);
    }
    ~ThreadErrorRoute() { xmlSetStructuredErrorFunc(previousContext, previous); }
    ThreadErrorRoute(const ThreadErrorRoute&) = delete;
    ThreadErrorRoute& operator=(const ThreadErrorRoute&) = delete;

private:
    xmlStructuredErrorFunc previous;
    void* previousContext;
};

bool readAll(const QString& path, QByteArray* bytes, XmlSchemaValidator::Error* error)
{
    QFile file;
    const RegularFile::Result opened = RegularFile::open(file, path);
    if (opened != RegularFile::Result_OPENED) {
        error->message = RegularFile::message(opened);
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error->message = QStringLiteral("Unable to read file");
        return false;
    }
    return true;
}

bool fitsParser(const QByteArray& bytes, XmlSchemaValidator::Error* error)
{
    if (bytes.size() <= INT_MAX)
        return true;
    error->message = QStringLiteral("Document is too large");
    return false;
}

} // namespace

QString XmlSchemaValidator::Error::toString() const
{
    if (line <= 0)
        return message;
    return QStringLiteral("%1 (line %2, column %3)").arg(message).arg(line).arg(column);
}

XmlSchemaValidator::XmlSchemaValidator(const QString& schemaPath) : path(schemaPath)
{
    // Sets up libxml2's global state once, before any thread validates.
    xmlInitParser();

    QByteArray bytes;
    if (!readAll(schemaPath, &bytes, &loadError) || !fitsParser(bytes, &loadError))
        return;

    Errors errors;
    const ThreadErrorRoute route(&errors);
    const QByteArray url = QFile::encodeName(QFileInfo(schemaPath).absoluteFilePath());
    schemaDocument = xmlReadMemory(bytes.constData(), int(bytes.size()), url.constData(), nullptr,
                                   XML_PARSE_NONET);
    if (schemaDocument) {
        xmlSchemaParserCtxtPtr parser = xmlSchemaNewDocParserCtxt(schemaDocument);
        if (parser) {
            xmlSchemaSetParserStructuredErrors(parser, collectError, &errors);
            schema = xmlSchemaParse(parser);
            xmlSchemaFreeParserCtxt(parser);
        }
    }
    if (!schema) {
        if (errors.outOfMemory)
            loadError.message = QStringLiteral("There is not enough memory to load the schema");
        else if (!errors.list.empty())
            loadError = errors.list.front();
        if (loadError.isNull())
            loadError.message = QStringLiteral("Not a valid XML schema");
        if (schemaDocument)
            xmlFreeDoc(schemaDocument);
        schemaDocument = nullptr;
    }
}

XmlSchemaValidator::~XmlSchemaValidator()
{
    if (schema)
        xmlSchemaFree(schema);
    if (schemaDocument)
        xmlFreeDoc(schemaDocument);
}

bool XmlSchemaValidator::validate(const QByteArray& document, Error* error) const
{
    std::vector<Error> errors;
    if (validate(document, &errors))
        return true;
    if (error)
        *error = errors.front();
    return false;
}

bool XmlSchemaValidator::validate(const QByteArray& document, std::vector<Error>* errors) const
{
    Errors found;
    Error refusal;
    if (!schema) {
        refusal.message = QStringLiteral("No valid schema to validate against");
    } else if (fitsParser(document, &refusal)) {
        const ThreadErrorRoute route(&found);
        int result = -1;
        bool started = false;
        if (xmlSchemaValidCtxtPtr context = xmlSchemaNewValidCtxt(schema)) {
            xmlSchemaSetValidStructuredErrors(context, collectError, &found);
            // The document is parsed as a stream while it is validated, so that every error
            // carries the line and column where the parser stood. The stream owns the buffer.
            xmlParserInputBufferPtr input = xmlParserInputBufferCreateMem(
                document.constData(), int(document.size()), XML_CHAR_ENCODING_NONE);
            if (input) {
                started = true;
                result = xmlSchemaValidateStream(context, input, XML_CHAR_ENCODING_NONE, nullptr,
                                                 nullptr);
            }
            xmlSchemaFreeValidCtxt(context);
        }
        // Without room for its context or its copy of the document, or having run short on the
        // way, libxml2 judged nothing: the caller hears of it as of any failed allocation, here
        // where no frame of libxml2 is left to pass through.
        if (!started || found.outOfMemory)
            throw std::bad_alloc();
        if (result == 0 && found.list.empty())
            return true;
        if (found.list.empty())
            refusal.message = QStringLiteral("Not a valid document");
    }
    if (!refusal.isNull())
        found.list.push_back(refusal);
    if (errors)
        *errors = std::move(found.list);
    return false;
}

bool XmlSchemaValidator::validateFile(const QString& documentPath, Error* error) const
{
    QByteArray bytes;
    Error readError;
    if (!readAll(documentPath, &bytes, &readError)) {
        if (error)
            *error = readError;
        return false;
    }
    return validate(bytes, error);
}
