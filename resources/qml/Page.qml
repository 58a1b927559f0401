import QtQuick 2.0
import Velmora 1.0

// A page of the panel: a screen-sized background under its controls. The controller shows
// and hides it, at once or panning across the screen.
PagePrivate {
    id: page

    property alias color: background.color
    property alias gradient: background.gradient

    x: 0
    y: 0
    width: screen.size.width
    height: screen.size.height

    Rectangle {
        id: background
        anchors.fill: parent
    }

    NumberAnimation { id: inFromLeft; target: page; property: "x"; from: -screen.size.width; to: 0; duration: 200; easing.type: Easing.InOutQuad }
    NumberAnimation { id: inFromRight; target: page; property: "x"; from: screen.size.width; to: 0; duration: 200; easing.type: Easing.InOutQuad }
    NumberAnimation { id: outToRight; target: page; property: "x"; from: 0; to: screen.size.width; duration: 200; easing.type: Easing.InOutQuad }
    NumberAnimation { id: outToLeft; target: page; property: "x"; from: 0; to: -screen.size.width; duration: 200; easing.type: Easing.InOutQuad }

    // A new move ends the one in progress, so the page never drifts after it is placed.
    function run(animation, msecs) {
        inFromLeft.stop()
        inFromRight.stop()
        outToRight.stop()
        outToLeft.stop()
        if (animation) {
            animation.duration = msecs
            animation.start()
        }
    }

    onShowPage: function(transition, msecs) {
        if (transition === PagePrivate.PanLeftTransition) {
            y = 0
            run(inFromLeft, msecs)
        } else if (transition === PagePrivate.PanRightTransition) {
            y = 0
            run(inFromRight, msecs)
        } else {
            run(null, 0)
            x = 0
            y = 0
        }
        visible = true
    }

    // A page panned away stays visible, outside the screen.
    onHidePage: function(transition, msecs) {
        if (transition === PagePrivate.PanLeftTransition) {
            run(outToRight, msecs)
        } else if (transition === PagePrivate.PanRightTransition) {
            run(outToLeft, msecs)
        } else {
            run(null, 0)
            x = width
            y = height
            visible = false
        }
    }

    Component.onCompleted: if (controller) controller.addPage(page)
}
