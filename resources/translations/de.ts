<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Kontoinformationen</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Ablaufdatum:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>Geräte-ID</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Letzte Zahlung:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Melden Sie sich erneut an, um Ihre Kontoinformationen zu aktualisieren</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Erneut anmelden</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Abmelden</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Bitte E-Mail-Adresse eingeben</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>Die Kontoinformationen wurden aktualisiert</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>Die Kontoinformationen konnten leider nicht aktualisiert werden. Bitte überprüfen Sie Ihre Netzwerkverbindung und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Bitte Passwort eingeben</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>Ungültige E-Mail-Adresse</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Die Passwörter stimmen leider nicht überein</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>Das Passwort ist kürzer als 6 Zeichen</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Bitte melden Sie sich erneut an</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Nicht erlaubt</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>Nach den Gesetzen Ihres Landes ist unser Produkt verboten</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>App bewerten</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Online-Hilfe</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>Helpdesk</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Beim Systemstart ausführen</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Bei Ihrem Konto anmelden</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>VPN-Hilfe</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Bitte melden Sie sich an</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>VPN-Server wechseln</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Server auswählen</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>VPN abonnieren</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>Abonnieren</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Läuft ab</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-Mail:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>E-Mail-Adresse eingeben</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Passwort eingeben</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Automatisch anmelden</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Registrieren</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>Passwort vergessen</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Passwort ändern</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>Über </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Website:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Support:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. Alle Rechte vorbehalten.</translation>
    </message>
</context>
<context>
    <name>MBaseDialog</name>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Neueste Version herunterladen</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Update installieren</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>Möchten Sie das Programm schließen, um die neue Version zu installieren?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>Das Update kann nicht heruntergeladen werden.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>Das heruntergeladene Update wurde abgelehnt und gelöscht: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>Es wurde kein Paketinstaller gefunden. Das geprüfte Paket liegt unter %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>Möchten Sie den aktuellen Vorgang abbrechen?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Download fehlgeschlagen: %1. Klicken Sie auf %2, um die Datei manuell herunterzuladen.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>MMessageBox</name>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Ja, alle</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>Nein, keine</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>Die URL ist leer.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Fehlgeschlagen, die Dateigröße ist falsch.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>der Server antwortete mit Status %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>der Server hat den angeforderten Teil der Datei nicht gesendet (Status %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>der Server hat einen anderen als den angeforderten Teil der Datei gesendet</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>der Server hat mehr als den angeforderten Teil der Datei gesendet</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>die Übertragung wurde vorzeitig beendet</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Konto abgelaufen</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>Ihr Konto ist abgelaufen. Bitte erwerben Sie Quellnet-Dienste.</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>Wenn Sie bereits gekauft haben, melden Sie sich bitte erneut an, um die Informationen zu aktualisieren.</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Später</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Jetzt kaufen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>TAP-Installation</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>Das Netzwerk wurde repariert.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Das Netzwerk konnte leider nicht repariert werden: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Beim Systemstart ausführen</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>Der Autostart-Eintrag konnte leider nicht in %1 geschrieben werden</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Sprache ändern</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>Sie haben die Sprache geändert. Die Änderung wird nach einem Neustart vollständig wirksam.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>Das Programm läuft weiter</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Geschwindigkeitstest</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Bei getrennter Verbindung blockieren</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Datenverkehr ins lokale Netzwerk zulassen</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Support</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>Helpdesk</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Online-Hilfe</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Protokoll öffnen</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>TAP reparieren</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>IP-Adresse prüfen</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>DNS-Leak-Test</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>Über Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Im Infobereich ausführen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Hauptfenster anzeigen</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Ungültige Anfrage, bitte installieren Sie das Programm neu</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>Passwortwiederherstellung fehlgeschlagen, bitte versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Anmeldung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Registrierung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Passwort wiederherstellen</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>E-Mail-Adresse oder Passwort ist leer</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>Pro System kann nur ein Gerät an dasselbe Konto gebunden werden</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Falsches Passwort oder Benutzer existiert nicht</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>Diese E-Mail-Adresse ist bereits registriert, bitte melden Sie sich damit an</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Registrierung fehlgeschlagen, bitte versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Passwort wiederherstellen</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>Ein Link zum Ändern des Passworts wurde an Ihre E-Mail-Adresse gesendet</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>Bitte klicken Sie darauf, um Ihr Passwort zu ändern</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Dieser Benutzer existiert leider nicht</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN verbunden</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>VPN ist verbunden</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Bereit zum Verbinden</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>VPN ist getrennt</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Verbindung fehlgeschlagen</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>VPN-Verbindung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>TAP wird installiert...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Verbinden...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>IP wird zugewiesen...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>Konfiguration wird abgerufen...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>Adresse wird aufgelöst...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Mit VPN-Server verbinden</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Vom VPN-Server trennen</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Verbindungsaufbau abbrechen</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>Ihr Konto ist abgelaufen</translation>
    </message>
    <message>
        <source>ID:%1  </source>
        <translation>ID:%1  </translation>
    </message>
</context>
<context>
    <name>Page</name>
    <message>
        <source>Home</source>
        <translation>Start</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>Kaufen</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>Melden Sie sich nach dem Kauf bitte erneut bei Ihrem Konto an</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 Monat</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 Monate</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 Jahre</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>Registrieren</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>Neue Benutzer können einen Tag lang kostenlos testen</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-Mail:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>E-Mail wie bei der Zahlung.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Mindestens 6 Zeichen</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Passwort wiederholen</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Anmelden</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Laden der Serverliste fehlgeschlagen,</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Doppelklick öffnet das Programm, Rechtsklick öffnet das Menü</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>das Update ist nicht signiert</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>die Signatur des Updates ist ungültig</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>die heruntergeladene Datei kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>die heruntergeladene Datei hat die falsche Größe</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>die heruntergeladene Datei ist nicht die signierte</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Update-Prüfung</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>Die Suche nach Updates ist fehlgeschlagen. Bitte überprüfen Sie Ihre Netzwerkverbindung und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>Ihre Software ist auf dem neuesten Stand!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Auf neue Version aktualisieren</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>Die neue Version &lt;b&gt; %1&lt;/b&gt; ist verfügbar. Möchten Sie auf diese Version aktualisieren?</translation>
    </message>
</context>
</TS>
