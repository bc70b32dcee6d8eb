#!/bin/bash
# One conversion in 1000 shards as a Slurm job array; each task converts shard
# SLURM_ARRAY_TASK_ID of SLURM_ARRAY_TASK_COUNT. The archive and the output folder lie on a
# file system every node mounts at the same place (the shard of a file does not depend on it).
#
#   sbatch --array=0-999%50 deploy/slurm/kelvara-shards.sh /shared/archive/ /shared/converted/
#   sbatch --dependency=afterany:<job id> deploy/slurm/kelvara-merge.sh /shared/converted/
#
# With Apptainer and the image of deploy/Containerfile, set KELVARA_IMAGE to the .sif file;
# without it, kelvara-batch is taken from the nodes' PATH.
#SBATCH --job-name=kelvara-shards
#SBATCH --cpus-per-task=1
#SBATCH --mem=2G
#SBATCH --time=24:00:00
#SBATCH --output=kelvara-%A_%a.out
set -euo pipefail

archive=${1:?usage: sbatch --array=0-N-1 $0 <archive folder>/ <output folder>/ [/of: n]}
output=${2:?usage: sbatch --array=0-N-1 $0 <archive folder>/ <output folder>/ [/of: n]}
format=${3:-6}

# Each task's office gets a profile of its own on the node's local disk.
export XDG_STATE_HOME=${TMPDIR:-/tmp}/kelvara-$SLURM_JOB_ID-$SLURM_ARRAY_TASK_ID
export XDG_RUNTIME_DIR=$XDG_STATE_HOME/run
mkdir -p "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_STATE_HOME"' EXIT

run=(kelvara-batch)
if [ -n "${KELVARA_IMAGE:-}" ]; then
  run=(apptainer exec --bind "$archive:$archive:ro" --bind "$output" "$KELVARA_IMAGE" kelvara-batch)
fi
# Not exec: the trap clears the profile. Slurm's SIGTERM at the time limit stops the run after
# its current document, with its logs; the shard is then reported incomplete by the merge.
"${run[@]}" --shard from-env -j 1 /i: "$archive" /o: "$output" /of: "$format"
