import QtQuick
import Orvel
import Orvel.Shared

// A skin's expanded player or sidebar alone, on the skin's panel ground as
// the surface gives it.
Item {
    id: sheet

    property string view

    SurfaceGround {
        anchors.fill: parent
        radius: sheet.view.indexOf("Sidebar") >= 0 ? 24 : 18
    }
    Loader {
        anchors.fill: parent
        source: "qrc:/Orvel/Surfaces/" + sheet.view + ".qml"
        onLoaded: item.model = panelModel
    }
}
