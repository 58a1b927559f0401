import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
Configuration {
width:screen.size.width;
height:screen.size.height;
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
,
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
,
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
,
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
,
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
Page {
configId:-1;
color:"black";
Keypad {
anchors { top: parent.top; bottom: parent.bottom; horizontalCenter: parent.horizontalCenter }
width: 240
minWidth: 3
maxWidth: 6
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
}
Page {
id:page1;
configId:1;
name:"Home";
sortValue:0;
pageSwitcherId:0;
clip:true;
color:"#203040";
Button {
id:control0;
configId:0;
controlKey:"button000";
caption:"Go";
startupSkin:"";
x:10;
y:20;
width:100;
height:40;
fontSize:16;
wordWrap:false;
heldTimeout:500;
repeatInterval:200;
actuation:Control.MomentaryActuation;
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
}
Page {
id:page0;
configId:0;
name:"Settings";
sortValue:65536;
pageSwitcherId:0;
clip:true;
GradientRectangle{
gradient:Gradient{
GradientStop{position:0;color:"#000000"}
GradientStop{position:1;color:"#ffffff"}
}
rotation:45;
}
Image{
source:"image://theme1/5";
fillMode:Image.Stretch;
anchors.fill:parent;
anchors.horizontalCenter:parent.horizontalCenter;
anchors.verticalCenter:parent.verticalCenter;
}
Slider {
id:control1;
configId:1;
controlKey:"slider000";
caption:"Volume";
startupSkin:"";
x:10;
y:10;
width:200;
height:40;
minimum:0;
maximum:255;
value:0.2;
showCaption:true;
showValue:true;
valueSuffix:"";
captionFontSize:11;
valueFontSize:12;
wordWrap:false;
handleSize:0.2;
spacing:6;
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
}
Page {
id:page2;
configId:2;
name:"Clocks";
sortValue:131072;
pageSwitcherId:1;
clip:true;
Image{
source:"image://theme1/6";
anchors.horizontalCenter:parent.horizontalCenter;
anchors.verticalCenter:parent.verticalCenter;
}
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
AnalogueClock {
id:control7;
configId:7;
controlKey:"clock000";
caption:"Local";
startupSkin:"";
x:10;
y:60;
width:120;
height:120;
captionFontSize:11;
spacing:6;
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
}
Page {
id:page3;
configId:3;
name:"Tiles";
sortValue:196608;
pageSwitcherId:-1;
clip:true;
Image{
source:"image://theme1/7";
fillMode:Image.Tile;
anchors.fill:parent;
anchors.horizontalCenter:parent.horizontalCenter;
anchors.verticalCenter:parent.verticalCenter;
}
}
PageSwitcher {
id:pageswitcher0;
configId:0;
x:0;
y:230;
targetX:0;
targetY:230;
width:480;
height:42;
backgroundGradient:Gradient{
GradientStop{position:0;color:"#000000"}
GradientStop{position:0.3;color:"#3f3f3f"}
GradientStop{position:1;color:"#000000"}
}
backgroundOpacity:0.5;
buttonFontSize:11;
buttonTextColour:"#b2b2b2";
buttonHighlight:"#4682b4";
buttonHighlightOpacity:0.5;
showPageNames:true;
showTime:false;
showDate:false;
timeFormat:"hh:mm";
dateFormat:"d/M/yyyy";
dateTimeFontSize:11;
PageSwitcherButton {
targetPage:"Home";
x:168;
y:0;
width:48;
height:42;
iconSource:"image://theme1/icon3";
text:"Home";
}
PageSwitcherButton {
targetPage:"Settings";
x:216;
y:0;
width:48;
height:42;
iconSource:"qrc:/default_page_icon.png";
text:"Settings";
}
PageSwitcherButton {
targetPage:"Clocks";
x:264;
y:0;
width:48;
height:42;
iconSource:"qrc:/default_page_icon.png";
text:"Clocks";
}
}
PageSwitcher {
id:pageswitcher1;
configId:1;
x:432;
y:0;
targetX:432;
targetY:0;
width:48;
height:272;
backgroundGradient:Gradient{
GradientStop{position:0;color:"#102030"}
GradientStop{position:1;color:"#405060"}
}
backgroundOpacity:0.9;
buttonFontSize:11;
buttonTextColour:"#ffffff";
buttonHighlight:"#ff8800";
buttonHighlightOpacity:0.75;
showPageNames:false;
showTime:true;
showDate:true;
timeFormat:"hh:mm:ss";
dateFormat:"ddd d MMM";
dateTimeFontSize:12;
dateTimeWidth:48;
dateTimeHeight:48;
PageSwitcherButton {
targetPage:"Clocks";
x:0;
y:58;
width:48;
height:42;
iconSource:"qrc:/default_page_icon.png";
text:"Clocks";
}
PageSwitcherButton {
targetPage:"Home";
x:0;
y:100;
width:48;
height:42;
iconSource:"image://theme1/icon3";
text:"Home";
}
}
}
