# A throwaway one-machine Slurm cluster for the tests: slurmctld and slurmd in the foreground with
# a slurm.conf in a temporary folder (SLURM_CONF; nothing under /etc is read), private ports, no
# munge (auth/none), no cgroups. Source this file (after mariadb.sh, for free_port), then
# start_slurm / stop_slurm. It runs as root: Slurm's daemons start tasks as their submitter.
# The daemons bind every address (Slurm has no listen setting); the node's address is 127.0.0.1.
#   SLURM_CONF   exported for sbatch, squeue, scontrol

start_slurm() {
  SLURM_DIR=$(mktemp -d /tmp/korvel-slurm-XXXXXX)
  SLURMCTLD_PID= SLURMD_PID=
  mkdir -p "$SLURM_DIR/state" "$SLURM_DIR/spool"
  local cpus memory
  cpus=$(nproc)
  memory=$(slurmd -C 2>/dev/null | sed -n 's/.*RealMemory=\([0-9]*\).*/\1/p')
  cat >"$SLURM_DIR/slurm.conf" <<CONF
ClusterName=korvel-test
SlurmctldHost=localhost(127.0.0.1)
SlurmUser=root
SlurmctldPort=$(free_port)
SlurmdPort=$(free_port)
AuthType=auth/none
CredType=cred/none
AuthInfo=cred_expire=5
ProctrackType=proctrack/pgid
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
MpiDefault=none
ReturnToService=2
RequeueExit=5
SchedulerParameters=batch_sched_delay=0,sched_interval=1,bf_interval=1
StateSaveLocation=$SLURM_DIR/state
SlurmdSpoolDir=$SLURM_DIR/spool
SlurmctldPidFile=$SLURM_DIR/slurmctld.pid
SlurmdPidFile=$SLURM_DIR/slurmd.pid
SlurmctldLogFile=$SLURM_DIR/slurmctld.log
SlurmdLogFile=$SLURM_DIR/slurmd.log
NodeName=localhost NodeAddr=127.0.0.1 CPUs=$cpus RealMemory=${memory:-1024} State=UNKNOWN
PartitionName=test Nodes=localhost Default=YES MaxTime=INFINITE State=UP
CONF
  export SLURM_CONF=$SLURM_DIR/slurm.conf
  slurmctld -D -i -f "$SLURM_CONF" >"$SLURM_DIR/slurmctld.out" 2>&1 &
  SLURMCTLD_PID=$!
  slurmd -D -N localhost -f "$SLURM_CONF" >"$SLURM_DIR/slurmd.out" 2>&1 &
  SLURMD_PID=$!
  for _ in $(seq 1 150); do
    if sinfo -h -n localhost -o %t 2>/dev/null | grep -qx idle; then
      return 0
    fi
    kill -0 "$SLURMCTLD_PID" 2>/dev/null && kill -0 "$SLURMD_PID" 2>/dev/null || break
    sleep 0.2
  done
  echo "slurm did not start:" >&2
  cat "$SLURM_DIR"/slurmctld.log "$SLURM_DIR"/slurmd.log "$SLURM_DIR"/*.out >&2 2>/dev/null
  return 1
}

# Waits until every task of the job has left the queue (sbatch --wait polls slowly); false after
# `seconds`.
wait_slurm_job() {
  local job=$1 seconds=${2:-300} tenths=0
  while [ -n "$(squeue -h -j "$job" -o %i 2>/dev/null)" ]; do
    [ "$tenths" -lt $((seconds * 10)) ] || return 1
    sleep 0.2
    tenths=$((tenths + 2))
  done
}

# Never fails, like stop_mariadb.
stop_slurm() {
  [ -n "${SLURM_DIR:-}" ] || return 0
  scontrol shutdown >/dev/null 2>&1 || true
  local pid tenths
  for pid in ${SLURMCTLD_PID:-} ${SLURMD_PID:-}; do
    tenths=0
    while kill -0 "$pid" 2>/dev/null && [ "$tenths" -lt 300 ]; do
      sleep 0.1
      tenths=$((tenths + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
      echo "slurm: daemon $pid did not stop within 30 s; killed" >&2
      kill -KILL "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$SLURM_DIR" 2>/dev/null || echo "slurm: could not remove $SLURM_DIR" >&2
  unset SLURM_CONF
  SLURM_DIR= SLURMCTLD_PID= SLURMD_PID=
  return 0
}
