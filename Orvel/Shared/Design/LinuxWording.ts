<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<!-- The Linux words for the texts that name another desktop's places. Kept by hand: the keys reach
     localized() at run time, where lupdate cannot see them, so never run update_translations on it.
     The second context holds the words of desktops where no display has a notch (linuxWording()). -->
<context>
    <name>Localizable</name>
    <message>
        <source>On this Mac</source>
        <translation>On this computer</translation>
    </message>
    <message>
        <source>Spotify on your Mac</source>
        <translation>Spotify on your computer</translation>
    </message>
    <message>
        <source>Saved on this Mac. Your sidebar and widgets use the same shortcuts.</source>
        <translation>Saved on this computer. Your sidebar and widgets use the same shortcuts.</translation>
    </message>
    <message>
        <source>Orvel controls Spotify on this Mac. Your account stays in Spotify.</source>
        <translation>Orvel controls Spotify on this computer. Your account stays in Spotify.</translation>
    </message>
    <message>
        <source>Control Spotify playing on this Mac.</source>
        <translation>Control Spotify playing on this computer.</translation>
    </message>
    <message>
        <source>Orvel reads the current track and sends playback controls to Spotify on this Mac. Settings, shortcuts and the current playback snapshot stay on your Mac. Album artwork is downloaded directly from Spotify’s image servers. When you paste a link into an unnamed shortcut, Orvel asks Spotify’s public link service for its name. No analytics, ads or extra accounts.</source>
        <translation>Orvel reads the current track and sends playback controls to Spotify on this computer. Settings, shortcuts and the current playback snapshot stay on your computer. Album artwork is downloaded directly from Spotify’s image servers. When you paste a link into an unnamed shortcut, Orvel asks Spotify’s public link service for its name. No analytics, ads or extra accounts.</translation>
    </message>
    <message>
        <source>Ready when you start your Mac.</source>
        <translation>Ready when you log in.</translation>
    </message>
    <message>
        <source>Open Orvel from the menu bar. You can enable the floating panels later in Preferences.</source>
        <translation>Open Orvel from its tray icon or your applications. You can enable the floating panels later in Preferences.</translation>
    </message>
    <message>
        <source>Allow Spotify control in System Settings → Privacy &amp; Security → Automation.</source>
        <translation>You chose not to let Orvel control Spotify. Connect again and choose Allow.</translation>
    </message>
    <message>
        <source>Open System Settings</source>
        <translation>Ask Again</translation>
    </message>
    <message>
        <source>macOS may ask for permission to control Spotify.</source>
        <translation>Orvel asks for your permission to control Spotify.</translation>
    </message>
    <message>
        <source>Disconnecting clears cached playback data and artwork. Your shortcuts remain. You can revoke Automation permission in System Settings.</source>
        <translation>Disconnecting clears cached playback data and artwork. Your shortcuts remain. You can revoke Orvel’s permission to control Spotify with Open Automation settings below.</translation>
    </message>
    <message>
        <source>An independent companion for Spotify on macOS. Made to keep your music close while you do your thing.</source>
        <translation>An independent companion for Spotify on Linux. Made to keep your music close while you do your thing.</translation>
    </message>
    <message>
        <source>Allow Orvel in System Settings → Login Items.</source>
        <translation>Allow Orvel in your desktop’s startup applications.</translation>
    </message>
    <message>
        <source>Choose the panels you want. Keep both, pick one, or use only macOS widgets.</source>
        <translation>Choose the panels you want. Keep both, pick one, or use only the desktop widgets.</translation>
    </message>
    <message>
        <source>Add Now Playing and your favorite shortcuts to the desktop or Notification Center.</source>
        <translation>Add Now Playing and your favorite shortcuts to the desktop.</translation>
    </message>
    <message>
        <source>Orvel also has native widgets for your desktop and Notification Center.</source>
        <translation>Orvel also has native widgets for your desktop.</translation>
    </message>
    <message>
        <source>Widgets on macOS 14</source>
        <translation>Widgets need Orvel Widgets</translation>
    </message>
    <message>
        <source>Orvel widgets require macOS 14 or later.</source>
        <translation>Orvel widgets need the Orvel Widgets program.</translation>
    </message>
    <message>
        <source>Your top player and sidebar are ready on macOS 13.</source>
        <translation>Your top player and sidebar are ready without widgets.</translation>
    </message>
    <message>
        <source>Orvel widgets require macOS 14 or later. On this Mac, use the top player and right sidebar to control Spotify.</source>
        <translation>Orvel widgets need the Orvel Widgets program. On this computer, use the top player and right sidebar to control Spotify.</translation>
    </message>
    <message>
        <source>Right-click an empty area of your desktop.</source>
        <translation>Open Orvel Widgets from your applications.</translation>
    </message>
    <message>
        <source>Choose Edit Widgets, then search for Orvel.</source>
        <translation>Click Now Playing or Shortcuts in the size you like.</translation>
    </message>
    <message>
        <source>Add Now Playing or Shortcuts in your preferred size.</source>
        <translation>Drag it where you want it; right-click it to remove it.</translation>
    </message>
    <message>
        <source>Widgets are added from macOS, separately from the top player and sidebar.</source>
        <translation>Widgets are added from Orvel Widgets, separately from the top player and sidebar.</translation>
    </message>
</context>
<context>
    <name>Localizable without a notch</name>
    <message>
        <source>Notch player</source>
        <translation>Top player</translation>
    </message>
    <message>
        <source>Beside the notch</source>
        <translation>Beside the header</translation>
    </message>
    <message>
        <source>Next to the notch while the player is open. On other screens, beside the header.</source>
        <translation>Next to the top player’s header while it is open.</translation>
    </message>
</context>
</TS>
