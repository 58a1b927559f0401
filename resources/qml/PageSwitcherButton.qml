import QtQuick 2.0
import Velmora 1.0
import "drawing_limits.js" as DrawingLimits

// One page button of a navigation bar: the page's icon and name. It is highlighted while its
// page is the current one, and tapping it goes to that page. It takes its text and highlight
// settings from the bar it stands in.
Item {
    id: button

    property int fontSize: parent?.buttonFontSize ?? 11
    property color textColour: parent?.buttonTextColour ?? "#b2b2b2"
    property color highlight: parent?.buttonHighlight ?? "#4682B4"
    property real highlightOpacity: parent?.buttonHighlightOpacity ?? 0.5
    property bool showPageName: parent?.showPageNames ?? true
    property alias text: nameText.text
    property string targetPage
    property int transition: PageSwitcherPrivate.SnapTransition
    property int transitionDuration: 0
    property alias iconSource: icon.source
    property bool current: false

    // Called by the controller when the button's page is shown (true) or hidden (false).
    function indicateCurrentPage(isCurrent) {
        current = isCurrent
    }

    Rectangle {
        objectName: "highlight"
        anchors.fill: parent
        color: button.current ? button.highlight : "transparent"
        radius: button.current ? 5 : 0
        opacity: button.highlightOpacity
    }
    Image {
        id: icon
        x: (button.width - 24) / 2
        y: button.showPageName ? (button.height - 10 - 24) / 2 : (button.height - 24) / 2
        width: 24
        height: 24
    }
    Text {
        id: nameText
        anchors.fill: parent
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignBottom
        elide: Text.ElideRight
        font.pixelSize: DrawingLimits.fontSize(button.fontSize)
        color: button.textColour
        visible: button.showPageName
    }
    MouseArea {
        anchors.fill: parent
        onClicked: if (controller) controller.goToPage(button.targetPage, button.transition, button.transitionDuration)
    }

    Component.onCompleted: if (controller) controller.addPageSwitcherButton(button)
}
