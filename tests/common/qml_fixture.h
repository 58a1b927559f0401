#pragma once

#include "velmora_objects/qml/qml_controller.h"

#include <QQmlEngine>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace TestUtil {

// A QML engine with the module "Velmora" 1.0 initialised on its root context (480 × 272) and
// shut down again after the test.
class QmlFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Compiles the body after the imports of QtQuick 2.0 and Velmora 1.0 and creates it; the
    // test fails with the compiler's messages when it does not compile.
    std::unique_ptr<QObject> create(const QString& body);
    // The error text of a body that must not compile or cannot be created (empty when it
    // was created).
    QString errorsOf(const QString& body);

    static QString document(const QString& body);

    std::unique_ptr<QQmlEngine> engine;
    VelmoraQML::QMLController::Callbacks callbacks;
};

} // namespace TestUtil
