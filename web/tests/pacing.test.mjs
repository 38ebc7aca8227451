// The page's module paced by its own frame pacer, in Node on a clock the test
// moves (the module reads it through WASI, as the page's performance.now):
// the show's seconds are real seconds at every speed, a kind starts in the
// real second its scene names, and the Delays per real second follow the
// speed the module says a number of Up presses gives.
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { join, resolve } from 'node:path';
import { test } from 'node:test';
import { textToBytes } from '../src/bytes.js';
import { Engine } from '../src/engine.js';
import { repo } from './harness.mjs';

const site = resolve(process.env.ZIRVO_SITE ?? join(repo, 'build-web/site'));
const FRAME_MS = 1000 / 60;
const CYAN = 0xffffff00; // RGBA bytes 00 ff ff ff, read as one little-endian word

// Red from the start, cyan from second 2, with trails long enough to stay on
// the screen: whether cyan is there tells whether its kind has started.
const scene = 'a=60\nb=30\nnv=50000\nbs=40000\nn=2\ndt=0\nc=12\nstop=3\n\n' +
  'a=40\nb=20\nnv=50000\nbs=40000\nn=2\ndt=0\nc=11\nstart=2\nstop=3\n';
const settings = 'screen=320x200\nscale=y\n';

async function module(clock) {
  return Engine.instantiate(await readFile(join(site, 'zirvo.wasm')), () => clock.ms);
}

function hasCyan(engine) {
  const pixels = new Uint32Array(engine.x.memory.buffer, engine.x.zirvo_pixels(), 320 * 200);
  return pixels.includes(CYAN);
}

for (const steps of [-4, 0, 4]) {
  test(`at ${steps} presses of Up the show's seconds are real seconds and a kind starts on time`, async () => {
    const clock = { ms: 1000 };
    const engine = await module(clock);
    engine.setSpeedSteps(steps);
    const { loaded } = engine.loadShow({ scene: textToBytes(scene), settings: textToBytes(settings), width: 320, height: 200, seed: 3 });
    assert.ok(loaded);
    let delays = 0;
    let cyanAt = null;
    const start = clock.ms;
    for (let frame = 0; frame <= 150; frame++) {
      const { delays: paid, behind } = engine.frame();
      assert.equal(behind, false, 'the test clock stands still within a frame: never behind');
      delays += paid;
      const realSeconds = (clock.ms - start) / 1000;
      assert.ok(Math.abs(engine.showSeconds() - realSeconds) < 0.0005,
        `frame ${frame}: show ${engine.showSeconds()} s, real ${realSeconds} s`);
      if (cyanAt === null && hasCyan(engine)) cyanAt = realSeconds;
      clock.ms += FRAME_MS;
    }
    assert.ok(cyanAt !== null && cyanAt >= 2 && cyanAt < 2 + 2 / 60, `cyan first seen at ${cyanAt} s`);
    // 150 frames of real time, at 10240 calibrated Delays a second.
    const expected = 150 * FRAME_MS / 1000 * 10240 * engine.speedOfSteps(steps);
    assert.ok(Math.abs(delays - expected) < expected * 0.001 + 2, `${delays} Delays, not ${expected}`);
  });
}

test('the module gives the speed of each number of presses: zirvo\'s factor, within bounds', async () => {
  const engine = await module({ ms: 0 });
  assert.equal(engine.speedOfSteps(0), 1);
  assert.ok(Math.abs(engine.speedOfSteps(1) - 1.44) < 1e-6);
  assert.ok(Math.abs(engine.speedOfSteps(-2) - 1 / (1.44 * 1.44)) < 1e-6);
  assert.equal(engine.speedOfSteps(30), 64);
  assert.equal(engine.speedOfSteps(-30), 1 / 64);
});

test('paused, the show stands still and resumes with only the time since', async () => {
  const clock = { ms: 0 };
  const engine = await module(clock);
  engine.loadShow({ scene: textToBytes(scene), settings: textToBytes(settings), width: 320, height: 200, seed: 3 });
  for (let frame = 0; frame < 30; frame++, clock.ms += FRAME_MS) engine.frame();
  const before = engine.showSeconds();
  engine.setPaused(true);
  for (let frame = 0; frame < 60; frame++, clock.ms += FRAME_MS) assert.equal(engine.frame().turns, 0);
  assert.equal(engine.showSeconds(), before);
  engine.setPaused(false);
  engine.frame();
  assert.ok(Math.abs(engine.showSeconds() - before - FRAME_MS / 1000) < 0.0005);
});
