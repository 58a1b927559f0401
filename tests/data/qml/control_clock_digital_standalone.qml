import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
DigitalClock {
id:control8;
configId:8;
controlKey:"clock001";
caption:"Digital";
startupSkin:"Face";
x:140;
y:60;
width:120;
height:40;
captionFontSize:14;
spacing:2;
Theme {
id:theTheme1;
skinSets: [
SkinSet {
itemType:7;
skins: [
Skin {
name:"Face";
transitionDuration:300;
easingType:3;
property int borderWidth:3;
property string faceImage:"image://theme1/skinImage2";
}
]
defaultSkinIdx:0;
}
]
}
itemType:7;
theme:theTheme1;
currentSkin: Skin {
name:"Face";
transitionDuration:300;
easingType:3;
property int borderWidth:3;
property string faceImage:"image://theme1/skinImage2";
property color borderColour:"#000000";
property bool captionFontBold:false;
property bool captionFontItalic:false;
property color captionTextColour:"#ffffff";
property color gradientBottomColour:"#ffffff";
property real gradientBottomPosition:1;
property color gradientTopColour:"#ffffff";
property real gradientTopPosition:0;
property string hourHandImage:"qrc:/default_clock_hour_hand.svg";
property string minuteHandImage:"qrc:/default_clock_minute_hand.svg";
property bool textShadow:false;
property color textShadowColour:"#000000";
}
}
