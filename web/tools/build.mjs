// Builds the page into one folder of static files that any web server can
// host: index.html, style.css, app.js (the page and CodeMirror, bundled by
// esbuild, with the sample scenes of scenes/ inside) and zirvo.wasm.
//   node tools/build.mjs --wasm PATH/zirvo.wasm --out DIR
import { build } from 'esbuild';
import { copyFile, mkdir } from 'node:fs/promises';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';

const web = dirname(dirname(fileURLToPath(import.meta.url)));
const { values } = parseArgs({ options: { wasm: { type: 'string' }, out: { type: 'string' } } });
if (!values.wasm || !values.out) {
  console.error('usage: node tools/build.mjs --wasm PATH/zirvo.wasm --out DIR');
  process.exit(2);
}

await mkdir(values.out, { recursive: true });
await build({
  entryPoints: [join(web, 'src/main.js')],
  bundle: true,
  format: 'esm',
  minify: true,
  target: ['chrome110', 'firefox115'],
  loader: { '.zrv': 'text', '.ini': 'text' },
  outfile: join(values.out, 'app.js'),
  logLevel: 'warning',
});
await Promise.all([
  copyFile(join(web, 'index.html'), join(values.out, 'index.html')),
  copyFile(join(web, 'style.css'), join(values.out, 'style.css')),
  copyFile(values.wasm, join(values.out, 'zirvo.wasm')),
]);
console.log(`web: the page is in ${values.out}`);
