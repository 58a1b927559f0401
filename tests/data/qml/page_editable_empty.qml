import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
Page {
id:page1;
configId:1;
name:"Home";
sortValue:0;
pageSwitcherId:0;
clip:true;
color:"#203040";
GradientRectangle{
objectName:"backgroundGradient";
visible:false;
}
Image{
objectName:"backgroundImage";
fillMode:Image.PreserveAspectFit;
width:parent.width;
height:parent.height;
anchors.horizontalCenter:parent.horizontalCenter;
anchors.verticalCenter:parent.verticalCenter;
}
}
