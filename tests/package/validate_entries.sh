#!/usr/bin/env bash
# The desktop entry and the software-centre entry as they are in the source tree pass
# desktop-file-validate and appstreamcli validate without errors or warnings.
#   validate_entries.sh <packaging dir>
set -uo pipefail

dir=${1:?usage: validate_entries.sh <packaging dir>}
desktop=${dir}/nl.kvz.Tolvaro.desktop
metainfo=${dir}/nl.kvz.Tolvaro.metainfo.xml
failed=0

# desktop-file-validate exits 0 on warnings; any message at all counts here.
if ! out=$(desktop-file-validate "${desktop}" 2>&1) || [[ -n ${out} ]]; then
  echo "FAIL: desktop-file-validate ${desktop}:"
  echo "${out}"
  failed=1
fi

# --strict fails on warnings as well as errors; pedantic hints are allowed.
if ! out=$(appstreamcli validate --no-net --strict "${metainfo}" 2>&1); then
  echo "FAIL: appstreamcli validate ${metainfo}:"
  echo "${out}"
  failed=1
fi

((failed == 0)) && echo "desktop entry and metainfo valid"
exit "${failed}"
