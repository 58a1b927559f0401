#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <stdexcept>
#include <string>

namespace TestUtil {

// Path of a file under tests/data.
QString dataPath(const QString& relative);
QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);
// "4f 72 76 6e" → bytes; blanks and line breaks are ignored.
QByteArray fromHex(const char* hex);

// Runs the function and returns the message of the std::runtime_error it raised, or
// "<no error>" when it returned normally.
std::string runtimeErrorOf(const std::function<void()>& function);

} // namespace TestUtil
