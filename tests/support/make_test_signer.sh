#!/usr/bin/env bash
# make_test_signer.sh DIR: a throwaway certificate authority and a code-signing
# certificate it issued, made afresh for one test run (no key is ever kept in the
# sources): DIR/ca.pem, DIR/signer.pem and its key DIR/signer.key, and the same
# certificate and key as DIR/signer.p12 with the password in DIR/password.
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"
rm -f ca.* signer.* password
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 30 \
    -subj "/CN=Sondrel Test Root" -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Sondrel Software Test Signer" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' > signer.ext
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out signer.pem -days 30 \
    -extfile signer.ext 2>/dev/null
printf 'not a secret\n' > password
openssl pkcs12 -export -in signer.pem -inkey signer.key -out signer.p12 -passout file:password 2>/dev/null
rm -f signer.csr signer.ext ca.srl
