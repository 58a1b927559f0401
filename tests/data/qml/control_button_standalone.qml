import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
Button {
id:control2;
configId:2;
controlKey:"button001";
caption:"Line \"1\" \\ 2";
startupSkin:"Pressed";
x:120;
y:20;
width:100;
height:40;
fontSize:20;
wordWrap:true;
heldTimeout:1000;
repeatInterval:250;
fixedImageSource:"image://theme1/controlImage8";
actuation:Control.MaintainedActuation;
Theme {
id:theTheme1;
skinSets: [
SkinSet {
itemType:1;
skins: [
Skin {
name:"Default";
transitionDuration:300;
easingType:3;
property string backgroundImage:"image://theme1/skinImage4";
property int borderWidth:2;
property bool fontBold:true;
property color gradientTopColour:"#112233";
property real opacity:0.8;
}
,
Skin {
name:"Pressed";
transitionDuration:150;
easingType:0;
property string label:"Say \"hi\" \\ now";
property color textColour:"#ff0000";
}
]
defaultSkinIdx:0;
}
]
}
itemType:1;
theme:theTheme1;
currentSkin: Skin {
name:"Default";
transitionDuration:300;
easingType:3;
property string backgroundImage:"image://theme1/skinImage4";
property int borderWidth:2;
property bool fontBold:true;
property color gradientTopColour:"#112233";
property real opacity:0.8;
property string backgroundImage_pressed;
property color borderColour:"#4682b4";
property color borderColour_pressed:"#ffffff";
property bool fontItalic:false;
property color gradientBottomColour:"#4682b4";
property color gradientBottomColour_pressed:"#b0c4de";
property real gradientBottomPosition:1;
property color gradientTopColour_pressed:"#4682b4";
property real gradientTopPosition:0;
property bool opacityAnimated:false;
property int opacityAnimationPeriod:1000;
property real opacityStart:1;
property real opacityStop:0.5;
property int radius:5;
property color textColour:"#ffffff";
property color textColour_pressed:"#000000";
}
}
