import QtQuick
import Orvel
import Orvel.Shared

// The skin picker at a settings page's width.
Sheet {
    SkinPicker { width: 480 }
}
