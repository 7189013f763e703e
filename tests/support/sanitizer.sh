# Sourced by the window tests: in the sanitizer build, leaks that system libraries keep to the
# end (tests/support/lsan.supp) are not reported, so any report left is the program's.
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp
