// The page's speed in headless Chromium beside native zirvo-render's:
//   live:  frames and turns per second of the paced show, at the calibrated
//          speed and at the fastest speed (where each frame's work bound
//          decides), sampled over a few seconds;
//   raw:   Delays per second (turns and pass tops) of a show run flat out on
//          the simulated clock, window.zirvo.trace against zirvo-render
//          with no output, each over the same simulated seconds; the best of
//          three runs on each side, loading included.
//   node bench/bench.mjs [SAMPLE_SECONDS]   (default 5)
import { execFile } from 'node:child_process';
import { readFile } from 'node:fs/promises';
import { join } from 'node:path';
import { promisify } from 'node:util';
import { plainFragment } from '../src/fragment.js';
import { openPage, repo, startBrowser } from '../tests/harness.mjs';

const sampleSeconds = Number(process.argv[2] ?? 5);
const render = join(process.env.ZIRVO_TOOLS ?? join(repo, 'build/tools'), 'zirvo-render');
const cases = [
  { name: 'demo', scene: 'scenes/demo.zrv', settings: 'scenes/zirvo.ini', screen: { width: 1024, height: 768 }, simulated: 60 },
  { name: 'dense', scene: 'bench/scenes/dense.zrv', settings: 'bench/scenes/zirvo.ini', screen: { width: 1920, height: 1080 }, simulated: 200 },
];
const FASTEST = 10; // presses of Up: 1.44^10, about 38 times the calibrated speed

async function live(session, c, speed) {
  const scene = await readFile(join(repo, c.scene));
  const settings = await readFile(join(repo, c.settings));
  const fragment = `${plainFragment({ scene, settings, seed: 7, screen: c.screen })}&speed=${speed}`;
  const page = await openPage(session, fragment, { viewport: { width: 1920, height: 1200 } });
  await page.waitForTimeout(1500); // past the first frames
  const samples = [];
  for (let i = 0; i < sampleSeconds; i++) {
    await page.waitForTimeout(1000);
    samples.push(await page.evaluate(() => window.zirvo.stats()));
  }
  await page.close();
  const mean = (key) => samples.reduce((sum, s) => sum + s[key], 0) / samples.length;
  return { fps: mean('fps'), turns: mean('turnsPerSecond'), behind: samples.some((s) => s.behind) };
}

async function raw(session, c) {
  const scene = await readFile(join(repo, c.scene));
  const settings = await readFile(join(repo, c.settings));
  const page = await openPage(session, plainFragment({ scene, settings, seed: 7, screen: c.screen }));
  await page.click('#run'); // the live show pauses, leaving the engine to the trace
  const ms = await page.evaluate((seconds) => {
    let best = Infinity;
    for (let run = 0; run < 3; run++) {
      const start = performance.now();
      window.zirvo.trace(seconds, 1);
      best = Math.min(best, performance.now() - start);
    }
    return best;
  }, c.simulated);
  await page.close();
  // bash's time gives the native run's processor seconds too: on a busy
  // machine its wall time says more about the other processes than about it.
  let best = null;
  for (let run = 0; run < 3; run++) {
    const command = `TIMEFORMAT='cpu %U %S'; time "$0" "$@"`;
    const { stderr } = await promisify(execFile)('bash', ['-c', command, render,
      '--settings', join(repo, c.settings), '--seed', '7', '--screen', `${c.screen.width}x${c.screen.height}`,
      '--seconds', String(c.simulated), join(repo, c.scene),
    ]);
    const [, passes, simulated, wall] = /(\d+) passes, \d+ pixels, ([\d.]+) simulated s.*, ([\d.]+) s wall/.exec(stderr);
    const [, user, system] = /cpu ([\d.]+) ([\d.]+)/.exec(stderr);
    if (!best || Number(wall) < best.wall) {
      best = { passes: Number(passes), simulated: Number(simulated), wall: Number(wall), cpu: Number(user) + Number(system) };
    }
  }
  // The page's show ends where the native one does: the same Delays.
  const delays = Math.round((best.simulated * 1e6) / 100);
  return {
    page: delays / (ms / 1000),
    native: delays / best.wall,
    nativeTurns: (delays - best.passes) / best.wall,
    nativeCpu: delays / best.cpu,
  };
}

const round = (x) => Math.round(x).toLocaleString('en-US');
const session = await startBrowser();
console.log(`web bench: headless Chromium ${session.browser.version()}, ${sampleSeconds} s samples`);
for (const c of cases) {
  const label = `${c.name} ${c.screen.width}x${c.screen.height}`;
  const calibrated = await live(session, c, 0);
  const fastest = await live(session, c, FASTEST);
  const flat = await raw(session, c);
  console.log(`${label}, live at speed 1:   ${calibrated.fps.toFixed(1)} fps, ${round(calibrated.turns)} turns/s${calibrated.behind ? ' (behind)' : ''}`);
  console.log(`${label}, live at speed x38: ${fastest.fps.toFixed(1)} fps, ${round(fastest.turns)} turns/s${fastest.behind ? ' (bounded by the frame budget)' : ''}`);
  console.log(`${label}, flat out over ${c.simulated} simulated s: page ${round(flat.page)} Delays/s, ` +
    `native zirvo-render ${round(flat.native)} Delays/s (${round(flat.nativeTurns)} turns/s; ` +
    `${round(flat.nativeCpu)} Delays per processor second), page/native ${(flat.page / flat.native).toFixed(2)}`);
}
console.log(`load average at the end: ${(await readFile('/proc/loadavg', 'utf8')).split(' ').slice(0, 3).join(' ')}`);
await session.close();
