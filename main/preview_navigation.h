#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

class VelmoraDocument;

namespace VelmoraQML {
class QMLConfiguration;
class QMLController;
} // namespace VelmoraQML

// Makes the panel's own navigation work in the live preview, in step with the editor's page.
//
// The preview's controller performs the buttons' page functions (Next, Previous, Go To Page,
// Back, Lock); it reads the project through a configuration item, which the navigation gives
// it, and it is told every page the editor shows, so that those functions start from the page
// on screen and its page-switcher button is lit. When a button's function shows another page,
// pageChosen() asks the editor to make that page current, as a click in the page list would;
// the editor then shows it, at once (the page view frames the page where it stands, so the
// transition's pan is left out). The lock page that a button's Lock shows is the scene's and
// never the editor's page; unlocking back to the page the editor shows brings it back at once.
//
// The controller's hiding moves a page out of the screen (or pans it away); the editor keeps
// every hidden page at its place, where a thumbnail or a later showing finds it, so a page or
// page switcher the controller hid is put back at once.
//
// The document must outlive the navigation. Everything runs on the GUI thread.
class PreviewNavigation : public QObject
{
    Q_OBJECT

public:
    explicit PreviewNavigation(VelmoraDocument& document, QObject* parent = nullptr);
    ~PreviewNavigation() override;

    // To be called once the document has prepared its preview, which makes the controller
    // afresh: the controller gets the project and the items built so far.
    void attach();
    // The controller finds pages by the name, the order and the switcher they had when they
    // registered: pages renamed, moved or given another switcher since register again.
    void refresh();

signals:
    // The preview's navigation showed this page of the project; the editor should follow.
    void pageChosen(unsigned int pageId);

private:
    void onPageShown(unsigned int pageId);
    void onControllerPageChanged(int configId);
    // The page's item and its switcher's, when the controller hid them, go back where the
    // editor keeps hidden items: at their place, invisible.
    void restorePage(unsigned int pageId);

    VelmoraDocument& document;
    QPointer<VelmoraQML::QMLController> controller;
    std::unique_ptr<VelmoraQML::QMLConfiguration> configurationItem;
};
