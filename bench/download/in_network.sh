#!/usr/bin/env bash
# The part of scripts/bench-download that runs inside the private network,
# with bench_site.py serving the body on 127.0.0.1:80 and, over https, on
# 443: times the curl tool over both before the Wine run and hands its times
# to the Wine program, then times it again after, to show whether curl's
# rate drifted meanwhile. curl trusts the tests' CA as Wine does: it is the
# only one in /etc/ssl/certs here.
#   in_network.sh ROOT WIN32_BUILD EXE   (MPI_BENCH_BODY, _REPEATS, _WORK, _HOST set)
# MPI_BENCH_HOST is the name the private network resolves to 127.0.0.1, so
# curl asks the same host as the tool.
set -euo pipefail
root=$1 build=$2 exe=$3
url=http://$MPI_BENCH_HOST/dvl.exe
tls_url=https://$MPI_BENCH_HOST/dvl.exe
size=$(stat -c %s "$MPI_BENCH_BODY")
target=$MPI_BENCH_WORK/curl-target.bin

for _ in $(seq 100); do
  [ -n "$(ss -Hltn 'sport = :80')" ] && [ -n "$(ss -Hltn 'sport = :443')" ] && break
  sleep 0.1
done

# One download by curl, in seconds; the whole process is timed, as the
# tool's own time includes its set-up too.
curl_seconds() {  # [URL]
  rm -f "$target"
  local start end
  start=$(date +%s%N)
  curl --silent --show-error --fail --noproxy '*' --ipv4 -o "$target" "${1:-$url}"
  end=$(date +%s%N)
  [ "$(stat -c %s "$target")" = "$size" ] || { echo "bench-download: curl got a short file" >&2; exit 1; }
  awk -v ns=$((end - start)) 'BEGIN { printf "%.6f", ns / 1e9 }'
}

curl_seconds >/dev/null  # warm-up: the body in the page cache
cmp -s "$MPI_BENCH_BODY" "$target" || { echo "bench-download: curl's file differs from the body" >&2; exit 1; }
curl_seconds "$tls_url" >/dev/null
cmp -s "$MPI_BENCH_BODY" "$target" || { echo "bench-download: curl's file over https differs from the body" >&2; exit 1; }
times="" tls_times=""
for _ in $(seq "$MPI_BENCH_REPEATS"); do
  times+="$(curl_seconds) "
  tls_times+="$(curl_seconds "$tls_url") "
done

set +e
MPI_BENCH_CURL_SECONDS=$times MPI_BENCH_CURL_TLS_SECONDS=$tls_times "$root/scripts/wine-run" --build "$build" "$exe"
rc=$?
set -e

# curl again after the Wine run: the ratio above holds only if curl's rate
# did not drift meanwhile.
after="" tls_after=""
for _ in $(seq "$MPI_BENCH_REPEATS"); do
  after+="$(curl_seconds) "
  tls_after+="$(curl_seconds "$tls_url") "
done
rm -f "$target"
median() { tr ' ' '\n' | grep . | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
awk -v b="$(echo "$times" | median)" -v a="$(echo "$after" | median)" \
  -v tb="$(echo "$tls_times" | median)" -v ta="$(echo "$tls_after" | median)" -v mib="$((size / 1048576))" \
  'BEGIN { printf "curl tool before the Wine run %.1f MiB/s (https %.1f), after it %.1f MiB/s (https %.1f)\n", mib / b, mib / tb, mib / a, mib / ta }'
exit $rc
