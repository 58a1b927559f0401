import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
Gradient{
}
Gradient{
GradientStop{position:0.5;color:"#ff0000"}
}
Gradient{
GradientStop{position:0;color:"#000000"}
GradientStop{position:0.25;color:"#3f3f3f"}
GradientStop{position:1;color:"#00ff00"}
GradientStop{position:0.3;color:"#0000ff"}
GradientStop{position:0.3;color:"#0000ff"}
}
gradient:Gradient{
GradientStop{position:0.123457;color:"#ffffff"}
}
backgroundGradient:Gradient{
}
