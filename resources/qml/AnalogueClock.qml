import QtQuick 2.0
import Velmora 1.0
import "drawing_limits.js" as DrawingLimits
import "clock_time.js" as ClockTime

// A clock face with hour and minute hands, and a caption below. The time is read every
// 100 ms; each hand swings to its new angle on a spring.
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
    property string faceImage: currentSkin?.faceImage ?? "qrc:/default_clock_face.svg"
    property string hourHandImage: currentSkin?.hourHandImage ?? "qrc:/default_clock_hour_hand.svg"
    property string minuteHandImage: currentSkin?.minuteHandImage ?? "qrc:/default_clock_minute_hand.svg"

    // Made on the first change of skin: most controls never change theirs.
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
                PropertyAnimation { target: clock.currentSkin; property: "faceImage"; duration: 0 }
                PropertyAnimation { target: clock.currentSkin; property: "hourHandImage"; duration: 0 }
                PropertyAnimation { target: clock.currentSkin; property: "minuteHandImage"; duration: 0 }
            }
        }
    }

    // The hands point to the first time shown at once, as they do on a panel that has run for
    // a while; every later change swings them on their springs.
    property bool handsSet: false

    // The angle within one turn, as the springs keep it.
    function angle(degrees) {
        return ((degrees % 360) + 360) % 360
    }

    // Shows the time at the moment now (a Date).
    function showTime(now) {
        var time = ClockTime.read(now, shift)
        hours = time.hours
        minutes = time.minutes
        seconds = time.seconds
        handsSet = true
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

        Item {
            id: faceArea
            width: clock.width
            height: clock.height - (clock.caption !== "" ? clock.captionTextHeight + column.spacing : 0)

            Image {
                id: face
                objectName: "face"
                readonly property real side: Math.max(0, Math.min(faceArea.width, faceArea.height))
                // The pictures are made at the face's size up to the drawing limit and stretched
                // beyond: a giant clock costs what a screen-sized one does.
                readonly property real pictureSide: DrawingLimits.pictureSide(side)
                x: (faceArea.width - side) / 2
                y: (faceArea.height - side) / 2
                width: side
                height: side
                source: clock.faceImage
                sourceSize: Qt.size(pictureSide, pictureSide)
                fillMode: Image.PreserveAspectFit
                smooth: true

                Image {
                    objectName: "hourHand"
                    anchors.fill: parent
                    source: clock.hourHandImage
                    sourceSize: Qt.size(face.pictureSide, face.pictureSide)
                    fillMode: Image.PreserveAspectFit
                    smooth: true
                    rotation: clock.angle(clock.hours * 30 + clock.minutes * 0.5)
                    Behavior on rotation { enabled: clock.handsSet; SpringAnimation { spring: 2; damping: 0.2; modulus: 360 } }
                }
                Image {
                    objectName: "minuteHand"
                    anchors.fill: parent
                    source: clock.minuteHandImage
                    sourceSize: Qt.size(face.pictureSide, face.pictureSide)
                    fillMode: Image.PreserveAspectFit
                    smooth: true
                    rotation: clock.angle(clock.minutes * 6)
                    Behavior on rotation { enabled: clock.handsSet; SpringAnimation { spring: 2; damping: 0.2; modulus: 360 } }
                }
            }
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
