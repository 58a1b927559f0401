import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
Label {
id:control6;
configId:6;
controlKey:"label000";
caption:"Welcome";
startupSkin:"";
x:10;
y:10;
width:200;
height:30;
fontSize:18;
wordWrap:true;
Theme {
id:theTheme1;
skinSets: [
SkinSet {
itemType:6;
skins: [
Skin {
name:"Caption";
transitionDuration:0;
easingType:0;
property color textColour:"#fafafa";
}
]
defaultSkinIdx:0;
}
]
}
itemType:6;
theme:theTheme1;
currentSkin: Skin {
name:"Caption";
transitionDuration:0;
easingType:0;
property color textColour:"#fafafa";
property real backgroundOpacity:0;
property color borderColour:"#000000";
property int borderWidth:0;
property bool fontBold:false;
property bool fontItalic:false;
property color gradientBottomColour:"#000000";
property real gradientBottomPosition:1;
property color gradientTopColour:"#000000";
property real gradientTopPosition:0;
property int radius:5;
property bool textShadow:false;
property color textShadowColour:"#000000";
}
}
