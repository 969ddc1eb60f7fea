<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko" sourcelanguage="en">
<context>
    <name>AccountPage</name>
    <message>
        <source>Account Information</source>
        <translation>계정 정보</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>이메일</translation>
    </message>
    <message>
        <source>Expired on:</source>
        <translation>만료일:</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>기기 ID</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>최근 결제일:</translation>
    </message>
    <message>
        <source>Re-Login to refresh your account information</source>
        <translation>계정 정보를 새로 고치려면 다시 로그인하세요</translation>
    </message>
    <message>
        <source>Re-Login</source>
        <translation>다시 로그인</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>로그아웃</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>Please type email</source>
        <translation>이메일을 입력하세요</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>새로 고침</translation>
    </message>
    <message>
        <source>Account information has been refreshed</source>
        <translation>계정 정보를 새로 고쳤습니다</translation>
    </message>
    <message>
        <source>Sorry, the account information could not be refreshed, please check your network and try it again.</source>
        <translation>죄송합니다. 계정 정보를 새로 고칠 수 없습니다. 네트워크를 확인한 후 다시 시도하세요.</translation>
    </message>
    <message>
        <source>Please type password</source>
        <translation>비밀번호를 입력하세요</translation>
    </message>
    <message>
        <source>Invalid email</source>
        <translation>잘못된 이메일입니다</translation>
    </message>
    <message>
        <source>Sorry, passwords do not match</source>
        <translation>죄송합니다. 비밀번호가 일치하지 않습니다</translation>
    </message>
    <message>
        <source>Password length is less than 6</source>
        <translation>비밀번호가 6자 미만입니다</translation>
    </message>
    <message>
        <source>Please re-login</source>
        <translation>다시 로그인하세요</translation>
    </message>
    <message>
        <source>None</source>
        <translation>없음</translation>
    </message>
</context>
<context>
    <name>CountryRestriction</name>
    <message>
        <source>Prohibit</source>
        <translation>금지됨</translation>
    </message>
    <message>
        <source>According to the laws of your country, our products is prohibited</source>
        <translation>귀하의 국가 법률에 따라 당사 제품의 사용이 금지되어 있습니다</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>Help</source>
        <translation>도움말</translation>
    </message>
    <message>
        <source>Rate App</source>
        <translation>앱 평가</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>온라인 도움말</translation>
    </message>
    <message>
        <source>HelpDesk</source>
        <translation>헬프데스크</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>업데이트 확인</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>시스템 시작 시 실행</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>Login your account</source>
        <translation>계정에 로그인</translation>
    </message>
    <message>
        <source>VPN Help</source>
        <translation>VPN 도움말</translation>
    </message>
    <message>
        <source>Please login</source>
        <translation>로그인하세요</translation>
    </message>
    <message>
        <source>Change your vpn server</source>
        <translation>VPN 서버 변경</translation>
    </message>
    <message>
        <source>Choose a server</source>
        <translation>서버 선택</translation>
    </message>
    <message>
        <source>Subscribe VPN</source>
        <translation>VPN 구독</translation>
    </message>
    <message>
        <source>Subscribe</source>
        <translation>구독</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>만료일</translation>
    </message>
</context>
<context>
    <name>LoginPage</name>
    <message>
        <source>Login</source>
        <translation>로그인</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>이메일:</translation>
    </message>
    <message>
        <source>Type your email</source>
        <translation>이메일 입력</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>비밀번호:</translation>
    </message>
    <message>
        <source>Type your password</source>
        <translation>비밀번호 입력</translation>
    </message>
    <message>
        <source>Login automatically</source>
        <translation>자동 로그인</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>회원가입</translation>
    </message>
    <message>
        <source>Forget password</source>
        <translation>비밀번호 찾기</translation>
    </message>
    <message>
        <source>Change your password</source>
        <translation>비밀번호 변경</translation>
    </message>
</context>
<context>
    <name>MAboutUS</name>
    <message>
        <source>About </source>
        <translation>프로그램 정보 </translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>버전:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>웹사이트:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>지원:</translation>
    </message>
    <message>
        <source>Copyright © %1 Quellnet. All rights reserved.</source>
        <translation>Copyright © %1 Quellnet. 모든 권리 보유.</translation>
    </message>
</context>
<context>
    <name>MBaseDialog</name>
    <message>
        <source>Ok</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>예</translation>
    </message>
    <message>
        <source>No</source>
        <translation>아니요</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>닫기</translation>
    </message>
</context>
<context>
    <name>MBaseFrame</name>
    <message>
        <source>Download the latest version</source>
        <translation>최신 버전 다운로드</translation>
    </message>
    <message>
        <source>Install the update</source>
        <translation>업데이트 설치</translation>
    </message>
    <message>
        <source>Do you want to close program to install the new version?</source>
        <translation>프로그램을 닫고 새 버전을 설치하시겠습니까?</translation>
    </message>
    <message>
        <source>The update cannot be downloaded.</source>
        <translation>업데이트를 다운로드할 수 없습니다.</translation>
    </message>
    <message>
        <source>The downloaded update was refused and deleted: %1.</source>
        <translation>다운로드한 업데이트가 거부되어 삭제되었습니다: %1.</translation>
    </message>
    <message>
        <source>No package installer was found. The verified package is at %1.</source>
        <translation>패키지 설치 프로그램을 찾을 수 없습니다. 검증된 패키지 위치: %1.</translation>
    </message>
</context>
<context>
    <name>MDownloadDlg</name>
    <message>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message>
        <source>Do you want to cancel current task?</source>
        <translation>현재 작업을 취소하시겠습니까?</translation>
    </message>
    <message>
        <source>Failed to download,%1,you click %2 to download it manually.</source>
        <translation>다운로드하지 못했습니다: %1. 직접 다운로드하려면 %2을(를) 클릭하세요.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>닫기</translation>
    </message>
</context>
<context>
    <name>MMessageBox</name>
    <message>
        <source>Ok</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>예</translation>
    </message>
    <message>
        <source>No</source>
        <translation>아니요</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>모두 예</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>모두 아니요</translation>
    </message>
</context>
<context>
    <name>MMultiDownload</name>
    <message>
        <source>Url is empty.</source>
        <translation>URL이 비어 있습니다.</translation>
    </message>
    <message>
        <source>Failed,file size is incorrect.</source>
        <translation>실패: 파일 크기가 올바르지 않습니다.</translation>
    </message>
</context>
<context>
    <name>MNetPartDownload</name>
    <message>
        <source>the server answered with status %1</source>
        <translation>서버가 상태 코드 %1(으)로 응답했습니다</translation>
    </message>
    <message>
        <source>the server did not send the requested part of the file (status %1)</source>
        <translation>서버가 요청한 파일 부분을 보내지 않았습니다(상태 코드 %1)</translation>
    </message>
    <message>
        <source>the server sent another part of the file than the one requested</source>
        <translation>서버가 요청한 것과 다른 파일 부분을 보냈습니다</translation>
    </message>
    <message>
        <source>the server sent more than the requested part of the file</source>
        <translation>서버가 요청한 파일 부분보다 많은 데이터를 보냈습니다</translation>
    </message>
    <message>
        <source>the transfer ended early</source>
        <translation>전송이 중간에 끝났습니다</translation>
    </message>
</context>
<context>
    <name>MTrailDlg</name>
    <message>
        <source>Account Expired</source>
        <translation>계정 만료</translation>
    </message>
    <message>
        <source>Your account has expired.Please buy Quellnet services</source>
        <translation>계정이 만료되었습니다. Quellnet 서비스를 구매하세요</translation>
    </message>
    <message>
        <source>If you have already purchased,please re-login to renew the information</source>
        <translation>이미 구매하셨다면 다시 로그인하여 정보를 갱신하세요</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>나중에</translation>
    </message>
    <message>
        <source>Buy Now</source>
        <translation>지금 구매</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Settings</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>TAP Installation</source>
        <translation>TAP 설치</translation>
    </message>
    <message>
        <source>The network has been repaired.</source>
        <translation>네트워크를 복구했습니다.</translation>
    </message>
    <message>
        <source>Sorry, the network could not be repaired: %1</source>
        <translation>죄송합니다. 네트워크를 복구할 수 없습니다: %1</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>시스템 시작 시 실행</translation>
    </message>
    <message>
        <source>Sorry, the start-up entry could not be written to %1</source>
        <translation>죄송합니다. 시작 프로그램 항목을 %1에 쓸 수 없습니다</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>언어 변경</translation>
    </message>
    <message>
        <source>You changed the language, it will take full effect after restart.</source>
        <translation>언어를 변경했습니다. 다시 시작하면 완전히 적용됩니다.</translation>
    </message>
    <message>
        <source>Program is still running</source>
        <translation>프로그램이 계속 실행 중입니다</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>언어</translation>
    </message>
    <message>
        <source>Speed Test</source>
        <translation>속도 테스트</translation>
    </message>
    <message>
        <source>Kill Switch</source>
        <translation>킬 스위치</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>끄기</translation>
    </message>
    <message>
        <source>On</source>
        <translation>켜기</translation>
    </message>
    <message>
        <source>Block While Disconnected</source>
        <translation>연결 끊김 시 차단</translation>
    </message>
    <message>
        <source>Allow Traffic to Local Networks</source>
        <translation>로컬 네트워크 트래픽 허용</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>지원</translation>
    </message>
    <message>
        <source>Helpdesk</source>
        <translation>헬프데스크</translation>
    </message>
    <message>
        <source>Online Help</source>
        <translation>온라인 도움말</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>로그 열기</translation>
    </message>
    <message>
        <source>Fix Tap</source>
        <translation>TAP 복구</translation>
    </message>
    <message>
        <source>IP Address Checker</source>
        <translation>IP 주소 확인</translation>
    </message>
    <message>
        <source>DNS Leak Test</source>
        <translation>DNS 유출 테스트</translation>
    </message>
    <message>
        <source>About Quellnet</source>
        <translation>Quellnet 정보</translation>
    </message>
    <message>
        <source>Run as Tray Icon</source>
        <translation>트레이 아이콘으로 실행</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>종료</translation>
    </message>
    <message>
        <source>Show Main Window</source>
        <translation>기본 창 표시</translation>
    </message>
    <message>
        <source>Invalid request,please reinstall program</source>
        <translation>잘못된 요청입니다. 프로그램을 다시 설치하세요</translation>
    </message>
    <message>
        <source>Find password failed, please try it again</source>
        <translation>비밀번호 찾기에 실패했습니다. 다시 시도하세요</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>로그인 실패</translation>
    </message>
    <message>
        <source>Register failed</source>
        <translation>회원가입 실패</translation>
    </message>
    <message>
        <source>Find password</source>
        <translation>비밀번호 찾기</translation>
    </message>
    <message>
        <source>This email or password is empty</source>
        <translation>이메일 또는 비밀번호가 비어 있습니다</translation>
    </message>
    <message>
        <source>Only one device can be bound to the same account in each system</source>
        <translation>각 시스템에서 하나의 계정에는 기기 하나만 연결할 수 있습니다</translation>
    </message>
    <message>
        <source>Incorrect password or user does not exist</source>
        <translation>비밀번호가 올바르지 않거나 사용자가 존재하지 않습니다</translation>
    </message>
    <message>
        <source>This email was registered,please login with it</source>
        <translation>이미 등록된 이메일입니다. 이 이메일로 로그인하세요</translation>
    </message>
    <message>
        <source>Register failed, please try it again</source>
        <translation>회원가입에 실패했습니다. 다시 시도하세요</translation>
    </message>
    <message>
        <source>Find Password</source>
        <translation>비밀번호 찾기</translation>
    </message>
    <message>
        <source>Change password link is sent to your email address</source>
        <translation>비밀번호 변경 링크를 이메일 주소로 보냈습니다</translation>
    </message>
    <message>
        <source>please click it to change your password</source>
        <translation>링크를 클릭하여 비밀번호를 변경하세요</translation>
    </message>
    <message>
        <source>Sorry, This user does not exist</source>
        <translation>죄송합니다. 존재하지 않는 사용자입니다</translation>
    </message>
    <message>
        <source>VPN Connected</source>
        <translation>VPN 연결됨</translation>
    </message>
    <message>
        <source>VPN is connected</source>
        <translation>VPN이 연결되었습니다</translation>
    </message>
    <message>
        <source>Ready to Connect</source>
        <translation>연결 준비됨</translation>
    </message>
    <message>
        <source>VPN is disconnected</source>
        <translation>VPN 연결이 끊어졌습니다</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>연결 실패</translation>
    </message>
    <message>
        <source>VPN connect failed</source>
        <translation>VPN 연결 실패</translation>
    </message>
    <message>
        <source>Install TAP...</source>
        <translation>TAP 설치 중...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>연결 중...</translation>
    </message>
    <message>
        <source>Assign IP...</source>
        <translation>IP 할당 중...</translation>
    </message>
    <message>
        <source>Get Configuration...</source>
        <translation>구성 가져오는 중...</translation>
    </message>
    <message>
        <source>Resolving...</source>
        <translation>주소 확인 중...</translation>
    </message>
    <message>
        <source>Connect vpn server</source>
        <translation>VPN 서버에 연결</translation>
    </message>
    <message>
        <source>Disconnect vpn server</source>
        <translation>VPN 서버 연결 끊기</translation>
    </message>
    <message>
        <source>Cancel connect</source>
        <translation>연결 취소</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>속도</translation>
    </message>
    <message>
        <source>Your account is expired</source>
        <translation>계정이 만료되었습니다</translation>
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
        <translation>홈</translation>
    </message>
</context>
<context>
    <name>PurchasePage</name>
    <message>
        <source>Purchase</source>
        <translation>구매</translation>
    </message>
    <message>
        <source>After purchase, please re-login your account</source>
        <translation>구매 후 계정에 다시 로그인하세요</translation>
    </message>
    <message>
        <source>1 Month</source>
        <translation>1개월</translation>
    </message>
    <message>
        <source>3 Months</source>
        <translation>3개월</translation>
    </message>
    <message>
        <source>2 Years</source>
        <translation>2년</translation>
    </message>
</context>
<context>
    <name>RegisterPage</name>
    <message>
        <source>Register</source>
        <translation>회원가입</translation>
    </message>
    <message>
        <source>New registered user is eligible for a one-day free trial</source>
        <translation>신규 가입 사용자는 1일 무료 체험을 이용할 수 있습니다</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>이메일:</translation>
    </message>
    <message>
        <source>Same as your payment email.</source>
        <translation>결제 시 사용한 이메일과 같아야 합니다.</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>비밀번호:</translation>
    </message>
    <message>
        <source>Length is greater than 5</source>
        <translation>6자 이상</translation>
    </message>
    <message>
        <source>Type password again</source>
        <translation>비밀번호 다시 입력</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>로그인</translation>
    </message>
</context>
<context>
    <name>ServerListLoader</name>
    <message>
        <source>Failed</source>
        <translation>실패</translation>
    </message>
    <message>
        <source>Load Server List Failed,</source>
        <translation>서버 목록을 불러오지 못했습니다.</translation>
    </message>
</context>
<context>
    <name>ServerPage</name>
    <message>
        <source>Servers</source>
        <translation>서버</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>새로 고침</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Double click to active program,right click to popup menu</source>
        <translation>두 번 클릭하여 프로그램 열기, 마우스 오른쪽 클릭으로 메뉴 표시</translation>
    </message>
</context>
<context>
    <name>UpdatePackageText</name>
    <message>
        <source>the update is not signed</source>
        <translation>업데이트에 서명이 없습니다</translation>
    </message>
    <message>
        <source>the update&apos;s signature is not valid</source>
        <translation>업데이트의 서명이 유효하지 않습니다</translation>
    </message>
    <message>
        <source>the downloaded file cannot be read</source>
        <translation>다운로드한 파일을 읽을 수 없습니다</translation>
    </message>
    <message>
        <source>the downloaded file has the wrong size</source>
        <translation>다운로드한 파일의 크기가 올바르지 않습니다</translation>
    </message>
    <message>
        <source>the downloaded file is not the signed one</source>
        <translation>다운로드한 파일이 서명된 파일이 아닙니다</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>Update check</source>
        <translation>업데이트 확인</translation>
    </message>
    <message>
        <source>The update check failed. Please check your network and try again.</source>
        <translation>업데이트 확인에 실패했습니다. 네트워크를 확인한 후 다시 시도하세요.</translation>
    </message>
    <message>
        <source>Your software is up to date!</source>
        <translation>최신 버전을 사용하고 있습니다!</translation>
    </message>
    <message>
        <source>Update to new version</source>
        <translation>새 버전으로 업데이트</translation>
    </message>
    <message>
        <source>New version &lt;b&gt; %1&lt;/b&gt; is available, would you like to update to it?</source>
        <translation>새 버전 &lt;b&gt; %1&lt;/b&gt;을(를) 사용할 수 있습니다. 업데이트하시겠습니까?</translation>
    </message>
</context>
</TS>
