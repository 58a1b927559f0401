import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
states: [
State {
name:"pressed";
PropertyChanges { target: background; color: "red"; opacity: 0.5; }
PropertyChanges { target: label; text: "Down"; }
}
,
State {
name:"empty";
}
]
states: [
State {
name:"again";
}
]
transitions: [
Transition {
from:"*";
to:"pressed";
PropertyAnimation {
target:"background";

properties: "color, opacity";
duration:200;
easing.type:"InOutQuad";
}
PropertyAnimation {
target:"label";

properties: "text";
duration:200;
easing.type:"InOutQuad";
}
}
,
Transition {
from:"pressed";
to:"";
PropertyAnimation {
target:"background";

properties: "color";
duration:0;
}
}
]
property alias caption: label.text;
