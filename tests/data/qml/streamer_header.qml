import QtQuick 2.0
import Velmora 1.0
import "qrc:/qml"
