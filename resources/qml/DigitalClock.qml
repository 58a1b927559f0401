import QtQuick 2.0
import Velmora 1.0
import "clock_time.js" as ClockTime
import "drawing_limits.js" as DrawingLimits

// A clock that shows the time as "hh:mm", with a caption below. It reads the time as the
// analogue clock does and takes its caption and text looks from the same clock skin.
AnalogueClockPrivate {
    id: clock

    property int captionFontSize: 11
    property alias spacing: column.spacing
    property int hours: 0
    property int minutes: 0
    property int seconds: 0
    // Hours east of universal time; 0 shows the local time.
    property real shift: 0
    property int captionTextHeight: captionFontSize * 1.5

    property color gradientTopColour: currentSkin?.gradientTopColour ?? "white"
    property real gradientTopPosition: currentSkin?.gradientTopPosition ?? 0.0
    property color gradientBottomColour: currentSkin?.gradientBottomColour ?? "white"
    property real gradientBottomPosition: currentSkin?.gradientBottomPosition ?? 1.0
    property color borderColour: currentSkin?.borderColour ?? "black"
    property int borderWidth: currentSkin?.borderWidth ?? 1
    property bool captionFontBold: currentSkin?.captionFontBold ?? false
    property bool captionFontItalic: currentSkin?.captionFontItalic ?? false
    property color captionTextColour: currentSkin?.captionTextColour ?? "white"
    property bool textShadow: currentSkin?.textShadow ?? false
    property color textShadowColour: currentSkin?.textShadowColour ?? "black"

    // The clock skin is shared with the analogue clock; its images have nothing to show here.
    // The changer is made on the first change of skin: most controls never change theirs.
    skinChangerComponent: Component {
        SkinChanger {
            id: changer
            parallelAnimation: ParallelAnimation {
                ColorAnimation { target: clock.currentSkin; property: "gradientTopColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: clock.currentSkin; property: "gradientTopPosition"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: clock.currentSkin; property: "gradientBottomColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: clock.currentSkin; property: "gradientBottomPosition"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: clock.currentSkin; property: "borderColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: clock.currentSkin; property: "borderWidth"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: clock.currentSkin; property: "captionFontBold"; duration: 0 }
                PropertyAnimation { target: clock.currentSkin; property: "captionFontItalic"; duration: 0 }
                ColorAnimation { target: clock.currentSkin; property: "captionTextColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: clock.currentSkin; property: "textShadow"; duration: 0 }
                ColorAnimation { target: clock.currentSkin; property: "textShadowColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
            }
        }
    }

    // Shows the time at the moment now (a Date).
    function showTime(now) {
        var time = ClockTime.read(now, shift)
        hours = time.hours
        minutes = time.minutes
        seconds = time.seconds
    }

    Timer {
        objectName: "clockTimer"
        interval: 100
        repeat: true
        running: true
        triggeredOnStart: true
        onTriggered: clock.showTime(new Date())
    }

    Column {
        id: column
        anchors.fill: parent

        Text {
            id: timeText
            objectName: "time"
            width: clock.width
            height: Math.max(0, clock.height - (clock.caption !== "" ? clock.captionTextHeight + column.spacing : 0))
            text: ClockTime.text(clock.hours, clock.minutes)
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            // As large as the area allows, down to a readable minimum.
            font.pixelSize: DrawingLimits.fontSize(Math.max(8, height * 0.8))
            fontSizeMode: Text.Fit
            minimumPixelSize: 8
            font.bold: clock.captionFontBold
            font.italic: clock.captionFontItalic
            color: clock.captionTextColour
            style: clock.textShadow ? Text.Raised : Text.Normal
            styleColor: clock.textShadowColour
        }
        Text {
            id: captionText
            width: clock.width
            height: clock.caption !== "" ? clock.captionTextHeight : 0
            visible: clock.caption !== ""
            text: clock.caption
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideMiddle
            clip: true
            font.pixelSize: DrawingLimits.fontSize(clock.captionFontSize)
            font.bold: clock.captionFontBold
            font.italic: clock.captionFontItalic
            color: clock.captionTextColour
            style: clock.textShadow ? Text.Raised : Text.Normal
            styleColor: clock.textShadowColour
        }
    }

    Component.onCompleted: clock.onControlCompleted()
}
