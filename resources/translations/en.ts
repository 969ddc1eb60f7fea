<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Account Information</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Expired on:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>Machine ID</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Last payment:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Re-Login to refresh your account information</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Re-Login</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Logout</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Please type email</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>Account information has been refreshed</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>Sorry, the account information could not be refreshed, please check your network and try it again.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Please type password</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>Invalid email</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Sorry, passwords do not match</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>Password length is less than 6</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Please re-login</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Prohibit</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>According to the laws of your country, our products is prohibited</translation>
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
        <translation>Rate App</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Online Help</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>HelpDesk</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Check Update</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Launch on system startup</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Login your account</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>VPN Help</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Please login</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>Change your vpn server</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Choose a server</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>Subscribe VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>Subscribe</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Expires</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Email:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>Type your email</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Type your password</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Login automatically</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>Forget password</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Change your password</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>About </translation>
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
        <translation>Copyright © %1 Quellnet. All rights reserved.</translation>
    </message>
</context>
<context>
    <name>MBaseDialog</name>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Download the latest version</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Install the update</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>Do you want to close program to install the new version?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>The update cannot be downloaded.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>The downloaded update was refused and deleted: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>No package installer was found. The verified package is at %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>Do you want to cancel current task?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Failed to download,%1,you click %2 to download it manually.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>MMessageBox</name>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Yes to All</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>No to All</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>Url is empty.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Failed,file size is incorrect.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>the server answered with status %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>the server did not send the requested part of the file (status %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>the server sent another part of the file than the one requested</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>the server sent more than the requested part of the file</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>the transfer ended early</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Account Expired</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>Your account has expired.Please buy Quellnet services</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>If you have already purchased,please re-login to renew the information</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Buy Now</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>TAP Installation</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>The network has been repaired.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Sorry, the network could not be repaired: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Launch on system startup</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>Sorry, the start-up entry could not be written to %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Change Language</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>You changed the language, it will take full effect after restart.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>Program is still running</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Speed Test</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>On</source>
        <translation>On</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Block While Disconnected</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Allow Traffic to Local Networks</translation>
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
        <translation>Online Help</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Open Log</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>Fix Tap</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>IP Address Checker</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>DNS Leak Test</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>About Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Run as Tray Icon</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Show Main Window</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Invalid request,please reinstall program</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>Find password failed, please try it again</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Login failed</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Register failed</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Find password</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>This email or password is empty</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>Only one device can be bound to the same account in each system</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Incorrect password or user does not exist</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>This email was registered,please login with it</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Register failed, please try it again</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Find Password</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>Change password link is sent to your email address</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>please click it to change your password</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Sorry, This user does not exist</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN Connected</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>VPN is connected</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Ready to Connect</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>VPN is disconnected</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Connect failed</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>VPN connect failed</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>Install TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Connecting...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>Assign IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>Get Configuration...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>Resolving...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Connect vpn server</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Disconnect vpn server</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Cancel connect</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>Your account is expired</translation>
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
        <translation>Home</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>Purchase</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>After purchase, please re-login your account</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 Month</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 Months</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 Years</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>New registered user is eligible for a one-day free trial</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Email:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>Same as your payment email.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Length is greater than 5</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Type password again</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Login</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Load Server List Failed,</translation>
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
        <translation>Refresh</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Double click to active program,right click to popup menu</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>the update is not signed</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>the update&apos;s signature is not valid</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>the downloaded file cannot be read</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>the downloaded file has the wrong size</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>the downloaded file is not the signed one</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Update check</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>The update check failed. Please check your network and try again.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>Your software is up to date!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Update to new version</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</translation>
    </message>
</context>
</TS>
