import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
Keypad {
id:control5;
configId:5;
controlKey:"keypad000";
caption:"Code";
startupSkin:"";
x:360;
y:10;
width:110;
height:250;
maxWidth:6;
hideCharacters:false;
displayTextStyle:2;
buttonTextStyle:3;
Theme {
id:theTheme1;
skinSets: [
SkinSet {
itemType:4;
skins: [
Skin {
name:"Dark";
transitionDuration:300;
easingType:3;
}
,
Skin {
name:"Light";
transitionDuration:250;
easingType:6;
property color backgroundColour:"#101010";
}
]
defaultSkinIdx:1;
}
]
}
itemType:4;
theme:theTheme1;
currentSkin: Skin {
name:"Light";
transitionDuration:250;
easingType:6;
property color backgroundColour:"#101010";
property real backgroundOpacity:0;
property int backgroundRadius:12;
property color buttonBorderColour:"#000000";
property int buttonBorderWidth:1;
property bool buttonFontBold:false;
property bool buttonFontItalic:false;
property color buttonGradientBottomColour:"#808080";
property color buttonGradientBottomColour_pressed:"#ffffff";
property real buttonGradientBottomPosition:1;
property color buttonGradientTopColour:"#ffffff";
property color buttonGradientTopColour_pressed:"#808080";
property real buttonGradientTopPosition:0;
property real buttonOpacity:0.75;
property int buttonRadius:8;
property color buttonTextColour:"#000000";
property color buttonTextStyleColour:"#404040";
property color displayBorderColour:"#000000";
property int displayBorderWidth:1;
property bool displayFontBold:false;
property bool displayFontItalic:false;
property color displayGradientBottomColour:"#ffffff";
property real displayGradientBottomPosition:1;
property color displayGradientTopColour:"#808080";
property real displayGradientTopPosition:0;
property real displayOpacity:0.75;
property int displayRadius:8;
property color displayTextColour:"#000000";
property color displayTextStyleColour:"#404040";
}
}
