#!/usr/bin/env bash
# Builds libm_compare.cpp natively (g++, glibc) and for wasm32-wasi (clang,
# wasi-libc), runs both (the module under Node's WASI) and counts, for each
# kind of call, the results that differ as doubles and as the floats the
# engine rounds them to.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
g++ -O2 -ffp-contract=off "$here/libm_compare.cpp" -o native
clang++-14 --target=wasm32-wasi -O2 -fno-exceptions -ffp-contract=off "$here/libm_compare.cpp" -o wasm.wasm
./native native.bin
node --no-warnings --input-type=module -e "
import { WASI } from 'node:wasi'; import { readFileSync } from 'node:fs';
const wasi = new WASI({ version: 'preview1', args: ['wasm', 'wasm.bin'], preopens: { '.': '.' } });
const { instance } = await WebAssembly.instantiate(readFileSync('wasm.wasm'), wasi.getImportObject());
process.exitCode = wasi.start(instance);"
node --input-type=module -e "
import { readFileSync } from 'node:fs';
const a = new Float64Array(readFileSync('native.bin').buffer.slice(0));
const b = new Float64Array(readFileSync('wasm.bin').buffer.slice(0));
const names = ['sin(float angle)', 'cos(float angle)', 'sin(phi)', 'exp(u * v)'];
names.forEach((name, k) => {
  let doubles = 0, floats = 0, calls = 0;
  for (let i = k; i < a.length; i += 4, calls++) {
    if (a[i] === b[i]) continue;
    doubles++;
    if (Math.fround(a[i]) !== Math.fround(b[i])) floats++;
  }
  console.log(name + ': ' + calls + ' calls, ' + doubles + ' differ in the double, ' + floats + ' in the float');
});"
