#!/bin/bash
# Runs a window test on a virtual display of its own: xvfb-run picks the
# first free display from a random start, so test runs of several people
# on one machine do not race for the same display number.
exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24 -noreset" "$@"
