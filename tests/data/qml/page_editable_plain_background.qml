import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
Page {
id:page2;
configId:2;
name:"Clocks";
sortValue:131072;
pageSwitcherId:1;
clip:true;
GradientRectangle{
objectName:"backgroundGradient";
visible:false;
}
Image{
objectName:"backgroundImage";
source:"image://theme1/6";
anchors.horizontalCenter:parent.horizontalCenter;
anchors.verticalCenter:parent.verticalCenter;
}
}
