#!/usr/bin/env bash
# Formats every C++ source of the project in place.
set -euo pipefail
cd "$(dirname "$0")/.."
find src tests bench tools \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i
