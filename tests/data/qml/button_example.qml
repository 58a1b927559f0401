import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
Button {
id:control5;
configId:5;
controlKey:"button1";
caption:"OK";
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
}
