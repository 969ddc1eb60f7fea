<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Informations du compte</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Date d&apos;expiration&#xa0;:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>ID de l&apos;appareil</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Dernier paiement&#xa0;:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Reconnectez-vous pour actualiser les informations de votre compte</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Se reconnecter</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Se déconnecter</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Veuillez saisir votre e-mail</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>Les informations du compte ont été actualisées</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>Désolé, les informations du compte n&apos;ont pas pu être actualisées. Veuillez vérifier votre connexion réseau et réessayer.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Veuillez saisir votre mot de passe</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>E-mail non valide</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Désolé, les mots de passe ne correspondent pas</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>Le mot de passe contient moins de 6 caractères</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Veuillez vous reconnecter</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Interdit</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>Selon les lois de votre pays, nos produits sont interdits</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>Évaluer l&apos;application</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Aide en ligne</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>Service d&apos;assistance</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Rechercher des mises à jour</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Lancer au démarrage du système</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Connectez-vous à votre compte</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>Aide VPN</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Veuillez vous connecter</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>Changer de serveur VPN</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Choisir un serveur</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>S&apos;abonner au VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>S&apos;abonner</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Expiration</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Se connecter</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-mail&#xa0;:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>Saisissez votre e-mail</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Mot de passe&#xa0;:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Saisissez votre mot de passe</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Connexion automatique</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>S&apos;inscrire</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>Mot de passe oublié</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Modifier votre mot de passe</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>À propos de </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version&#xa0;:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Site web&#xa0;:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Assistance&#xa0;:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. Tous droits réservés.</translation>
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
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Télécharger la dernière version</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Installer la mise à jour</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>Voulez-vous fermer le programme pour installer la nouvelle version&#xa0;?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>La mise à jour ne peut pas être téléchargée.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>La mise à jour téléchargée a été refusée et supprimée&#xa0;: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>Aucun programme d&apos;installation de paquets n&apos;a été trouvé. Le paquet vérifié se trouve ici&#xa0;: %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>Voulez-vous annuler la tâche en cours&#xa0;?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Échec du téléchargement&#xa0;: %1. Cliquez sur %2 pour le télécharger manuellement.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
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
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Oui pour tout</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>Non pour tout</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>L&apos;URL est vide.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Échec, la taille du fichier est incorrecte.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>le serveur a répondu avec le statut %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>le serveur n&apos;a pas envoyé la partie demandée du fichier (statut %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>le serveur a envoyé une autre partie du fichier que celle demandée</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>le serveur a envoyé plus que la partie demandée du fichier</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>le transfert s&apos;est terminé prématurément</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Compte expiré</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>Votre compte a expiré. Veuillez acheter les services Quellnet.</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>Si vous avez déjà effectué l&apos;achat, veuillez vous reconnecter pour actualiser les informations.</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Plus tard</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Acheter maintenant</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>Installation de TAP</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>Le réseau a été réparé.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Désolé, le réseau n&apos;a pas pu être réparé&#xa0;: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Lancer au démarrage du système</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>Désolé, l&apos;entrée de démarrage n&apos;a pas pu être écrite dans %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Changer de langue</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>Vous avez changé de langue&#xa0;; le changement prendra pleinement effet après le redémarrage.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>Le programme est toujours en cours d&apos;exécution</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Test de vitesse</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Bloquer en cas de déconnexion</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Autoriser le trafic vers les réseaux locaux</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Assistance</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>Service d&apos;assistance</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Aide en ligne</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Ouvrir le journal</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>Réparer TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>Vérifier l&apos;adresse IP</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>Test de fuite DNS</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>À propos de Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Exécuter dans la zone de notification</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Afficher la fenêtre principale</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Requête non valide, veuillez réinstaller le programme</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>Échec de la récupération du mot de passe, veuillez réessayer</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Échec de l&apos;identification</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Échec de l&apos;inscription</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Récupérer le mot de passe</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>L&apos;e-mail ou le mot de passe est vide</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>Sur chaque système, un seul appareil peut être associé à un même compte</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Mot de passe incorrect ou utilisateur inexistant</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>Cet e-mail est déjà enregistré, veuillez vous connecter avec celui-ci</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Échec de l&apos;inscription, veuillez réessayer</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Récupérer le mot de passe</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>Un lien de modification du mot de passe a été envoyé à votre adresse e-mail</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>Veuillez cliquer dessus pour modifier votre mot de passe</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Désolé, cet utilisateur n&apos;existe pas</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN connecté</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>Le VPN est connecté</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Prêt à se connecter</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>Le VPN est déconnecté</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Échec de la connexion</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>Échec de la connexion VPN</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>Installation de TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Connexion...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>Attribution de l&apos;IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>Récupération de la configuration...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>Résolution...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Se connecter au serveur VPN</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Se déconnecter du serveur VPN</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Annuler la connexion</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>Votre compte a expiré</translation>
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
        <translation>Accueil</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>Acheter</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>Après l&apos;achat, veuillez vous reconnecter à votre compte</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 mois</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 mois</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 ans</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>S&apos;inscrire</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>Les nouveaux utilisateurs bénéficient d&apos;un essai gratuit d&apos;un jour</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-mail&#xa0;:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>Identique à votre e-mail de paiement.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Mot de passe&#xa0;:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Au moins 6 caractères</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Confirmez le mot de passe</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Se connecter</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Échec du chargement de la liste des serveurs,</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>Serveurs</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualiser</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Double-cliquez pour ouvrir le programme, clic droit pour afficher le menu</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>la mise à jour n&apos;est pas signée</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>la signature de la mise à jour n&apos;est pas valide</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>le fichier téléchargé ne peut pas être lu</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>le fichier téléchargé n&apos;a pas la bonne taille</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>le fichier téléchargé n&apos;est pas celui qui a été signé</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Recherche de mises à jour</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>La recherche de mises à jour a échoué. Veuillez vérifier votre connexion réseau et réessayer.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>Votre logiciel est à jour&#xa0;!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Mettre à jour vers la nouvelle version</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>La nouvelle version &lt;b&gt; %1&lt;/b&gt; est disponible. Voulez-vous mettre à jour vers cette version&#xa0;?</translation>
    </message>
</context>
</TS>
