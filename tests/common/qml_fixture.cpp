#include "qml_fixture.h"

#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_module.h"

namespace TestUtil {

void QmlFixture::SetUp()
{
    engine = std::make_unique<QQmlEngine>();
    VelmoraQML::initialise(480, 272, engine->rootContext(), callbacks);
}

void QmlFixture::TearDown()
{
    VelmoraQML::shutdown();
    engine.reset();
}

QString QmlFixture::document(const QString& body)
{
    return "import QtQuick 2.0\nimport Velmora 1.0\n" + body;
}

std::unique_ptr<QObject> QmlFixture::create(const QString& body)
{
    QString errors;
    std::unique_ptr<QObject> object(
        VelmoraQML::createObject(*engine, document(body), nullptr, &errors));
    EXPECT_TRUE(object) << errors.toStdString();
    return object;
}

QString QmlFixture::errorsOf(const QString& body)
{
    QString errors;
    std::unique_ptr<QObject> object(
        VelmoraQML::createObject(*engine, document(body), nullptr, &errors));
    return errors;
}

} // namespace TestUtil
