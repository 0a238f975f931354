#!/usr/bin/env bash
# UploadImage under Wine against curl, posting the same body to the same stand-in service.
#   UploadImageBench.sh NATIVE_BUILD WIN_BUILD [MEBIBYTES...]   (default sizes: 1 50)
# Needs the Wine environment of scripts/machine.sh to be up (lumatrel_wine_up).
set -euo pipefail
native=$1 win=$2
shift 2
sizes=("${@:-1 50}")
[ $# -eq 0 ] && sizes=(1 50)
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d /tmp/lumatrel-bench.XXXXXX)
sh "$here/../../standin/standin-fixture.sh" start "$native/standin/lumatrel_standin" "$dir" >/dev/null
trap 'sh "$here/../../standin/standin-fixture.sh" stop "$dir"; rm -rf "$dir"' EXIT
port=$(cat "$dir/port")
path="/asyn/uploadpicCommon.php?call=2&uin=9b0e7c2a8d64f1035e9a7b2c6d08e4f1"
reps=5
for mib in "${sizes[@]}"; do
  session="bench$mib"
  out=$(wine "$win/upload/upload_image_bench.exe" "http://127.0.0.1:$port/t/$session$path" "$mib" "$reps" 2>/dev/null | tr -d '\r')
  echo "$out"
  # The body exactly as the service received it, posted again by curl.
  python3 - "$dir/$session.1.request" "$dir/body.bin" <<'PY'
import sys
raw = open(sys.argv[1], 'rb').read()
open(sys.argv[2], 'wb').write(raw[raw.index(b'\r\n\r\n') + 4:])
PY
  rm -f "$dir/$session".*.request
  total=0
  for i in $(seq 1 $reps); do
    t=$(/usr/bin/time -f '%M' -o "$dir/curl.mem" curl -s -o /dev/null -w '%{time_total}' -H 'Expect:' \
      -H 'Content-Type: multipart/form-data; boundary=----------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6' \
      -H 'User-Agent: Shockwave Flash' --data-binary @"$dir/body.bin" "http://127.0.0.1:$port/t/curl$mib$path")
    echo "curl $i: $(python3 -c "print('%.1f ms' % ($t * 1000))"), max RSS $(( $(cat "$dir/curl.mem") / 1024 )) MiB"
    total=$(python3 -c "print($total + $t)")
    rm -f "$dir/curl$mib".*.request
  done
  ours=$(echo "$out" | sed -n 's/^upload [0-9]*: \([0-9.]*\) ms.*/\1/p' | python3 -c "import sys; v=[float(x) for x in sys.stdin]; print(sum(v[1:])/len(v[1:]) if len(v)>1 else v[0])")
  theirs=$(python3 -c "print($total * 1000 / $reps)")
  python3 -c "print('%s MiB: UploadImage %.1f ms (mean of uploads 2..), curl %.1f ms (mean), ratio %.2f' % ('$mib', $ours, $theirs, $ours / $theirs))"
done
