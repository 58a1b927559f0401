.pragma library

// The largest corner radius and font size the preview draws. The software scene graph keeps
// the corners of a rounded rectangle as an image as wide as twice the radius, and draws a glyph
// through an image of the font's size: a radius or a font size from a damaged file, or one that
// follows a giant control's size, would cost gigabytes. No panel-sized item is drawn with more
// (half of the 480-pixel side; the editor offers font sizes up to 500).
var largestRadius = 240
var largestFontSize = 1024
// Pictures made at an item's size (a clock's face and hands) are made at most this large and
// stretched beyond: larger than any screen.
var largestPictureSide = 1024

function radius(value) {
    return Math.min(value, largestRadius)
}

function fontSize(value) {
    return Math.min(value, largestFontSize)
}

function pictureSide(value) {
    return Math.min(value, largestPictureSide)
}
