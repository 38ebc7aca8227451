// Builds the page into one folder of static files that any web server can
// host: index.html, style.css, app.js (the page and CodeMirror, bundled by
// esbuild, with the scenes of scenes/ inside), zirvo.wasm, and thumbs/, a
// picture of every scene for the gallery, rendered by the native zirvo-render.
//   node tools/build.mjs --wasm PATH/zirvo.wasm --library PATH/scene-library.json
//                        --render PATH/zirvo-render --out DIR
// The scene library (scene-library.json, which the CMake configuration writes
// from the scenes' headers) names the scenes, so the page offers whatever
// scenes/ holds.
import { build } from 'esbuild';
import { execFile } from 'node:child_process';
import { copyFile, mkdir, readFile } from 'node:fs/promises';
import { availableParallelism } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs, promisify } from 'node:util';

const web = dirname(dirname(fileURLToPath(import.meta.url)));
const scenesDir = join(web, '../scenes');
const { values } = parseArgs({
  options: {
    wasm: { type: 'string' }, library: { type: 'string' }, render: { type: 'string' }, out: { type: 'string' },
  },
});
if (!values.wasm || !values.library || !values.render || !values.out) {
  console.error('usage: node tools/build.mjs --wasm PATH/zirvo.wasm --library PATH/scene-library.json '
    + '--render PATH/zirvo-render --out DIR');
  process.exit(2);
}

// The gallery's pictures: each scene at 20 s, seed 1, the shipped settings.
const THUMBNAIL = { screen: '320x240', seconds: '20', seed: '1' };

const { scenes } = JSON.parse(await readFile(values.library, 'utf8'));
const library = await Promise.all(scenes.map(async (scene) => ({
  ...scene,
  text: await readFile(join(scenesDir, scene.file), 'utf8'),
  thumbnail: `thumbs/${scene.stem}.png`,
})));

async function renderThumbnails() {
  await mkdir(join(values.out, 'thumbs'), { recursive: true });
  const queue = [...library];
  const worker = async () => {
    for (let scene = queue.shift(); scene; scene = queue.shift()) {
      await promisify(execFile)(values.render, [
        '--settings', join(scenesDir, 'zirvo.ini'), '--screen', THUMBNAIL.screen, '--seconds', THUMBNAIL.seconds,
        '--seed', THUMBNAIL.seed, '--png', join(values.out, scene.thumbnail), join(scenesDir, scene.file),
      ]);
    }
  };
  await Promise.all(Array.from({ length: Math.max(1, availableParallelism()) }, worker));
}

// `import { scenes } from 'zirvo:scene-library'`: the library with each
// scene's text and thumbnail.
const sceneLibrary = {
  name: 'scene-library',
  setup(plugin) {
    plugin.onResolve({ filter: /^zirvo:scene-library$/ }, () => ({ path: 'scene-library', namespace: 'zirvo' }));
    plugin.onLoad({ filter: /.*/, namespace: 'zirvo' }, () => ({
      contents: `export const scenes = ${JSON.stringify(library)};`,
      loader: 'js',
    }));
  },
};

await mkdir(values.out, { recursive: true });
await build({
  entryPoints: [join(web, 'src/main.js')],
  bundle: true,
  format: 'esm',
  minify: true,
  target: ['chrome110', 'firefox115'],
  loader: { '.zrv': 'text', '.ini': 'text' },
  plugins: [sceneLibrary],
  outfile: join(values.out, 'app.js'),
  logLevel: 'warning',
});
await Promise.all([
  renderThumbnails(),
  copyFile(join(web, 'index.html'), join(values.out, 'index.html')),
  copyFile(join(web, 'style.css'), join(values.out, 'style.css')),
  copyFile(values.wasm, join(values.out, 'zirvo.wasm')),
]);
console.log(`web: the page is in ${values.out}, with ${library.length} scenes`);
