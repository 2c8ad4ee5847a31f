#!/usr/bin/env bash
# Signing of the release with a throwaway CA, a code-signing certificate and a
# time-stamping one, made here with openssl; a time-stamp server on loopback,
# where openssl answers each RFC 3161 request, stands in for a public one, so
# the release's own way of time-stamping is what is tested. Builds the release
# from a copy of the source:
#  - signed and time-stamped: the exe, the exe inside the zip and inside the
#    installer, and the installer verify against the throwaway CA, with the
#    time-stamp; one byte flipped in the exe's code fails verification;
#  - signed twice without a time-stamp, in two trees: byte-identical, the
#    installer too;
#  - the key taken away, then given again, with no source changed: unsigned
#    (the built program itself), then signed again.
# Leaves in OUT the signed installer and program, the tampered program, the
# throwaway root and an installer rebuilt from a changed program, for the
# installer tests under Wine.
# The same unsigned trees, built without the key, are also the second build
# of the reproducibility check: the program, its zip and its installer match
# the given build's byte for byte; and the installer made from a changed
# program is a new product in a new package (both codes differ).
# usage: check_signing.sh SOURCE_DIR PRESET BUILD_DIR OUT
set -euo pipefail
src=$1 preset=$2 build=$3 out=$4
work=$(mktemp -d /tmp/orvenna-sign.XXXXXX)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # check NAME COMMAND...
  if "${@:2}" >"$work/last.log" 2>&1; then
    echo "ok: $1"; passed=$((passed + 1))
  else
    echo "FAILED: $1"; tail -n 15 "$work/last.log"; failed=$((failed + 1))
  fi
}

# Throwaway keys, valid from now on: the signing time must fall inside them.
cd "$work"
subj() { openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=$2" 2>/dev/null; }
issue() { openssl x509 -req -in "$1.csr" -CA ca.crt -CAkey ca.key -CAcreateserial -out "$1.crt" -days 30 -extfile "$1.ext" 2>/dev/null; }
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 30 -subj "/CN=Orvenna Throwaway Root" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
subj sign "Lumbrel Throwaway Code Signing"
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >sign.ext
issue sign
subj tsa "Orvenna Throwaway Time-Stamping"
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=critical,timeStamping\n' >tsa.ext
issue tsa
head -c 24 /dev/urandom | base64 >password
openssl pkcs12 -export -in sign.crt -inkey sign.key -certfile ca.crt -out sign.p12 -passout file:password

# The time-stamp server: HTTP on a free loopback port.
cat >tsa.cnf <<EOF
[ tsa ]
default_tsa = throwaway
[ throwaway ]
serial = $work/tsa-serial
signer_cert = $work/tsa.crt
certs = $work/ca.crt
signer_key = $work/tsa.key
signer_digest = sha256
default_policy = 1.3.6.1.4.1.4146.2.3
digests = sha1, sha256, sha384, sha512
accuracy = secs:1
ordering = yes
ess_cert_id_alg = sha256
EOF
echo 01 >tsa-serial
/usr/bin/python3 - "$work" <<'PY' &
import http.server, os, subprocess, sys, tempfile
work = sys.argv[1]


class Authority(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        with tempfile.TemporaryDirectory(dir=work) as d:
            with open(os.path.join(d, "query"), "wb") as f:
                f.write(self.rfile.read(int(self.headers["Content-Length"])))
            made = subprocess.run(["openssl", "ts", "-reply", "-config", os.path.join(work, "tsa.cnf"),
                                   "-queryfile", os.path.join(d, "query"), "-out", os.path.join(d, "reply")],
                                  capture_output=True)
            reply = open(os.path.join(d, "reply"), "rb").read() if made.returncode == 0 else b""
        self.send_response(200 if reply else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Authority)
with open(os.path.join(work, "tsa-port.tmp"), "w") as f:
    f.write(str(server.server_address[1]))
os.rename(os.path.join(work, "tsa-port.tmp"), os.path.join(work, "tsa-port"))
server.serve_forever()
PY
tsa_pid=$!
trap 'kill "$tsa_pid" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -f tsa-port ] && break; sleep 0.05; done
[ -f tsa-port ] || { echo "FAILED: the time-stamp server did not start"; exit 1; }
cd - >/dev/null

mkdir "$work/src"
(cd "$src" && git ls-files -z --cached --others --exclude-standard 2>/dev/null | xargs -0 -I{} cp --parents {} "$work/src/") || cp -r "$src"/. "$work/src/"
toolchain=$work/src/cmake/mingw-$([ "$preset" = win32 ] && echo i686 || echo x86_64).cmake
configure() { cmake -S "$work/src" -B "$work/$1" -G Ninja --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG" >/dev/null; }
export SOURCE_DATE_EPOCH=$(($(date +%s) + 60))
keyed=(ORVENNA_SIGN_PKCS12="$work/sign.p12" ORVENNA_SIGN_PASSWORD_FILE="$work/password")
stamped=(ORVENNA_TIMESTAMP_URL="http://127.0.0.1:$(cat "$work/tsa-port")" no_proxy=127.0.0.1 NO_PROXY=127.0.0.1)
package() { local tree=$1; shift; env "$@" cmake --build "$work/$tree" --target package >/dev/null; }
verify() { osslsigncode verify -CAfile "$work/ca.crt" -TSA-CAfile "$work/ca.crt" -in "$1"; }
stamped_ok() {  # the signature and its time-stamp verify
  verify "$1" >"$work/verify.log" 2>&1 || { cat "$work/verify.log"; return 1; }
  grep -q "Timestamp Server Signature verification: ok" "$work/verify.log" &&
    grep -q "^Signature verification: ok" "$work/verify.log" || { cat "$work/verify.log"; return 1; }
}
unsigned() { rm -f "$work/sig.der"; ! osslsigncode extract-signature -in "$1" -out "$work/sig.der" >/dev/null 2>&1; }

configure stamped
package stamped "${keyed[@]}" "${stamped[@]}"
rel=$work/stamped/release
exe=$work/stamped/release-stage/Lumbrel.exe
msi=$(ls "$rel"/Orvenna-*.msi)
zip=$(ls "$rel"/Orvenna-*.zip)
mkdir "$work/from-zip" "$work/from-msi"
/usr/bin/python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$work/from-zip"
msiextract -C "$work/from-msi" "$msi" >/dev/null
check "signed, time-stamped exe verifies" stamped_ok "$exe"
check "the exe in the zip verifies" stamped_ok "$(find "$work/from-zip" -name Lumbrel.exe)"
check "the exe in the installer verifies" stamped_ok "$(find "$work/from-msi" -name Lumbrel.exe)"
check "signed, time-stamped installer verifies" stamped_ok "$msi"
check "SHA256SUMS holds the signed files" bash -c "cd '$rel' && sha256sum -c SHA256SUMS"
verify "$exe" 2>&1 | grep -E "Signing time|Timestamp time|Subject|verification" | sed 's/^/    /' | head -12
# One byte of the code flipped: the first byte of .text.
tampered=$work/tampered.exe
cp "$exe" "$tampered"
/usr/bin/python3 - "$tampered" <<'PY'
import sys, pefile
path = sys.argv[1]
text = [s for s in pefile.PE(path).sections if s.Name.rstrip(b"\0") == b".text"][0]
data = bytearray(open(path, "rb").read())
data[text.PointerToRawData + 16] ^= 0xFF
open(path, "wb").write(data)
PY
check "one byte flipped in the code fails verification" bash -c "! osslsigncode verify -CAfile '$work/ca.crt' -in '$tampered' >'$work/tamper.log' 2>&1"
grep -E "digest|verification" "$work/tamper.log" | sed 's/^/    /' | head -4

# Two signed trees, no time-stamp (a time-stamp is a fresh token: its own time and serial).
for tree in one two; do configure "$tree"; package "$tree" "${keyed[@]}"; done
same_release() {
  cmp "$work/one/release-stage/Lumbrel.exe" "$work/two/release-stage/Lumbrel.exe" &&
    cmp "$work/one/release/$(basename "$zip")" "$work/two/release/$(basename "$zip")" &&
    cmp "$work/one/release/$(basename "$msi")" "$work/two/release/$(basename "$msi")"
}
check "two signed builds: exe, zip and installer byte-identical" same_release
check "two signed builds: the signed exe differs from the unsigned one" bash -c "! cmp -s '$work/one/release-stage/Lumbrel.exe' '$work/one/bin/Lumbrel.exe'"
# Without the key and SOURCE_DATE_EPOCH, as the build that the test command
# made: this build from the copy must be that one byte for byte.
env -u SOURCE_DATE_EPOCH cmake --build "$work/one" --target package >/dev/null
check "key removed, no source changed: the release exe is the unsigned build" cmp "$work/one/release-stage/Lumbrel.exe" "$work/one/bin/Lumbrel.exe"
check "key removed: the installer is unsigned" unsigned "$work/one/release/$(basename "$msi")"
for file in bin/Lumbrel.exe "release/$(basename "$zip")" "release/$(basename "$msi")"; do
  check "a second build from a copy of the source: $(basename "$file") byte-identical" cmp "$build/$file" "$work/one/$file"
done
package one "${keyed[@]}"
check "key given again: signed again, as before" cmp "$work/one/release-stage/Lumbrel.exe" "$work/two/release-stage/Lumbrel.exe"

# For the installer tests under Wine: the signed installer and program, and an
# installer of the same version built from a changed program (one byte more).
mkdir -p "$out"
rm -f "$out"/*
cp "$msi" "$exe" "$out/"
cp "$tampered" "$out/Lumbrel-tampered.exe"
openssl x509 -in "$work/ca.crt" -outform DER -out "$out/throwaway-root.der"
cp "$work/stamped/bin/Lumbrel.exe" "$work/changed.exe"
printf '\0' >>"$work/changed.exe"
arch=$([ "$preset" = win32 ] && echo win32 || echo win64)
/usr/bin/python3 "$work/src/tools/package/make_msi.py" "$out/Orvenna-2.0-$arch-rebuilt.msi" 2.0 "$arch" "$work/changed.exe" \
  "$work/stamped/res/Lumbrel.ico" https://www.lumbrel.com/p/orvenna.html --no-sums
cp "$work/changed.exe" "$out/Lumbrel-rebuilt.exe"
codes() {  # the product code and the package code of an installer
  msiinfo export "$1" Property | awk -F'\t' '$1 == "ProductCode" { print $2 }'
  msiinfo suminfo "$1" | sed -n 's/^Revision number (UUID): //p'
}
codes "$build/release/$(basename "$msi")" >"$work/codes-a"
codes "$out/Orvenna-2.0-$arch-rebuilt.msi" >"$work/codes-b"
check "a changed program: a new product code and package code ($(paste -sd' ' "$work/codes-b"))" \
  test "$(wc -l <"$work/codes-a")" -eq 2 -a "$(sort -u "$work/codes-a" "$work/codes-b" | wc -l)" -eq 4

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
