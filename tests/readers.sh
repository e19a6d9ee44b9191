# shellcheck shell=bash
# Sourced by the shell tests: zbar's zbarimg as the independent reader of their pictures. A reader
# that does not do its work fails, so an empty reading always means "no barcode found".
command -v zbarimg >/dev/null || { echo "zbarimg (zbar-tools) is missing" >&2; exit 1; }

# zbar_read PICTURE: prints the texts zbarimg reads, one a line (nothing when it finds none).
zbar_read() {
  local status=0
  zbarimg --quiet --raw "$1" 2>/dev/null || status=$?
  # 4 means no barcode.
  [[ $status -eq 0 || $status -eq 4 ]] || { echo "zbarimg failed ($status) on $1" >&2; return 1; }
}
