# Deployment values, compiled into quellnet_deploy.h. The defaults point at the local
# reference backend so that a fresh build talks to nothing but this machine.
set(QUELLNET_BACKEND_HOST "localhost:8443" CACHE STRING "Backend host[:port]")
set(QUELLNET_SERVERLIST_HOST "localhost" CACHE STRING "Server-list host (port 4430 is fixed)")
set(QUELLNET_WEB_HOST "localhost:8443" CACHE STRING "Product web-site host[:port]")
set(QUELLNET_HELPDESK_URL "https://localhost:8443/helpdesk/" CACHE STRING "Help-desk address")
set(QUELLNET_SUPPORT_EMAIL "support@quellnet.example" CACHE STRING "Support mail address")
set(QUELLNET_GA_PROPERTY "UA-71000001-1" CACHE STRING "Analytics property of this product")
set(QUELLNET_GA_SIBLING_PROPERTY "UA-71000002-1" CACHE STRING "Analytics property a fresh settings object starts with")
set(QUELLNET_COLLECT_URL "https://localhost:8443/collect" CACHE STRING "Analytics collector (HTTPS)")
set(QUELLNET_COLLECT_URL_PLAIN "http://localhost:8080/collect" CACHE STRING "Analytics collector (plain HTTP)")
set(QUELLNET_IDENTITY "quellnet-2f7c" CACHE STRING "Value of the Identity header for the server-list host")
set(QUELLNET_SECRET_KEY_HEX "5A1C93E04B7D28F6A3C5E19072B4D86F" CACHE STRING "Stored-secret key, 32 hex digits")
set(QUELLNET_OVPN_KEY "qN7vR2kT9wL4xZ8" CACHE STRING "Tunnel configuration AES key (15 characters)")
set(QUELLNET_APP_ID "quellnet" CACHE STRING "Application id of the update document's entries for this build")
# The default is the demo key of backend/demo/update-signing-key.pem: a release build sets its own.
set(QUELLNET_UPDATE_PUBLIC_KEY "pb7b9Ptboa3SGUEv+G3al10h0hFIYH72SmUSDnKKtIA=" CACHE STRING
    "Ed25519 public key (base64 of the 32 raw bytes) that signs update packages")

string(LENGTH "${QUELLNET_SECRET_KEY_HEX}" _len)
if(NOT _len EQUAL 32 OR NOT QUELLNET_SECRET_KEY_HEX MATCHES "^[0-9A-Fa-f]+$")
    message(FATAL_ERROR "QUELLNET_SECRET_KEY_HEX must be 32 hexadecimal digits")
endif()
string(LENGTH "${QUELLNET_OVPN_KEY}" _len)
if(NOT _len EQUAL 15)
    message(FATAL_ERROR "QUELLNET_OVPN_KEY must be 15 characters")
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/quellnet_deploy.h.in
    ${CMAKE_BINARY_DIR}/generated/quellnet_deploy.h @ONLY)
