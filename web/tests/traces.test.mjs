// window.zirvo.trace against the native zirvo-render, byte for byte: every
// sample scene, the dense bench scene, and scenes with unusual keys and bytes.
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { after, before, test } from 'node:test';
import { plainFragment } from '../src/fragment.js';
import { nativeTrace, openPage, repo, startBrowser } from './harness.mjs';

const shipped = 'scenes/zirvo.ini';
const cases = [
  { scene: 'scenes/demo.zrv', seed: 7, screen: { width: 1024, height: 768 }, seconds: 12 },
  { scene: 'scenes/garden.zrv', seed: 3, screen: { width: 800, height: 600 }, seconds: 8 },
  { scene: 'scenes/vortex.zrv', seed: 4000000000, screen: { width: 1920, height: 1080 }, seconds: 8 },
  { scene: 'bench/scenes/dense.zrv', settings: 'bench/scenes/zirvo.ini', seed: 99, screen: { width: 1920, height: 1080 }, seconds: 3 },
  // Unusual keys and values: directions carried between blocks, upper case,
  // empty values; zero and huge counts, NaN, infinite radii; CR LF and lone
  // carriage returns, a NUL and a byte that is not UTF-8; 53 blocks.
  { scene: 'fuzz/corpus/scene/directions.zrv', seed: 11, screen: { width: 640, height: 480 }, seconds: 6 },
  { scene: 'fuzz/corpus/scene/zero-and-huge.zrv', seed: 12, screen: { width: 640, height: 480 }, seconds: 4 },
  { scene: 'web/tests/scenes/odd-bytes.zrv', seed: 13, screen: { width: 333, height: 177 }, seconds: 6 },
  { scene: 'fuzz/corpus/scene/fifty-three.zrv', seed: 15, screen: { width: 1024, height: 768 }, seconds: 4 },
  { scene: 'fuzz/corpus/scene/two-kinds.zrv', seed: 16, screen: { width: 1280, height: 720 }, seconds: 6 },
];

// On a mismatch: how many lines differ, and the first one.
function difference(web, native) {
  const a = web.split('\n');
  const b = native.split('\n');
  let differing = 0;
  let first = -1;
  for (let i = 0; i < Math.max(a.length, b.length); i++) {
    if (a[i] !== b[i]) {
      differing += 1;
      if (first < 0) first = i;
    }
  }
  return `${differing} of ${b.length - 1} lines differ; first at line ${first + 1}: ` +
    `page "${a[first]}", native "${b[first]}"`;
}

let session;
before(async () => {
  session = await startBrowser();
});
after(async () => {
  await session.close();
});

for (const c of cases) {
  test(`${c.scene}, seed ${c.seed}, ${c.screen.width}x${c.screen.height}, ${c.seconds} s: the page's trace is zirvo-render's`, async () => {
    const scene = await readFile(`${repo}/${c.scene}`);
    const settings = await readFile(`${repo}/${c.settings ?? shipped}`);
    const page = await openPage(session, plainFragment({ scene, settings, seed: c.seed, screen: c.screen }));
    const web = await page.evaluate((seconds) => window.zirvo.trace(seconds, 1e9), c.seconds);
    const native = await nativeTrace({ scene, settings, seed: c.seed, screen: c.screen, seconds: c.seconds });
    assert.ok(native.length > 0, 'the native show sets pixels');
    assert.ok(web === native, difference(web, native));
    // maxLines keeps the first lines.
    const head = await page.evaluate(() => window.zirvo.trace(60, 100));
    assert.equal(head, native.split('\n').slice(0, 100).map((line) => `${line}\n`).join('').slice(0, head.length));
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}
