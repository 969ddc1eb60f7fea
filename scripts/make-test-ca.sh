#!/usr/bin/env bash
# Makes a throw-away certificate authority and one server certificate signed by it, for the
# reference backend and the tests. Never used for anything but loopback and test namespaces.
#
#   scripts/make-test-ca.sh OUTDIR [NAME ...]
#
# NAME is a host name or an IPv4 address put into the certificate's subjectAltName
# (default: localhost 127.0.0.1). Writes OUTDIR/ca.pem, OUTDIR/ca.key, OUTDIR/server.pem,
# OUTDIR/server.key. Keys are EC P-256 and readable by the owner only.
set -euo pipefail

out=${1:?usage: make-test-ca.sh OUTDIR [NAME ...]}
shift
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(localhost 127.0.0.1)

mkdir -p "$out"
umask 077

san=""
for n in "${names[@]}"; do
    if [[ $n =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
        san+="${san:+,}IP:$n"
    else
        san+="${san:+,}DNS:$n"
    fi
done

openssl ecparam -name prime256v1 -genkey -noout -out "$out/ca.key" 2>/dev/null
openssl req -x509 -new -key "$out/ca.key" -sha256 -days 30 -subj "/CN=Quellnet Test CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    -out "$out/ca.pem" 2>/dev/null

openssl ecparam -name prime256v1 -genkey -noout -out "$out/server.key" 2>/dev/null
openssl req -new -key "$out/server.key" -subj "/CN=${names[0]}" -out "$out/server.csr" 2>/dev/null
printf 'subjectAltName=%s\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' "$san" \
    > "$out/server.ext"
openssl x509 -req -in "$out/server.csr" -CA "$out/ca.pem" -CAkey "$out/ca.key" \
    -CAcreateserial -days 30 -sha256 -extfile "$out/server.ext" -out "$out/server.pem" 2>/dev/null
rm -f "$out/server.csr" "$out/server.ext" "$out/ca.srl"
chmod 644 "$out/ca.pem" "$out/server.pem"
