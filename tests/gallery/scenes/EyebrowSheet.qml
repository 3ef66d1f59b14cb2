import QtQuick
import Orvel
import Orvel.Shared

// Captions above sections; classico capitalises them, ß included.
Sheet {
    Eyebrow { text: "Now playing" }
    Eyebrow { text: "straße" }
    Eyebrow { text: "Skill bar · 6 slots" }
}
