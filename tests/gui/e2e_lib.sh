# e2e_lib.sh: what the window scripts share, sourced after the script has
# moved onto its own virtual display: a scratch home (preferences without
# the tips window, recovery files inside it), the program `app` killed and
# the scratch removed at exit, `check NAME COMMAND...` counting results and
# `summary` printing "N passed, N failed" and giving the exit status.
work=$(mktemp -d)
passed=0
failed=0
app=""

cleanup() {
  [ -n "$app" ] && kill -9 "$app" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

check() {  # check NAME COMMAND...: passes when the command succeeds
  local name=$1
  shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}

summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

export HOME=$work
export XDG_STATE_HOME=$work/state
# No tips window; the drags and clicks of the scripts are placed in a
# 400 x 450 drawing area.
printf 'size 400 450\nnotips\n' >"$work/.tessarinrc"
