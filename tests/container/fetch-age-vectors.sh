#!/bin/sh
# Installs the community age test vectors (npm package cctv-age) into DEST/testdata, one file per
# vector, unless they are there already. Without npm or node it says so and leaves DEST empty, and the
# vector test then skips.
set -eu
dest=$1
version=0.2.0
if [ -f "$dest/testdata/.complete-$version" ]; then exit 0; fi
if ! command -v npm >/dev/null 2>&1 || ! command -v node >/dev/null 2>&1; then
  echo "npm or node is missing: the age test vectors (cctv-age) cannot be installed and their test is skipped"
  exit 0
fi
rm -rf "$dest"
mkdir -p "$dest/testdata"
npm install --prefix "$dest" --no-save --no-audit --no-fund --loglevel=error "cctv-age@$version"
# The package exports each vector as bytes under its file name.
node --input-type=module -e "
import * as vectors from '$dest/node_modules/cctv-age/index.js';
import { writeFileSync } from 'fs';
for (const [name, bytes] of Object.entries(vectors)) {
  if (name !== 'default') writeFileSync('$dest/testdata/' + name, bytes);
}"
touch "$dest/testdata/.complete-$version"
