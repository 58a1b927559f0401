import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
PageSwitcher {
Theme {
id:theTheme1;
skinSets: [
]
}
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
