import QtQuick 2.0

// One key of the keypad as the keypad draws it: a face with the keypad's key gradient (the
// pressed one while it is the key pressed) and border, and its digit or label one pixel above
// the middle. The keypad places it and finds the key pressed; the key only draws.
Item {
    id: key

    // The keypad the key belongs to, which gives it its look.
    property Item keypad
    // The digit, or "Del", "Cls" or "Enter".
    property var value
    readonly property alias style: label.style

    Rectangle {
        width: key.width
        height: key.height
        smooth: true
        radius: key.keypad.buttonRadius
        opacity: key.keypad.buttonOpacity
        border.width: key.keypad.buttonBorderWidth
        border.color: key.keypad.buttonBorderWidth > 0 ? key.keypad.buttonBorderColour : "transparent"
        gradient: key.keypad.pressedKey === key ? key.keypad.pressedKeyGradient : key.keypad.keyGradient
    }
    Text {
        id: label
        y: -1
        width: key.width
        height: key.height
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        text: key.value
        font.pixelSize: Math.max(1, Math.min(key.width, key.height) / 2)
        font.bold: key.keypad.buttonFontBold
        font.italic: key.keypad.buttonFontItalic
        color: key.keypad.buttonTextColour
        styleColor: key.keypad.buttonTextStyleColour
        style: key.keypad.buttonTextStyleActual < 0 ? Text.Normal : key.keypad.buttonTextStyleActual
    }
}
