// What the address's fragment carries: the two files, the seed, the screen
// and the speed. The contract (web/README.md): `scene` and `settings` hold the
// file text base64url-encoded, `seed` a number, `screen` WxH; the share link
// carries the texts compressed (raw deflate, then base64url) as `zscene` and
// `zsettings`, and `speed` as presses of the Up key (negative: Down).

import { textToBytes } from './bytes.js';

export const MAX_SIDE = 16384;
// The link's speed: presses of Up, at most this many either way.
export const MAX_SPEED_STEPS = 10;

function bytesToBase64url(bytes) {
  let binary = '';
  for (let i = 0; i < bytes.length; i += 0x8000) {
    binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  }
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function base64urlToBytes(text) {
  if (!/^[A-Za-z0-9_-]*$/.test(text)) throw new Error('not base64url');
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

// A file's bytes (or a string, as UTF-8) as base64url.
export function encodeBytes(bytes) {
  return bytesToBase64url(typeof bytes === 'string' ? textToBytes(bytes) : bytes);
}

async function streamBytes(bytes, transform) {
  const stream = new Blob([bytes]).stream().pipeThrough(transform);
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

async function compressBytes(bytes) {
  return bytesToBase64url(await streamBytes(bytes, new CompressionStream('deflate-raw')));
}

async function decompressBytes(encoded) {
  return streamBytes(base64urlToBytes(encoded), new DecompressionStream('deflate-raw'));
}

// "1024x768" as { width, height }, each side 1..16384; null otherwise.
export function parseScreen(text) {
  const match = /^\s*(\d{1,5})\s*[xX×]\s*(\d{1,5})\s*$/.exec(String(text));
  if (!match) return null;
  const width = Number(match[1]);
  const height = Number(match[2]);
  if (width < 1 || height < 1 || width > MAX_SIDE || height > MAX_SIDE) return null;
  return { width, height };
}

// A seed 0..4294967295; null otherwise.
export function parseSeed(text) {
  if (!/^\s*\d{1,10}\s*$/.test(String(text))) return null;
  const seed = Number(text);
  return seed <= 0xffffffff ? seed : null;
}

// The speed in presses of Up (negative: Down), -10..10; null otherwise.
export function parseSpeed(text) {
  if (!/^\s*-?\d{1,2}\s*$/.test(String(text))) return null;
  const steps = Number(text);
  return Math.abs(steps) <= MAX_SPEED_STEPS ? steps : null;
}

// What the fragment asks for: { scene, settings, seed, screen, speed } with
// the keys it gives (the files as bytes), and `problems`, one sentence for
// each key it could not read.
export async function readFragment(hash) {
  const params = new URLSearchParams(hash.replace(/^#/, ''));
  const wanted = { problems: [] };
  for (const file of ['scene', 'settings']) {
    try {
      if (params.has(file)) wanted[file] = base64urlToBytes(params.get(file));
      else if (params.has(`z${file}`)) wanted[file] = await decompressBytes(params.get(`z${file}`));
    } catch {
      wanted.problems.push(`The link's ${file} text could not be read.`);
    }
  }
  const readers = { seed: parseSeed, screen: parseScreen, speed: parseSpeed };
  for (const [key, parse] of Object.entries(readers)) {
    if (!params.has(key)) continue;
    const value = parse(params.get(key));
    if (value === null) wanted.problems.push(`The link's ${key} "${params.get(key)}" is not understood.`);
    else wanted[key] = value;
  }
  return wanted;
}

// The share link's fragment: the files' bytes compressed.
export async function shareFragment({ scene, settings, seed, screen, speed }) {
  const params = new URLSearchParams();
  params.set('zscene', await compressBytes(scene));
  params.set('zsettings', await compressBytes(settings));
  params.set('seed', String(seed));
  params.set('screen', `${screen.width}x${screen.height}`);
  if (speed !== 0) params.set('speed', String(speed));
  return `#${params}`;
}

// The plain fragment of the contract; the files as bytes or strings (UTF-8).
export function plainFragment({ scene, settings, seed, screen }) {
  const params = new URLSearchParams();
  if (scene !== undefined) params.set('scene', encodeBytes(scene));
  if (settings !== undefined) params.set('settings', encodeBytes(settings));
  if (seed !== undefined) params.set('seed', String(seed));
  if (screen !== undefined) params.set('screen', `${screen.width}x${screen.height}`);
  return `#${params}`;
}
