import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
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
}
