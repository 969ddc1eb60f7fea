<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="da" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Kontooplysninger</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Udløbsdato:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>Maskin-ID</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Seneste betaling:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Log ind igen for at opdatere dine kontooplysninger</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Log ind igen</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Log ud</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Indtast e-mail</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Opdater</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>Kontooplysningerne er blevet opdateret</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>Kontooplysningerne kunne desværre ikke opdateres. Kontrollér din netværksforbindelse, og prøv igen.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Indtast adgangskode</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>Ugyldig e-mail</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Adgangskoderne stemmer desværre ikke overens</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>Adgangskoden er kortere end 6 tegn</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Log ind igen</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ingen</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Forbudt</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>Ifølge lovgivningen i dit land er vores produkter forbudte</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Hjælp</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>Bedøm appen</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Onlinehjælp</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>Helpdesk</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Søg efter opdateringer</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Start ved systemstart</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Log ind på din konto</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>VPN-hjælp</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Log ind</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>Skift VPN-server</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Vælg en server</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>Abonner på VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>Abonner</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Udløber</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Log ind</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-mail:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>Indtast din e-mail</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Adgangskode:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Indtast din adgangskode</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Log ind automatisk</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Registrer</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>Glemt adgangskode</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Skift din adgangskode</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>Om </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Websted:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Support:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. Alle rettigheder forbeholdes.</translation>
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
        <translation>Annuller</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nej</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Luk</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Download den nyeste version</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Installer opdateringen</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>Vil du lukke programmet for at installere den nye version?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>Opdateringen kan ikke downloades.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>Den downloadede opdatering blev afvist og slettet: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>Der blev ikke fundet noget program til installation af pakker. Den verificerede pakke findes her: %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Annuller</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>Vil du annullere den aktuelle opgave?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Download mislykkedes: %1. Klik på %2 for at downloade den manuelt.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Luk</translation>
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
        <translation>Annuller</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nej</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Ja til alle</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>Nej til alle</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>URL&apos;en er tom.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Mislykkedes, filstørrelsen er forkert.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>serveren svarede med status %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>serveren sendte ikke den anmodede del af filen (status %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>serveren sendte en anden del af filen end den anmodede</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>serveren sendte mere end den anmodede del af filen</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>overførslen sluttede for tidligt</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Kontoen er udløbet</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>Din konto er udløbet. Køb venligst Quellnet-tjenester</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>Hvis du allerede har købt, skal du logge ind igen for at opdatere oplysningerne</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Senere</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Køb nu</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Indstillinger</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>TAP-installation</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>Netværket er blevet repareret.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Netværket kunne desværre ikke repareres: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Start ved systemstart</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>Startposten kunne desværre ikke skrives til %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Skift sprog</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>Du har skiftet sprog. Ændringen træder fuldt i kraft efter genstart.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>Programmet kører stadig</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprog</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Hastighedstest</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Fra</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Til</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Bloker, når forbindelsen er afbrudt</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Tillad trafik til lokale netværk</translation>
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
        <translation>Onlinehjælp</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Åbn log</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>Reparer TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>IP-adressetjek</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>DNS-lækagetest</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>Om Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Kør i systembakken</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Afslut</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Vis hovedvindue</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Ugyldig anmodning, geninstaller programmet</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>Gendannelse af adgangskode mislykkedes, prøv igen</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Login mislykkedes</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Registrering mislykkedes</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Gendan adgangskode</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>E-mail eller adgangskode er tom</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>Kun én enhed kan knyttes til den samme konto i hvert system</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Forkert adgangskode, eller brugeren findes ikke</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>Denne e-mail er allerede registreret, log ind med den</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Registrering mislykkedes, prøv igen</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Gendan adgangskode</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>Et link til ændring af adgangskoden er sendt til din e-mailadresse</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>klik på det for at ændre din adgangskode</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Denne bruger findes desværre ikke</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN forbundet</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>VPN er forbundet</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Klar til at forbinde</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>VPN er afbrudt</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Forbindelse mislykkedes</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>VPN-forbindelse mislykkedes</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>Installerer TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Forbinder...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>Tildeler IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>Henter konfiguration...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>Slår op...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Opret forbindelse til VPN-server</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Afbryd forbindelsen til VPN-server</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Annuller forbindelse</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Hastighed</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>Din konto er udløbet</translation>
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
        <translation>Hjem</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>Køb</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>Log ind på din konto igen efter købet</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 måned</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 måneder</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 år</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>Registrer</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>Nye brugere får en gratis prøveperiode på én dag</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-mail:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>Samme som din betalings-e-mail.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Adgangskode:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Længere end 5 tegn</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Indtast adgangskoden igen</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Log ind</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Mislykkedes</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Indlæsning af serverliste mislykkedes,</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>Servere</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Opdater</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Dobbeltklik for at aktivere programmet, højreklik for at åbne menuen</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>opdateringen er ikke signeret</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>opdateringens signatur er ugyldig</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>den downloadede fil kan ikke læses</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>den downloadede fil har en forkert størrelse</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>den downloadede fil er ikke den signerede</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Søg efter opdateringer</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>Søgningen efter opdateringer mislykkedes. Kontrollér din netværksforbindelse, og prøv igen.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>Din software er opdateret!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Opdater til ny version</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>Ny version &lt;b&gt; %1&lt;/b&gt; er tilgængelig. Vil du opdatere til den?</translation>
    </message>
</context>
</TS>
