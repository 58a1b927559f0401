#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

struct _xmlDoc;
struct _xmlSchema;

// An XML Schema loaded once and used to validate documents (libxml2).
//
// Construct it on one thread (the GUI thread, where libxml2 is initialised); afterwards
// validate() and validateFile() may run on any thread, also on several at once: the loaded
// schema is only read, and every validation has its own context. The object is not copyable.
class XmlSchemaValidator
{
public:
    // Where and why a schema or a document was refused. Line and column count from 1; 0 means
    // that the position is not known.
    struct Error
    {
        QString message;
        int line = 0;
        int column = 0;

        bool isNull() const { return message.isEmpty(); }
        // "<message> (line <l>, column <c>)", or the bare message without a position.
        QString toString() const;
    };

    // Loads the schema from a file (a Qt resource path works too); includes and imports of the
    // schema are resolved relative to its path. When it cannot be read or is not a valid schema,
    // isValid() is false and schemaError() says why.
    explicit XmlSchemaValidator(const QString& schemaPath);
    ~XmlSchemaValidator();
    XmlSchemaValidator(const XmlSchemaValidator&) = delete;
    XmlSchemaValidator& operator=(const XmlSchemaValidator&) = delete;

    bool isValid() const { return schema != nullptr; }
    const QString& schemaPath() const { return path; }
    const Error& schemaError() const { return loadError; }

    // True when the document is well formed and valid against the schema. Otherwise false, with
    // the first error (of parsing or of validation) stored in `error` when given. Without a valid
    // schema every document is refused. Nothing is fetched from the network. Without the
    // memory to judge the document, std::bad_alloc is thrown, as by any failed allocation.
    bool validate(const QByteArray& document, Error* error = nullptr) const;
    // validate() that gives every error, in the order found, rather than the first. The
    // messages grow with the document: check its shape (XmlShape) before.
    bool validate(const QByteArray& document, std::vector<Error>* errors) const;
    // validate() of the file's bytes; a path that names no regular file that can be read is
    // refused with the words of the regular-file rule (RegularFile::message).
    bool validateFile(const QString& documentPath, Error* error = nullptr) const;

private:
    QString path;
    Error loadError;
    _xmlDoc* schemaDocument = nullptr; // kept for the schema's lifetime: it may point into it
    _xmlSchema* schema = nullptr;
};
