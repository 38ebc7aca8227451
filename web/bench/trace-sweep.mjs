// A wider comparison than the tests make: long traces of every sample scene
// and the bench scenes at several seeds and screens, page against native
// zirvo-render, counting the lines that differ. Prints one line a show.
//   node bench/trace-sweep.mjs [SECONDS]   (default 60; the dense scene runs a sixth of it)
import { readFile } from 'node:fs/promises';
import { plainFragment } from '../src/fragment.js';
import { nativeTrace, openPage, repo, startBrowser } from '../tests/harness.mjs';

const seconds = Number(process.argv[2] ?? 60);
const scenes = ['scenes/demo.zrv', 'scenes/garden.zrv', 'scenes/vortex.zrv', 'bench/scenes/crossing.zrv',
  'bench/scenes/default.zrv', 'bench/scenes/dense.zrv'];
const screens = [{ width: 1024, height: 768 }, { width: 1920, height: 1080 }, { width: 641, height: 479 }];
const seeds = [1, 2, 3, 77, 4294967295];

function differingLines(a, b) {
  const x = a.split('\n');
  const y = b.split('\n');
  let count = 0;
  for (let i = 0; i < Math.max(x.length, y.length); i++) if (x[i] !== y[i]) count += 1;
  return count;
}

const session = await startBrowser();
let lines = 0;
let differing = 0;
for (const path of scenes) {
  const scene = await readFile(`${repo}/${path}`);
  const settings = await readFile(`${repo}/scenes/zirvo.ini`);
  const limit = path.includes('dense') ? seconds / 6 : seconds;
  for (const [i, seed] of seeds.entries()) {
    const screen = screens[i % screens.length];
    const page = await openPage(session, plainFragment({ scene, settings, seed, screen }));
    const web = await page.evaluate((s) => window.zirvo.trace(s, 1e12), limit);
    await page.close();
    const native = await nativeTrace({ scene, settings, seed, screen, seconds: limit });
    const count = web === native ? 0 : differingLines(web, native);
    const total = native.split('\n').length - 1;
    lines += total;
    differing += count;
    console.log(`${path} seed ${seed} ${screen.width}x${screen.height} ${limit} s: ${total} lines, ${count} differ`);
  }
}
console.log(`trace-sweep: ${lines} lines in all, ${differing} differ`);
await session.close();
