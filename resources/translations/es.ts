<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Información de la cuenta</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Correo electrónico</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Fecha de vencimiento:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>ID del equipo</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Último pago:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Vuelve a iniciar sesión para actualizar la información de tu cuenta</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Volver a iniciar sesión</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Cerrar sesión</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Escribe tu correo electrónico</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>Se ha actualizado la información de la cuenta</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>Lo sentimos, no se ha podido actualizar la información de la cuenta. Comprueba tu conexión de red e inténtalo de nuevo.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Escribe tu contraseña</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>Correo electrónico no válido</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Lo sentimos, las contraseñas no coinciden</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>La contraseña tiene menos de 6 caracteres</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Vuelve a iniciar sesión</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ninguno</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Prohibido</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>Según las leyes de tu país, nuestros productos están prohibidos</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>Valorar la aplicación</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Ayuda en línea</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>Centro de ayuda</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Buscar actualizaciones</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Iniciar con el sistema</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Inicia sesión en tu cuenta</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>Ayuda de VPN</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Inicia sesión</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>Cambiar de servidor VPN</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Elegir un servidor</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>Suscribirse a la VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>Suscribirse</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Vence</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Iniciar sesión</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Correo electrónico:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>Escribe tu correo electrónico</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Contraseña:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Escribe tu contraseña</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Iniciar sesión automáticamente</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Registrarse</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>¿Olvidaste tu contraseña?</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Cambiar la contraseña</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>Acerca de </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Versión:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Sitio web:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Soporte:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. Todos los derechos reservados.</translation>
    </message>
</context>
<context>
    <name>MBaseDialog</name>
    <message>
        <source>Ok</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Descargar la última versión</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Instalar la actualización</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>¿Quieres cerrar el programa para instalar la nueva versión?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>No se puede descargar la actualización.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>La actualización descargada se ha rechazado y eliminado: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>No se ha encontrado ningún instalador de paquetes. El paquete verificado está en %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>¿Quieres cancelar la tarea actual?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Error en la descarga: %1. Haz clic en %2 para descargarlo manualmente.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>MMessageBox</name>
    <message>
        <source>Ok</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Sí a todo</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>No a todo</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>La URL está vacía.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Error: el tamaño del archivo no es correcto.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>el servidor respondió con el estado %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>el servidor no envió la parte solicitada del archivo (estado %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>el servidor envió una parte del archivo distinta de la solicitada</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>el servidor envió más de la parte solicitada del archivo</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>la transferencia terminó antes de tiempo</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Cuenta caducada</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>Tu cuenta ha caducado. Compra los servicios de Quellnet.</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>Si ya has realizado la compra, vuelve a iniciar sesión para actualizar la información.</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Más tarde</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Comprar ahora</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>Instalación de TAP</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>Se ha reparado la red.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Lo sentimos, no se ha podido reparar la red: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Iniciar con el sistema</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>Lo sentimos, no se ha podido escribir la entrada de inicio en %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Cambiar idioma</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>Has cambiado el idioma; el cambio se aplicará por completo tras reiniciar.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>El programa sigue en ejecución</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Prueba de velocidad</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Desactivado</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Activado</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Bloquear al estar desconectado</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Permitir tráfico a redes locales</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Soporte</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>Centro de ayuda</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Ayuda en línea</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Abrir registro</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>Reparar TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>Comprobar dirección IP</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>Prueba de fugas de DNS</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>Acerca de Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Ejecutar en la bandeja del sistema</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Mostrar ventana principal</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Solicitud no válida, reinstala el programa</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>No se ha podido recuperar la contraseña, inténtalo de nuevo</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Error al iniciar sesión</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Error en el registro</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Recuperar contraseña</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>El correo electrónico o la contraseña están vacíos</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>En cada sistema solo se puede vincular un dispositivo a la misma cuenta</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Contraseña incorrecta o el usuario no existe</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>Este correo electrónico ya está registrado, inicia sesión con él</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Error en el registro, inténtalo de nuevo</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Recuperar contraseña</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>Se ha enviado un enlace para cambiar la contraseña a tu correo electrónico</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>Haz clic en él para cambiar tu contraseña</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Lo sentimos, este usuario no existe</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN conectada</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>La VPN está conectada</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Listo para conectar</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>La VPN está desconectada</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Error de conexión</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>Error al conectar la VPN</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>Instalando TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Conectando...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>Asignando IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>Obteniendo configuración...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>Resolviendo...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Conectar al servidor VPN</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Desconectar del servidor VPN</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Cancelar conexión</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Velocidad</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>Tu cuenta ha caducado</translation>
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
        <translation>Inicio</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>Comprar</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>Después de la compra, vuelve a iniciar sesión en tu cuenta</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 mes</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 meses</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 años</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>Registrarse</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>Los nuevos usuarios registrados disfrutan de un día de prueba gratis</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Correo electrónico:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>El mismo correo electrónico que usaste para pagar.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Contraseña:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Al menos 6 caracteres</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Repite la contraseña</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Iniciar sesión</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Error al cargar la lista de servidores,</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>Servidores</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualizar</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Doble clic para abrir el programa, clic derecho para mostrar el menú</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>la actualización no está firmada</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>la firma de la actualización no es válida</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>no se puede leer el archivo descargado</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>el archivo descargado tiene un tamaño incorrecto</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>el archivo descargado no es el que se firmó</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Búsqueda de actualizaciones</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>La búsqueda de actualizaciones ha fallado. Comprueba tu conexión de red e inténtalo de nuevo.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>¡Tu software está actualizado!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Actualizar a la nueva versión</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>La nueva versión &lt;b&gt; %1&lt;/b&gt; está disponible. ¿Quieres actualizar a esta versión?</translation>
    </message>
</context>
</TS>
