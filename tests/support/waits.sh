# The script tests' own waits, scaled by the factor the run took of the machine
# (VELMORA_TEST_TIME_SCALE, in percent), as their time limits are: a wait that a quiet
# machine of 8 processors passes within N seconds is given N times the factor, so that a
# busy or small machine fails a test only where the program is at fault or hangs.
# Sourced by the script tests:
#   timeout "$(scaled 50)" COMMAND...                      at most 50 s of a quiet machine
#   for _ in $(tries 600); do ...; sleep 0.1; done         600 polls of a quiet machine
#   [ $((SECONDS - start)) -lt "$(scaled 60)" ]             ended within 60 s of a quiet machine
time_scale=${VELMORA_TEST_TIME_SCALE:-100}
[[ $time_scale =~ ^[1-9][0-9]{0,5}$ ]] || time_scale=100
scaled() { echo $((($1 * time_scale + 99) / 100)); }
tries() { seq 1 "$(scaled "$1")"; }
