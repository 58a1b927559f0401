#pragma once

namespace Velmora {

// Registers the resources compiled into the program: the preview's QML components under
// ":/qml" and the images they and the QML text name (":/hs_wheel.png",
// ":/default_page_icon.png", the clock faces and hands). The libraries are static, so the
// linker keeps the compiled resources only when something calls this. Safe to call often.
void initialiseEmbeddedResources();

} // namespace Velmora
