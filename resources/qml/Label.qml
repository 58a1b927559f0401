import QtQuick 2.0
import Velmora 1.0
import "drawing_limits.js" as DrawingLimits

// A text on a background box.
LabelPrivate {
    id: label

    property int fontSize: 16
    property bool wordWrap: false

    property color gradientTopColour: currentSkin?.gradientTopColour ?? "#000000"
    property real gradientTopPosition: currentSkin?.gradientTopPosition ?? 0.0
    property color gradientBottomColour: currentSkin?.gradientBottomColour ?? "#000000"
    property real gradientBottomPosition: currentSkin?.gradientBottomPosition ?? 1.0
    property color borderColour: currentSkin?.borderColour ?? "#000000"
    property int borderWidth: currentSkin?.borderWidth ?? 0
    property int radius: currentSkin?.radius ?? 5
    property bool fontBold: currentSkin?.fontBold ?? false
    property bool fontItalic: currentSkin?.fontItalic ?? false
    property color textColour: currentSkin?.textColour ?? "white"
    property bool textShadow: currentSkin?.textShadow ?? false
    property color textShadowColour: currentSkin?.textShadowColour ?? "black"
    property real backgroundOpacity: currentSkin?.backgroundOpacity ?? 0.0

    // Made on the first change of skin: most controls never change theirs.
    skinChangerComponent: Component {
        SkinChanger {
            id: changer
            parallelAnimation: ParallelAnimation {
                ColorAnimation { target: label.currentSkin; property: "gradientTopColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: label.currentSkin; property: "gradientTopPosition"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: label.currentSkin; property: "gradientBottomColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: label.currentSkin; property: "gradientBottomPosition"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: label.currentSkin; property: "borderColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: label.currentSkin; property: "borderWidth"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: label.currentSkin; property: "radius"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: label.currentSkin; property: "fontBold"; duration: 0 }
                PropertyAnimation { target: label.currentSkin; property: "fontItalic"; duration: 0 }
                ColorAnimation { target: label.currentSkin; property: "textColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: label.currentSkin; property: "textShadow"; duration: 0 }
                ColorAnimation { target: label.currentSkin; property: "textShadowColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: label.currentSkin; property: "backgroundOpacity"; duration: changer.transitionDuration; easing.type: changer.easingType }
            }
        }
    }

    Rectangle {
        anchors.fill: parent
        smooth: true
        border.width: label.borderWidth
        border.color: label.borderWidth > 0 ? label.borderColour : "transparent"
        radius: DrawingLimits.radius(label.radius)
        opacity: label.backgroundOpacity
        gradient: Gradient {
            GradientStop { position: label.gradientTopPosition; color: label.gradientTopColour }
            GradientStop { position: label.gradientBottomPosition; color: label.gradientBottomColour }
        }
    }
    Text {
        id: captionText
        anchors.fill: parent
        text: label.caption
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        wrapMode: label.wordWrap ? Text.WordWrap : Text.NoWrap
        elide: label.wordWrap ? Text.ElideNone : Text.ElideMiddle
        clip: true
        font.pixelSize: DrawingLimits.fontSize(label.fontSize)
        font.bold: label.fontBold
        font.italic: label.fontItalic
        color: label.textColour
        style: label.textShadow ? Text.Raised : Text.Normal
        styleColor: label.textShadowColour
    }

    Component.onCompleted: label.onControlCompleted()
}
