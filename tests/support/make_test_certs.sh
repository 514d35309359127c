#!/bin/sh
# Makes the fake service's certificates in $1: a CA the client trusts, a host certificate for
# every national site's domains, an untrusted CA with a host certificate of the same names, and
# a certificate of the trusted CA for names no service host has. RSA 2048, SHA-256, valid for
# a hundred years.
set -e
out="$1"
mkdir -p "$out"
cd "$out"
days=36500

sans="DNS:localhost,IP:127.0.0.1,DNS:example.com,DNS:*.example.com"
for d in ebay.com ebay.co.uk ebay.de ebay.fr ebay.it ebay.es ebay.ca ebay.com.au ebay.at ebay.ch \
         ebay.be ebay.nl ebay.ie ebay.in ebay.com.sg ebay.com.my ebay.ph ebay.pl ebay.com.hk \
         befr.ebay.be benl.ebay.be cafr.ebay.ca ebaystatic.com ebayimg.com; do
  sans="$sans,DNS:$d,DNS:*.$d"
done

make_ca() {  # name
  openssl req -x509 -newkey rsa:2048 -sha256 -days $days -nodes -keyout "$1.key" -out "$1.pem" \
    -subj "/CN=Tolvane Test $1" -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
}

make_host() {  # name ca sans
  openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=$1" 2>/dev/null
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\nsubjectAltName=%s\n' "$3" > "$1.ext"
  openssl x509 -req -in "$1.csr" -CA "$2.pem" -CAkey "$2.key" -CAcreateserial -out "$1.pem" \
    -days $days -sha256 -extfile "$1.ext" 2>/dev/null
  rm -f "$1.csr" "$1.ext"
}

make_ca ca
make_ca untrusted-ca
make_host host ca "$sans"
make_host untrusted-host untrusted-ca "$sans"
make_host wrongname ca "DNS:wrong.invalid,DNS:*.wrong.invalid"
