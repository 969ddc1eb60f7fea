<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Accountgegevens</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Geldig tot:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>Apparaat-ID</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Laatste betaling:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Log opnieuw in om je accountgegevens te vernieuwen</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Opnieuw inloggen</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Uitloggen</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Voer je e-mailadres in</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Vernieuwen</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>Accountgegevens zijn vernieuwd</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>De accountgegevens konden niet worden vernieuwd. Controleer je netwerkverbinding en probeer het opnieuw.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Voer je wachtwoord in</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>Ongeldig e-mailadres</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Wachtwoorden komen niet overeen</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>Wachtwoord is korter dan 6 tekens</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Log opnieuw in</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Geen</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Verboden</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>Volgens de wetten van uw land zijn onze producten verboden</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>App beoordelen</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Online help</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>Helpdesk</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Controleren op updates</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Starten bij opstarten systeem</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Log in op je account</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>VPN-hulp</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>Wijzig je VPN-server</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Kies een server</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>Abonneren op VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>Abonneren</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Verloopt</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Inloggen</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-mail:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>Voer je e-mailadres in</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Wachtwoord:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Voer je wachtwoord in</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Automatisch inloggen</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Registreren</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>Wachtwoord vergeten</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Wijzig je wachtwoord</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>Over </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Versie:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Website:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Ondersteuning:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. Alle rechten voorbehouden.</translation>
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
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nee</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sluiten</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Download de nieuwste versie</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Installeer de update</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>Wil je het programma sluiten om de nieuwe versie te installeren?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>De update kan niet worden gedownload.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>De gedownloade update is geweigerd en verwijderd: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>Er is geen pakketinstallatieprogramma gevonden. Het geverifieerde pakket staat in %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>Wil je de huidige taak annuleren?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Downloaden mislukt: %1. Klik op %2 om het handmatig te downloaden.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sluiten</translation>
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
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nee</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Ja op alles</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>Nee op alles</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>De URL is leeg.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Mislukt, de bestandsgrootte is onjuist.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>de server antwoordde met status %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>de server heeft het gevraagde deel van het bestand niet verzonden (status %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>de server heeft een ander deel van het bestand verzonden dan gevraagd</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>de server heeft meer dan het gevraagde deel van het bestand verzonden</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>de overdracht is voortijdig beëindigd</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Account verlopen</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>Je account is verlopen. Koop Quellnet-diensten</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>Als je al hebt betaald, log dan opnieuw in om de gegevens te vernieuwen</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Nu kopen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Instellingen</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>TAP-installatie</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>Het netwerk is hersteld.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Het netwerk kon niet worden hersteld: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Starten bij opstarten systeem</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>De opstartvermelding kon niet worden geschreven naar %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Taal wijzigen</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>Je hebt de taal gewijzigd; dit wordt volledig van kracht na een herstart.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>Programma is nog actief</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Taal</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Snelheidstest</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Noodschakelaar</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Uit</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Aan</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Blokkeren indien niet verbonden</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Verkeer naar lokale netwerken toestaan</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Ondersteuning</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>Helpdesk</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Online help</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Logboek openen</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>TAP repareren</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>IP-adrescontrole</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>DNS-lektest</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>Over Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Uitvoeren in systeemvak</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Afsluiten</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Hoofdvenster tonen</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Ongeldig verzoek, installeer het programma opnieuw</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>Wachtwoordherstel mislukt, probeer het opnieuw</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Inloggen mislukt</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Registratie mislukt</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Wachtwoord herstellen</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>E-mailadres of wachtwoord is leeg</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>Per systeem kan slechts één apparaat aan hetzelfde account worden gekoppeld</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Onjuist wachtwoord of gebruiker bestaat niet</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>Dit e-mailadres is al geregistreerd, log hiermee in</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Registratie mislukt, probeer het opnieuw</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Wachtwoord herstellen</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>Er is een link om je wachtwoord te wijzigen naar je e-mailadres gestuurd</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>klik erop om je wachtwoord te wijzigen</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Deze gebruiker bestaat niet</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN verbonden</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>VPN is verbonden</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Klaar om te verbinden</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>VPN is niet verbonden</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Verbinden mislukt</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>VPN-verbinding mislukt</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>TAP installeren...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Verbinden...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>IP toewijzen...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>Configuratie ophalen...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>Naam omzetten...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Verbinden met VPN-server</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Verbinding met VPN-server verbreken</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Verbinden annuleren</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Snelheid</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>Je account is verlopen</translation>
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
        <translation>Kopen</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>Log na aankoop opnieuw in op je account</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 maand</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 maanden</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 jaar</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>Registreren</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>Nieuwe gebruikers krijgen een gratis proefperiode van één dag</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-mail:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>Hetzelfde als je betalings-e-mailadres.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Wachtwoord:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Minimaal 6 tekens</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Voer wachtwoord opnieuw in</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Inloggen</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Mislukt</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Laden van serverlijst mislukt,</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>Servers</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Vernieuwen</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Dubbelklik om het programma te openen, klik met rechts voor het menu</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>de update is niet ondertekend</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>de handtekening van de update is ongeldig</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>het gedownloade bestand kan niet worden gelezen</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>het gedownloade bestand heeft de verkeerde grootte</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>het gedownloade bestand is niet het ondertekende bestand</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Controleren op updates</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>Het controleren op updates is mislukt. Controleer je netwerkverbinding en probeer het opnieuw.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>Je software is up-to-date!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Bijwerken naar nieuwe versie</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>Nieuwe versie &lt;b&gt; %1&lt;/b&gt; is beschikbaar. Wil je naar deze versie bijwerken?</translation>
    </message>
</context>
</TS>
