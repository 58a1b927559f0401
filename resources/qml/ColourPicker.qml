import QtQuick 2.0
import Velmora 1.0
import "drawing_limits.js" as DrawingLimits

// A hue/saturation wheel with an indicator ring on the colour picked, and a caption below.
// Pressing the wheel picks the colour under the finger; dragging follows the finger, kept
// to the wheel's rim when it strays outside.
ColourPickerPrivate {
    id: picker

    property int captionFontSize: 11
    property bool wordWrap: false
    property alias spacing: column.spacing
    // The indicator's centre in the wheel area; it starts on the wheel's centre (white).
    property int colourPointX: wheelArea.width / 2
    property int colourPointY: wheelArea.height / 2
    property int captionTextHeight: captionFontSize * 1.5
    property alias wheelWidth: wheelArea.width
    property alias wheelHeight: wheelArea.height

    property bool captionFontBold: currentSkin?.captionFontBold ?? false
    property bool captionFontItalic: currentSkin?.captionFontItalic ?? false
    property color captionTextColour: currentSkin?.captionTextColour ?? "white"
    property bool textShadow: currentSkin?.textShadow ?? false
    property color textShadowColour: currentSkin?.textShadowColour ?? "black"

    // Made on the first change of skin: most controls never change theirs.
    skinChangerComponent: Component {
        SkinChanger {
            id: changer
            parallelAnimation: ParallelAnimation {
                PropertyAnimation { target: picker.currentSkin; property: "captionFontBold"; duration: 0 }
                PropertyAnimation { target: picker.currentSkin; property: "captionFontItalic"; duration: 0 }
                ColorAnimation { target: picker.currentSkin; property: "captionTextColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: picker.currentSkin; property: "textShadowColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: picker.currentSkin; property: "textShadow"; duration: 0 }
            }
        }
    }

    onEventReceived: function(eventType, data) {
        if (eventType === Control.Event_COLOUR_PICKER_PRESS
                || eventType === Control.Event_COLOUR_PICKER_MOVE) {
            colourPointX = data.x
            colourPointY = data.y
        }
    }

    Column {
        id: column
        anchors.fill: parent

        Item {
            id: wheelArea
            width: picker.width
            height: picker.height - (picker.caption !== "" ? picker.captionTextHeight + column.spacing : 0)

            Image {
                anchors.fill: parent
                source: "qrc:/hs_wheel.png"
                fillMode: Image.PreserveAspectFit
                smooth: true
            }
            Rectangle {
                objectName: "indicator"
                x: picker.colourPointX - 2.5
                y: picker.colourPointY - 2.5
                width: 5
                height: 5
                radius: 2.5
                color: "transparent"
                border.color: "black"
                border.width: 1
                visible: !wheelMouse.pressed
            }
            MouseArea {
                id: wheelMouse
                anchors.fill: parent
                onPressed: function(mouse) {
                    var point = Qt.point(Math.round(mouse.x), Math.round(mouse.y))
                    if (picker.isPointInWheel(point))
                        picker.sendEvent(Control.Event_COLOUR_PICKER_PRESS, point)
                }
                onPositionChanged: function(mouse) {
                    if (!pressed)
                        return
                    var point = Qt.point(Math.round(mouse.x), Math.round(mouse.y))
                    picker.sendEvent(Control.Event_COLOUR_PICKER_MOVE, picker.nearestPointInWheel(point))
                }
            }
        }
        Text {
            id: captionText
            width: picker.width
            height: picker.caption !== "" ? picker.captionTextHeight : 0
            visible: picker.caption !== ""
            text: picker.caption
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideMiddle
            clip: true
            font.pixelSize: DrawingLimits.fontSize(picker.captionFontSize)
            font.bold: picker.captionFontBold
            font.italic: picker.captionFontItalic
            color: picker.captionTextColour
            style: picker.textShadow ? Text.Raised : Text.Normal
            styleColor: picker.textShadowColour
        }
    }

    Component.onCompleted: picker.onControlCompleted()
}
