import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
id:control5;
configId:-1;
width:100;
visible:true;
clip:false;
opacity:0.5;
scale:2;
ratio:0.333333;
big:1.23457e+06;
color:"black";
width:screen.size.width;
text:"\\\"";
caption:"";
caption:"C:\\dir\\ \"quoted\"	tab
next line é";
fillMode:Image.Stretch;
name:"a\"b";
