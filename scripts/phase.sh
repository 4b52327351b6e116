# Sourced by the build and test commands: `phase LABEL COMMAND...` runs COMMAND and prints one
# line with LABEL and the seconds it took ("phase build/native: 84 s"), or that it failed, and
# returns COMMAND's status. set -e does not reach inside COMMAND: chain its steps with &&.
phase() {
    phase_label=$1
    shift
    phase_start=$(date +%s)
    phase_status=0
    "$@" || phase_status=$?
    phase_seconds=$(($(date +%s) - phase_start))
    if [ "$phase_status" = 0 ]; then
        echo "phase $phase_label: $phase_seconds s"
    else
        echo "phase $phase_label: failed after $phase_seconds s (status $phase_status)"
    fi
    return "$phase_status"
}
