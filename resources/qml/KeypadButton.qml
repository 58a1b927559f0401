import QtQuick 2.0

// One key of the keypad: a rounded, gradient-filled key with its digit or its label.
Item {
    id: key

    property int number: -1
    property alias radius: face.radius
    property alias buttonOpacity: face.opacity
    property int borderWidth: 0
    property color borderColour: "#000000"
    property color gradientTopColour: "#FFFFFF"
    property real gradientTopPosition: 0.0
    property color gradientBottomColour: "#FFFFFF"
    property real gradientBottomPosition: 1.0
    property color gradientTopColour_pressed: "#FFFFFF"
    property color gradientBottomColour_pressed: "#FFFFFF"
    property alias text: label.text
    property alias fontBold: label.font.bold
    property alias fontItalic: label.font.italic
    property alias textColour: label.color
    property alias style: label.style
    property alias styleColour: label.styleColor

    signal clicked()

    Rectangle {
        id: face
        anchors.fill: parent
        smooth: true
        border.width: key.borderWidth
        border.color: key.borderWidth > 0 ? key.borderColour : "transparent"
        gradient: Gradient {
            GradientStop { id: topStop; position: key.gradientTopPosition; color: key.gradientTopColour }
            GradientStop { id: bottomStop; position: key.gradientBottomPosition; color: key.gradientBottomColour }
        }
    }
    Text {
        id: label
        anchors.centerIn: parent
        anchors.verticalCenterOffset: -1
        font.pixelSize: Math.max(1, Math.min(key.width, key.height) / 2)
        text: key.number >= 0 ? key.number : ""
    }

    states: [
        State { name: "default" },
        State {
            name: "pressed"
            PropertyChanges { target: topStop; color: key.gradientTopColour_pressed }
            PropertyChanges { target: bottomStop; color: key.gradientBottomColour_pressed }
        }
    ]

    MouseArea {
        anchors.fill: parent
        onPressed: key.state = "pressed"
        onReleased: key.state = "default"
        onCanceled: key.state = "default"
        onClicked: key.clicked()
    }
}
