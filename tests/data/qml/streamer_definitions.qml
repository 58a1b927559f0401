import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
property color fill;
property bool fontBold:true;
property bool fontItalic:false;
property int radius:5;
property int borderWidth:-3;
property real opacity:0.75;
property real gradientBottomPosition:1;
property string caption:"say \"hi\" \\ bye";
property string expression:parent.width;
property color textColour:"#4682b4";
property color trackBorderColour:"#000000";
property int count:12;
property string faceImage:"qrc:/default_clock_face.svg";
property string backgroundImage;
