#include "core/assertion.h"

#include <QDebug>
#include <QtGlobal>
#include <cstdlib>

void assertFailed(const std::string& message, int line, const std::string& file)
{
    // The message is an argument of the format, so per-cent signs in it print unchanged.
    qFatal("Error %s at line %d in file %s", message.c_str(), line, file.c_str());
    std::abort();
}

void reportError(const std::string& message, int line, const std::string& file)
{
    qWarning() << "Error " << message.c_str() << " at line " << line << " in file " << file.c_str()
               << "\n";
}

namespace Velmora {
namespace detail {

std::string assertionUnit(const char* sourceFile, const char* buildDate)
{
    std::string unit(sourceFile);
    const auto slash = unit.find_last_of('/');
    const auto dot = unit.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        unit.erase(dot);
    return unit + " (" + buildDate + ") ";
}

} // namespace detail
} // namespace Velmora
