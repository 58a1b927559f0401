import QtQuick 2.0

// A page's background gradient, rotated by any angle and scaled so that it still covers the
// whole page. Unrotated, it runs from the page's top to its bottom.
Rectangle {
    id: rect

    readonly property real parentWidth: parent ? parent.width : 0
    readonly property real parentHeight: parent ? parent.height : 0

    anchors.centerIn: parent
    width: parentHeight > parentWidth ? parentHeight : parentWidth
    height: parentHeight > parentWidth ? parentWidth : parentHeight
    scale: coverScale()

    // The scale at which the rectangle, turned by its rotation, reaches the page's corners.
    function coverScale() {
        if (height <= 0)
            return 1
        var d = Math.floor(Math.sqrt((width / 2) * (width / 2) + (height / 2) * (height / 2)))
        var r = rotation * Math.PI / 180
        var a = Math.cos(r) * d
        var b = Math.sin(r) * d
        var l = Math.sqrt(4 * a * a + 4 * b * b)
        if (l <= 0)
            return 1
        var cornerX = rotation < 180 ? -parentWidth : parentWidth
        var cornerY = rotation >= 90 && rotation < 270 ? -parentHeight : parentHeight
        var dist = Math.abs((cornerX + a) * (-2 * b) + (cornerY + b) * (2 * a)) / l
        return dist / height
    }
}
