#!/usr/bin/env bash
# reproducible_signed.sh ROOT WORK TREE: two clean builds of the same sources, in two
# folders, signed with one throwaway key (as PEM files in one, as a PKCS#12 file in the
# other) at one fixed signing time:
#   - setup.exe is byte-identical in both: nothing of the build's time or place is inside;
#   - so is the signed setup.exe;
#   - the signature verifies against the throwaway authority, and fails once one byte of
#     a payload resource is changed;
#   - TREE, built without a certificate, has no signed file at all.
set -euo pipefail
root=$1 work=$2 tree=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
"$here/../support/make_test_signer.sh" "$work/signer"
s=$work/signer
when=$(date +%s)
build() {
    cmake -S "$root" -B "$work/$1" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" \
          -DCMAKE_BUILD_TYPE=MinSizeRel -DSONDREL_SIGN_TIME="$when" "${@:2}" >/dev/null
    cmake --build "$work/$1" --target signed_setup -j2 -- --no-print-directory >/dev/null
}
build first -DSONDREL_SIGN_CERT="$s/signer.pem" -DSONDREL_SIGN_KEY="$s/signer.key"
sleep 1  # a different second for anything that would stamp the time
build second-tree-elsewhere -DSONDREL_SIGN_PKCS12="$s/signer.p12" -DSONDREL_SIGN_PASSWORD_FILE="$s/password"
a=$work/first b=$work/second-tree-elsewhere
failed=0
fail() { echo "FAILED: $*"; failed=1; }
cmp "$a/setup.exe" "$b/setup.exe" || fail "setup.exe differs between the two builds"
cmp "$a/signed/setup.exe" "$b/signed/setup.exe" || fail "the signed setup.exe differs between the two builds"
osslsigncode verify -CAfile "$s/ca.pem" -in "$a/signed/setup.exe" >"$work/verify.log" 2>&1 ||
    { cat "$work/verify.log"; fail "the signature does not verify"; }
/usr/bin/python3 "$here/../support/damage_resource.py" "$a/signed/setup.exe" FILE MANUAL "$work/damaged.exe" >/dev/null
if osslsigncode verify -CAfile "$s/ca.pem" -in "$work/damaged.exe" >/dev/null 2>&1; then
    fail "a changed payload byte still verifies"
fi
[ ! -e "$tree/signed" ] || fail "$tree was built without a certificate but has a signed file"
[ $failed -eq 0 ] || exit 1
echo "setup.exe is the same in both builds ($(stat -c %s "$a/setup.exe") bytes), and so is the signed one" \
     "($(stat -c %s "$a/signed/setup.exe") bytes); its signature verifies and breaks with one changed byte"
rm -rf "$work"
