#!/bin/bash
# The logs and Index.html of the whole run from the shards' logs in <output>/Log/shards/.
#   sbatch --dependency=afterany:<array job id> deploy/slurm/kelvara-merge.sh /shared/converted/
#SBATCH --job-name=kelvara-merge
#SBATCH --cpus-per-task=1
#SBATCH --mem=4G
#SBATCH --output=kelvara-merge-%j.out
set -euo pipefail
output=${1:?usage: sbatch $0 <output folder>/}
if [ -n "${KELVARA_IMAGE:-}" ]; then
  exec apptainer exec --bind "$output" "$KELVARA_IMAGE" kelvara-batch --merge "$output"
fi
exec kelvara-batch --merge "$output"
