<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logout</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expires</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Register</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Website:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Support:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MBaseDialog</name>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MMessageBox</name>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No to All</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Later</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID:%1  </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Page</name>
    <message>
        <source>Home</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
