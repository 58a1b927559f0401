import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
ColourPicker {
id:control4;
configId:4;
controlKey:"colour000";
caption:"Tint";
startupSkin:"";
x:250;
y:10;
width:100;
height:100;
captionFontSize:13;
wordWrap:true;
spacing:8;
Theme {
id:theTheme1;
skinSets: [
]
}
itemType:3;
theme:theTheme1;
currentSkin: Skin{
property bool captionFontBold:false;
property bool captionFontItalic:false;
property color captionTextColour:"#ffffff";
property bool textShadow:false;
property color textShadowColour:"#000000";
}
}
