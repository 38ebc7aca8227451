// The playground as a person uses it, in headless Chromium: the show on the
// canvas, notes that follow the typing, the share link, a scene that does not
// load, a show that ends, pause, the PNG, and the gallery of sample scenes.
import assert from 'node:assert/strict';
import { readdir, readFile } from 'node:fs/promises';
import { after, before, test } from 'node:test';
import { plainFragment } from '../src/fragment.js';
import { readWebm } from '../src/webm.js';
import { nativeNotes, nativeTrace, openPage, readRepoFile, repo, startBrowser } from './harness.mjs';

let session;
before(async () => {
  session = await startBrowser();
});
after(async () => {
  await session.close();
});

// The palette's colours as canvas bytes "r,g,b".
const palette = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
  0x404040, 0xff0000, 0x00ff00, 0xffff00, 0x0000ff, 0xff00ff, 0x00ffff, 0xffffff]
  .map((c) => `${c & 0xff},${(c >> 8) & 0xff},${(c >> 16) & 0xff}`);

function canvasColours(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const colours = {};
    for (let i = 0; i < data.length; i += 4) {
      if (data[i] || data[i + 1] || data[i + 2]) {
        const key = `${data[i]},${data[i + 1]},${data[i + 2]}`;
        colours[key] = (colours[key] ?? 0) + 1;
      }
    }
    return { width: canvas.width, height: canvas.height, colours };
  });
}

const notesShown = (page) => page.$$eval('#notes li', (items) => items.map((item) => item.textContent));

test('the demo loads without a console error and puts its colours on the canvas within a second', async () => {
  const page = await openPage(session, '#seed=7');
  await page.waitForTimeout(1000);
  const { width, height, colours } = await canvasColours(page);
  assert.deepEqual([width, height], [1024, 768]);
  const lit = Object.values(colours).reduce((sum, count) => sum + count, 0);
  assert.ok(lit > 500, `${lit} pixels lit after a second`);
  assert.ok(Object.keys(colours).length >= 3, `colours: ${Object.keys(colours)}`);
  for (const colour of Object.keys(colours)) assert.ok(palette.includes(colour), `${colour} is a palette colour`);
  const stats = await page.evaluate(() => window.zirvo.stats());
  assert.equal(stats.state, 'running');
  assert.equal(await page.inputValue('#seed'), '7');
  assert.equal(await page.inputValue('#screen-size'), '1024x768');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a broken value shows its note on its line; fixing it clears the note and restarts the show', async () => {
  const page = await openPage(session, '#seed=3');
  const line = page.locator('#scene-editor .cm-line').nth(10);
  assert.equal(await line.textContent(), 'nv=7000');
  await line.click();
  await page.keyboard.press('End');
  await page.keyboard.press('Shift+Home');
  await page.keyboard.type('nv=seven');

  const note = page.locator('#notes li', { hasText: 'scene.zrv:11: warning:' });
  await note.waitFor({ timeout: 3000 });
  assert.match(await note.textContent(), /'seven' is not a number/);
  // On its line in the editor too: the lint gutter marks line 11.
  await page.locator('#scene-editor .cm-lint-marker-warning').first().waitFor({ timeout: 3000 });
  const markedLine = await page.$eval('#scene-editor .cm-lint-marker-warning', (marker) => {
    const gutterTop = marker.getBoundingClientRect().top;
    const lines = [...document.querySelectorAll('#scene-editor .cm-lineNumbers .cm-gutterElement')];
    return lines.find((element) => Math.abs(element.getBoundingClientRect().top - gutterTop) < 4)?.textContent;
  });
  assert.equal(markedLine, '11');

  await page.waitForTimeout(1500);
  const before = await page.evaluate(() => window.zirvo.stats());
  assert.ok(before.showSeconds > 1, `the show ran on: ${before.showSeconds} s`);
  await page.keyboard.press('Shift+Home');
  await page.keyboard.type('nv=7000');
  await page.waitForFunction((shows) => window.zirvo.stats().shows > shows, before.shows, { timeout: 3000 });
  const restarted = await page.evaluate(() => window.zirvo.stats());
  assert.ok(restarted.showSeconds < before.showSeconds, `restarted at ${restarted.showSeconds} s`);
  assert.equal(restarted.state, 'running');
  assert.deepEqual(await notesShown(page), []);
  assert.equal(await page.locator('#scene-editor .cm-lint-marker').count(), 0);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a share link opened in a fresh page shows the same show', async () => {
  const scene = await readRepoFile('scenes/garden.zrv');
  const page = await openPage(session, plainFragment({ scene, seed: 42, screen: { width: 800, height: 600 } }));
  await page.locator('#scene-editor .cm-content').click();
  await page.keyboard.press('Control+End');
  await page.keyboard.type('\n\nc=13\nnv=900\nstop=9\n');
  await page.click('#share');
  // The link is made asynchronously (the scene is compressed first).
  await page.waitForFunction(() => document.querySelector('#share-link').value !== '', null, { timeout: 3000 });
  const link = await page.locator('#share-link').inputValue();
  assert.match(link, /#zscene=[\w-]+&zsettings=[\w-]+&seed=42&screen=800x600$/);
  const first = await page.evaluate(() => window.zirvo.trace(5, 300));

  const fresh = await openPage(session, link.slice(link.indexOf('#')));
  assert.equal(await fresh.evaluate(() => window.zirvo.trace(5, 300)), first);
  assert.equal(await fresh.inputValue('#seed'), '42');
  const settings = await readRepoFile('scenes/zirvo.ini');
  const edited = `${scene}\n\nc=13\nnv=900\nstop=9\n`;
  assert.equal(first, await nativeTrace({ scene: edited, settings, seed: 42, screen: { width: 800, height: 600 }, seconds: 5, maxLines: 300 }));
  assert.deepEqual([...page.errors, ...fresh.errors], []);
  await page.close();
  await fresh.close();
});

test('a scene that does not load says why, with the banner, instead of a blank canvas', async () => {
  const page = await openPage(session, plainFragment({ scene: 'nv=50\n', settings: 'screen=1x300\n', seed: 1 }));
  await page.locator('#failure').waitFor({ state: 'visible' });
  assert.match(await page.textContent('#failure-reason'), /^zirvo\.ini:1: error: the virtual screen is 1x300/);
  assert.match(await page.textContent('#banner'), /Usage:/);
  assert.equal((await page.evaluate(() => window.zirvo.stats())).state, 'not-loaded');
  assert.equal(await page.evaluate(() => window.zirvo.trace(1, 10)), '');
  // Fixing the settings brings the show back.
  await page.locator('#settings-editor .cm-content').click();
  await page.keyboard.press('Control+a');
  await page.keyboard.type('screen=320x300\n');
  await page.locator('#failure').waitFor({ state: 'hidden', timeout: 3000 });
  assert.equal((await page.evaluate(() => window.zirvo.stats())).state, 'running');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a show that ends by itself says so; pause holds the show still', async () => {
  const scene = await readFile(`${repo}/fuzz/corpus/scene/wine-ends.zrv`);
  const page = await openPage(session, plainFragment({ scene, seed: 5, screen: { width: 640, height: 480 } }));
  await page.click('#run');
  assert.equal(await page.textContent('#run'), 'Run');
  const paused = await page.evaluate(() => window.zirvo.stats().showSeconds);
  await page.waitForTimeout(400);
  assert.equal(await page.evaluate(() => window.zirvo.stats().showSeconds), paused);
  await page.click('#run');
  await page.waitForFunction(() => window.zirvo.stats().state === 'ended', null, { timeout: 10000 });
  assert.match(await page.textContent('#status'), /ended/);
  assert.equal(await page.getAttribute('body', 'data-state'), 'ended');
  assert.ok(await page.locator('#run').isDisabled());
  await page.locator('#ended').waitFor({ state: 'visible' });
  await page.click('#ended-restart');
  assert.equal((await page.evaluate(() => window.zirvo.stats())).state, 'running');
  assert.ok(await page.locator('#ended').isHidden());
  await page.close();
});

test('Save PNG downloads the canvas as a PNG', async () => {
  const page = await openPage(session, '#seed=9&screen=320x200');
  await page.waitForTimeout(300);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save')]);
  assert.equal(download.suggestedFilename(), 'zirvo-9.png');
  const bytes = await readFile(await download.path());
  assert.deepEqual([...bytes.subarray(0, 8)], [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
  assert.equal(bytes.readUInt32BE(16), 320);
  assert.equal(bytes.readUInt32BE(20), 200);
  await page.close();
});

test('Save video records the canvas for the chosen seconds at its pace and downloads a WebM of that length', async () => {
  const page = await openPage(session, '#seed=9&screen=320x200');
  await page.fill('#video-seconds', '2');
  const started = Date.now();
  const downloaded = page.waitForEvent('download', { timeout: 20000 });
  await page.click('#save-video');
  assert.match(await page.textContent('#save-video'), /^Stop \(\d s\)$/);
  const download = await downloaded;
  const waited = (Date.now() - started) / 1000;
  assert.ok(waited >= 1.9, `recorded in real time: the download came after ${waited} s`);
  assert.equal(download.suggestedFilename(), 'zirvo-9.webm');
  await page.waitForFunction(() => document.querySelector('#save-video').textContent === 'Save video');

  const bytes = await readFile(await download.path());
  const webm = readWebm(bytes);
  assert.equal(webm.docType, 'webm');
  assert.match(webm.codec, /^V_VP[89]$/);
  assert.deepEqual([webm.width, webm.height], [320, 200]);
  // The frames themselves span the two seconds, and the written duration says so.
  const times = webm.blockTimesMs;
  assert.ok(times.length >= 20, `${times.length} frames`);
  const span = Math.max(...times) - Math.min(...times);
  assert.ok(span > 1500 && span < 2500, `frames over ${span} ms`);
  assert.ok(webm.durationMs > 1700 && webm.durationMs < 2600, `duration ${webm.durationMs} ms`);

  // The browser's own player reads the same size and a finite length.
  const played = await page.evaluate(async (base64) => {
    const data = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    const video = document.createElement('video');
    video.src = URL.createObjectURL(new Blob([data], { type: 'video/webm' }));
    await new Promise((loaded, failed) => {
      video.onloadedmetadata = loaded;
      video.onerror = () => failed(new Error('the video does not load'));
    });
    return { duration: video.duration, width: video.videoWidth, height: video.videoHeight };
  }, bytes.toString('base64'));
  assert.deepEqual([played.width, played.height], [320, 200]);
  assert.ok(played.duration > 1.7 && played.duration < 2.6, `played duration ${played.duration} s`);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test("the notes are zirvo-check's, for scenes with unusual lines and bytes", async () => {
  const settings = await readFile(`${repo}/scenes/zirvo.ini`);
  for (const path of ['fuzz/corpus/scene/cr-nul-high.zrv', 'fuzz/corpus/scene/long-line.zrv',
    'fuzz/corpus/scene/directions.zrv', 'fuzz/corpus/scene/zero-and-huge.zrv', 'web/tests/scenes/odd-bytes.zrv']) {
    const scene = await readFile(`${repo}/${path}`);
    const screen = { width: 640, height: 480 };
    const page = await openPage(session, plainFragment({ scene, settings, seed: 1, screen }));
    const shown = (await notesShown(page)).join('');
    assert.ok(shown.length > 0, `${path} has notes`);
    assert.equal(shown, await nativeNotes({ scene, settings, screen }), path);
    await page.close();
  }
});

test('the gallery shows every scene of scenes/ by its picture and name; a click opens it in the editor and runs it', async () => {
  const files = (await readdir(`${repo}/scenes`)).filter((name) => name.endsWith('.zrv')).sort();
  const page = await openPage(session, '#seed=11&screen=800x600');
  const showsBefore = (await page.evaluate(() => window.zirvo.stats())).shows;
  await page.click('#open-gallery');
  await page.locator('#gallery').waitFor({ state: 'visible' });
  const cards = await page.$$eval('#gallery .scene', (found) => Promise.all(found.map(async (card) => {
    const picture = card.querySelector('img');
    await picture.decode();
    return { stem: card.dataset.scene, name: card.querySelector('strong').textContent, width: picture.naturalWidth };
  })));
  assert.deepEqual(cards.map((card) => card.stem), files.map((name) => name.replace(/\.zrv$/, '')));
  for (const card of cards) {
    const text = await readRepoFile(`scenes/${card.stem}.zrv`);
    assert.equal(card.name, text.slice(0, text.indexOf(':')), `${card.stem}: the name of its header`);
    assert.equal(card.width, 320, `${card.stem}: its thumbnail`);
  }

  await page.click('#gallery .scene[data-scene="orrery"]');
  assert.ok(await page.locator('#gallery').isHidden());
  await page.waitForFunction((shows) => window.zirvo.stats().shows > shows, showsBefore, { timeout: 3000 });
  // What runs is the orrery, exactly: the page's trace of its editors is the native one of the file.
  const scene = await readRepoFile('scenes/orrery.zrv');
  const settings = await readRepoFile('scenes/zirvo.ini');
  const screen = { width: 800, height: 600 };
  assert.equal(await page.evaluate(() => window.zirvo.trace(3, 2000)),
    await nativeTrace({ scene, settings, seed: 11, screen, seconds: 3, maxLines: 2000 }));
  await page.waitForTimeout(1000);
  const stats = await page.evaluate(() => window.zirvo.stats());
  assert.equal(stats.state, 'running');
  assert.ok(stats.showSeconds > 0.5, `${stats.showSeconds} s into the orrery`);
  const { colours } = await canvasColours(page);
  // The sun's yellow, the red ring's red.
  assert.ok(colours['255,255,0'] > 50 && colours['255,0,0'] > 20, JSON.stringify(colours));
  assert.deepEqual(page.errors, []);
  await page.close();
});
