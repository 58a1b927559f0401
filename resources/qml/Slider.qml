import QtQuick 2.0
import Velmora 1.0
import "drawing_limits.js" as DrawingLimits

// A slider: a track with a handle that the user drags, and a column of caption and value
// texts beside it (horizontal, when wider than high) or below it (vertical). The value is
// a fraction from 0 to 1; the value text shows it between minimum and maximum.
SliderPrivate {
    id: slider

    property int captionFontSize: 11
    property int valueFontSize: 11
    property bool wordWrap: false
    property real handleSize: 0.1
    property alias spacing: textColumn.spacing
    property bool showCaption: true
    property bool showValue: false
    property real maximum: 1.0
    property real minimum: 0.0
    property real captionTextHeight: 0
    property real valueTextHeight: 0
    property real sliderDimension: 0
    property int travelMax: 0
    property bool valueChangeWasInternal: false

    property color trackGradientTopColour: currentSkin?.trackGradientTopColour ?? "#343434"
    property color trackGradientBottomColour: currentSkin?.trackGradientBottomColour ?? "black"
    property real trackOpacity: currentSkin?.trackOpacity ?? 0.5
    property color trackBorderColour: currentSkin?.trackBorderColour ?? "transparent"
    property int trackBorderWidth: currentSkin?.trackBorderWidth ?? 2
    property color handleGradientTopColour: currentSkin?.handleGradientTopColour ?? "lightgray"
    property real handleGradientTopPosition: currentSkin?.handleGradientTopPosition ?? 0.0
    property color handleGradientBottomColour: currentSkin?.handleGradientBottomColour ?? "gray"
    property real handleGradientBottomPosition: currentSkin?.handleGradientBottomPosition ?? 1.0
    property real handleOpacity: currentSkin?.handleOpacity ?? 0.75
    property color handleBorderColour: currentSkin?.handleBorderColour ?? "black"
    property int handleBorderWidth: currentSkin?.handleBorderWidth ?? 0
    property int radius: currentSkin?.radius ?? 12
    property int handleRadius: currentSkin?.handleRadius ?? 12
    property bool captionFontBold: currentSkin?.captionFontBold ?? false
    property bool captionFontItalic: currentSkin?.captionFontItalic ?? false
    property color captionTextColour: currentSkin?.captionTextColour ?? "white"
    property bool valueFontBold: currentSkin?.valueFontBold ?? false
    property bool valueFontItalic: currentSkin?.valueFontItalic ?? false
    property color valueTextColour: currentSkin?.valueTextColour ?? "white"
    property color textBackgroundColour: currentSkin?.textBackgroundColour ?? "black"
    property real textBackgroundOpacity: currentSkin?.textBackgroundOpacity ?? 0.0
    property int textBackgroundRadius: currentSkin?.textBackgroundRadius ?? 3
    property bool textShadow: currentSkin?.textShadow ?? false
    property color textShadowColour: currentSkin?.textShadowColour ?? "black"

    readonly property bool horizontal: width > height
    readonly property bool captionShown: showCaption && caption !== ""
    // Until completion the properties of the document arrive one by one: they lay out the
    // slider but send no value event.
    property bool completed: false

    // Made on the first change of skin: most controls never change theirs.
    skinChangerComponent: Component {
        SkinChanger {
            id: changer
            parallelAnimation: ParallelAnimation {
                ColorAnimation { target: slider.currentSkin; property: "trackGradientTopColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: slider.currentSkin; property: "trackGradientBottomColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: slider.currentSkin; property: "handleGradientTopColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: slider.currentSkin; property: "handleGradientBottomColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: slider.currentSkin; property: "handleGradientTopPosition"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: slider.currentSkin; property: "handleGradientBottomPosition"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: slider.currentSkin; property: "trackOpacity"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: slider.currentSkin; property: "handleOpacity"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: slider.currentSkin; property: "trackBorderColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: slider.currentSkin; property: "trackBorderWidth"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: slider.currentSkin; property: "handleBorderColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: slider.currentSkin; property: "handleBorderWidth"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: slider.currentSkin; property: "radius"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: slider.currentSkin; property: "handleRadius"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: slider.currentSkin; property: "captionFontBold"; duration: 0 }
                PropertyAnimation { target: slider.currentSkin; property: "captionFontItalic"; duration: 0 }
                PropertyAnimation { target: slider.currentSkin; property: "valueFontBold"; duration: 0 }
                PropertyAnimation { target: slider.currentSkin; property: "valueFontItalic"; duration: 0 }
                ColorAnimation { target: slider.currentSkin; property: "captionTextColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: slider.currentSkin; property: "valueTextColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: slider.currentSkin; property: "textBackgroundColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: slider.currentSkin; property: "textBackgroundOpacity"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: slider.currentSkin; property: "textBackgroundRadius"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: slider.currentSkin; property: "textShadowColour"; duration: changer.transitionDuration; easing.type: changer.easingType }
                PropertyAnimation { target: slider.currentSkin; property: "textShadow"; duration: 0 }
                ColorAnimation { target: slider.currentSkin; property: "handleGradientTopColour_pressed"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: slider.currentSkin; property: "handleGradientBottomColour_pressed"; duration: changer.transitionDuration; easing.type: changer.easingType }
                ColorAnimation { target: slider.currentSkin; property: "handleBorderColour_pressed"; duration: changer.transitionDuration; easing.type: changer.easingType }
            }
        }
    }

    state: "default"
    states: [
        State { name: "default" },
        State {
            name: "pressed"
            PropertyChanges {
                target: slider
                handleGradientTopColour: currentSkin?.handleGradientTopColour_pressed ?? "gray"
                handleGradientBottomColour: currentSkin?.handleGradientBottomColour_pressed ?? "lightgray"
                handleBorderColour: currentSkin?.handleBorderColour_pressed ?? "white"
            }
        }
    ]

    // Sizes the texts, the track and the handle, then places the handle for the value.
    function layout() {
        var b = trackBorderWidth
        var textWidth
        var totalTextHeight
        if (horizontal) {
            textWidth = (showValue || captionShown) ? Math.min(60, width / 3) : 0
            if (captionShown && showValue) {
                captionTextHeight = height / 2 - spacing * 0.5
                valueTextHeight = height / 2 - spacing * 0.5
            } else {
                captionTextHeight = captionShown ? height : 0
                valueTextHeight = showValue ? height : 0
            }
            totalTextHeight = height
            sliderDimension = width - textWidth
            handle.width = handleSize * sliderDimension
            handle.height = height - b
            handle.y = b / 2
            travelMax = sliderDimension - handle.width - b
        } else {
            textWidth = width
            captionTextHeight = captionShown ? captionFontSize * 1.5 : 0
            valueTextHeight = showValue ? valueFontSize * 1.5 : 0
            totalTextHeight = captionTextHeight + valueTextHeight
            if (captionShown && showValue)
                totalTextHeight += spacing
            if (captionShown || showValue)
                totalTextHeight += spacing
            totalTextHeight = Math.min(totalTextHeight, height / 3)
            sliderDimension = height - totalTextHeight
            handle.width = width - b
            handle.height = handleSize * sliderDimension
            handle.x = b / 2
            travelMax = sliderDimension - handle.height - b
        }
        positionHandle()
    }

    function positionHandle() {
        var b = trackBorderWidth
        if (maximum > minimum) {
            var length = horizontal ? handle.width : handle.height
            var pos = b / 2 + value * travelMax
            pos = Math.max(b / 2, Math.min(pos, sliderDimension - length - b / 2))
            if (horizontal)
                handle.x = pos
            else
                handle.y = travelMax + b - pos
        } else if (horizontal) {
            handle.x = b / 2
        } else {
            handle.y = travelMax + b
        }
    }

    // The value for the handle's place while the user drags it.
    function valueFromHandle() {
        if (!handleArea.drag.active || travelMax <= 0)
            return
        var b = trackBorderWidth
        var v = horizontal ? (handle.x - b / 2) / travelMax : 1 - (handle.y - b / 2) / travelMax
        if (v !== value)
            value = v
    }

    onShowCaptionChanged: if (completed) layout()
    onCaptionFontSizeChanged: if (completed) layout()
    onShowValueChanged: if (completed) layout()
    onValueFontSizeChanged: if (completed) layout()
    onCaptionChanged: if (completed) layout()
    onWidthChanged: if (completed) layout()
    onHeightChanged: if (completed) layout()
    onTrackBorderWidthChanged: if (completed) layout()
    onHandleSizeChanged: if (completed) layout()
    onSpacingChanged: if (completed) layout()

    onValueChanged: {
        positionHandle()
        valueText.text = valueString()
        if (valueChangeWasInternal) {
            valueChangeWasInternal = false
        } else if (completed) {
            sendEvent(Control.Event_SLIDER_VALUE_CHANGED, slider.value)
        }
    }
    onValueSuffixChanged: valueText.text = valueString()
    onMinimumChanged: valueText.text = valueString()
    onMaximumChanged: valueText.text = valueString()

    onEventReceived: function(eventType, data) {
        if (eventType === Control.Event_SLIDER_VALUE_CHANGED) {
            valueChangeWasInternal = true
            value = data
        }
    }

    Rectangle {
        id: track
        objectName: "track"
        width: slider.horizontal ? slider.sliderDimension : slider.width
        height: slider.horizontal ? slider.height : slider.sliderDimension
        border.width: slider.trackBorderWidth
        border.color: slider.trackBorderWidth > 0 ? slider.trackBorderColour : "transparent"
        radius: DrawingLimits.radius(slider.radius)
        opacity: slider.trackOpacity
        gradient: Gradient {
            GradientStop { position: 0.0; color: slider.trackGradientTopColour }
            GradientStop { position: 1.0; color: slider.trackGradientBottomColour }
        }
    }

    Rectangle {
        id: handle
        objectName: "handle"
        border.width: slider.handleBorderWidth
        border.color: slider.handleBorderWidth > 0 ? slider.handleBorderColour : "transparent"
        radius: DrawingLimits.radius(slider.handleRadius)
        opacity: slider.handleOpacity
        gradient: Gradient {
            GradientStop { position: slider.handleGradientTopPosition; color: slider.handleGradientTopColour }
            GradientStop { position: slider.handleGradientBottomPosition; color: slider.handleGradientBottomColour }
        }
        onXChanged: slider.valueFromHandle()
        onYChanged: slider.valueFromHandle()

        MouseArea {
            id: handleArea
            anchors.fill: parent
            drag.target: handle
            drag.axis: slider.horizontal ? Drag.XAxis : Drag.YAxis
            drag.minimumX: slider.trackBorderWidth / 2
            drag.maximumX: slider.travelMax + slider.trackBorderWidth / 2
            drag.minimumY: slider.trackBorderWidth / 2
            drag.maximumY: slider.travelMax + slider.trackBorderWidth / 2
            onPressed: slider.state = "pressed"
            onReleased: slider.state = "default"
            onCanceled: slider.state = "default"
        }
    }

    Item {
        id: textArea
        readonly property bool anyText: slider.captionTextHeight > 0 || slider.valueTextHeight > 0
        x: slider.horizontal ? track.width + (anyText ? slider.spacing : 0) : 0
        y: slider.horizontal ? 0 : track.height + (anyText ? slider.spacing : 0)
        width: slider.width - x
        height: slider.height - y

        Rectangle {
            anchors.fill: parent
            color: slider.textBackgroundColour
            opacity: slider.textBackgroundOpacity
            radius: DrawingLimits.radius(slider.textBackgroundRadius)
        }
        Column {
            id: textColumn
            anchors.fill: parent
            Text {
                id: captionText
                width: parent.width
                height: slider.captionTextHeight
                visible: slider.showCaption
                text: slider.caption
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideMiddle
                clip: true
                font.pixelSize: DrawingLimits.fontSize(slider.captionFontSize)
                font.bold: slider.captionFontBold
                font.italic: slider.captionFontItalic
                color: slider.captionTextColour
                style: slider.textShadow ? Text.Raised : Text.Normal
                styleColor: slider.textShadowColour
            }
            Text {
                id: valueText
                width: parent.width
                height: slider.valueTextHeight
                visible: slider.showValue
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideMiddle
                clip: true
                font.pixelSize: DrawingLimits.fontSize(slider.valueFontSize)
                font.bold: slider.valueFontBold
                font.italic: slider.valueFontItalic
                color: slider.valueTextColour
                style: slider.textShadow ? Text.Raised : Text.Normal
                styleColor: slider.textShadowColour
            }
        }
    }

    Component.onCompleted: {
        completed = true
        layout()
        valueText.text = valueString()
        slider.onControlCompleted()
    }
}
