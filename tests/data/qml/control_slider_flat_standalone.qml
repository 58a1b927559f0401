import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
Slider {
id:control3;
configId:3;
controlKey:"slider001";
caption:"";
startupSkin:"";
x:10;
y:60;
width:200;
height:40;
minimum:5;
maximum:5;
value:0;
showCaption:false;
showValue:false;
valueSuffix:"%";
captionFontSize:11;
valueFontSize:11;
wordWrap:true;
handleSize:0.35;
spacing:4;
Theme {
id:theTheme1;
skinSets: [
SkinSet {
itemType:2;
skins: [
Skin {
name:"Plain";
transitionDuration:300;
easingType:3;
property int radius:4;
}
]
defaultSkinIdx:-1;
}
]
}
itemType:2;
theme:theTheme1;
currentSkin: Skin{
property bool captionFontBold:false;
property bool captionFontItalic:false;
property color captionTextColour:"#ffffff";
property color handleBorderColour:"#000000";
property color handleBorderColour_pressed:"#ffffff";
property int handleBorderWidth:0;
property color handleGradientBottomColour:"#808080";
property color handleGradientBottomColour_pressed:"#d3d3d3";
property real handleGradientBottomPosition:1;
property color handleGradientTopColour:"#d3d3d3";
property color handleGradientTopColour_pressed:"#808080";
property real handleGradientTopPosition:0;
property real handleOpacity:0.75;
property int handleRadius:12;
property int radius:12;
property color textBackgroundColour:"#000000";
property real textBackgroundOpacity:0;
property int textBackgroundRadius:3;
property bool textShadow:false;
property color textShadowColour:"#000000";
property color trackBorderColour:"#000000";
property int trackBorderWidth:2;
property color trackGradientBottomColour:"#000000";
property color trackGradientTopColour:"#343434";
property real trackOpacity:0.5;
property bool valueFontBold:false;
property bool valueFontItalic:false;
property color valueTextColour:"#ffffff";
}
}
