import QtQuick 2.0
import Velmora 1.0
import "drawing_limits.js" as DrawingLimits

// A push button. Momentary: pressed while touched, clicked on release, with a held event after
// heldTimeout and repeat events every repeatInterval while held. Maintained: each press
// toggles it between down and up.
ButtonPrivate {
    id: button

    property int fontSize: 16
    property bool wordWrap: false
    property int heldTimeout: 0
    property int repeatInterval: 0
    property int actuation: Control.MomentaryActuation
    property alias fixedImageSource: fixedImage.source
    property bool down: false

    // The look of the current skin; the fallbacks are the button's skin defaults, for a
    // document without a theme.
    property color gradientTopColour: currentSkin?.gradientTopColour ?? "lightsteelblue"
    property real gradientTopPosition: currentSkin?.gradientTopPosition ?? 0.0
    property color gradientBottomColour: currentSkin?.gradientBottomColour ?? "steelblue"
    property real gradientBottomPosition: currentSkin?.gradientBottomPosition ?? 1.0
    property color borderColour: currentSkin?.borderColour ?? "steelblue"
    property int borderWidth: currentSkin?.borderWidth ?? 1
    property int radius: currentSkin?.radius ?? 5
    property bool fontBold: currentSkin?.fontBold ?? false
    property bool fontItalic: currentSkin?.fontItalic ?? false
    property color textColour: currentSkin?.textColour ?? "white"
    property string backgroundImage: currentSkin?.backgroundImage ?? ""

    readonly property bool momentary: actuation !== Control.MaintainedActuation
    readonly property bool hasFixedImage: fixedImage.source.toString() !== ""

    // Made on the first change of skin: most controls never change theirs.
    skinChangerComponent: Component {
        SkinChanger {
            id: changer
            parallelAnimation: ParallelAnimation {
                ColorAnimation { target: button.currentSkin; property: "gradientTopColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: button.currentSkin; property: "gradientBottomColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: button.currentSkin; property: "gradientTopPosition"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: button.currentSkin; property: "gradientBottomPosition"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: button.currentSkin; property: "borderColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: button.currentSkin; property: "borderWidth"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: button.currentSkin; property: "radius"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: button.currentSkin; property: "fontBold"; duration: 0 }
                PropertyAnimation { target: button.currentSkin; property: "fontItalic"; duration: 0 }
                ColorAnimation { target: button.currentSkin; property: "textColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: button.currentSkin; property: "gradientTopColour_pressed"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: button.currentSkin; property: "gradientBottomColour_pressed"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: button.currentSkin; property: "borderColour_pressed"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: button.currentSkin; property: "textColour_pressed"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: button.currentSkin; property: "opacity"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: button.currentSkin; property: "opacityStart"; duration: 0 }
                PropertyAnimation { target: button.currentSkin; property: "opacityStop"; duration: 0 }
                PropertyAnimation { target: button.currentSkin; property: "opacityAnimated"; duration: 0 }
                PropertyAnimation { target: button.currentSkin; property: "opacityAnimationPeriod"; duration: 0 }
                PropertyAnimation { target: button.currentSkin; property: "backgroundImage"; duration: 0 }
                PropertyAnimation { target: button.currentSkin; property: "backgroundImage_pressed"; duration: 0 }
            }
        }
    }

    state: "default"
    states: [
        // The look of the skin as bound above.
        State { name: "default" },
        State {
            name: "pressed"
            PropertyChanges {
                target: button
                gradientTopColour: currentSkin?.gradientTopColour_pressed ?? "steelblue"
                gradientBottomColour: currentSkin?.gradientBottomColour_pressed ?? "lightsteelblue"
                borderColour: currentSkin?.borderColour_pressed ?? "white"
                textColour: currentSkin?.textColour_pressed ?? "black"
                backgroundImage: currentSkin?.backgroundImage_pressed ?? ""
            }
        }
    ]

    // The skin's opacity, pulsing between its start and stop values while it is animated.
    SyncAnimation {
        target: button
        propertyName: "opacity"
        period: currentSkin?.opacityAnimationPeriod ?? 1000
        startValue: currentSkin?.opacityStart ?? 1.0
        endValue: currentSkin?.opacityStop ?? 0.5
        offValue: currentSkin?.opacity ?? 1.0
        running: currentSkin?.opacityAnimated ?? false
    }

    Rectangle {
        anchors.fill: parent
        smooth: true
        visible: !button.hasFixedImage && button.backgroundImage === ""
        border.width: button.borderWidth
        border.color: button.borderWidth > 0 ? button.borderColour : "transparent"
        radius: DrawingLimits.radius(button.radius)
        gradient: Gradient {
            GradientStop { position: button.gradientTopPosition; color: button.gradientTopColour }
            GradientStop { position: button.gradientBottomPosition; color: button.gradientBottomColour }
        }
    }
    Image {
        objectName: "skinImage"
        anchors.fill: parent
        source: button.backgroundImage
        visible: button.backgroundImage !== "" && !button.hasFixedImage
    }
    Image {
        id: fixedImage
        objectName: "fixedImage"
        anchors.fill: parent
        visible: button.hasFixedImage
    }
    Text {
        id: captionText
        anchors.fill: parent
        text: button.caption
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        wrapMode: button.wordWrap ? Text.WordWrap : Text.NoWrap
        elide: button.wordWrap ? Text.ElideNone : Text.ElideMiddle
        clip: true
        font.pixelSize: DrawingLimits.fontSize(button.fontSize)
        font.bold: button.fontBold
        font.italic: button.fontItalic
        color: button.textColour
    }

    // Runs only while a momentary button is held: first the held timeout, then the repeats.
    Timer {
        id: heldTimer
        objectName: "heldTimer"
        property bool held: false
        repeat: true
        onTriggered: {
            if (!held) {
                held = true
                button.sendEvent(Control.Event_BUTTON_HELD)
                if (button.repeatInterval > 0) {
                    interval = button.repeatInterval
                    restart()
                } else {
                    stop()
                }
            } else {
                button.sendEvent(Control.Event_BUTTON_REPEAT)
            }
        }
    }

    function goDown() {
        down = true
        state = "pressed"
        sendEvent(Control.Event_BUTTON_PRESSED)
        if (!momentary)
            return
        if (heldTimeout > 0) {
            heldTimer.interval = heldTimeout
            heldTimer.start()
        } else if (repeatInterval > 0) {
            heldTimer.held = true
            heldTimer.interval = repeatInterval
            heldTimer.start()
        }
    }

    function goUp() {
        if (momentary) {
            heldTimer.stop()
            heldTimer.held = false
        }
        down = false
        sendEvent(Control.Event_BUTTON_RELEASED)
        state = "default"
    }

    MouseArea {
        anchors.fill: parent
        onPressed: {
            if (button.momentary || !button.down)
                button.goDown()
            else
                button.goUp()
        }
        onReleased: if (button.momentary) button.goUp()
        // A touch taken away by another item ends like a release, without a click.
        onCanceled: if (button.momentary && button.down) button.goUp()
        onClicked: if (button.momentary) button.sendEvent(Control.Event_BUTTON_CLICKED)
    }

    Component.onCompleted: button.onControlCompleted()
}
