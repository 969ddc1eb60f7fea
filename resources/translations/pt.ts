<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>Informações da conta</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>Data de expiração:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>ID do dispositivo</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Último pagamento:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>Inicie sessão novamente para atualizar as informações da sua conta</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>Iniciar sessão novamente</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Terminar sessão</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>Introduza o e-mail</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Atualizar</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>As informações da conta foram atualizadas</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>Lamentamos, não foi possível atualizar as informações da conta. Verifique a ligação à rede e tente novamente.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>Introduza a palavra-passe</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>E-mail inválido</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>Lamentamos, as palavras-passe não coincidem</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>A palavra-passe tem menos de 6 caracteres</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>Inicie sessão novamente</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Nenhum</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>Proibido</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>De acordo com as leis do seu país, os nossos produtos são proibidos</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>Ajuda</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>Avaliar a aplicação</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Ajuda online</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>Centro de apoio</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Procurar atualizações</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Iniciar com o sistema</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>Inicie sessão na sua conta</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>Ajuda VPN</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>Inicie sessão</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>Mudar de servidor VPN</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>Escolher um servidor</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>Subscrever a VPN</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>Subscrever</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>Expira</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>Iniciar sessão</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-mail:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>Introduza o seu e-mail</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Palavra-passe:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>Introduza a sua palavra-passe</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>Iniciar sessão automaticamente</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Registar</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>Esqueci-me da palavra-passe</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>Alterar a palavra-passe</translation>
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
        <translation>Versão:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Site:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Suporte:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. Todos os direitos reservados.</translation>
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
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Não</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>Transferir a versão mais recente</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>Instalar a atualização</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>Pretende fechar o programa para instalar a nova versão?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>Não é possível transferir a atualização.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>A atualização transferida foi recusada e eliminada: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>Não foi encontrado nenhum instalador de pacotes. O pacote verificado está em %1.</translation>
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
        <translation>Pretende cancelar a tarefa atual?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>Falha na transferência: %1. Clique em %2 para transferir manualmente.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
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
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Não</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Sim para todos</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>Não para todos</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>O URL está vazio.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>Falha, o tamanho do ficheiro está incorreto.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>o servidor respondeu com o estado %1</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>o servidor não enviou a parte pedida do ficheiro (estado %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>o servidor enviou uma parte do ficheiro diferente da pedida</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>o servidor enviou mais do que a parte pedida do ficheiro</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>a transferência terminou antes do tempo</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>Conta expirada</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>A sua conta expirou. Adquira os serviços Quellnet.</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>Se já efetuou a compra, inicie sessão novamente para atualizar as informações.</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Mais tarde</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>Comprar agora</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>Definições</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>Instalação do TAP</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>A rede foi reparada.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>Lamentamos, não foi possível reparar a rede: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Iniciar com o sistema</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>Lamentamos, não foi possível escrever a entrada de arranque em %1</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Mudar idioma</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>Alterou o idioma; a alteração terá efeito total após reiniciar.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>O programa continua em execução</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>Teste de velocidade</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>Kill Switch</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Desligado</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ligado</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>Bloquear quando desligado</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>Permitir tráfego para redes locais</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Suporte</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>Centro de apoio</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>Ajuda online</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>Abrir registo</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>Reparar TAP</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>Verificar endereço IP</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>Teste de fuga de DNS</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>Acerca do Quellnet</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>Executar na área de notificação</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>Mostrar janela principal</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>Pedido inválido, reinstale o programa</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>Falha ao recuperar a palavra-passe, tente novamente</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>Falha ao iniciar sessão</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>Falha no registo</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>Recuperar palavra-passe</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>O e-mail ou a palavra-passe está vazio</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>Em cada sistema só é possível associar um dispositivo à mesma conta</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>Palavra-passe incorreta ou utilizador inexistente</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>Este e-mail já está registado, inicie sessão com ele</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>Falha no registo, tente novamente</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>Recuperar palavra-passe</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>Foi enviada uma ligação para alterar a palavra-passe para o seu endereço de e-mail</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>Clique na ligação para alterar a sua palavra-passe</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>Lamentamos, este utilizador não existe</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN ligada</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>A VPN está ligada</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>Pronto para ligar</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>A VPN está desligada</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Falha na ligação</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>Falha na ligação VPN</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>A instalar o TAP...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>A ligar...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>A atribuir IP...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>A obter a configuração...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>A resolver...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>Ligar ao servidor VPN</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>Desligar do servidor VPN</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>Cancelar ligação</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Velocidade</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>A sua conta expirou</translation>
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
        <translation>Início</translation>
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
        <translation>Após a compra, inicie sessão novamente na sua conta</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1 mês</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3 meses</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2 anos</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>Registar</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>Os novos utilizadores registados têm direito a um dia de avaliação gratuita</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-mail:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>O mesmo e-mail usado no pagamento.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Palavra-passe:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>Pelo menos 6 caracteres</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>Repita a palavra-passe</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Iniciar sessão</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>Falha</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>Falha ao carregar a lista de servidores,</translation>
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
        <translation>Atualizar</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>Duplo clique para abrir o programa, clique direito para abrir o menu</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>a atualização não está assinada</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>a assinatura da atualização não é válida</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>não é possível ler o ficheiro transferido</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>o ficheiro transferido tem o tamanho errado</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>o ficheiro transferido não é o que foi assinado</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>Procura de atualizações</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>A procura de atualizações falhou. Verifique a ligação à rede e tente novamente.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>O seu software está atualizado!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>Atualizar para a nova versão</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>A nova versão &lt;b&gt; %1&lt;/b&gt; está disponível. Pretende atualizar para esta versão?</translation>
    </message>
</context>
</TS>
