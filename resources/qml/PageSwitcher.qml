import QtQuick 2.0
import Velmora 1.0
import "drawing_limits.js" as DrawingLimits

// A navigation bar: page buttons on a background, with the time and the date. The
// controller shows and hides it with its page, at once or panning across the screen.
PageSwitcherPrivate {
    id: bar

    property int targetX: 0
    property int targetY: 0
    property alias backgroundGradient: background.gradient
    property alias backgroundOpacity: background.opacity
    property int buttonFontSize: 11
    property color buttonTextColour: "#b2b2b2"
    property color buttonHighlight: "#4682B4"
    property real buttonHighlightOpacity: 0.5
    property bool showPageNames: true
    property bool showTime: true
    property bool showDate: true
    property string timeFormat: "hh:mm"
    property string dateFormat: "d/M/yyyy"
    property int dateTimeFontSize: 11
    property alias dateTimeX: dateTime.x
    property alias dateTimeY: dateTime.y
    property alias dateTimeWidth: dateTime.width
    property alias dateTimeHeight: dateTime.height

    Rectangle {
        id: background
        anchors.fill: parent
    }

    Column {
        id: dateTime
        spacing: 0
        Text {
            id: timeText
            objectName: "time"
            width: dateTime.width
            height: !bar.showTime ? 0
                    : bar.showDate ? (dateTime.height - dateTime.spacing) / 2 : dateTime.height
            visible: bar.showTime
            text: "00:00"
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            clip: true
            font.pixelSize: DrawingLimits.fontSize(bar.dateTimeFontSize)
            color: bar.buttonTextColour
        }
        Text {
            id: dateText
            objectName: "date"
            width: dateTime.width
            height: !bar.showDate ? 0
                    : dateTime.height - timeText.height - (bar.showTime ? dateTime.spacing : 0)
            visible: bar.showDate
            text: "01/01/2012"
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            clip: true
            font.pixelSize: DrawingLimits.fontSize(bar.dateTimeFontSize)
            color: bar.buttonTextColour
        }
    }

    // Shows the time and the date of the moment now (a Date).
    function showDateTime(now) {
        timeText.text = Qt.formatTime(now, timeFormat)
        dateText.text = Qt.formatDate(now, dateFormat)
    }

    Timer {
        objectName: "dateTimeTimer"
        interval: 100
        repeat: true
        running: true
        onTriggered: bar.showDateTime(new Date())
    }

    NumberAnimation { id: inFromLeft; target: bar; property: "x"; from: -screen.size.width; to: bar.targetX; duration: 200; easing.type: Easing.InOutQuad }
    NumberAnimation { id: inFromRight; target: bar; property: "x"; from: screen.size.width; to: bar.targetX; duration: 200; easing.type: Easing.InOutQuad }
    NumberAnimation { id: outToRight; target: bar; property: "x"; from: bar.targetX; to: screen.size.width; duration: 200; easing.type: Easing.InOutQuad }
    NumberAnimation { id: outToLeft; target: bar; property: "x"; from: bar.targetX; to: -screen.size.width; duration: 200; easing.type: Easing.InOutQuad }

    // A new move ends the one in progress, so the bar never drifts after it is placed.
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

    onShowPageSwitcher: function(transition, msecs) {
        if (transition === PageSwitcherPrivate.PanLeftTransition) {
            y = targetY
            run(inFromLeft, msecs)
        } else if (transition === PageSwitcherPrivate.PanRightTransition) {
            y = targetY
            run(inFromRight, msecs)
        } else {
            run(null, 0)
            x = targetX
            y = targetY
        }
        visible = true
    }

    onHidePageSwitcher: function(transition, msecs) {
        if (transition === PageSwitcherPrivate.PanLeftTransition) {
            run(outToRight, msecs)
        } else if (transition === PageSwitcherPrivate.PanRightTransition) {
            run(outToLeft, msecs)
        } else {
            run(null, 0)
            y = screen.size.height
            visible = false
        }
    }

    Component.onCompleted: if (controller) controller.addPageSwitcher(bar)
}
