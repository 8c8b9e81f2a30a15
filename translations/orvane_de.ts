<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Ver: %1 (%2) </source>
        <translation>Version %1 (%2) </translation>
    </message>
    <message>
        <source>Copyright © 2026 The Orvane developers</source>
        <translation>Copyright © 2026 Die Orvane-Entwickler</translation>
    </message>
    <message>
        <source>Check for Updates…</source>
        <translation>Nach Updates suchen …</translation>
    </message>
    <message>
        <source>Updates come with your system&apos;s software updates.</source>
        <translation>Neue Versionen kommen mit den Software-Aktualisierungen Ihres Systems.</translation>
    </message>
</context>
<context>
    <name>AccessibilityPrompt</name>
    <message>
        <source>Orvane needs access to the keyboards</source>
        <translation>Orvane braucht Zugriff auf die Tastaturen</translation>
    </message>
    <message>
        <source>Orvane needs access to the keyboards and to /dev/uinput</source>
        <translation>Orvane braucht Zugriff auf die Tastaturen und auf /dev/uinput</translation>
    </message>
    <message>
        <source>This Orvane runs from the folder it was built in, so its udev rule is not installed yet. Install it and apply it in a terminal:</source>
        <translation>Dieses Orvane läuft aus dem Ordner, in dem es gebaut wurde; seine udev-Regel ist daher noch nicht installiert. Installieren und aktivieren Sie sie in einem Terminal:</translation>
    </message>
    <message>
        <source>The udev rule that comes with Orvane is installed (%1). Apply it in a terminal:</source>
        <translation>Die udev-Regel von Orvane ist installiert (%1). Aktivieren Sie sie in einem Terminal:</translation>
    </message>
    <message>
        <source>To remap the top-row keys, Orvane reads the keyboards and types through a virtual keyboard of its own. Linux gives neither to ordinary programs until you allow it.</source>
        <translation>Um die Tasten der obersten Reihe neu zu belegen, liest Orvane die Tastaturen und tippt über eine eigene virtuelle Tastatur. Beides erlaubt Linux gewöhnlichen Programmen erst, wenn Sie es freigeben.</translation>
    </message>
    <message>
        <source>Recommended.</source>
        <translation>Empfohlen:</translation>
    </message>
    <message>
        <source>Orvane goes on by itself as soon as the access is there. Should it not within a few seconds, log out and in again, then start Orvane again from your applications menu. The rule gives access to the person at this computer&apos;s own screen and keyboard only, while they are logged in there.</source>
        <translation>Sobald der Zugriff besteht, macht Orvane von selbst weiter. Geschieht das nicht innerhalb weniger Sekunden, melden Sie sich ab und wieder an und starten Sie Orvane danach erneut aus dem Anwendungsmenü. Die Regel gibt nur der Person Zugriff, die an Bildschirm und Tastatur dieses Computers angemeldet ist, und nur, solange sie dort angemeldet ist.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Or&lt;/b&gt; join the input group: &lt;code&gt;sudo usermod -aG input $USER&lt;/code&gt;, log out and in, then start Orvane again. Simpler, but broader: members of that group can read every keystroke of every keyboard at any time, also while someone else is logged in.</source>
        <translation>&lt;b&gt;Oder&lt;/b&gt; treten Sie der Gruppe „input“ bei: &lt;code&gt;sudo usermod -aG input $USER&lt;/code&gt;, melden Sie sich ab und wieder an und starten Sie Orvane erneut. Das ist einfacher, reicht aber weiter: Mitglieder dieser Gruppe können jederzeit jeden Tastendruck jeder Tastatur mitlesen, auch während jemand anderes angemeldet ist.</translation>
    </message>
    <message>
        <source>Closing this window quits Orvane without remapping any key.</source>
        <translation>Wenn Sie dieses Fenster schließen, wird Orvane beendet, ohne eine Taste neu zu belegen.</translation>
    </message>
    <message>
        <source>Copied. Paste the commands into a terminal.</source>
        <translation>Kopiert. Fügen Sie die Befehle in ein Terminal ein.</translation>
    </message>
    <message>
        <source>&amp;Copy Commands</source>
        <translation>Befehle &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Quit Orvane</source>
        <translation>Orvane &amp;beenden</translation>
    </message>
</context>
<context>
    <name>AppDelegate</name>
    <message>
        <source>To show Menu Bar icon, run %1 again.</source>
        <translation>Starten Sie %1 erneut, um das Symbol in der Leiste wieder anzuzeigen.</translation>
    </message>
    <message>
        <source>Another Orvane is already running for you and holds the keyboards (for example &apos;orvanectl run&apos;). Stop it, then start Orvane again.</source>
        <translation>Für Sie läuft bereits ein anderes Orvane und belegt die Tastaturen (zum Beispiel „orvanectl run“). Beenden Sie es und starten Sie Orvane dann erneut.</translation>
    </message>
    <message>
        <source>Orvane cannot take over the keyboards: %1.

&apos;orvanectl doctor&apos; tells what is missing.</source>
        <translation>Orvane kann die Tastaturen nicht übernehmen: %1.

„orvanectl doctor“ zeigt, was fehlt.</translation>
    </message>
    <message>
        <source>Orvane cannot start</source>
        <translation>Orvane kann nicht starten</translation>
    </message>
</context>
<context>
    <name>Feedback</name>
    <message>
        <source>No mail program answered. Please write to %1 from the mail program or web mail you use.</source>
        <translation>Es hat sich kein E-Mail-Programm gemeldet. Bitte schreiben Sie an %1, mit dem E-Mail-Programm oder Webmail-Dienst, den Sie nutzen.</translation>
    </message>
    <message>
        <source>&amp;Copy Address</source>
        <translation>Adresse &amp;kopieren</translation>
    </message>
</context>
<context>
    <name>KeyNames</name>
    <message>
        <source>Mission Control</source>
        <translation>Mission Control</translation>
    </message>
    <message>
        <source>Spotlight</source>
        <translation>Spotlight</translation>
    </message>
    <message>
        <source>Dictation</source>
        <translation>Diktat</translation>
    </message>
    <message>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <source>Launchpad</source>
        <translation>Launchpad</translation>
    </message>
    <message>
        <source>Brightness Up</source>
        <translation>Helligkeit erhöhen</translation>
    </message>
    <message>
        <source>Brightness Down</source>
        <translation>Helligkeit verringern</translation>
    </message>
    <message>
        <source>Sound Up</source>
        <translation>Lauter</translation>
    </message>
    <message>
        <source>Sound Down</source>
        <translation>Leiser</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Illumination Up</source>
        <translation>Tastaturlicht heller</translation>
    </message>
    <message>
        <source>Illumination Down</source>
        <translation>Tastaturlicht dunkler</translation>
    </message>
    <message>
        <source>Illumination Toggle</source>
        <translation>Tastaturlicht an/aus</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Nächster Titel</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Vorheriger Titel</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Vorspulen</translation>
    </message>
    <message>
        <source>Rewind</source>
        <translation>Zurückspulen</translation>
    </message>
</context>
<context>
    <name>Orvane</name>
    <message>
        <source>Preferences...</source>
        <comment>Menu.Preferences</comment>
        <extracomment>Tray menu entry; opens the preferences window.</extracomment>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>About</source>
        <comment>Menu.About</comment>
        <extracomment>Tray menu entry; opens the About window.</extracomment>
        <translation>Über Orvane</translation>
    </message>
    <message>
        <source>Feedback (Email)</source>
        <comment>Menu.Feedback</comment>
        <extracomment>Tray menu entry; writes an e-mail to the makers.</extracomment>
        <translation>Feedback (E-Mail)</translation>
    </message>
    <message>
        <source>Quit %@</source>
        <comment>Menu.Quit</comment>
        <extracomment>Tray menu entry; %@ is the application&apos;s name.</extracomment>
        <translation>%@ beenden</translation>
    </message>
    <message>
        <source>&amp;Quit %@</source>
        <comment>Button.Quit</comment>
        <extracomment>Button below the preferences; %@ is the application&apos;s name; &amp; marks the mnemonic.</extracomment>
        <translation>%@ &amp;beenden</translation>
    </message>
    <message>
        <source>%@ Preferences</source>
        <comment>Window.Preferences</comment>
        <extracomment>Title of the preferences window; %@ is the application&apos;s name.</extracomment>
        <translation>%@-Einstellungen</translation>
    </message>
    <message>
        <source>About %@</source>
        <comment>Window.About</comment>
        <extracomment>Title of the About window; %@ is the application&apos;s name.</extracomment>
        <translation>Über %@</translation>
    </message>
    <message>
        <source>%@ Guide</source>
        <comment>Window.Guide</comment>
        <extracomment>Title of the first-run guide&apos;s window; %@ is the application&apos;s name.</extracomment>
        <translation>%@-Einführung</translation>
    </message>
</context>
<context>
    <name>ShortcutPresets</name>
    <message>
        <source>Toggle maximized</source>
        <translation>Maximierungszustand umschalten</translation>
    </message>
    <message>
        <source>Lock screen</source>
        <translation>Bildschirm sperren</translation>
    </message>
    <message>
        <source>Show or hide the application launcher</source>
        <translation>Anwendungsstarter ein- oder ausblenden</translation>
    </message>
    <message>
        <source>Show or hide the Activities overview</source>
        <translation>Aktivitäten-Übersicht ein- oder ausblenden</translation>
    </message>
</context>
<context>
    <name>orvane::ui::AddShortcutView</name>
    <message>
        <source>Select a keyboard shortcut</source>
        <translation>Tastenkürzel wählen</translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation>&amp;Beschreibung:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Add Shortcut</source>
        <translation>Tastenkürzel &amp;hinzufügen</translation>
    </message>
</context>
<context>
    <name>orvane::ui::ApplicationChooser</name>
    <message>
        <source>Choose an Application</source>
        <translation>Anwendung wählen</translation>
    </message>
    <message>
        <source>Search applications</source>
        <translation>Anwendungen durchsuchen</translation>
    </message>
    <message>
        <source>Other File…</source>
        <translation>Andere Datei …</translation>
    </message>
</context>
<context>
    <name>orvane::ui::GuideView</name>
    <message>
        <source>Which would you like to use function keys for?</source>
        <translation>Wofür möchten Sie die Funktionstasten nutzen?</translation>
    </message>
    <message>
        <source>Apps</source>
        <translation>Apps</translation>
    </message>
    <message>
        <source>F1, F2, etc.</source>
        <translation>F1, F2 usw.</translation>
    </message>
    <message>
        <source>Hotkeys</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Fertig</translation>
    </message>
</context>
<context>
    <name>orvane::ui::KeyMappingColumnEditor</name>
    <message>
        <source>Set all to...</source>
        <translation>Alle auf …</translation>
    </message>
    <message>
        <source>Apps</source>
        <translation>Apps</translation>
    </message>
    <message>
        <source>Special keys</source>
        <translation>Sondertasten</translation>
    </message>
    <message>
        <source>F1, F2, etc.</source>
        <translation>F1, F2 usw.</translation>
    </message>
</context>
<context>
    <name>orvane::ui::KeyMappingView</name>
    <message>
        <source>Key</source>
        <translation>Taste</translation>
    </message>
    <message>
        <source>Short Press</source>
        <translation>Kurz drücken</translation>
    </message>
    <message>
        <source>Long Press</source>
        <translation>Lang drücken</translation>
    </message>
    <message>
        <source>Fn + Key</source>
        <translation>Fn + Taste</translation>
    </message>
    <message>
        <source>%1 key, %2</source>
        <comment>the key of the row, the column: F1 key, Long Press</comment>
        <translation>Taste %1, %2</translation>
    </message>
</context>
<context>
    <name>orvane::ui::LaunchTargetPicker</name>
    <message>
        <source>Open %1</source>
        <comment>an application</comment>
        <translation>%1 öffnen</translation>
    </message>
    <message>
        <source>Shortcut %1</source>
        <translation>Tastenkürzel %1</translation>
    </message>
    <message>
        <source>Shortcut %1, %2</source>
        <comment>keys, description</comment>
        <translation>Tastenkürzel %1, %2</translation>
    </message>
</context>
<context>
    <name>orvane::ui::PickerPopup</name>
    <message>
        <source>Open/Switch App</source>
        <translation>App öffnen/wechseln</translation>
    </message>
    <message>
        <source>Simulate Keyboard Shortcut</source>
        <translation>Tastenkürzel auslösen</translation>
    </message>
</context>
<context>
    <name>orvane::ui::PreferencesView</name>
    <message>
        <source>Launch at &amp;login:</source>
        <translation>Bei der &amp;Anmeldung starten:</translation>
    </message>
    <message>
        <source>Show menu bar &amp;icon:</source>
        <translation>&amp;Symbol in der Leiste zeigen:</translation>
    </message>
    <message>
        <source>Long press &amp;delay:</source>
        <translation>&amp;Dauer für langes Drücken:</translation>
    </message>
    <message>
        <source>Keys:</source>
        <translation>Tasten:</translation>
    </message>
    <message>
        <source>None of the attached keyboards reports the fn key (most PC keyboards handle it inside the keyboard), so the Fn + Key column cannot fire here. Use the short or long press for those actions, or an Apple keyboard.</source>
        <translation>Keine der angeschlossenen Tastaturen meldet die Fn-Taste (die meisten PC-Tastaturen verarbeiten sie intern), daher kann die Spalte „Fn + Taste“ hier nichts auslösen. Legen Sie diese Aktionen auf kurzes oder langes Drücken, oder verwenden Sie eine Apple-Tastatur.</translation>
    </message>
</context>
</TS>
