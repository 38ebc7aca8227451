// What the browser tests share: the built page served on a free loopback
// port, Debian's Chromium driven headless by playwright-core, and the native
// zirvo-render to compare with.
//   ZIRVO_SITE    the built page (default: build-web/site of the repository)
//   ZIRVO_TOOLS   the native zirvo-render and zirvo-check (default: build/tools)
//   CHROMIUM      the browser (default: /usr/bin/chromium)
import { execFile } from 'node:child_process';
import { mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import { chromium } from 'playwright-core';
import { serve } from '../tools/serve.mjs';

export const repo = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const site = resolve(process.env.ZIRVO_SITE ?? join(repo, 'build-web/site'));
const tools = resolve(process.env.ZIRVO_TOOLS ?? join(repo, 'build/tools'));
const render = join(tools, 'zirvo-render');
const check = join(tools, 'zirvo-check');

export async function readRepoFile(path) {
  return readFile(join(repo, path), 'utf8');
}

// The page served and a browser; close() ends both.
export async function startBrowser() {
  const server = await serve(site);
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    // As root on a machine without a network: no sandbox, nothing fetched in the background.
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run', '--disable-quic'],
  });
  return {
    browser,
    url: `http://127.0.0.1:${server.address().port}/`,
    async close() {
      await browser.close();
      await new Promise((done) => server.close(done));
    },
  };
}

// A fresh page at `fragment`, its console errors collected in page.errors,
// after window.zirvo.ready.
export async function openPage(session, fragment = '', { viewport = { width: 1400, height: 900 } } = {}) {
  const page = await session.browser.newPage({ viewport });
  page.errors = [];
  page.on('console', (message) => {
    if (message.type() === 'error') page.errors.push(message.text());
  });
  page.on('pageerror', (error) => page.errors.push(String(error)));
  await page.goto(session.url + fragment);
  await page.evaluate(() => window.zirvo.ready);
  return page;
}

// The native trace of these files, as the page's trace contract promises it.
export async function nativeTrace({ scene, settings, seed, screen, seconds, maxLines }) {
  const dir = await mkdtemp(join(tmpdir(), 'zirvo-web-'));
  try {
    await writeFile(join(dir, 'scene.zrv'), scene);
    await writeFile(join(dir, 'zirvo.ini'), settings);
    await promisify(execFile)(render, [
      '--settings', join(dir, 'zirvo.ini'), '--trace', join(dir, 'trace.txt'), '--delay-us', '100',
      '--seconds', String(seconds), '--seed', String(seed), '--screen', `${screen.width}x${screen.height}`,
      join(dir, 'scene.zrv'),
    ]);
    const trace = await readFile(join(dir, 'trace.txt'), 'utf8');
    return maxLines === undefined ? trace : firstLines(trace, maxLines);
  } finally {
    await rm(dir, { recursive: true, force: true });
  }
}

export function firstLines(text, count) {
  let at = 0;
  for (let i = 0; i < count; i++) {
    at = text.indexOf('\n', at) + 1;
    if (at === 0) return text;
  }
  return text.slice(0, at);
}

// zirvo-check's notes on these files (named scene.zrv and zirvo.ini, as the
// page names them): its report up to the verdict.
export async function nativeNotes({ scene, settings, screen }) {
  const dir = await mkdtemp(join(tmpdir(), 'zirvo-web-'));
  try {
    await writeFile(join(dir, 'scene.zrv'), scene);
    await writeFile(join(dir, 'zirvo.ini'), settings);
    const { stdout } = await promisify(execFile)(
      check, ['--settings', 'zirvo.ini', '--screen', `${screen.width}x${screen.height}`, 'scene.zrv'],
      { cwd: dir, encoding: 'latin1' },
    ).catch((failure) => {
      // Exit status 1 and 2: loads with warnings, does not load.
      if (failure.code === 1 || failure.code === 2) return failure;
      throw failure;
    });
    const blank = stdout.indexOf('\n\n');
    return blank < 0 ? '' : stdout.slice(0, blank + 1);
  } finally {
    await rm(dir, { recursive: true, force: true });
  }
}
