import QtQuick 2.0
import Velmora 1.0
import "drawing_limits.js" as DrawingLimits

// A numeric keypad with a display, as used for the unlock code: digits, "Del", "Cls" and
// "Enter", which sends the code when it has at least minWidth digits.
KeypadPrivate {
    id: keypad

    property string number: ""
    property int minWidth: 1
    property int maxWidth: 4
    property bool hideCharacters: true
    property int displayTextStyle: -1
    property int buttonTextStyle: -1
    property alias displayTextStyleActual: displayText.style
    property int buttonTextStyleActual: -1

    property int backgroundRadius: currentSkin?.backgroundRadius ?? 12
    property color backgroundColour: currentSkin?.backgroundColour ?? "#000000"
    property real backgroundOpacity: currentSkin?.backgroundOpacity ?? 0.0
    property int displayRadius: currentSkin?.displayRadius ?? 8
    property int displayBorderWidth: currentSkin?.displayBorderWidth ?? 1
    property color displayBorderColour: currentSkin?.displayBorderColour ?? "#000000"
    property color displayGradientTopColour: currentSkin?.displayGradientTopColour ?? "#808080"
    property real displayGradientTopPosition: currentSkin?.displayGradientTopPosition ?? 0.0
    property color displayGradientBottomColour: currentSkin?.displayGradientBottomColour ?? "#FFFFFF"
    property real displayGradientBottomPosition: currentSkin?.displayGradientBottomPosition ?? 1.0
    property real displayOpacity: currentSkin?.displayOpacity ?? 0.75
    property color displayTextColour: currentSkin?.displayTextColour ?? "#000000"
    property color displayTextStyleColour: currentSkin?.displayTextStyleColour ?? "#404040"
    property bool displayFontBold: currentSkin?.displayFontBold ?? false
    property bool displayFontItalic: currentSkin?.displayFontItalic ?? false
    property int buttonRadius: currentSkin?.buttonRadius ?? 8
    property int buttonBorderWidth: currentSkin?.buttonBorderWidth ?? 1
    property color buttonBorderColour: currentSkin?.buttonBorderColour ?? "#000000"
    property color buttonGradientTopColour: currentSkin?.buttonGradientTopColour ?? "#FFFFFF"
    property real buttonGradientTopPosition: currentSkin?.buttonGradientTopPosition ?? 0.0
    property color buttonGradientBottomColour: currentSkin?.buttonGradientBottomColour ?? "#808080"
    property real buttonGradientBottomPosition: currentSkin?.buttonGradientBottomPosition ?? 1.0
    property real buttonOpacity: currentSkin?.buttonOpacity ?? 0.75
    property color buttonTextColour: currentSkin?.buttonTextColour ?? "#000000"
    property color buttonTextStyleColour: currentSkin?.buttonTextStyleColour ?? "#404040"
    property bool buttonFontBold: currentSkin?.buttonFontBold ?? false
    property bool buttonFontItalic: currentSkin?.buttonFontItalic ?? false
    property color buttonGradientTopColour_pressed: currentSkin?.buttonGradientTopColour_pressed ?? "#808080"
    property color buttonGradientBottomColour_pressed: currentSkin?.buttonGradientBottomColour_pressed ?? "#FFFFFF"

    // Made on the first change of skin: most controls never change theirs.
    skinChangerComponent: Component {
        SkinChanger {
            id: changer
            parallelAnimation: ParallelAnimation {
                PropertyAnimation { target: keypad.currentSkin; property: "backgroundRadius"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: keypad.currentSkin; property: "backgroundColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: keypad.currentSkin; property: "backgroundOpacity"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: keypad.currentSkin; property: "displayRadius"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: keypad.currentSkin; property: "displayBorderWidth"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: keypad.currentSkin; property: "displayBorderColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: keypad.currentSkin; property: "displayGradientTopColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: keypad.currentSkin; property: "displayGradientTopPosition"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: keypad.currentSkin; property: "displayGradientBottomColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: keypad.currentSkin; property: "displayGradientBottomPosition"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: keypad.currentSkin; property: "displayOpacity"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: keypad.currentSkin; property: "displayTextColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: keypad.currentSkin; property: "displayTextStyleColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: keypad.currentSkin; property: "displayFontBold"; duration: 0 }
                PropertyAnimation { target: keypad.currentSkin; property: "displayFontItalic"; duration: 0 }
                PropertyAnimation { target: keypad.currentSkin; property: "buttonRadius"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: keypad.currentSkin; property: "buttonBorderWidth"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: keypad.currentSkin; property: "buttonBorderColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: keypad.currentSkin; property: "buttonGradientTopColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: keypad.currentSkin; property: "buttonGradientTopPosition"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: keypad.currentSkin; property: "buttonGradientBottomColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: keypad.currentSkin; property: "buttonGradientBottomPosition"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: keypad.currentSkin; property: "buttonOpacity"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: keypad.currentSkin; property: "buttonTextColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: keypad.currentSkin; property: "buttonTextStyleColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: keypad.currentSkin; property: "buttonFontBold"; duration: 0 }
                PropertyAnimation { target: keypad.currentSkin; property: "buttonFontItalic"; duration: 0 }
                ColorAnimation { target: keypad.currentSkin; property: "buttonGradientTopColour_pressed"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: keypad.currentSkin; property: "buttonGradientBottomColour_pressed"; duration: changer.transitionDuration; easing.type: changer.easingType }
            }
        }
    }

    // The text style of a Types.TextStyle number; unknown numbers give the plain style.
    function textStyleOf(textStyle) {
        switch (textStyle) {
        case Types.TextStyle_OUTLINE: return Text.Outline
        case Types.TextStyle_RAISED: return Text.Raised
        case Types.TextStyle_SUNKEN: return Text.Sunken
        default: return Text.Normal
        }
    }

    // A key of the keypad: a digit, "Del", "Cls" or "Enter".
    function press(key) {
        if (typeof key === "number") {
            if (number.length < maxWidth)
                number += key
        } else if (key === "Del") {
            number = number.slice(0, -1)
        } else if (key === "Cls") {
            number = ""
        } else if (key === "Enter" && number.length >= minWidth) {
            var code = number
            number = ""
            sendEvent(Control.Event_KEYPAD_CODE_ENTERED, code)
        }
    }

    onMaxWidthChanged: if (number.length > maxWidth) number = number.slice(0, Math.max(0, maxWidth))
    onDisplayTextStyleChanged: displayTextStyleActual = textStyleOf(displayTextStyle)
    onButtonTextStyleChanged: buttonTextStyleActual = textStyleOf(buttonTextStyle)

    Rectangle {
        anchors.fill: parent
        radius: DrawingLimits.radius(keypad.backgroundRadius)
        color: keypad.backgroundColour
        opacity: keypad.backgroundOpacity
    }

    // The display, with the number (or the caption while there is none).
    Item {
        x: 6
        y: 6
        width: keypad.width - 12
        height: 48
        Rectangle {
            anchors.fill: parent
            radius: DrawingLimits.radius(keypad.displayRadius)
            border.width: keypad.displayBorderWidth
            border.color: keypad.displayBorderWidth > 0 ? keypad.displayBorderColour : "transparent"
            opacity: keypad.displayOpacity
            gradient: Gradient {
                GradientStop { position: keypad.displayGradientTopPosition; color: keypad.displayGradientTopColour }
                GradientStop { position: keypad.displayGradientBottomPosition; color: keypad.displayGradientBottomColour }
            }
        }
        Text {
            id: displayText
            objectName: "display"
            anchors.centerIn: parent
            font.pixelSize: parent.height * 0.75
            font.bold: keypad.displayFontBold
            font.italic: keypad.displayFontItalic
            color: keypad.displayTextColour
            styleColor: keypad.displayTextStyleColour
            text: keypad.number === "" ? keypad.caption
                  : keypad.hideCharacters ? "\u25CF".repeat(keypad.number.length) : keypad.number
        }
    }

    // The keys, drawn in the keypad's button look.
    KeypadKeys {
        id: keys
        objectName: "keys"
        anchors.fill: parent
        radius: keypad.buttonRadius
        keyOpacity: keypad.buttonOpacity
        borderWidth: keypad.buttonBorderWidth
        borderColour: keypad.buttonBorderColour
        gradientTopColour: keypad.buttonGradientTopColour
        gradientTopPosition: keypad.buttonGradientTopPosition
        gradientBottomColour: keypad.buttonGradientBottomColour
        gradientBottomPosition: keypad.buttonGradientBottomPosition
        gradientTopColour_pressed: keypad.buttonGradientTopColour_pressed
        gradientBottomColour_pressed: keypad.buttonGradientBottomColour_pressed
        fontBold: keypad.buttonFontBold
        fontItalic: keypad.buttonFontItalic
        textColour: keypad.buttonTextColour
        styleColour: keypad.buttonTextStyleColour
        style: keypad.buttonTextStyleActual < 0 ? Text.Normal : keypad.buttonTextStyleActual
    }

    MouseArea {
        anchors.fill: parent
        onPressed: function(mouse) {
            keys.pressedIndex = keys.keyAt(mouse.x, mouse.y)
            mouse.accepted = keys.pressedIndex >= 0
        }
        onReleased: function(mouse) {
            var index = keys.pressedIndex
            keys.pressedIndex = -1
            if (index >= 0 && index === keys.keyAt(mouse.x, mouse.y))
                keypad.press(keys.valueOf(index))
        }
        onCanceled: keys.pressedIndex = -1
    }

    Component.onCompleted: {
        // The styles follow the numbers the document gave, whichever order they came in.
        displayTextStyleActual = textStyleOf(displayTextStyle)
        buttonTextStyleActual = textStyleOf(buttonTextStyle)
        keypad.onControlCompleted()
    }
}
