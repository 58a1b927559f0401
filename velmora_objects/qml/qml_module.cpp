#include "velmora_objects/qml/qml_module.h"

#include "resources/embedded_resources.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/qml/qml_button.h"
#include "velmora_objects/qml/qml_colour_picker.h"
#include "velmora_objects/qml/qml_configuration.h"
#include "velmora_objects/qml/qml_control.h"
#include "velmora_objects/qml/qml_keypad_keys.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml/qml_page_switcher.h"
#include "velmora_objects/qml/qml_screen.h"
#include "velmora_objects/qml/qml_skin_changer.h"
#include "velmora_objects/qml/qml_slider.h"
#include "velmora_objects/qml/qml_sync_animation.h"
#include "velmora_objects/qml/qml_theme.h"
#include "velmora_objects/qml/qml_types.h"

#include <QPointer>
#include <QQmlContext>
#include <QtQml>

namespace VelmoraQML {

namespace {

struct ModuleState
{
    bool initialised = false;
    QPointer<QQmlContext> context;
    QMLController* controller = nullptr;
    QMLScreen* screen = nullptr;
};

ModuleState& state()
{
    static ModuleState s;
    return s;
}

const char* const uri = "Velmora";

} // namespace

void registerTypes()
{
    // The engine keeps registered types for the life of the process; registering them again
    // would only add duplicates.
    static bool registered = false;
    if (registered)
        return;
    registered = true;

    // The components that the documents import from "qrc:/qml" derive from these types.
    Velmora::initialiseEmbeddedResources();
    qmlRegisterUncreatableType<QMLTypes>(uri, 1, 0, "Types",
                                         "Cannot instantiate Types: only for declaring enums.");
    qmlRegisterType<QMLConfiguration>(uri, 1, 0, "Configuration");
    qmlRegisterAnonymousType<QMLConfigObject>(uri, 1);
    qmlRegisterAnonymousType<QMLThemedObject>(uri, 1);
    qmlRegisterType<QMLPage>(uri, 1, 0, "PagePrivate");
    qmlRegisterType<QMLPageSwitcher>(uri, 1, 0, "PageSwitcherPrivate");
    qmlRegisterType<QMLControl>(uri, 1, 0, "Control");
    qmlRegisterType<QMLButton>(uri, 1, 0, "ButtonPrivate");
    qmlRegisterType<QMLSlider>(uri, 1, 0, "SliderPrivate");
    qmlRegisterType<QMLColourPicker>(uri, 1, 0, "ColourPickerPrivate");
    qmlRegisterType<QMLKeypad>(uri, 1, 0, "KeypadPrivate");
    qmlRegisterType<QMLKeypadKeys>(uri, 1, 0, "KeypadKeys");
    qmlRegisterType<QMLLabel>(uri, 1, 0, "LabelPrivate");
    qmlRegisterAnonymousType<QMLClock>(uri, 1);
    qmlRegisterType<QMLAnalogueClock>(uri, 1, 0, "AnalogueClockPrivate");
    qmlRegisterType<QMLSkin>(uri, 1, 0, "Skin");
    qmlRegisterType<QMLSkinSet>(uri, 1, 0, "SkinSet");
    qmlRegisterType<QMLSkinChanger>(uri, 1, 0, "SkinChanger");
    qmlRegisterType<QMLSyncAnimation>(uri, 1, 0, "SyncAnimation");
    qmlRegisterType<QMLTheme>(uri, 1, 0, "Theme");
}

void initialise(int screenWidth, int screenHeight, QQmlContext* context,
                const QMLController::Callbacks& callbacks)
{
    ModuleState& s = state();
    // A second initialise without a shutdown replaces the objects rather than leaking them.
    delete s.controller;
    delete s.screen;
    s.context = context;
    registerTypes();

    s.controller = new QMLController(callbacks);
    if (context)
        context->setContextProperty("controller", s.controller);

    s.screen = new QMLScreen();
    s.screen->setSize(QSize(screenWidth, screenHeight));
    if (context)
        context->setContextProperty("screen", s.screen);

    s.initialised = true;
}

void shutdown()
{
    ModuleState& s = state();
    s.initialised = false;
    s.context = nullptr;
    delete s.controller;
    s.controller = nullptr;
    delete s.screen;
    s.screen = nullptr;
}

bool isInitialised()
{
    return state().initialised;
}

QQmlContext* context()
{
    return state().context;
}

QMLController* controller()
{
    return state().controller;
}

QMLScreen* screen()
{
    return state().screen;
}

void updateConfiguration(const Velmora::Configuration* configuration)
{
    ModuleState& s = state();
    if (!s.controller || !s.controller->configuration())
        return;
    s.controller->setEnabled(true);
    s.controller->configuration()->setConfiguration(configuration);
    if (configuration && s.screen)
        s.screen->setSize(QSize(configuration->getWidth(), configuration->getHeight()));
}

} // namespace VelmoraQML
